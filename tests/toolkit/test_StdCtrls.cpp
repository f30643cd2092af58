// The scroll bar's range rules and the memo's lines.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QWheelEvent>

#include "toolkit/StdCtrls.h"

namespace {

TEST(ScrollBar, ClampsAndReportsOnlyRealChanges) {
  TScrollBar B(Qt::Horizontal);
  B.SetMax(3600);
  int Changes = 0;
  B.OnChange = [&](QObject*) { ++Changes; };
  B.SetPosition(0);
  EXPECT_EQ(Changes, 0);
  B.SetMin(1100);  // clamps the position: one change
  EXPECT_EQ(B.Position(), 1100);
  B.SetMax(1600);
  B.SetPosition(1350);
  B.SetPosition(9999);
  EXPECT_EQ(B.Position(), 1600);
  EXPECT_EQ(Changes, 3);
  try {
    B.SetMax(700);
    FAIL();
  } catch (const EInvalidOperation& E) {
    EXPECT_STREQ(E.what(), "Scrollbar property out of range");
  }
  EXPECT_EQ(B.Max(), 1600);
}

TEST(ScrollBar, KeysAndWheelMoveBySmallAndLargeChanges) {
  TScrollBar B(Qt::Horizontal);
  B.SetMax(3600);
  B.SetLargeChange(50);
  B.SetPosition(100);
  QTest::keyClick(&B, Qt::Key_Right);
  EXPECT_EQ(B.Position(), 101);
  QTest::keyClick(&B, Qt::Key_PageDown);
  EXPECT_EQ(B.Position(), 151);
  QTest::keyClick(&B, Qt::Key_PageUp);
  QTest::keyClick(&B, Qt::Key_Left);
  EXPECT_EQ(B.Position(), 100);
  auto Wheel = [&](int Delta) {
    QWheelEvent E(QPointF(5, 5), QPointF(5, 5), {}, {0, Delta}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&B, &E);
  };
  Wheel(-120);  // one notch down: a page towards the maximum
  EXPECT_EQ(B.Position(), 150);
  Wheel(60);  // half notches of a touch pad add up
  EXPECT_EQ(B.Position(), 150);
  Wheel(60);
  EXPECT_EQ(B.Position(), 100);
  Wheel(120 * 1000);  // far beyond the end: stops at the minimum
  EXPECT_EQ(B.Position(), 0);
}

TEST(Memo, ShowsItsLines) {
  TMemo M;
  M.Lines()->Add("one");
  M.Lines()->Add("two");
  EXPECT_EQ(M.toPlainText(), "one\ntwo");
  M.Lines()->Clear();
  EXPECT_EQ(M.toPlainText(), "");
}

// A read-only memo with selected text copies it, even where the window has its own Copy.
TEST(Memo, SelectedTextIsCopiedBeforeTheWindowsCopy) {
  QWidget Window;
  auto* M = new TMemo(&Window);
  M->setReadOnly(true);
  M->Lines()->Add("lesson text");
  auto* WindowCopy = new QAction(&Window);
  WindowCopy->setShortcut(QKeySequence::Copy);
  Window.addAction(WindowCopy);
  int WindowCopies = 0;
  QObject::connect(WindowCopy, &QAction::triggered, [&] { ++WindowCopies; });
  Window.show();
  Window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
  M->setFocus();
  QApplication::clipboard()->clear();
  QTest::keySequence(M, QKeySequence::Copy);  // nothing selected: the window's Copy
  EXPECT_EQ(WindowCopies, 1);
  M->selectAll();
  QTest::keySequence(M, QKeySequence::Copy);
  EXPECT_EQ(WindowCopies, 1);
  EXPECT_EQ(QApplication::clipboard()->text(), "lesson text");
}

}  // namespace
