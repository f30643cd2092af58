// The linear fit: its line and quality, its bookkeeping, and a two-pass reference.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "stats/KVR_math2.h"

namespace {

struct TFit {
  double Slope = -1, Intercept = -1, Quality = -1;
};

using TPoints = std::vector<std::pair<double, double>>;

// Two passes in long double: the means, then the sums of squared and crossed deviations,
// each corrected by the sum of the deviations (which absorbs the rounding of the means).
struct TReference {
  long double MeanX, MeanY, Sxx, Sxy, Syy;
};

TReference Reference(const TPoints& Points) {
  const long double N = Points.size();
  long double Mx = 0, My = 0;
  for (auto [X, Y] : Points) Mx += X, My += Y;
  Mx /= N, My /= N;
  long double Dx = 0, Dy = 0, Sxx = 0, Sxy = 0, Syy = 0;
  for (auto [X, Y] : Points) {
    const long double A = X - Mx, B = Y - My;
    Dx += A, Dy += B, Sxx += A * A, Sxy += A * B, Syy += B * B;
  }
  return {Mx + Dx / N, My + Dy / N, Sxx - Dx * Dx / N, Sxy - Dx * Dy / N, Syy - Dy * Dy / N};
}

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
    TPoints Points;
    TCurveFit C;
    const double TrueK = Round - 10.5, TrueD = 3.25 * Round;
    for (int I = 0; I < 15 + 50 * Round; ++I) {
      const double X = Noise(Gen) * 4 + Round, Y = TrueK * X + TrueD + Noise(Gen);
      Points.push_back({X, Y});
      C.AddPair(X, Y);
    }
    const TReference R = Reference(Points);
    const double K = R.Sxy / R.Sxx, D = R.MeanY - K * R.MeanX, R2 = R.Sxy * R.Sxy / (R.Sxx * R.Syy);
    const TFit F = Fit(C);
    EXPECT_NEAR(F.Slope, K, 1e-12 * std::fabs(K)) << Round;
    EXPECT_NEAR(F.Intercept, D, 1e-11 * std::max(1.0, std::fabs(D))) << Round;
    EXPECT_NEAR(F.Quality, R2, 1e-12) << Round;
  }
}

// Random clouds at every shift from 1e0 to 1e12 and every scale from 1e-6 to 1e6 (x and y
// alike), against the reference over the very doubles the fit was given. Bounds, with
// eps the double epsilon: the slope within 4 eps of sy/sx (the standard deviations of y
// and x), the intercept within 4 eps of |mean y| + |slope mean x| + sy, the quality within
// 4 eps. A quality clamped to 1 while the reference lies below would miss the bound, so
// the grid also shows that the clamp never acts on such data. Clouds whose relative spread
// is at most 1e-15 cannot be resolved and are refused; at 1e-14 either answer is sound.
TEST(CurveFit, AccurateWhereverTheDataLie) {
  constexpr double Bound = 4 * std::numeric_limits<double>::epsilon();
  std::mt19937 Gen(19);
  std::uniform_real_distribution<double> U(0, 1);
  for (int ShiftExp = 0; ShiftExp <= 12; ++ShiftExp) {
    for (int ScaleExp = -6; ScaleExp <= 6; ++ScaleExp) {
      const double Shift = std::pow(10.0, ShiftExp), Scale = std::pow(10.0, ScaleExp);
      for (int Draw = 0; Draw < 3; ++Draw) {
        const double Trend = (Draw - 1) * 0.9 + 0.05, Spread = 0.2 + 0.4 * Draw;
        TPoints Points;
        TCurveFit C;
        for (int I = 0; I < 40; ++I) {
          const double Ux = U(Gen), Uy = Trend * Ux + Spread * U(Gen);
          Points.push_back({Shift + Scale * Ux, Shift + Scale * Uy});
          C.AddPair(Points.back().first, Points.back().second);
        }
        const std::string Where = "shift 1e" + std::to_string(ShiftExp) + ", scale 1e" + std::to_string(ScaleExp);
        const int Resolution = ScaleExp - ShiftExp;
        TFit F;
        try {
          F = Fit(C);
        } catch (const EKVRMath2Error&) {
          EXPECT_LE(Resolution, -14) << Where;
          continue;
        }
        EXPECT_GE(Resolution, -14) << Where;
        const TReference R = Reference(Points);
        const long double Sx = std::sqrt(R.Sxx / Points.size()), Sy = std::sqrt(R.Syy / Points.size());
        const long double K = R.Sxy / R.Sxx, D = R.MeanY - K * R.MeanX;
        EXPECT_LE(std::fabs(F.Slope - K), Bound * Sy / Sx) << Where;
        EXPECT_LE(std::fabs(F.Intercept - D), Bound * (std::fabs(R.MeanY) + std::fabs(K * R.MeanX) + Sy)) << Where;
        if (R.Syy > 0) EXPECT_NEAR(F.Quality, R.Sxy * R.Sxy / (R.Sxx * R.Syy), Bound) << Where;
        else EXPECT_EQ(F.Quality, 1.0) << Where;
      }
    }
  }
}

TEST(CurveFit, ExactLineFarFromZero) {
  TCurveFit C;
  for (int I = 0; I < 15; ++I) C.AddPair(1e8 + I, 2 * (1e8 + I) + 3);
  const TFit F = Fit(C);
  EXPECT_DOUBLE_EQ(F.Slope, 2.0);
  EXPECT_DOUBLE_EQ(F.Intercept, 3.0);
  EXPECT_DOUBLE_EQ(F.Quality, 1.0);
}

// Lines up to the rounding of their y: the quality is as close to 1 as that rounding
// allows, and never above it.
TEST(CurveFit, NearlyPerfectLinesStayWithinTheQualityRange) {
  for (double Shift : {0.0, 0.1, 1e3 + 0.7, 1e9 / 3, 1e12 + 0.1})
    for (double K : {-3.3, 0.1, 7.0}) {
      TCurveFit C;
      for (int I = 0; I < 25; ++I) C.AddPair(Shift + 0.37 * I, K * (Shift + 0.37 * I) - 1.9);
      const TFit F = Fit(C);
      EXPECT_LE(F.Quality, 1.0) << Shift << " " << K;
      EXPECT_GE(F.Quality, 1.0 - 1e-6) << Shift << " " << K;
    }
}

TEST(CurveFit, ConstantYThatBinaryCannotHoldIsStillAPerfectFit) {
  for (double Y : {0.1, 123.456, 1e-7, -2.2e15 / 3}) {
    TCurveFit C;
    for (double X : {1.0, 2.5, 5.0, 1e8}) C.AddPair(X, Y);
    const TFit F = Fit(C);
    EXPECT_EQ(F.Quality, 1.0) << Y;
    EXPECT_EQ(F.Slope, 0.0) << Y;
    EXPECT_EQ(F.Intercept, Y) << Y;
  }
}

// The message of the refusal, after checking that the outputs were zeroed.
std::string Refusal(const TPoints& Points) {
  TCurveFit C;
  for (auto [X, Y] : Points) C.AddPair(X, Y);
  TFit F;
  try {
    C.CalcLinFit(F.Slope, F.Intercept, F.Quality);
  } catch (const EKVRMath2Error& E) {
    EXPECT_EQ(F.Slope, 0.0);
    EXPECT_EQ(F.Intercept, 0.0);
    EXPECT_EQ(F.Quality, 0.0);
    return E.what();
  }
  return "no refusal";
}

TEST(CurveFit, RefusesXWithoutAResolvableSpread) {
  // Equal to the last bit, however the values were produced.
  EXPECT_EQ(Refusal({{0.1, 1}, {0.1, 2}, {0.1, 4}}), "CalcLinFit: all x values are equal, so the line is vertical");
  EXPECT_EQ(Refusal({{0.2 - 0.1, 1}, {0.1, 2}}), "CalcLinFit: all x values are equal, so the line is vertical");
  // Different only in the rounding of their last bits.
  const std::string Unresolved = "CalcLinFit: the x values differ by less than double precision resolves at their size";
  EXPECT_EQ(Refusal({{0.1, 1}, {0.3 - 0.2, 2}, {0.1, 3}}), Unresolved);
  EXPECT_EQ(Refusal({{1e12, 1}, {std::nextafter(1e12, 2e12), 2}, {1e12, 3}}), Unresolved);
  EXPECT_EQ(Refusal({{1e12, 1}, {1e12 + 0.01, 2}, {1e12 + 0.02, 3}}), "no refusal");
}

TEST(CurveFit, RefusesWhatDoublesCannotCarry) {
  const std::string NotFinite = "CalcLinFit: the data contain values that are not finite numbers";
  EXPECT_EQ(Refusal({{1, 1}, {std::nan(""), 2}}), NotFinite);
  EXPECT_EQ(Refusal({{1, 1}, {2, 2}, {HUGE_VAL, 3}}), NotFinite);
  EXPECT_EQ(Refusal({{0, 0}, {1e-300, 1e300}}), "CalcLinFit: the line is too steep for double precision");
}

// Sums read after every pair (as when every pair was summed as it came) or only at the
// end are the same to the last bit, also after a reset; each model kind keeps the figures
// it had. The pairs reach every branch: x and y zero, negative and positive.
TEST(CurveFit, SumsDoNotDependOnWhenTheyAreRead) {
  const TPoints Points = {{2, -1}, {0, 3}, {1.5, 2.5}, {-3, 0}, {0.25, 4}, {-1.75, -2}, {3, 0.5}, {0.7, 1.3}};
  TCurveFit Eager, Late;
  for (auto [X, Y] : Points) Eager.AddPair(-X, Y);
  Eager.ResetStats();
  for (auto [X, Y] : Points) {
    Eager.AddPair(X, Y);
    Late.AddPair(X, Y);
    (void)Eager.Sums();
  }
  EXPECT_EQ(Late.Sums(), Eager.Sums());
  for (int I = 1; I <= TCurveFit::PowerSumCount; ++I) EXPECT_EQ(Late.PowerSums().Elem(I), Eager.PowerSums().Elem(I));
  for (int I = 1; I <= TCurveFit::WeightedSumCount; ++I)
    EXPECT_EQ(Late.WeightedPowerSums().Elem(I), Eager.WeightedPowerSums().Elem(I));
  EXPECT_EQ(Late.Sums().X4, 0x1.815eee631f8a1p+7);
  EXPECT_EQ(Late.Sums().InvXY, 0x1.0f8p+71);
  EXPECT_EQ(Late.Sums().YDivX, 0x1.7fae6d5a9a7c2p+128);
  EXPECT_EQ(Late.Sums().LnXLnY, -0x1.33e3100f666a7p+1);
  EXPECT_EQ(Late.Sums().X2LnY, -0x1.fb11671d96e42p+1);
  EXPECT_EQ(Late.PowerSums().Elem(18), 0x1.cef462b0592c8p+16);
  EXPECT_EQ(Late.WeightedPowerSums().Elem(9), 0x1.6c17062da19d6p+11);
  EXPECT_EQ(Late.UndefinedFlags(), utLnX | utLnY | utInvX | utInvY);
}

}  // namespace
