// Every quantitative statement of the lesson texts (both dictionaries) and of the README's
// "What the lesson teaches", checked for 10,000 clouds as the program draws them and with
// the program's own fit. Pure computation: no window is involved.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "app/PointCloud.h"
#include "stats/KVR_math2.h"

namespace {

constexpr int CloudCount = 10000;
// The readout shows four decimals: below this it reads 0.0000 or 0.0001 at most.
constexpr double ReadsAsZero = 1.5e-4;

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
};

// The same line as the window's fit computes it from its running sums.
TLine ProgramFit(const TPointCloud& Points) {
  TCurveFit Stats;
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
  double LeastR2Beside(int Position) const { return std::min(Red(Position).R2, Red(Position + 1).R2); }

private:
  TPointCloud Cloud_;
};

// Four positions per cloud, spread over the turn and different from cloud to cloud.
std::array<int, 4> SamplePositions(uint64_t Seed) {
  std::array<int, 4> P;
  for (int K = 0; K < 4; ++K) P[K] = static_cast<int>((Seed * 97 + static_cast<uint64_t>(K) * 911) % 3600);
  return P;
}

// Steps 1 to 3 and 5: inside each narrowed range lies the angle where the red line is
// flat, the blue one upright and r² is 0; the readout gets there; the cloud stands upright
// at the one and lies flat at the other.
TEST(LessonFacts, RSquaredFallsToZeroInsideTheUprightAndTheFlatRange) {
  for (uint64_t Seed = 0; Seed < CloudCount; ++Seed) {
    TLesson L(Seed);
    const std::optional<int> Upright = L.ZeroIn(UprightRange), Flat = L.ZeroIn(FlatRange);
    ASSERT_TRUE(Upright && Flat) << "seed " << Seed;
    EXPECT_LT(L.LeastR2Beside(*Upright), ReadsAsZero) << "seed " << Seed;
    EXPECT_LT(L.LeastR2Beside(*Flat), ReadsAsZero) << "seed " << Seed;
    for (int Zero : {*Upright, *Flat})  // where the red line is flat, the blue one is upright
      EXPECT_NE(L.Blue(Zero).Slope > 0, L.Blue(Zero + 1).Slope > 0) << "seed " << Seed;
    const TMoments Up(L.At(*Upright)), Lying(L.At(*Flat));
    EXPECT_LT(Up.Sxx, Up.Syy / 4) << "seed " << Seed;  // standing: x spreads less than half as far as y
    EXPECT_LT(Lying.Syy, Lying.Sxx / 4) << "seed " << Seed;  // lying: y spreads less than half as far as x
  }
}

// Step 1: r² is largest when the cloud lies diagonally, half-way between flat and upright.
TEST(LessonFacts, RSquaredIsLargestWhenTheCloudLiesDiagonally) {
  for (uint64_t Seed = 0; Seed < CloudCount; ++Seed) {
    TLesson L(Seed);
    const std::optional<int> Flat = L.ZeroIn(FlatRange);
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
  ASSERT_EQ(UprightRange.Start - FlatRange.Start, 900);
  for (uint64_t Seed = 0; Seed < CloudCount; ++Seed) {
    TLesson L(Seed);
    const int First = SamplePositions(Seed)[0];
    const TLine Program = ProgramFit(L.At(First)), Sweep = L.Red(First);
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
    TLesson L(Seed);
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
    TLesson L(Seed);
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
