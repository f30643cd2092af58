// Program entry: the main window and the about box, or a scripted snapshot or report.
#include <QApplication>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <optional>

#include "app/AboutBox.h"
#include "app/Cli.h"
#include "app/DictionaryCheck.h"
#include "app/uswivel.h"
#include "companion/QuitRequest.h"
#include "i18n/Glossator.h"
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

// The window's run: the event loop, or the picture or report a script asked for; the
// exit code.
int Run(QApplication& App, TForm1& Form1, const TOptions& Options) {
  if (Options.Seed) Form1.SetSeed(*Options.Seed);
  // A script that renders the main window or reports on it never meets the about box,
  // so it is not built: its fonts and texts would only lengthen every scripted run.
  std::optional<TFrmAbout> FrmAbout;
  if (!Options.Scripted() || Options.About) Form1.FrmAbout = &FrmAbout.emplace(&Form1);
  Form1.show();  // runs the start-up sequence (the about box waits for the user)
  // Asked to end while the about box was open: it closes, then the window.
  if (QuitRequested()) {
    if (FrmAbout) FrmAbout->close();
    Form1.close();
    return 0;
  }
  ApplyOptions(Form1, Options);
  if (!Options.Scripted()) return App.exec();
  if (Options.Report) Print(stdout, QString::fromUtf8(ReportJson(Form1)));
  if (Options.About) FrmAbout->show();  // shown, as the user sees it, without waiting for OK
  QString Error;
  QWidget& Window = Options.About ? static_cast<QWidget&>(*FrmAbout) : Form1;
  if (!Options.Snapshot.isEmpty() && !SaveSnapshot(Window, Options.Snapshot, Options.Scale, Error)) {
    Print(stderr, Error);
    return 1;
  }
  return 0;
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
  if (Options.Version) {
    Print(stdout, VersionText());
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
  if (!Options.CheckDictionary.isEmpty()) {
    const QStringList Findings =
        CheckDictionary(Options.CheckDictionary, ItlFileName(QCoreApplication::applicationFilePath(), true));
    for (const QString& Finding : Findings) Print(stdout, Options.CheckDictionary + QStringLiteral(": ") + Finding);
    return Findings.isEmpty() ? 0 : 1;
  }
  QuitOnSignals();
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
  // The file dialog and its questions in the window's language. A scripted run shows no
  // dialog, and its messages on the command line stay English, reasons included.
  QTranslator QtTexts;
  if (!Mode.Scripted && LoadQtTranslation(QtTexts, *Dictionary)) QCoreApplication::installTranslator(&QtTexts);
  TForm1 Form1(Mode);
  // Another instance runs (or a quit came during start-up): no window.
  const int Code = Form1.clidemon->EndRequested() || QuitRequested() ? 0 : Run(App, Form1, Options);
  // The orderly end: unregistered from the server and the dictionary written; then the
  // destructors only release, the single-instance lock last.
  Form1.clidemon->Shutdown();
  return Code;
}
