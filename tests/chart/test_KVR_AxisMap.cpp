// The axis map on its own: directions, rounding, edges and the drag of a range.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/KVR_AxisMap.h"

namespace {

constexpr TAxisMap::TSpan Across{40, 353, 361, false};  // the program's x axis
constexpr TAxisMap::TSpan Up{241, 1, 281, true};        // and its y axis

TEST(AxisMap, BothDirectionsTiesToEvenAndBackToTheWorld) {
  TAxisMap X, Y;
  X.Calibrate(Across, -15, 15, false);
  Y.Calibrate(Up, -11, 11, false);
  EXPECT_EQ(X.ToPixel(-15), 40);
  EXPECT_EQ(X.ToPixel(15), 353);
  EXPECT_EQ(X.ToPixel(0), 196);  // 196.5
  EXPECT_EQ(Y.ToPixel(11), 1);
  EXPECT_EQ(Y.ToPixel(-11), 241);
  EXPECT_EQ(Y.ToPixel(0), 121);
  EXPECT_EQ(X.ToPixel(1e300), 2147483647);
  EXPECT_EQ(X.ToPixel(NAN), -2147483647);
  EXPECT_NEAR(X.ToWorld(353), 15, 1e-12);
  EXPECT_NEAR(Y.ToWorld(241), -11, 1e-12);
  // A tick exactly between two pixels, 50 + 3.25 * 131 / 6.5 = 115.5: ties to even.
  X.Calibrate({50, 181, 201, false}, -4.75, 1.75, false);
  EXPECT_EQ(X.ToPixel(-1.5), 116);
}

TEST(AxisMap, UnshowableLogarithmicValuesGoToTheLowEndsControlEdge) {
  TAxisMap M;
  const struct {
    TAxisMap::TSpan Span;
    double Low, High;
    int Edge;
  } Cases[] = {{Across, 1, 1000, 0}, {Across, 1000, 1, 361}, {Up, 1, 1000, 281}, {Up, 1000, 1, 0}};
  for (const auto& C : Cases) {
    M.Calibrate(C.Span, C.Low, C.High, true);
    EXPECT_EQ(M.ToPixel(0), C.Edge) << C.Span.Vertical << C.Low;
    EXPECT_EQ(M.ToPixel(-5), C.Edge);
  }
}

TEST(AxisMap, UnmappableRangesKeepTheMappingAndEmptySpansTheMiddle) {
  TAxisMap M;
  M.Calibrate(Across, -15, 15, false);
  M.Calibrate(Across, 3, 3, false);
  M.Calibrate(Across, -1, 10, true);
  M.Calibrate(Across, 0, INFINITY, false);
  EXPECT_EQ(M.ToPixel(0), 196);  // still linear over -15..15
  M.Calibrate({40, 40, 361, false}, -15, 15, true);
  EXPECT_EQ(M.ToPixel(1e9), 180);  // 361 / 2, ties to even
  EXPECT_EQ(M.ToPixel(-1e9), 180);
}

// A drag of the span's width moves a range by its width; down raises a vertical range.
TEST(AxisMap, ADragMovesTheRangeWithTheMouse) {
  TAxisMap X, Y;
  X.Calibrate(Across, -15, 15, false);
  Y.Calibrate(Up, -11, 11, false);
  auto [XL, XH] = X.Dragged(-15, 15, -15, 15, 313);
  EXPECT_NEAR(XL, -45, 1e-12);
  EXPECT_NEAR(XH, -15, 1e-12);
  auto [YL, YH] = Y.Dragged(-11, 11, -11, 11, 120);
  EXPECT_NEAR(YL, 0, 1e-12);
  EXPECT_NEAR(YH, 22, 1e-12);
  X.Calibrate(Across, 1, 1000, true);
  auto [LL, LH] = X.Dragged(1, 1000, 1, 1000, -313);
  EXPECT_NEAR(LL, 1000, 1e-9);
  EXPECT_NEAR(LH, 1e6, 1e-3);
  TAxisMap Empty;
  Empty.Calibrate({40, 30, 361, false}, -15, 15, false);
  EXPECT_EQ(Empty.Dragged(-15, 15, -20, 10, 50), std::make_pair(-15.0, 15.0));
}

}  // namespace

// The double-precision way of ToPixel against the extended-precision rule, at the values
// nearest to every half pixel of a span (where the two ways could round apart), a few
// ulps either side, and at values no mapping can round alike.
TEST(AxisMap, ToPixelIsTheExactRuleAtAndAroundEveryHalfPixel) {
  const double Specials[] = {0.0, -0.0, NAN, INFINITY, -INFINITY, 1e308, -1e308, 5e-324, 1e-310, 1e-100, 1e100};
  const struct {
    TAxisMap::TSpan Span;
    double Low, High;
    bool Logarithmic;
  } Cases[] = {
      {Across, -15, 15, false},   {Up, -11, 11, false},          {Across, 15, -15, false},
      {Up, 0.1, 0.3, false},      {Across, 1e10, 1e10 + 1e-5, false}, {Across, 1, 1 + 4 * 0x1p-52, false},
      {Up, -1e300, 1e300, false}, {Across, 5e-324, 2e-323, false},    {Across, -1e-300, 1e-300, false},
      {Across, 1, 1000, true},    {Up, 1000, 1, true},                {Across, 1e-90, 1e250, true},
      {Up, 1, 1 + 0x1p-50, true}, {{0, 30000, 30001, false}, -1, 1, false}, {{0, 1, 2, false}, -1e308, 1e308, false},
  };
  for (const auto& C : Cases) {
    TAxisMap M;
    M.Calibrate(C.Span, C.Low, C.High, C.Logarithmic);
    auto Check = [&](double V) { ASSERT_EQ(M.ToPixel(V), M.ExactPixel(V)) << C.Low << ".." << C.High << " at " << V; };
    for (double V : Specials) Check(V);
    const int Lo = std::min(C.Span.First, C.Span.Last) - 2, Hi = std::max(C.Span.First, C.Span.Last) + 2;
    for (int Pixel = Lo; Pixel <= Hi; Pixel += std::max(1, (Hi - Lo) / 500)) {
      // The world value of the half pixel, and its neighbours ulp by ulp.
      const double W0 = M.ToWorld(Pixel), W1 = M.ToWorld(Pixel + 1);
      const double Half = C.Logarithmic ? std::sqrt(W0) * std::sqrt(W1) : W0 + (W1 - W0) / 2;
      double Below = Half, Above = Half;
      for (int Ulp = 0; Ulp < 8; ++Ulp) {
        Check(Below), Check(Above);
        Below = std::nextafter(Below, -INFINITY), Above = std::nextafter(Above, INFINITY);
      }
    }
  }
}
