// The translator's check: what it finds in a broken dictionary, and its exit code. (The
// shipped dictionaries are checked by the program itself: tests/CMakeLists.txt.)
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/DictionaryCheck.h"
#include "app/TextFit.h"

namespace {

const QString English = QStringLiteral(SWIVEL_SOURCE_DIR "/swivel.itl");

QByteArray EnglishText() {
  QFile In(English);
  EXPECT_TRUE(In.open(QIODevice::ReadOnly));
  return In.readAll();
}

// Text (English by default) with the record of Key replaced.
QByteArray Edited(const QByteArray& Key, const QByteArray& Replacement, QByteArray Text = EnglishText()) {
  const qsizetype From = Text.indexOf("[" + Key + "]=");
  const qsizetype To = Text.indexOf("|$$", From) + 3;
  EXPECT_GE(From, 0) << Key.toStdString();
  return Text.replace(From, To - From, Replacement);
}

struct TDictionaryFile {
  QTemporaryDir Dir;
  QString Name = Dir.filePath(QStringLiteral("swivel.xx.itl"));
  explicit TDictionaryFile(const QByteArray& Text) {
    QFile Out(Name);
    Out.open(QIODevice::WriteOnly);
    Out.write(Text);
  }
};

QStringList Check(const QByteArray& Text) { return CheckDictionary(TDictionaryFile(Text).Name, English); }

}  // namespace

TEST(TextFit, LabelsButtonsAndWrappedTextsAreMeasuredInTheirOwnSize) {
  QWidget Root;
  auto* Short = new QLabel(QStringLiteral("OK"), &Root);
  Short->setGeometry(0, 0, 60, 20);
  auto* Long = new QLabel(QStringLiteral("a caption far too long for sixty pixels"), &Root);
  Long->setGeometry(0, 0, 60, 20);
  Long->setObjectName(QStringLiteral("Long"));
  auto* Wrapped = new QLabel(QStringLiteral("a caption that wraps onto a second line"), &Root);
  Wrapped->setWordWrap(true);
  Wrapped->setGeometry(0, 0, 160, 60);
  auto* Button = new QPushButton(QStringLiteral("Wiederherstellen und weiter"), &Root);
  Button->setGeometry(0, 0, 60, 29);
  Button->setObjectName(QStringLiteral("Button"));
  EXPECT_EQ(ClippedTexts(&Root), (QStringList{"Long: a caption far too long for sixty pixels",
                                             "Button: Wiederherstellen und weiter"}));
  Wrapped->setFixedHeight(8);  // less than one line
  EXPECT_EQ(ClippedTexts(&Root).size(), 3);
}

TEST(DictionaryCheck, FindsMissingAndUnknownKeys) {
  const QStringList Findings = Check(Edited("Next", "[Nxet]=Suivant|$$[AboutDescription]=Ce programme|$$"));
  EXPECT_EQ(Findings, (QStringList{"missing key [next]", "unknown key [nxet]"}));
}

TEST(DictionaryCheck, FindsEscapesTheReaderLeavesAsTheyAre) {
  const QStringList Findings = Check(Edited("HomePage", "[HomePage]=O\\tK <%1%> <%APPNAME%> <%NAME%>|$$"));
  EXPECT_EQ(Findings, (QStringList{"[homepage]: unreadable escape \\t", "[homepage]: unreadable escape <%NAME%>"}));
}

TEST(DictionaryCheck, FindsClippedCaptionsAndLessonTextsThatScroll) {
  const QByteArray Long = QByteArray("Weiter zum naechsten Lernschritt");
  const QByteArray Essay = QByteArray("Ein langer Satz ueber die Regression. ").repeated(20);
  const QByteArray Text = Edited("Explain_3", "[Explain_3]=" + Essay + "|$$", Edited("Next", "[Next]=" + Long + "|$$"));
  EXPECT_EQ(Check(Text), (QStringList{"BButNext: " + QString::fromLatin1(Long),
                                      "the lesson text of step 3 needs the memo to scroll"}));
}

TEST(DictionaryCheck, AnUnreadableFileIsAFindingAndTheProgramSaysSoByItsExitCode) {
  QProcess P;
  P.start(QStringLiteral(SWIVEL_BINARY), {QStringLiteral("--check-dictionary"), QStringLiteral("/no/such/swivel.xx.itl")});
  ASSERT_TRUE(P.waitForFinished(30000));
  EXPECT_EQ(P.exitCode(), 1);
  EXPECT_TRUE(P.readAllStandardOutput().startsWith("/no/such/swivel.xx.itl: "));
  P.start(QStringLiteral(SWIVEL_BINARY), {QStringLiteral("--check-dictionary"), QStringLiteral(SWIVEL_SOURCE_DIR "/swivel.fr.itl")});
  ASSERT_TRUE(P.waitForFinished(30000));
  EXPECT_EQ(P.exitCode(), 0);
  EXPECT_EQ(P.readAllStandardOutput(), QByteArray());
}
