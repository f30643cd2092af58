// Windows fit on the available area of the screen: moved the least, never resized.
#include <gtest/gtest.h>

#include <QScreen>
#include <QWidget>

#include "toolkit/Placement.h"

namespace {

TEST(Placement, AFrameIsMovedTheLeastToFitTheAvailableArea) {
  struct TCase {
    QRect Frame, Available;
    QPoint Expected;
  };
  const QSize Window(495, 535);  // the main window with its title bar
  for (const TCase& C : {
           TCase{{{310, 162}, Window}, {0, 0, 1920, 1080}, {310, 162}},    // fits: the design position stays
           TCase{{{310, 162}, Window}, {0, 0, 1024, 576}, {310, 41}},      // a 1024 x 600 screen with a panel
           TCase{{{310, 162}, Window}, {0, 24, 640, 488}, {145, 24}},      // too tall: the top edge stays visible
           TCase{{{310, 162}, Window}, {1920, 0, 1280, 1024}, {1920, 162}},  // a second screen to the right
           TCase{{{-50, -20}, Window}, {0, 0, 800, 600}, {0, 0}},
       }) {
    EXPECT_EQ(FitWithin(C.Frame, C.Available), C.Expected) << C.Available.width() << "x" << C.Available.height();
  }
}

TEST(Placement, AWindowShownKeepsWithinItsScreen) {
  QWidget W;
  W.resize(495, 511);
  W.move(310, 162);  // below the offscreen screen's bottom edge
  KeepOnScreen(&W);
  W.show();
  const QRect Available = W.screen()->availableGeometry();
  EXPECT_TRUE(Available.contains(W.frameGeometry())) << W.frameGeometry().x() << "," << W.frameGeometry().y() << " " << W.frameGeometry().width() << "x" << W.frameGeometry().height() << " in " << Available.width() << "x" << Available.height();
  EXPECT_EQ(W.size(), QSize(495, 511));
}

}  // namespace
