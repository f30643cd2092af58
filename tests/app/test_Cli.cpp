// The command line end to end: the real program in a subprocess.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "app/Cli.h"

namespace {

struct TRun {
  int ExitCode;
  QByteArray Out, Err;
};

TRun RunSwivel(const QStringList& Args) {
  QProcess P;
  P.start(QStringLiteral(SWIVEL_BINARY), Args);
  EXPECT_TRUE(P.waitForFinished(30000));
  return {P.exitCode(), P.readAllStandardOutput(), P.readAllStandardError()};
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
  EXPECT_EQ(RunSwivel({"--snapshot", Dir.filePath("no/such/dir/w.png")}).ExitCode, 1);
}

TEST(CommandLine, BadOptionsSayWhyAndStartNothing) {
  const TRun R = RunSwivel({"--angle", "4000"});
  EXPECT_EQ(R.ExitCode, 2);
  EXPECT_TRUE(R.Err.contains("--angle needs a position from 0 to 3600"));
  EXPECT_EQ(RunSwivel({"--help"}).ExitCode, 0);
}

}  // namespace
