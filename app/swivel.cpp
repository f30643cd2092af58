// Program entry. Until the main window exists this starts a placeholder window.
#include <QApplication>
#include <QLabel>
#include <cstdio>

#include "toolkit/Toolkit.h"

int main(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::fprintf(stderr, "swivel: no display is available (DISPLAY and WAYLAND_DISPLAY are unset), so no window can be shown.\n");
    return 2;
  }
  QApplication App(argc, argv);
  InitToolkit();
  QLabel Window(QStringLiteral("Swivel"));
  Window.resize(495, 511);
  Window.show();
  return App.exec();
}
