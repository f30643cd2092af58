#include "toolkit/MessageBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace {

enum THookSlot { MessageBoxSlot, OpenAddressSlot };

// The test hook of one service; empty means the desktop's own behaviour.
template <THookSlot Slot>
std::function<void(const QString&)>& Hook() {
  static std::function<void(const QString&)> Instance;
  return Instance;
}

// Calls the hook of Slot if one is installed; false when the service itself must act.
template <THookSlot Slot>
bool Hooked(const QString& Text) {
  if (!Hook<Slot>()) return false;
  Hook<Slot>()(Text);
  return true;
}

}  // namespace

void ShowInformation(const QString& Text) {
  if (!Hooked<MessageBoxSlot>(Text))
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), Text);
}

void ShowWarning(const QString& Text) {
  if (!Hooked<MessageBoxSlot>(Text))
    QMessageBox::warning(QApplication::activeWindow(), QApplication::applicationName(), Text);
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook NewHook) {
  return std::exchange(Hook<MessageBoxSlot>(), std::move(NewHook));
}

void OpenAddress(const QString& Address) {
  if (!Hooked<OpenAddressSlot>(Address)) QDesktopServices::openUrl(QUrl::fromUserInput(Address));
}

TOpenAddressHook SetOpenAddressHook(TOpenAddressHook NewHook) {
  return std::exchange(Hook<OpenAddressSlot>(), std::move(NewHook));
}
