// The least a Qt program does to show a first frame: one empty window, grabbed to PNG.
// The baseline of the start-up benchmark.
#include <QApplication>
#include <QPixmap>
#include <QWidget>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication App(argc, argv);
  QWidget Window;
  Window.resize(495, 511);
  Window.show();
  return Window.grab().save(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("minimal.png")) ? 0 : 1;
}
