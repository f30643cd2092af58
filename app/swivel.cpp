// Program entry: the main window and the about box, or a scripted snapshot or report.
#include <QApplication>
#include <QLocale>
#include <cstdio>

#include "app/AboutBox.h"
#include "app/Cli.h"
#include "app/uswivel.h"
#include "toolkit/Toolkit.h"

namespace {

QStringList RawArguments(int argc, char** argv) {
  QStringList Args;
  for (int I = 1; I < argc; ++I) Args << QString::fromLocal8Bit(argv[I]);
  return Args;
}

void Print(FILE* Stream, const QString& Text) {
  std::fputs(Text.toLocal8Bit().constData(), Stream);
  std::fputc('\n', Stream);
}

}  // namespace

int main(int argc, char** argv) {
  const auto Parsed = ParseOptions(RawArguments(argc, argv));
  if (const QString* Error = std::get_if<QString>(&Parsed)) {
    Print(stderr, *Error);
    return 2;
  }
  const TOptions& Options = std::get<TOptions>(Parsed);
  if (Options.Help) {
    Print(stdout, UsageText());
    return 0;
  }
  // A scripted run never needs a screen.
  if (Options.Scripted() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!DisplayAvailable()) {
    Print(stderr, QStringLiteral("swivel: no display is available (DISPLAY and WAYLAND_DISPLAY are unset), "
                                 "so no window can be shown; use --snapshot FILE to render one."));
    return 2;
  }
  QApplication App(argc, argv);
  InitToolkit();
  TStartMode Mode;
  Mode.Scripted = Options.Scripted();
  QString LanguageError;
  const std::optional<QString> Dictionary =
      ChooseDictionary(QCoreApplication::applicationFilePath(), Options.Language, QLocale::system().name(), LanguageError);
  if (!Dictionary) {
    Print(stderr, LanguageError);
    return 2;
  }
  Mode.DictionaryFile = *Dictionary;
  TForm1 Form1(Mode);
  if (Form1.clidemon->EndRequested()) return 0;  // another instance runs: no window
  if (Options.Seed) Form1.SetSeed(*Options.Seed);
  TFrmAbout FrmAbout(&Form1);
  Form1.FrmAbout = &FrmAbout;
  Form1.show();  // runs the start-up sequence (the about box waits for the user)
  ApplyOptions(Form1, Options);
  if (!Options.Scripted()) return App.exec();
  if (Options.Report) Print(stdout, QString::fromUtf8(ReportJson(Form1)));
  QString Error;
  if (!Options.Snapshot.isEmpty() && !SaveSnapshot(Form1, Options.Snapshot, Error)) {
    Print(stderr, Error);
    return 1;
  }
  return 0;
}
