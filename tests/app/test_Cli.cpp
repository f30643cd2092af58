// The command line end to end: the real program in a subprocess; and its snapshot.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLibraryInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <cerrno>
#include <cstring>

#include "app/Cli.h"

namespace {

struct TRun {
  int ExitCode;
  QByteArray Out, Err;
  bool Crashed;
};

TRun RunSwivel(const QStringList& Args, const QStringList& Environment = {}) {
  QProcess P;
  QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
  for (const char* Locale : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"}) Env.remove(Locale);
  for (const QString& Setting : Environment) Env.insert(Setting.section('=', 0, 0), Setting.section('=', 1));
  P.setProcessEnvironment(Env);
  P.start(QStringLiteral(SWIVEL_BINARY), Args);
  EXPECT_TRUE(P.waitForFinished(30000));
  return {P.exitCode(), P.readAllStandardOutput(), P.readAllStandardError(), P.exitStatus() == QProcess::CrashExit};
}

TEST(CommandLine, ParsesOptionsAndRejectsBadOnes) {
  const auto Ok = ParseOptions({"--seed", "5", "--step", "3", "--angle", "450", "/serverhandle=9", "--report"});
  ASSERT_TRUE(std::holds_alternative<TOptions>(Ok));
  const TOptions& O = std::get<TOptions>(Ok);
  EXPECT_EQ(O.Seed, 5u);
  EXPECT_EQ(O.Step, 3);
  EXPECT_EQ(O.Angle, 450);
  EXPECT_TRUE(O.Report);
  for (const QStringList& Bad : {QStringList{"--step", "0"}, QStringList{"--angle", "x"}, QStringList{"--seed"},
                                 QStringList{"--magnification", "49"}, QStringList{"--frobnicate"}})
    EXPECT_TRUE(std::holds_alternative<QString>(ParseOptions(Bad))) << Bad.join(' ').toStdString();
}

TEST(CommandLine, MagnificationOnlyInTheStepThatShowsItsBar) {
  for (const QStringList& Args : {QStringList{"--magnification", "20"}, QStringList{"--step", "5", "--magnification", "20"},
                                  QStringList{"--magnification", "40", "--step", "3"}})
    EXPECT_TRUE(std::holds_alternative<QString>(ParseOptions(Args))) << Args.join(' ').toStdString();
  const TRun Refused = RunSwivel({"--seed", "2", "--step", "5", "--magnification", "48", "--report"});
  EXPECT_EQ(Refused.ExitCode, 2);
  EXPECT_TRUE(Refused.Err.contains("--magnification needs --step 4")) << Refused.Err.toStdString();
  EXPECT_TRUE(Refused.Out.isEmpty());
  const TRun R = RunSwivel({"--seed", "2", "--magnification", "20", "--step", "4", "--report"});
  ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
  const QJsonObject J = QJsonDocument::fromJson(R.Out).object();
  EXPECT_EQ(J["magnification"]["position"].toInt(), 20);
  EXPECT_DOUBLE_EQ(J["yrange"].toArray()[1].toDouble(), 11.0 / 3);
}

TEST(CommandLine, ReportDescribesTheWindow) {
  const TRun R = RunSwivel({"--seed", "3", "--step", "2", "--angle", "1200", "--report"});
  ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
  const QJsonObject J = QJsonDocument::fromJson(R.Out).object();
  EXPECT_EQ(J["step"].toInt(), 2);
  EXPECT_EQ(J["rotate"]["position"].toInt(), 1200);
  EXPECT_EQ(J["rotate"]["min"].toInt(), 1100);
  EXPECT_EQ(J["angle"].toDouble(), 120.0);
  EXPECT_EQ(J["points"].toArray().size(), 15);
  EXPECT_EQ(J["lines"].toArray()[0].toArray()[4].toString(), "#ff0000");
  EXPECT_EQ(J["xrange"].toArray()[0].toDouble(), -15);
  EXPECT_EQ(J["readout"].toString(), QString::number(J["r2"].toDouble(), 'f', 4));
  EXPECT_TRUE(J["next_enabled"].toBool());
  // The same seed gives the same cloud.
  const TRun Again = RunSwivel({"--seed", "3", "--step", "2", "--angle", "1200", "--report"});
  EXPECT_EQ(Again.Out, R.Out);
}

TEST(CommandLine, SnapshotWritesTheWholeWindow) {
  QTemporaryDir Dir;
  const QString File = Dir.filePath("w.png");
  const TRun R = RunSwivel({"--seed", "1", "--snapshot", File});
  ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
  EXPECT_EQ(QImage(File).size(), QSize(495, 511));
  // Like the command line's other messages, in English whatever the window's language.
  const TRun Failed = RunSwivel({"--language", "de", "--snapshot", Dir.filePath("no/such/dir/w.png")});
  EXPECT_EQ(Failed.ExitCode, 1);
  EXPECT_TRUE(Failed.Err.contains("/no/such/dir/w.png': " + QByteArray(std::strerror(ENOENT)))) << Failed.Err.toStdString();
}

// The picture is the frame the window shows, changes not yet painted included, at the
// window's own scale or at the one asked for.
TEST(CommandLine, ASnapshotIsWhatTheWindowShowsNow) {
  QTemporaryDir Dir;
  QWidget Window;
  Window.resize(160, 90);
  auto* Label = new QLabel(QStringLiteral("before"), &Window);
  new QPushButton(QStringLiteral("Button"), &Window);
  Window.show();
  QCoreApplication::processEvents();
  Label->setText(QStringLiteral("after, and longer"));
  Label->adjustSize();
  QString Error;
  const QString File = Dir.filePath("shown.png");
  ASSERT_TRUE(SaveSnapshot(Window, File, std::nullopt, Error)) << Error.toStdString();
  const QImage Shown(File);
  EXPECT_EQ(Shown, Window.grab().toImage().convertToFormat(Shown.format()));

  const QString Double = Dir.filePath("double.png");
  ASSERT_TRUE(SaveSnapshot(Window, Double, 2, Error));
  QPixmap Rendered(Window.size() * 2);
  Rendered.setDevicePixelRatio(2);
  Window.render(&Rendered);
  const QImage Twice(Double);
  EXPECT_EQ(Twice, Rendered.toImage().convertToFormat(Twice.format()));
}

// A scale the screen cannot have is the platform's matter: the snapshot still ends in
// a picture or an error, never in a crash; below one device pixel to a pixel the window
// is drawn afresh, whole.
TEST(CommandLine, ASnapshotSurvivesOddScreenScales) {
  QTemporaryDir Dir;
  for (const char* Factor : {"-1", "inf", "nan", "0", "0.5"}) {
    const QString File = Dir.filePath(QStringLiteral("%1.png").arg(Factor));
    const TRun R = RunSwivel({"--seed", "1", "--snapshot", File}, {QStringLiteral("QT_SCALE_FACTOR=%1").arg(Factor)});
    EXPECT_FALSE(R.Crashed) << Factor;
    EXPECT_TRUE(R.ExitCode == 0 || R.ExitCode == 1) << Factor;
  }
  EXPECT_EQ(QImage(Dir.filePath("0.5.png")).size(), QSize(248, 256));
}

TEST(CommandLine, AnOptionIsNeverTheValueOfTheOneBefore) {
  for (const QStringList& Bad : {QStringList{"--snapshot", "--report"}, QStringList{"--language", "--seed", "4"},
                                 QStringList{"--seed", "--help"}}) {
    const auto R = ParseOptions(Bad);
    ASSERT_TRUE(std::holds_alternative<QString>(R)) << Bad.join(' ').toStdString();
    EXPECT_EQ(std::get<QString>(R), QStringLiteral("swivel: option %1 needs a value").arg(Bad[0]));
  }
  const TRun R = RunSwivel({"--snapshot", "--report"});
  EXPECT_EQ(R.ExitCode, 2);
  EXPECT_TRUE(R.Out.isEmpty());
  EXPECT_FALSE(QFileInfo::exists("--report"));
}

TEST(CommandLine, TheHelpStatesTheExactSeedLimit) {
  EXPECT_TRUE(UsageText().contains("0 to 9223372036854775807"));
  EXPECT_TRUE(std::holds_alternative<TOptions>(ParseOptions({"--seed", "9223372036854775807"})));
  EXPECT_TRUE(std::holds_alternative<QString>(ParseOptions({"--seed", "9223372036854775808"})));
  EXPECT_TRUE(std::holds_alternative<QString>(ParseOptions({"--seed", "-1"})));
}

// Every option of the table is parsed and listed in the help, and nothing is taken for
// another option: a misspelt one is refused rather than read as a file name.
TEST(CommandLine, EveryListedOptionIsParsedAndNoOtherIs) {
  const QString Usage = UsageText();
  for (const char* Name : {"--seed", "--step", "--angle", "--magnification", "--snapshot", "--report", "--language",
                           "--show", "--scale", "--about", "--check-dictionary", "--version", "--help"})
    EXPECT_TRUE(Usage.contains(QStringLiteral("\n  %1 ").arg(Name))) << Name;
  EXPECT_TRUE(Usage.contains("  --check-dictionary FILE  check a translated dictionary against swivel.itl and exit\n"
                             "                      (0 when clean;"));
  for (const QStringList& Unknown : {QStringList{"--snapshots", "x.png"}, QStringList{"--Snapshot", "x.png"}}) {
    const auto R = ParseOptions(Unknown);
    ASSERT_TRUE(std::holds_alternative<QString>(R));
    EXPECT_EQ(std::get<QString>(R), QStringLiteral("swivel: unknown option '%1' (see swivel --help)").arg(Unknown[0]));
  }
  const auto Parsed = ParseOptions({"--snapshot", "a.png", "--about", "--language", "de", "--check-dictionary", "d.itl"});
  ASSERT_TRUE(std::holds_alternative<TOptions>(Parsed));
  const TOptions& O = std::get<TOptions>(Parsed);
  EXPECT_EQ(O.Snapshot, "a.png");
  EXPECT_TRUE(O.About);
  EXPECT_EQ(O.Language, "de");
  EXPECT_EQ(O.CheckDictionary, "d.itl");
  EXPECT_EQ(std::get<QString>(ParseOptions({"--snapshot", ""})), "swivel: --snapshot needs a file name, not ''");
}

TEST(CommandLine, VersionPrintsTheBuildsVersionAndExits) {
  const TRun R = RunSwivel({"--version"});
  EXPECT_EQ(R.ExitCode, 0);
  EXPECT_EQ(R.Out, QByteArray("swivel " SWIVEL_VERSION "\n"));
  EXPECT_TRUE(R.Err.isEmpty());
}

TEST(Languages, TheInstalledOnesAreTheDictionariesBesideTheProgram) {
  QTemporaryDir Dir;
  const QString Program = Dir.filePath("swivel");
  auto Touch = [&](std::initializer_list<const char*> Names) {
    for (const char* Name : Names) {
      QFile F(Dir.filePath(Name));
      ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    }
  };
  // A name in other letters is not the file a code opens; swivel.en.itl is never read.
  Touch({"swivel", "swivel.itl", "swivel.de.itl", "swivel.nl.itl", "swivel.bad.itl", "other.fr.itl", "swivel.qq.ITL",
         "swivel.Pl.itl", "swivel.en.itl", "swivel.es.itl.bak", "swivelx.it.itl", "swivel_pt.itl", "xswivel.pt.itl"});
  ASSERT_TRUE(QDir(Dir.path()).mkdir("swivel.fr.itl"));  // a folder is no dictionary
  EXPECT_EQ(InstalledLanguages(Program), (QStringList{"de", "en", "nl"}));
  // A program's name is matched as it stands, wildcard characters and all.
  Touch({"sw[v?el.itl", "sw[v?el.it.itl", "swXvel.pt.itl"});
  EXPECT_EQ(InstalledLanguages(Dir.filePath("sw[v?el")), (QStringList{"en", "it"}));
  QString Error;
  EXPECT_EQ(ChooseDictionary(Program, "de", "C", Error), Dir.filePath("swivel.de.itl"));
  EXPECT_EQ(ChooseDictionary(Program, "en", "de_DE", Error), QString());  // asked for wins over the locale
  EXPECT_EQ(ChooseDictionary(Program, "", "de_AT", Error), Dir.filePath("swivel.de.itl"));
  EXPECT_EQ(ChooseDictionary(Program, "", "fr_FR", Error), QString());  // no French: English
  EXPECT_EQ(ChooseDictionary(Program, "", "C", Error), QString());
  EXPECT_EQ(ChooseDictionary(Program, "fr", "C", Error), std::nullopt);
  EXPECT_EQ(Error, "swivel: no dictionary for language 'fr'; installed: de, en, nl");
}

TEST(Languages, AnUnknownLanguageIsAnErrorAndTheLocaleChoosesOtherwise) {
  const TRun Unknown = RunSwivel({"--language", "sv", "--report"});
  EXPECT_EQ(Unknown.ExitCode, 2);
  EXPECT_TRUE(Unknown.Err.contains("installed: de, en, es, fr, it, nl, pl, pt")) << Unknown.Err.toStdString();
  auto Caption = [](const TRun& R) { return QJsonDocument::fromJson(R.Out).object()["caption"].toString(); };
  const QString German = Caption(RunSwivel({"--report"}, {"LANG=de_DE.UTF-8"}));
  EXPECT_TRUE(German.contains(QString::fromUtf8("gedrehte Daten"))) << German.toStdString();
  EXPECT_EQ(Caption(RunSwivel({"--report", "--language", "en"}, {"LANG=de_DE.UTF-8"})),
            Caption(RunSwivel({"--report"}, {"LANG=sv_SE.UTF-8"})));
}

// Qt's own dialogs speak the dictionary's language: a standard button, say.
TEST(Languages, QtsOwnTextsFollowTheDictionary) {
  QTranslator Qt;
  EXPECT_FALSE(LoadQtTranslation(Qt, ""));  // English: Qt's texts as they are
  if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
    GTEST_SKIP() << "Qt's translations are not installed";
  ASSERT_TRUE(LoadQtTranslation(Qt, "/opt/swivel/swivel.de.itl"));
  QCoreApplication::installTranslator(&Qt);
  const QDialogButtonBox Buttons(QDialogButtonBox::Cancel);
  const QString Cancel = Buttons.button(QDialogButtonBox::Cancel)->text();
  QCoreApplication::removeTranslator(&Qt);
  EXPECT_EQ(Cancel, "Abbrechen");
  EXPECT_TRUE(LoadQtTranslation(Qt, "/opt/swivel/swivel.pt.itl"));  // the Brazilian texts: Qt has no others
}

TEST(CommandLine, OverlaysAndScaleAreScriptedAndCheckedLikeTheOtherOptions) {
  const auto Ok = ParseOptions({"--show", "mean-squares,residuals", "--scale", "3", "--snapshot", "a.png"});
  ASSERT_TRUE(std::holds_alternative<TOptions>(Ok));
  EXPECT_TRUE(std::get<TOptions>(Ok).Show == (TOverlays{true, false, true}));
  EXPECT_EQ(std::get<TOptions>(Ok).Scale, 3);
  for (const QStringList& Bad : {QStringList{"--show", "squares,"}, QStringList{"--show", "Squares"},
                                 QStringList{"--show", ""}, QStringList{"--scale", "0", "--snapshot", "a.png"},
                                 QStringList{"--scale", "5", "--snapshot", "a.png"}, QStringList{"--scale", "2"}})
    EXPECT_TRUE(std::holds_alternative<QString>(ParseOptions(Bad))) << Bad.join(' ').toStdString();
  const TRun BadShow = RunSwivel({"--show", "residuals,cubes", "--report"});
  EXPECT_EQ(BadShow.ExitCode, 2);
  EXPECT_TRUE(BadShow.Err.contains("--show needs a list of residuals, squares and mean-squares")) << BadShow.Err.toStdString();
  const TRun BadScale = RunSwivel({"--scale", "2", "--report"});
  EXPECT_EQ(BadScale.ExitCode, 2);
  EXPECT_TRUE(BadScale.Err.contains("--scale needs --snapshot")) << BadScale.Err.toStdString();

  // The report gains the sums, whose ratio is r², and the squares while shown.
  const TRun R = RunSwivel({"--seed", "3", "--angle", "300", "--show", "squares,mean-squares", "--report"});
  ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
  const QJsonObject J = QJsonDocument::fromJson(R.Out).object();
  EXPECT_NEAR(1 - J["ss_residual"].toDouble() / J["ss_total"].toDouble(), J["r2"].toDouble(), 1e-12);
  EXPECT_EQ(J["squares"].toArray().size(), 30);
  const TRun Plain = RunSwivel({"--seed", "3", "--angle", "300", "--report"});
  const QJsonObject P = QJsonDocument::fromJson(Plain.Out).object();
  EXPECT_FALSE(P.contains("squares"));
  EXPECT_EQ(P["ss_total"].toDouble(), J["ss_total"].toDouble());

  QTemporaryDir Dir;
  for (int Scale : {1, 3}) {
    const QString File = Dir.filePath(QStringLiteral("s%1.png").arg(Scale));
    const TRun S = RunSwivel({"--seed", "1", "--show", "squares", "--scale", QString::number(Scale), "--snapshot", File});
    ASSERT_EQ(S.ExitCode, 0) << S.Err.toStdString();
    EXPECT_EQ(QImage(File).size(), QSize(495, 511) * Scale);
  }
}

TEST(CommandLine, BadOptionsSayWhyAndStartNothing) {
  const TRun R = RunSwivel({"--angle", "4000"});
  EXPECT_EQ(R.ExitCode, 2);
  EXPECT_TRUE(R.Err.contains("--angle needs a position from 0 to 3600"));
  EXPECT_EQ(RunSwivel({"--help"}).ExitCode, 0);
}

}  // namespace
