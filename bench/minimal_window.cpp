// The least a Qt program does to show a first frame: one empty window, shown and painted,
// that frame saved to PNG. The baseline of the start-up benchmark; like
// `swivel --snapshot`, it runs headless and saves the frame its window painted. With
// --label the window also shows one line of text in the program's design font, which
// costs what any window that draws text pays: the font configuration and a first face.
#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication App(argc, argv);
  const bool Label = argc > 1 && std::strcmp(argv[1], "--label") == 0;
  QWidget Window;
  Window.resize(495, 511);
  if (Label) {
    QFont Design(QStringLiteral("MS Sans Serif"));
    Design.setPixelSize(13);
    Window.setFont(Design);
    new QLabel(QStringLiteral("goodness of fit r²"), &Window);
  }
  Window.show();
  QCoreApplication::processEvents();  // the first frame
  const QPaintDevice* Frame = Window.backingStore()->paintDevice();
  if (!Frame || Frame->devType() != QInternal::Image) return 1;
  const int FileArg = Label ? 2 : 1;
  const QString File = argc > FileArg ? QString::fromLocal8Bit(argv[FileArg]) : QStringLiteral("minimal.png");
  return static_cast<const QImage*>(Frame)->save(File) ? 0 : 1;
}
