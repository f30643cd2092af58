// The menu entry, the AppStream metainfo, the window and the licence agree, and the
// desktop validators accept the files (where they are installed).
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include "app/AboutBox.h"

namespace {

const QString Desktop = QStringLiteral(SWIVEL_SOURCE_DIR "/desktop/org.example.Swivel.desktop");
const QString Metainfo = QStringLiteral(SWIVEL_SOURCE_DIR "/desktop/org.example.Swivel.metainfo.xml");

QString Read(const QString& File) {
  QFile F(File);
  return F.open(QIODevice::ReadOnly) ? QString::fromUtf8(F.readAll()) : QString();
}

TEST(Desktop, TheEntryNamesOneMainCategoryAndTiesTheWindowToIt) {
  QSettings Entry(Desktop, QSettings::IniFormat);
  Entry.beginGroup("Desktop Entry");
  const QStringList Categories = Entry.value("Categories").toString().split(';', Qt::SkipEmptyParts);
  const QStringList Main = {"AudioVideo", "Audio", "Video", "Development", "Education", "Game", "Graphics",
                            "Network", "Office", "Science", "Settings", "System", "Utility"};
  int MainCount = 0;
  for (const QString& C : Categories) MainCount += Main.contains(C);
  EXPECT_EQ(MainCount, 1) << Categories.join(';').toStdString();
  EXPECT_TRUE(Categories.contains("Education"));
  // The window class is the application's name; Wayland uses the desktop file name.
  EXPECT_EQ(Entry.value("StartupWMClass").toString(), QCoreApplication::applicationName());
  EXPECT_EQ(QGuiApplication::desktopFileName() + ".desktop", QStringLiteral("org.example.Swivel.desktop"));
  EXPECT_TRUE(Read(Metainfo).contains("<launchable type=\"desktop-id\">org.example.Swivel.desktop</launchable>"));
}

TEST(Desktop, OneLicenceEverywhere) {
  EXPECT_TRUE(Read(SWIVEL_SOURCE_DIR "/../LICENSE").startsWith("MIT License"));
  EXPECT_TRUE(Read(Metainfo).contains("<project_license>MIT</project_license>"));
  EXPECT_TRUE(Read(SWIVEL_SOURCE_DIR "/../README.md").contains("MIT licence"));
  TFrmAbout About;
  EXPECT_TRUE(About.LblCopyright->text().contains("MIT licence"));
}

void Validate(const QString& Tool, const QStringList& Args) {
  const QString Path = QStandardPaths::findExecutable(Tool);
  if (Path.isEmpty()) GTEST_SKIP() << Tool.toStdString() << " is not installed";
  QProcess P;
  P.start(Path, Args);
  ASSERT_TRUE(P.waitForFinished(60000));
  EXPECT_EQ(P.exitCode(), 0) << (P.readAllStandardOutput() + P.readAllStandardError()).toStdString();
}

TEST(Desktop, TheEntryValidates) { Validate("desktop-file-validate", {Desktop}); }
TEST(Desktop, TheMetainfoValidates) { Validate("appstreamcli", {"validate", "--no-net", Metainfo}); }

}  // namespace
