// The least a Qt program does to show a first frame: one empty window, shown and painted,
// that frame saved to PNG. The baseline of the start-up benchmark; like
// `swivel --snapshot`, it runs headless and saves the frame its window painted.
#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QWidget>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication App(argc, argv);
  QWidget Window;
  Window.resize(495, 511);
  Window.show();
  QCoreApplication::processEvents();  // the first frame
  const QPaintDevice* Frame = Window.backingStore()->paintDevice();
  if (!Frame || Frame->devType() != QInternal::Image) return 1;
  const QString File = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("minimal.png");
  return static_cast<const QImage*>(Frame)->save(File) ? 0 : 1;
}
