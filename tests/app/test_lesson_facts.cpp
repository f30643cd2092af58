// Every quantitative statement of the lesson texts (both dictionaries) and of the README's
// "What the lesson teaches", checked for 10,000 clouds as the program draws them and with
// the program's own fit. Pure computation: no window is involved.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>

#include "app/PointCloud.h"
#include "stats/KVR_math2.h"

namespace {

constexpr int CloudCount = 10000;
// "Practically 0": the readout shows 0.00 and two more digits.
constexpr double PracticallyZero = 0.005;
// Among the first 4,000,000 seeds, the only clouds whose long axis lies so far from the
// diagonal that the exact zero of r² falls just outside steps 2 and 3 (at 107.7° and
// 17.7°, 109.0° and 19.0°, 108.6° and 18.6°). The texts promise only what they reach too.
constexpr std::array<uint64_t, 3> RareClouds = {1552885, 2458584, 2811669};

struct TLine {
  double Slope = 0, Intercept = 0, R2 = 0;
};

// Means and spreads of a cloud, and the least-squares line of y on x through it.
struct TMoments {
  double MeanX = 0, MeanY = 0, Sxx = 0, Syy = 0, Sxy = 0;
  explicit TMoments(const TPointCloud& Points) {
    for (const TDataPoint& P : Points) {
      MeanX += P.X / Points.size();
      MeanY += P.Y / Points.size();
    }
    for (const TDataPoint& P : Points) {
      Sxx += (P.X - MeanX) * (P.X - MeanX);
      Syy += (P.Y - MeanY) * (P.Y - MeanY);
      Sxy += (P.X - MeanX) * (P.Y - MeanY);
    }
  }
  TLine Line() const { return {Sxy / Sxx, MeanY - Sxy / Sxx * MeanX, Sxy * Sxy / (Sxx * Syy)}; }
  // The direction of the cloud's long axis, in degrees from the x axis (-90 to 90).
  double AxisDegrees() const { return std::atan2(2 * Sxy, Sxx - Syy) / 2 * 180 / std::numbers::pi; }
};

// The same line as the window's fit computes it.
TLine ProgramFit(TCurveFit& Stats, const TPointCloud& Points) {
  Stats.ResetStats();
  for (const TDataPoint& P : Points) Stats.AddPair(P.X, P.Y);
  TLine L;
  Stats.CalcLinFit(L.Slope, L.Intercept, L.R2);
  return L;
}

TPointCloud Swapped(TPointCloud Points) {
  for (TDataPoint& P : Points) std::swap(P.X, P.Y);
  return Points;
}

// One cloud and its lines at any rotate position: red regresses y on x, blue x on y. The
// sweep computes them from moments about the means (the program's own fit, which is
// slower, is checked to agree).
class TLesson {
public:
  explicit TLesson(uint64_t Seed) {
    std::mt19937_64 Random(Seed);
    Cloud_ = GenerateCloud(Random);
  }
  TPointCloud At(int Position) const { return RotateCloud(Cloud_, Position); }
  TLine Red(int Position) const { return TMoments(At(Position)).Line(); }
  TLine Blue(int Position) const { return TMoments(Swapped(At(Position))).Line(); }
  // The position P in the range where the red line turns through horizontal between P
  // and P + 1 (the angle where r² is exactly 0), or nothing when it does not.
  std::optional<int> ZeroIn(const TRotateRange& Range) const {
    int Low = Range.Min, High = Range.Max;
    const bool LowRises = Red(Low).Slope > 0;
    if (LowRises == (Red(High).Slope > 0)) return std::nullopt;
    while (High - Low > 1) {  // halves a range of at most 3600 positions
      const int Mid = (Low + High) / 2;
      ((Red(Mid).Slope > 0) == LowRises ? Low : High) = Mid;
    }
    return Low;
  }
  // The position in the range with the least r² near its exact zero: beside the zero, or
  // at the end nearer to it when the zero lies outside.
  int LeastR2In(const TRotateRange& Range) const {
    const std::optional<int> Zero = ZeroIn(Range);
    const int A = Zero ? *Zero : Range.Min, B = Zero ? *Zero + 1 : Range.Max;
    return Red(A).R2 <= Red(B).R2 ? A : B;
  }

private:
  TPointCloud Cloud_;
};

// Four positions per cloud, spread over the turn and different from cloud to cloud.
std::array<int, 4> SamplePositions(uint64_t Seed) {
  std::array<int, 4> P;
  for (int K = 0; K < 4; ++K) P[K] = static_cast<int>((Seed * 97 + static_cast<uint64_t>(K) * 911) % 3600);
  return P;
}

// Steps 2 and 3 as the learner meets them: turning inside the range, r² gets practically
// to 0. There the cloud stands upright and the red line cuts across it (less steep than
// 45°), or the cloud lies flat along the red line; "upright" and "flat" within 3°.
void ExpectPracticallyZeroInsideTheRanges(uint64_t Seed) {
  const TLesson L(Seed);
  const int Upright = L.LeastR2In(UprightRange), Flat = L.LeastR2In(FlatRange);
  EXPECT_LT(L.Red(Upright).R2, PracticallyZero) << "seed " << Seed;
  EXPECT_LT(L.Red(Flat).R2, PracticallyZero) << "seed " << Seed;
  EXPECT_LT(std::fabs(L.Red(Upright).Slope), 1) << "seed " << Seed;
  EXPECT_LT(std::fabs(L.Red(Flat).Slope), 0.05) << "seed " << Seed;
  EXPECT_GT(std::fabs(TMoments(L.At(Upright)).AxisDegrees()), 87) << "seed " << Seed;
  EXPECT_LT(std::fabs(TMoments(L.At(Flat)).AxisDegrees()), 3) << "seed " << Seed;
}

TEST(LessonFacts, RSquaredGetsPracticallyToZeroInsideTheUprightAndTheFlatRange) {
  for (uint64_t Seed = 0; Seed < CloudCount; ++Seed) ExpectPracticallyZeroInsideTheRanges(Seed);
  for (uint64_t Seed : RareClouds) ExpectPracticallyZeroInsideTheRanges(Seed);
}

// Steps 1 and 5: where r² is exactly 0 the red line is flat and the blue one upright. For
// ordinary clouds that angle lies inside both ranges; for the rare ones just outside.
TEST(LessonFacts, WhereRSquaredIsZeroTheRedLineIsFlatAndTheBlueOneUpright) {
  for (uint64_t Seed = 0; Seed < CloudCount; ++Seed) {
    const TLesson L(Seed);
    for (const TRotateRange& Range : {UprightRange, FlatRange}) {
      const std::optional<int> Zero = L.ZeroIn(Range);
      ASSERT_TRUE(Zero) << "seed " << Seed;
      EXPECT_NE(L.Blue(*Zero).Slope > 0, L.Blue(*Zero + 1).Slope > 0) << "seed " << Seed;
    }
  }
  for (uint64_t Seed : RareClouds) EXPECT_FALSE(TLesson(Seed).ZeroIn(UprightRange)) << "seed " << Seed;
}

// Step 1: r² is largest when the cloud lies diagonally, half-way between flat and upright.
TEST(LessonFacts, RSquaredIsLargestWhenTheCloudLiesDiagonally) {
  for (uint64_t Seed = 0; Seed < CloudCount; ++Seed) {
    const TLesson L(Seed);
    // A quarter turn reverses the sign of the covariance, so every 90° holds a zero.
    const std::optional<int> Flat = L.ZeroIn({0, 900, 0});
    ASSERT_TRUE(Flat) << "seed " << Seed;
    // The exact maximum lies between these two positions; near it r² is nearly level.
    const double Diagonal = std::max(L.Red(*Flat + 450).R2, L.Red(*Flat + 451).R2);
    for (int Position = static_cast<int>(Seed % 300); Position < 3600; Position += 300)
      EXPECT_LE(L.Red(Position).R2, Diagonal + 1e-6) << "seed " << Seed << " at " << Position;
  }
}

// Steps 1 and 3: turning keeps the cloud's shape, and r² repeats every quarter turn, so
// step 3 opens with the r² that step 2 opened with. The sweep's line is the program's.
TEST(LessonFacts, RSquaredRepeatsEveryQuarterTurnAndTheShapeStays) {
  TCurveFit Stats;
  for (uint64_t Seed = 0; Seed < CloudCount; ++Seed) {
    const TLesson L(Seed);
    EXPECT_NEAR(L.Red(FlatRange.Start).R2, L.Red(UprightRange.Start).R2, 1e-12) << "seed " << Seed;
    const int First = SamplePositions(Seed)[0];
    const TLine Program = ProgramFit(Stats, L.At(First)), Sweep = L.Red(First);
    EXPECT_NEAR(Program.Slope, Sweep.Slope, 1e-9) << "seed " << Seed;
    EXPECT_NEAR(Program.Intercept, Sweep.Intercept, 1e-9) << "seed " << Seed;
    EXPECT_NEAR(Program.R2, Sweep.R2, 1e-9) << "seed " << Seed;
    for (int Position : SamplePositions(Seed)) {
      const double R2 = L.Red(Position).R2;
      EXPECT_NEAR(L.Red(Position + 900).R2, R2, 1e-12) << "seed " << Seed << " at " << Position;
      EXPECT_NEAR(L.Red(Position + 1800).R2, R2, 1e-12) << "seed " << Seed << " at " << Position;
      const TPointCloud Original = L.At(0), Turned = L.At(Position);
      for (size_t I = 1; I < Original.size(); ++I)
        EXPECT_NEAR(std::hypot(Turned[I].X - Turned[0].X, Turned[I].Y - Turned[0].Y),
                    std::hypot(Original[I].X - Original[0].X, Original[I].Y - Original[0].Y), 1e-12);
    }
  }
}

// Step 4: stretching the y axis, as the magnification bar does from one end to the other,
// leaves r² as it is.
TEST(LessonFacts, RSquaredDoesNotDependOnTheScaleOfAnAxis) {
  for (uint64_t Seed = 0; Seed < CloudCount; ++Seed) {
    const TLesson L(Seed);
    const int Position = SamplePositions(Seed)[0];
    const double R2 = L.Red(Position).R2;
    for (double Stretch : {5.0, 0.2}) {
      TPointCloud Stretched = L.At(Position);
      for (TDataPoint& P : Stretched) P.Y *= Stretch;
      EXPECT_NEAR(TMoments(Stretched).Line().R2, R2, 1e-12) << "seed " << Seed;
    }
  }
}

// Step 5: both lines pass through the centre of the cloud; they never coincide here
// (r² < 1); the red line is never steeper than the blue one, and the red slope divided
// by the blue slope, both read as rise per run in the chart, is r².
TEST(LessonFacts, TheTwoLinesMeetInTheCentreAndTheirSlopesDifferByTheFactorRSquared) {
  for (uint64_t Seed = 0; Seed < CloudCount; ++Seed) {
    const TLesson L(Seed);
    for (int Position : SamplePositions(Seed)) {
      const TLine Red = L.Red(Position), Blue = L.Blue(Position);  // blue: x = Slope * y + Intercept
      const TMoments M(L.At(Position));
      EXPECT_NEAR(Red.Slope * M.MeanX + Red.Intercept, M.MeanY, 1e-12) << "seed " << Seed;
      EXPECT_NEAR(Blue.Slope * M.MeanY + Blue.Intercept, M.MeanX, 1e-12) << "seed " << Seed;
      EXPECT_LT(Red.R2, 1 - 1e-6) << "seed " << Seed;
      const double BlueRise = 1 / Blue.Slope;
      EXPECT_LE(std::fabs(Red.Slope), std::fabs(BlueRise)) << "seed " << Seed;
      EXPECT_NEAR(Red.Slope / BlueRise, Red.R2, 1e-12) << "seed " << Seed << " at " << Position;
    }
  }
}

}  // namespace
