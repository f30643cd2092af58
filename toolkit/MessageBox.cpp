#include "toolkit/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

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
