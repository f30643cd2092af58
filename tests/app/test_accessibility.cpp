// Keyboard and screen-reader use of the main window, and a crisp picture at scale 2.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <set>

#include "app/uswivel.h"

namespace {

QString NameOf(QWidget* W) {
  QAccessibleInterface* A = QAccessible::queryAccessibleInterface(W);
  return A ? A->text(QAccessible::Name) : QString();
}

struct TShown {
  TForm1 Form;
  TShown() {
    Form.SetSeed(2);
    Form.show();
  }
};

TEST(Accessibility, EveryControlHasAName) {
  TShown S;
  TForm1& F = S.Form;
  EXPECT_EQ(NameOf(F.BButNext), F.BButNext->text());
  EXPECT_FALSE(NameOf(F.BButNext).isEmpty());
  EXPECT_EQ(NameOf(F.SBarRotate), F.Label2->text());
  EXPECT_EQ(NameOf(F.SBarMagnif), F.LblMagnif->text());
  EXPECT_FALSE(NameOf(F.Memo1).isEmpty());
  EXPECT_FALSE(NameOf(F.Plotter1).isEmpty());
  EXPECT_EQ(NameOf(F.RdoRxy), F.RdoRxy->DisplayText());  // the readout reads its value
  F.SBarRotate->SetPosition(450);
  EXPECT_EQ(NameOf(F.RdoRxy), F.RdoRxy->DisplayText());
}

TEST(Accessibility, TabFollowsTheDesignAndKeysDoEverything) {
  TShown S;
  TForm1& F = S.Form;
  QApplication::setActiveWindow(&F);
  F.SBarRotate->setFocus();
  std::vector<QWidget*> Order;
  for (QWidget* W = F.SBarRotate; Order.size() < 6; W = W->nextInFocusChain())
    if (W->focusPolicy() & Qt::TabFocus && W->isVisibleTo(&F)) Order.push_back(W);
  EXPECT_EQ(Order, (std::vector<QWidget*>{F.SBarRotate, F.BButReset, F.BButOK, F.BButAbout, F.BButNext, F.Memo1}));
  // Arrows turn the cloud; Enter on a focused button presses it.
  QTest::keyClick(F.SBarRotate, Qt::Key_Right);
  EXPECT_EQ(F.SBarRotate->Position(), 1);
  F.BButNext->setFocus();
  QTest::keyClick(&F, Qt::Key_Return);
  EXPECT_EQ(F.LessonStep, 2);
  QTest::keyClick(F.BButNext, Qt::Key_Space);
  EXPECT_EQ(F.LessonStep, 3);
}

TEST(HighDpi, TheWindowRendersAtTwiceTheSizeWithSharpLines) {
  QTemporaryDir Dir;
  QProcess P;
  QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
  Env.insert("QT_SCALE_FACTOR", "2");
  P.setProcessEnvironment(Env);
  P.start(QStringLiteral(SWIVEL_BINARY), {"--seed", "4", "--snapshot", Dir.filePath("x2.png")});
  ASSERT_TRUE(P.waitForFinished(30000));
  const QImage Picture(Dir.filePath("x2.png"));
  ASSERT_EQ(Picture.size(), QSize(990, 1022));
  // Inside the chart area only its own colours appear: no blurred in-between shades.
  std::set<QRgb> Colours;
  for (int Y = 2 * 169 + 2; Y < 2 * 409; ++Y)
    for (int X = 2 * 153 + 2; X < 2 * 465; ++X) Colours.insert(Picture.pixel(X, Y) & 0xFFFFFF);
  EXPECT_LE(Colours.size(), 3u);  // white, the black marks, the red line
  // The chart frame's left edge is two device pixels wide and sharp.
  EXPECT_EQ(Picture.pixel(2 * 152, 600) & 0xFFFFFF, 0u);
  EXPECT_EQ(Picture.pixel(2 * 152 + 1, 600) & 0xFFFFFF, 0u);
  EXPECT_EQ(Picture.pixel(2 * 152 + 2, 600) & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace
