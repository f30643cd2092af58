// The linear fit: its line and quality, its bookkeeping, and a two-pass reference.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "stats/KVR_math2.h"

namespace {

struct TFit {
  double Slope = -1, Intercept = -1, Quality = -1;
};

TFit Fit(const TCurveFit& C) {
  TFit F;
  C.CalcLinFit(F.Slope, F.Intercept, F.Quality);
  return F;
}

TEST(CurveFit, TwoPairsGiveTheLineThroughBoth) {
  TCurveFit C;
  C.AddPair(1, 3);
  C.AddPair(3, 7);
  const TFit F = Fit(C);
  EXPECT_DOUBLE_EQ(F.Slope, 2.0);
  EXPECT_DOUBLE_EQ(F.Intercept, 1.0);
  EXPECT_DOUBLE_EQ(F.Quality, 1.0);
}

TEST(CurveFit, TooFewPairsRaiseWithZeroOutputsAndKeepTheState) {
  TCurveFit C;
  for (int Pairs = 0; Pairs < 2; ++Pairs) {
    TFit F;
    try {
      C.CalcLinFit(F.Slope, F.Intercept, F.Quality);
      FAIL();
    } catch (const EKVRMath2Error& E) {
      EXPECT_STREQ(E.what(), "CalcLinFit: not enough data points");
    }
    EXPECT_EQ(F.Slope, 0.0);
    EXPECT_EQ(F.Intercept, 0.0);
    EXPECT_EQ(F.Quality, 0.0);
    EXPECT_EQ(C.N(), Pairs);
    C.AddPair(2, 5);
  }
  EXPECT_EQ(C.Sums().X, 4.0);
}

TEST(CurveFit, ConstantYIsAPerfectFit) {
  TCurveFit C;
  for (double X : {1.0, 2.0, 5.0}) C.AddPair(X, 2.0);
  const TFit F = Fit(C);
  EXPECT_EQ(F.Quality, 1.0);
  EXPECT_EQ(F.Slope, 0.0);
  EXPECT_EQ(F.Intercept, 2.0);
}

TEST(CurveFit, EqualXIsRefusedInsteadOfDividingByZero) {
  TCurveFit C;
  C.AddPair(3, 1);
  C.AddPair(3, 2);
  TFit F;
  EXPECT_THROW(C.CalcLinFit(F.Slope, F.Intercept, F.Quality), EKVRMath2Error);
  EXPECT_EQ(F.Slope, 0.0);
  C.ResetStats();
  C.AddPair(1, 1);
  C.AddPair(2, std::nan(""));
  EXPECT_THROW(Fit(C), EKVRMath2Error);
}

TEST(CurveFit, UndefinedTransformsAreFlaggedAndLeaveTheLinearSumsAlone) {
  TCurveFit C;
  C.AddPair(0, 2);
  EXPECT_EQ(C.UndefinedFlags(), utInvX | utLnX);
  EXPECT_EQ(C.Sums().X, 0.0);
  EXPECT_EQ(C.Sums().Y2, 4.0);
  EXPECT_EQ(C.Sums().InvX, 1.7e38);
  EXPECT_EQ(C.Sums().InvXY, 1.7e38 / 2);
  C.AddPair(-1, 0);
  EXPECT_EQ(C.UndefinedFlags(), utInvX | utLnX | utLnY | utInvY);
  C.ResetStats();
  EXPECT_EQ(C.UndefinedFlags(), 0);
  C.AddPair(2, 0);  // ln x defined, y = 0: 1/y and ln y undefined
  EXPECT_EQ(C.UndefinedFlags(), utInvY | utLnY);
  EXPECT_DOUBLE_EQ(C.Sums().LnX, std::log(2.0));
  EXPECT_EQ(C.Sums().LnXDivY, 0.0);
}

TEST(CurveFit, KeepsExtremesPowerSumsAndPairs) {
  TCurveFit C;
  EXPECT_EQ(C.MinX(), 1.7e308);
  EXPECT_EQ(C.MaxY(), -1.7e308);
  C.AddPair(2, -1);
  C.AddPair(-3, 4);
  EXPECT_EQ(C.MinX(), -3);
  EXPECT_EQ(C.MaxX(), 2);
  EXPECT_EQ(C.MinY(), -1);
  EXPECT_EQ(C.MaxY(), 4);
  EXPECT_EQ(C.PowerSums().NrOfElem(), 18);
  EXPECT_EQ(C.PowerSums().Elem(1), 2.0);               // the count
  EXPECT_EQ(C.PowerSums().Elem(4), 8.0 - 27.0);        // x^3
  EXPECT_EQ(C.PowerSums().Elem(18), std::pow(2.0, 17) + std::pow(-3.0, 17));
  EXPECT_EQ(C.WeightedPowerSums().NrOfElem(), 9);
  EXPECT_EQ(C.WeightedPowerSums().Elem(2), -2.0 - 12.0);  // y x
  EXPECT_EQ(C.Pairs().Elem(1, 2), -3.0);
  EXPECT_EQ(C.Pairs().Elem(2, 2), 4.0);
}

TEST(CurveFit, PairStoreGrowsBy1000RowsAndResetKeepsItsSize) {
  TCurveFit C;
  EXPECT_EQ(C.Pairs().NrOfRows(), 1000);
  for (int I = 1; I <= 1001; ++I) C.AddPair(I, 2 * I);
  EXPECT_EQ(C.Pairs().NrOfRows(), 2000);
  EXPECT_EQ(C.Pairs().Elem(1, 1001), 1001.0);
  EXPECT_EQ(C.Pairs().Elem(2, 1000), 2000.0);
  C.ResetStats();
  EXPECT_EQ(C.Pairs().NrOfRows(), 2000);
  EXPECT_EQ(C.Pairs().Elem(1, 1001), 0.0);
  EXPECT_EQ(C.N(), 0);
}

TEST(CurveFit, SlopesOfBothRegressionsMultiplyToTheQuality) {
  std::mt19937 Gen(7);
  std::uniform_real_distribution<double> U(0, 1);
  TCurveFit YonX, XonY;
  for (int I = 0; I < 15; ++I) {
    const double X = U(Gen) * 10 - 5, Y = U(Gen) * 4 + X - 2;
    YonX.AddPair(X, Y);
    XonY.AddPair(Y, X);
  }
  const TFit A = Fit(YonX), B = Fit(XonY);
  EXPECT_NEAR(A.Slope * B.Slope, A.Quality, 1e-12);
  EXPECT_NEAR(A.Quality, B.Quality, 1e-12);
}

TEST(CurveFit, AgreesWithATwoPassReference) {
  std::mt19937 Gen(42);
  std::normal_distribution<double> Noise(0, 3);
  for (int Round = 0; Round < 20; ++Round) {
    std::vector<std::pair<double, double>> Points;
    TCurveFit C;
    const double TrueK = Round - 10.5, TrueD = 3.25 * Round;
    for (int I = 0; I < 15 + 50 * Round; ++I) {
      const double X = Noise(Gen) * 4 + Round, Y = TrueK * X + TrueD + Noise(Gen);
      Points.push_back({X, Y});
      C.AddPair(X, Y);
    }
    long double Mx = 0, My = 0;
    for (auto [X, Y] : Points) Mx += X, My += Y;
    Mx /= Points.size(), My /= Points.size();
    long double Sxx = 0, Sxy = 0, Syy = 0;
    for (auto [X, Y] : Points) Sxx += (X - Mx) * (X - Mx), Sxy += (X - Mx) * (Y - My), Syy += (Y - My) * (Y - My);
    const double K = Sxy / Sxx, D = My - K * Mx, R2 = Sxy * Sxy / (Sxx * Syy);
    const TFit F = Fit(C);
    EXPECT_NEAR(F.Slope, K, 1e-12 * std::fabs(K)) << Round;
    EXPECT_NEAR(F.Intercept, D, 1e-11 * std::max(1.0, std::fabs(D))) << Round;
    EXPECT_NEAR(F.Quality, R2, 1e-12) << Round;
  }
}

}  // namespace
