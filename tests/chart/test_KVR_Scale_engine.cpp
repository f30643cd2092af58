// The pure steps of the axis engine.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "chart/KVR_Scale_engine.h"

namespace {

struct TStepCase {
  double Low, High;
  int MinTicks;
  double First, Step;
  int NumMinor;
};

TEST(TickSteps, NiceStepsOfOneTwoAndFive) {
  const TStepCase Cases[] = {
      {-15, 15, 3, -10, 10, 5}, {-11, 11, 3, -10, 5, 5},  {0, 100, 3, 0, 20, 4},    {0, 1, 3, 0, 0.2, 4},
      {0, 10, 2, 0, 5, 5},       {0.5, 0.7, 2, 0.5, 0.1, 5}, {10, 0, 3, 10, -2, 4},  {-0.003, 0.003, 3, -0.003, 0.001, 5},
      {1e6, 5e6, 4, 1e6, 1e6, 5}, {3, 3.0001, 5, 3, 0.00001, 5}};
  for (const TStepCase& C : Cases) {
    const TTickSteps S = CalcTickSteps(C.MinTicks, C.Low, C.High);
    EXPECT_NEAR(S.Step, C.Step, 1e-9 * std::fabs(C.Step)) << C.Low << ".." << C.High;
    EXPECT_NEAR(S.First, C.First, 1e-9 * std::fabs(C.Step)) << C.Low << ".." << C.High;
    EXPECT_EQ(S.NumMinor, C.NumMinor) << C.Low << ".." << C.High;
  }
  const TTickSteps Empty = CalcTickSteps(3, 4, 4);
  EXPECT_EQ(Empty.Step, 0);
  EXPECT_EQ(Empty.First, 4);
  EXPECT_EQ(Empty.NumMinor, 1);
}

// Ranges a few units of the last place wide, far from zero: the step is below the
// spacing of the values, and the walk still ends with a handful of ticks.
TEST(TickSteps, RangesNarrowAgainstTheirDistanceFromZeroGiveFewTicks) {
  const std::pair<double, double> Ranges[] = {{1000.0000000000001, 1000.0000000000003},
                                              {300000.00000000012, 300000.00000000023},
                                              {-300000.00000000023, -300000.00000000012},
                                              {1e15, std::nextafter(1e15, 2e15)}};
  for (const auto& [Low, High] : Ranges)
    for (int MinTicks = 2; MinTicks <= 10; ++MinTicks)
      for (const bool Reversed : {false, true}) {
        const TTickSteps S = Reversed ? CalcTickSteps(MinTicks, High, Low) : CalcTickSteps(MinTicks, Low, High);
        EXPECT_GE(S.Count, 1) << Low << " " << MinTicks;
        EXPECT_LE(S.Count, 5 * MinTicks / 2 + 2) << Low << " " << MinTicks;
      }
}

TEST(TickSteps, CountReachesTheRangeEnd) {
  EXPECT_EQ(CalcTickSteps(3, -15, 15).Count, 3);  // -10, 0, 10
  EXPECT_EQ(CalcTickSteps(3, 0, 1).Count, 6);     // 0, 0.2, ..., 1
  EXPECT_EQ(CalcTickSteps(3, 10, 0).Count, 6);    // 10, 8, ..., 0
  EXPECT_EQ(CalcTickSteps(3, 4, 4).Count, 0);
  EXPECT_EQ(CalcTickSteps(3, 0, INFINITY).Count, 0);
}

TEST(TickSteps, AReversedRangeWalksTheSameStepsBackwards) {
  const TTickSteps Up = CalcTickSteps(3, 0, 10), Down = CalcTickSteps(3, 10, 0);
  EXPECT_NEAR(Down.Step, -Up.Step, 1e-12);
  EXPECT_EQ(Up.NumMinor, Down.NumMinor);
}

TEST(DecPlaces, AutomaticRules) {
  EXPECT_EQ(LinearDecPlaces(-2, -15, 15), 1);   // 2 - round(ln 30 / 2.5)
  EXPECT_EQ(LinearDecPlaces(-3, -11, 11), 1);
  EXPECT_EQ(LinearDecPlaces(-2, 0, 100), 0);
  EXPECT_EQ(LinearDecPlaces(-2, 0, 1), 2);
  EXPECT_EQ(LinearDecPlaces(-2, 0, 2e6), -1);
  EXPECT_EQ(LinearDecPlaces(-2, 0, 0.0001), -1);
  EXPECT_EQ(LinearDecPlaces(3, 0, 2e6), 3);
  EXPECT_EQ(LogarithmicDecPlaces(-2, 1, 1000), 0);
  EXPECT_EQ(LogarithmicDecPlaces(-2, 0.01, 10), 3);  // 1 - round(log10 0.01)
  EXPECT_EQ(LogarithmicDecPlaces(-3, 1, 1000), -3);
}

TEST(AxisText, NumbersUserTextsInscriptsAndClock) {
  EXPECT_EQ(AxisNumberText(12.5, 2), "12.50");
  EXPECT_EQ(AxisNumberText(-1500000, -1), "-1.5E+06");
  EXPECT_EQ(AxisNumberText(0.002, -1), " 2.0E-03");
  EXPECT_EQ(AxisNumberText(0, -1), " 0.0E+00");
  EXPECT_EQ(AxisNumberText(1e150, -1), "*********");
  EXPECT_EQ(CutLabel("123456789012345678"), "12345678901234");
  EXPECT_EQ(UserTextField("a|b|c", 1), "a");
  EXPECT_EQ(UserTextField("a|b|c", 5), "c");
  EXPECT_EQ(UserTextField("a|b|", 3), "");
  EXPECT_EQ(UserTextField("a|b|c", 0), "");
  EXPECT_EQ(UserTextField("", 1), "");
  EXPECT_EQ(ApplyInscript("10", "&%"), "10%");
  EXPECT_EQ(ApplyInscript("10", "$"), "$10");
  EXPECT_EQ(ApplyInscript("10", "ca. & m"), "ca. 10 m");
  EXPECT_EQ(ApplyInscript("", "$"), "");
  EXPECT_EQ(ClockText(3723.04, true), " 01:02:03.040");
  EXPECT_EQ(ClockText(3723.04, false), " 01:02:03");
  EXPECT_EQ(ClockText(-60, false), "-00:01:00");
  EXPECT_EQ(ClockText(360000, false), " 100:00:00");
}

TEST(TimeLadder, ChoosesTheRowByTheSpanPerTick) {
  EXPECT_EQ(ChooseTimeRow(60, 3), 14);
  EXPECT_EQ(TimeLadderRow(14).Seconds, 20);
  EXPECT_EQ(TimeLadderRow(14).Minor, 4);
  EXPECT_EQ(ChooseTimeRow(3 * 86400, 3), 0);   // a day per tick: declined
  EXPECT_EQ(ChooseTimeRow(0.0001, 3), 0);      // below a millisecond: declined
  EXPECT_EQ(ChooseTimeRow(0.003, 3), 1);
  EXPECT_EQ(ChooseTimeRow(3 * 43200, 3), 27);
}

}  // namespace
