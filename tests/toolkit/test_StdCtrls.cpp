// The scroll bar's range rules and the memo's lines.
#include <gtest/gtest.h>

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

TEST(Memo, ShowsItsLines) {
  TMemo M;
  M.Lines()->Add("one");
  M.Lines()->Add("two");
  EXPECT_EQ(M.toPlainText(), "one\ntwo");
  M.Lines()->Clear();
  EXPECT_EQ(M.toPlainText(), "");
}

}  // namespace
