// The chart and the mouse: synthetic events on a real, shown chart.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "tests/chart/ChartFixture.h"

namespace {

void Send(QWidget* W, QEvent::Type Type, int X, int Y, Qt::MouseButton Button, Qt::MouseButtons Buttons) {
  QMouseEvent E(Type, QPointF(X, Y), W->mapToGlobal(QPointF(X, Y)), Button, Buttons, Qt::NoModifier);
  QApplication::sendEvent(W, &E);
}
void Move(QWidget* W, int X, int Y, Qt::MouseButtons Buttons = Qt::NoButton) {
  Send(W, QEvent::MouseMove, X, Y, Qt::NoButton, Buttons);
}
void Press(QWidget* W, int X, int Y, Qt::MouseButton B = Qt::LeftButton) { Send(W, QEvent::MouseButtonPress, X, Y, B, B); }
void Release(QWidget* W, int X, int Y, Qt::MouseButton B = Qt::LeftButton) {
  Send(W, QEvent::MouseButtonRelease, X, Y, B, Qt::NoButton);
}

// The program's chart: the chart area spans x 40..353 (aw 313) and y 1..241 (ah 240).
struct TMouseChart : TChartFixture {
  TScaleProps* X() { return Chart->Scale1X(); }
  TScaleProps* Y() { return Chart->Scale1Y(); }
  void Drag(int X0, int Y0, int X1, int Y1) {
    Move(Chart, X0, Y0, Qt::LeftButton);  // the first move with the button held starts it
    Move(Chart, X1, Y1, Qt::LeftButton);
    Move(Chart, X1, Y1);
  }
};

TEST(PlotterMouse, CursorByModeInsideTheChartArea) {
  TMouseChart M;
  M.Chart->SetMouseCursorFixed(false);
  Move(M.Chart, 100, 100);
  ASSERT_TRUE(QGuiApplication::overrideCursor());
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
  Move(M.Chart, 10, 100);  // in the margin: the default arrow
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  M.Chart->SetMouseAction(maPan);
  Move(M.Chart, 100, 100);
  ASSERT_TRUE(QGuiApplication::overrideCursor());
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BitmapCursor);
  M.Chart->SetMouseCursorFixed(true);
  Move(M.Chart, 120, 100);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(PlotterMouse, WorldCoordinatesAlsoInTheMargins) {
  TMouseChart M;
  bool In = true;
  double WX = 0, WY = 0;
  M.Chart->OnMouseMoveInChart = [&](QObject*, bool InChart, Qt::KeyboardModifiers, double X, double Y) {
    In = InChart, WX = X, WY = Y;
  };
  Move(M.Chart, 40, 1);
  EXPECT_TRUE(In);
  EXPECT_NEAR(WX, -15, 1e-9);
  EXPECT_NEAR(WY, 11, 1e-9);
  Move(M.Chart, 40 - 313 / 3, 260);  // left of and below the area: extrapolated
  EXPECT_FALSE(In);
  EXPECT_LT(WX, -15);
  EXPECT_LT(WY, -11);
}

TEST(PlotterMouse, PanByOneAreaWidthShiftsByOneRangeWidth) {
  TMouseChart M;
  M.Chart->SetMouseAction(maPanHoriz);
  int Steps = 0;
  M.Chart->OnZoomPan = [&](QObject*) { ++Steps; };
  M.Drag(40, 100, 353, 100);
  EXPECT_NEAR(M.X()->RangeLow(), -45, 1e-9);
  EXPECT_NEAR(M.X()->RangeHigh(), -15, 1e-9);
  EXPECT_EQ(M.Y()->RangeLow(), -11);  // the other axis stays
  EXPECT_EQ(Steps, 1);
}

// Pan acts on layer 1 only; the content follows the mouse on linear and logarithmic
// axes alike: down raises a vertical range, right lowers a horizontal one by decades.
TEST(PlotterMouse, PanMovesLayerOneWithTheMouseOnEveryKindOfAxis) {
  TMouseChart M;
  M.Chart->ApplyLayerRange(2, 0, 1, 0, 1);
  M.Chart->ApplyLayerRange(1, 1, 1000, -11, 11);
  M.X()->SetLogarithmic(true);
  M.Chart->SetMouseAction(maPan);
  M.Drag(40, 1, 353, 121);
  EXPECT_NEAR(M.X()->RangeLow(), 0.001, 1e-12);
  EXPECT_NEAR(M.X()->RangeHigh(), 1, 1e-9);
  EXPECT_NEAR(M.Y()->RangeLow(), 0, 1e-9);
  EXPECT_NEAR(M.Y()->RangeHigh(), 22, 1e-9);
  EXPECT_EQ(M.Chart->ScaleX(2)->RangeHigh(), 1);
  EXPECT_EQ(M.Chart->ScaleY(2)->RangeHigh(), 1);
}

TEST(PlotterMouse, AJoinedLayerFollowsAPan) {
  TMouseChart M;
  M.Chart->JointLayers()->SetControlledBy(0, 2, 1);
  M.Chart->SetMouseAction(maPan);
  M.Drag(100, 100, 100 + 313 / 2, 100);
  EXPECT_NEAR(M.Chart->ScaleX(2)->RangeLow(), M.X()->RangeLow(), 1e-12);
  EXPECT_NEAR(M.Chart->ScaleX(2)->RangeHigh(), M.X()->RangeHigh(), 1e-12);
  EXPECT_LT(M.X()->RangeLow(), -15);
}

TEST(PlotterMouse, DragZoomOfHalfTheWidthHalvesTheRange) {
  TMouseChart M;
  M.Chart->SetMouseAction(maZoomDrag);
  M.Chart->SetBounds(112, 168, 360, 281);  // an even width, so that W/2 is whole
  M.Drag(100, 100, 280, 100);
  EXPECT_NEAR(M.X()->RangeLow(), -7.5, 1e-9);
  EXPECT_NEAR(M.X()->RangeHigh(), 7.5, 1e-9);
  EXPECT_NEAR(M.Y()->RangeHigh(), 11, 1e-9);
}

TEST(PlotterMouse, ZoomWindowsKeepOrReverseTheAxes) {
  for (TMouseActMode Mode : {maZoomWindPos, maZoomWind}) {
    TMouseChart M;
    M.Chart->SetMouseAction(Mode);
    Press(M.Chart, 300, 200);  // bottom-right
    Move(M.Chart, 100, 50, Qt::LeftButton);
    Release(M.Chart, 100, 50);
    EXPECT_LT(M.Y()->RangeLow(), M.Y()->RangeHigh()) << Mode;  // drawn upwards: rising either way
    if (Mode == maZoomWindPos) EXPECT_LT(M.X()->RangeLow(), M.X()->RangeHigh());
    else EXPECT_GT(M.X()->RangeLow(), M.X()->RangeHigh());
  }
}

TEST(PlotterMouse, RightClickCancelsAZoomWindowWithoutATrace) {
  TMouseChart M;
  M.Chart->SetMouseAction(maZoomWind);
  const QImage Before = M.Chart->Surface().copy();
  Press(M.Chart, 100, 50);
  Move(M.Chart, 200, 150, Qt::LeftButton);
  Move(M.Chart, 250, 180, Qt::LeftButton);
  EXPECT_NE(M.Chart->Surface(), Before);  // the rubber band shows
  Release(M.Chart, 250, 180, Qt::RightButton);
  EXPECT_EQ(M.Chart->Surface(), Before);
  EXPECT_EQ(M.X()->RangeLow(), -15);
  Press(M.Chart, 100, 50);
  Release(M.Chart, 100, 50);  // zero size: nothing changes
  EXPECT_EQ(M.X()->RangeHigh(), 15);
}

TEST(PlotterMouse, DraggingTheNearestCrosshair) {
  TMouseChart M;
  for (int I : {1, 2}) {
    M.Chart->CrossHair(I)->SetLayer(1);
    M.Chart->CrossHair(I)->SetMode(chVert);
    M.Chart->CrossHair(I)->SetPosX(I == 1 ? -10 : 10);
  }
  M.Chart->SetMouseAction(maDragCrossH);
  TCrossHair* Moved = nullptr;
  M.Chart->OnCrossHairMove = [&](QObject*, TCrossHair* C) { Moved = C; };
  int X10, Y0;
  M.Chart->WorldToPixel(1, 10, 0, X10, Y0);
  M.Drag(X10 + 3, 100, X10 - 20, 100);
  EXPECT_EQ(Moved, M.Chart->CrossHair(2));
  EXPECT_LT(M.Chart->CrossHair(2)->PosX(), 10);
  EXPECT_EQ(M.Chart->CrossHair(1)->PosX(), -10);
}

TEST(PlotterMouse, KeysReachTheChart) {
  TMouseChart M;
  std::vector<int> Keys;
  M.Chart->OnKeyDown = [&](QObject*, int Key, Qt::KeyboardModifiers) { Keys.push_back(Key); };
  for (int Key : {Qt::Key_Left, Qt::Key_Tab}) {
    QKeyEvent E(QEvent::KeyPress, Key, Qt::NoModifier);
    QApplication::sendEvent(M.Chart, &E);
  }
  EXPECT_EQ(Keys, (std::vector<int>{Qt::Key_Left, Qt::Key_Tab}));
}

}  // namespace

namespace {

TEST(PlotterMouse, DraggingATextLabelByItsAttachMode) {
  TMouseChart M;
  TTextLabel* L = M.Chart->TextLabel(3);
  L->SetCaption("here");
  L->SetVisible(true);
  L->SetAttachToData(tlamXOnly);
  L->SetPosX(0);
  L->SetPosY(50);
  M.Chart->SetMouseAction(maDragLabel);
  TTextLabel* Moved = nullptr;
  M.Chart->OnTextLabelMove = [&](QObject*, TTextLabel* T) { Moved = T; };
  M.Drag(200, 60, 120, 70);
  EXPECT_EQ(Moved, L);
  double WX, WY;
  M.Chart->PixelToWorld(1, 120, 70, WX, WY);
  EXPECT_NEAR(L->PosX(), WX, 1e-9);  // x in world units
  EXPECT_EQ(L->PosY(), 70);          // y in pixels
}

// Each zoom window shows a hundredth of the last range: soon the range is a few units of
// the last place of 1000 wide, and the chart still paints.
TEST(PlotterMouse, ZoomingFarIntoARangeFarFromZero) {
  TMouseChart M;
  M.Chart->SetMouseAction(maZoomWindPos);
  M.X()->SetRangeLow(999);
  M.X()->SetRangeHigh(1001);
  for (int Zoom = 0; Zoom < 20; ++Zoom) {
    Press(M.Chart, 180, 100);
    Move(M.Chart, 183, 124, Qt::LeftButton);
    Release(M.Chart, 183, 124);
  }
  EXPECT_LT(M.X()->RangeHigh() - M.X()->RangeLow(), 1e-9);
  EXPECT_NEAR(M.X()->RangeLow(), 1000, 1);
}

// A new standard layout changes the chart area; an isometric chart keeps its y range in
// step, and every layer's ScaleLocation reads the side its axis is on.
TEST(PlotterLayout, LayoutsKeepIsometricAndTheSidesOfTheAxes) {
  TChartFixture F;
  F.Chart->SetIsometric(true);
  F.Chart->SetStandardLayout(pll_X1Bottom_Y4Left);  // left margin 200, top 24
  int X0, Y0, X1, Y1;
  F.Chart->WorldToPixel(1, 0, 0, X0, Y0);
  F.Chart->WorldToPixel(1, 10, 10, X1, Y1);
  EXPECT_NEAR(X1 - X0, Y0 - Y1, 1);
  for (int L = 1; L <= TCustomPlotter::Layers; ++L) {
    const TScaleProps *X = F.Chart->ScaleX(L), *Y = F.Chart->ScaleY(L);
    EXPECT_EQ(F.Chart->ScaleX(L)->ScaleLocation() == slTop, X->ScaleType() == sctXB) << L;
    EXPECT_EQ(F.Chart->ScaleY(L)->ScaleLocation() == slRight, Y->ScaleType() == sctYL) << L;
    EXPECT_EQ(F.Chart->ScaleOf(0, L)->ScaleType(), X->ScaleType()) << L;
  }
}

TEST(PlotterLayout, IsometricMakesBothAxesOneScale) {
  TChartFixture F;
  F.Chart->SetIsometric(true);
  // x: 30 units over 314 pixels; y keeps its low end and takes the same scale.
  const double Expected = -11 + 30.0 * 241 / 314;
  EXPECT_NEAR(F.Chart->Scale1Y()->RangeHigh(), Expected, 1e-9);
  int X0, Y0, X1, Y1;
  F.Chart->WorldToPixel(1, 0, 0, X0, Y0);
  F.Chart->WorldToPixel(1, 10, 10, X1, Y1);
  EXPECT_NEAR(X1 - X0, Y0 - Y1, 1);
}

}  // namespace
