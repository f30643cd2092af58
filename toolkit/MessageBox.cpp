#include "toolkit/MessageBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace {
TMessageBoxHook& Hook() {
  static TMessageBoxHook Instance;
  return Instance;
}
}  // namespace

void ShowInformation(const QString& Text) {
  if (Hook()) {
    Hook()(Text);
    return;
  }
  QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), Text);
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook NewHook) { return std::exchange(Hook(), std::move(NewHook)); }

namespace {
TOpenAddressHook& OpenHook() {
  static TOpenAddressHook Instance;
  return Instance;
}
}  // namespace

void OpenAddress(const QString& Address) {
  if (OpenHook()) {
    OpenHook()(Address);
    return;
  }
  QDesktopServices::openUrl(QUrl::fromUserInput(Address));
}

TOpenAddressHook SetOpenAddressHook(TOpenAddressHook Hook) { return std::exchange(OpenHook(), std::move(Hook)); }
