// Calendar axes: unit choice, steps, labels, messages and the end of the calendar.
#include <gtest/gtest.h>

#include "chart/KVR_Scale.h"

#include <random>
#include "tests/PixelTest.h"

namespace {

TDateTime Date(int Y, int M, int D) {
  TDateTime T = 0;
  EXPECT_TRUE(TryEncodeDate(Y, M, D, T));
  return T;
}

// A calendar scale drawn into a white image, as the chart draws its axes.
struct TCalendarScale {
  TScale Scale;
  TBitmap Image;
  explicit TCalendarScale(TScaleType Type = sctXT) {
    const bool Horizontal = Type == sctXB || Type == sctXT;
    Image.SetSize(Horizontal ? 600 : 120, Horizontal ? 80 : 600);
    ClearWhite(Image);
    Scale.SetEmbedded(true);
    Scale.SetTargetCanvas(Image.Canvas(), 0, 0);
    Scale.SetTransparent(true);
    Scale.SetBounds(0, 0, Image.Width(), Image.Height());
    Scale.SetScaleType(Type);
    Scale.SetLabelType(ftDateTime);
  }
  QStringList Draw(double Low, double High) {
    Scale.SetRangeHigh(1e6);  // keeps the two ends apart while they are set
    Scale.SetRangeLow(Low);
    Scale.SetRangeHigh(High);
    Scale.PaintNow();
    return Scale.Labels();
  }
};

TEST(CalendarAxis, HoursOfOneMorningWithOneDateLabel) {
  TCalendarScale C;
  const double Day = Date(2005, 1, 1);
  EXPECT_EQ(Day, 38353);
  EXPECT_EQ(C.Draw(Day, Day + 0.5),
            (QStringList{"00:00", "01-Jan-2005", "03:00", "06:00", "09:00", "12:00"}));
  EXPECT_EQ(C.Scale.NumTicks(), 13);  // every hour
  EXPECT_NEAR(C.Scale.TickValue(2), Day + 1.0 / 24, 1e-9);
  C.Scale.DateFormat()->SetTimeFormat(tfAMPM);
  EXPECT_EQ(C.Draw(Day, Day + 0.5).mid(2, 2), (QStringList{"3am", "6am"}));
  C.Scale.DateFormat()->SetTimeFormat(tfHHhMM);
  C.Scale.DateFormat()->SetDateForTime(dtAllTicks);
  EXPECT_EQ(C.Draw(Day, Day + 0.5).mid(0, 4), (QStringList{"0h", "01-Jan-2005", "3h", "01-Jan-2005"}));
}

TEST(CalendarAxis, DateLabelOncePerDay) {
  TCalendarScale C;
  const double Day = Date(2005, 1, 1);
  C.Scale.SetShortTicks(false);
  const QStringList L = C.Draw(Day + 0.5, Day + 2.5);
  EXPECT_EQ(L.count("02-Jan-2005"), 1);
  EXPECT_EQ(L.count("03-Jan-2005"), 1);
  EXPECT_EQ(L.first(), "12:00");
}

TEST(CalendarAxis, InvalidRangesAndTooShortSpans) {
  TCalendarScale C;
  EXPECT_EQ(C.Draw(Date(2005, 1, 1), -700000), QStringList{"invalid DateTime scale"});
  EXPECT_EQ(C.Scale.NumTicks(), 0);
  EXPECT_EQ(C.Draw(38353, 38353 + 2.0 / 86400), QStringList{"DateTime range is below 1 second"});
  TCalendarScale V(sctYL);
  EXPECT_EQ(V.Draw(5, 3), (QStringList{"invalid", "DateTime", "scale"}));
  const QStringList Hundredths = V.Draw(38353, 38353 + 2.0 / 86400);
  ASSERT_FALSE(Hundredths.isEmpty());
  EXPECT_EQ(Hundredths.first(), "00:00:00.00");
  EXPECT_EQ(V.Draw(38353, 38353 + 1e-8), (QStringList{"DateTime", "range is", "below 1", "second"}));
}

TEST(CalendarAxis, QuarterMonths) {
  TCalendarScale C;
  C.Scale.SetShortTicks(false);
  C.Scale.SetMinTicks(4);
  EXPECT_EQ(C.Draw(Date(2005, 1, 15), Date(2006, 1, 20)),  // 92.5 days a tick: 3 months
            (QStringList{"Apr-2005", "Jul-2005", "Oct-2005", "Jan-2006"}));
  C.Scale.DateFormat()->SetDateOrder(doYYMMDD);
  C.Scale.DateFormat()->SetMonthName(false);
  C.Scale.DateFormat()->SetDateSeparator('/');
  EXPECT_EQ(C.Draw(Date(2005, 1, 15), Date(2006, 1, 20)).first(), "2005/04");
}

TEST(CalendarAxis, DaysAndYears) {
  TCalendarScale C;
  C.Scale.SetShortTicks(false);
  EXPECT_EQ(C.Draw(Date(2005, 1, 1), Date(2005, 1, 7)).first(), "01-Jan-2005");
  C.Scale.SetShortTicks(true);
  const QStringList Years = C.Draw(Date(1900, 1, 1), Date(2000, 1, 1));
  EXPECT_EQ(Years, (QStringList{"1900", "1920", "1940", "1960", "1980", "2000"}));
  EXPECT_EQ(C.Scale.NumTicks(), 11);
  EXPECT_NEAR(C.Scale.TickValue(2), Date(1910, 1, 1), 1e-9);
  C.Scale.DateFormat()->SetYearLength(ylYY);
  EXPECT_EQ(C.Draw(Date(1900, 1, 1), Date(2000, 1, 1)).last(), "00");
}

TEST(CalendarAxis, WalksEndAtTheLastDayOfTheCalendar) {
  TCalendarScale C;
  // Steps of 200 years: the walk's last tick is 31 December 9999 itself.
  EXPECT_EQ(C.Draw(Date(9000, 1, 1), 3000000).last(), "9800");
  EXPECT_EQ(C.Scale.TickValue(C.Scale.NumTicks()), 2958465);
  C.Draw(Date(9999, 6, 1), 2958465 + 200);
  EXPECT_LE(C.Scale.TickValue(C.Scale.NumTicks()), 2958465);
  // Hour and minute walks stop before 1 January 10000, the first instant past the end.
  for (const double Span : {1.0, 0.02, 0.002}) {
    const QStringList Labels = C.Draw(2958466 - Span / 2, 2958466 + Span / 2);
    EXPECT_LT(C.Scale.TickValue(C.Scale.NumTicks()), 2958466) << Span;
    EXPECT_FALSE(Labels.filter(QStringLiteral("10000")).size()) << Span << Labels.join(' ').toStdString();
  }
}

// Separators are bytes of Windows-1252: 0x80 is the euro sign, 0x96 an en dash.
TEST(CalendarTexts, SeparatorsAreWindows1252Bytes) {
  TDTLabel F;
  F.SetScaleDefaults();
  F.SetMonthName(false);
  F.SetDateSeparator(char(0x80));
  F.SetTimeSeparator(char(0x96));
  TDateParts P;
  P.Year = 2026, P.Month = 3, P.Day = 7, P.Hour = 14, P.Minute = 5;
  EXPECT_EQ(CalendarDateText(P, F), QString::fromUtf8("07\u20AC03\u20AC2026"));
  EXPECT_EQ(CalendarTimeText(P, cuMinute, F), QString::fromUtf8("14\u201305"));
}

TEST(CalendarTexts, PiecesByFormat) {
  TDTLabel F;
  F.SetScaleDefaults();
  TDateParts P;
  P.Year = 2026, P.Month = 3, P.Day = 7, P.Hour = 14, P.Minute = 5, P.Second = 9, P.MilliSecond = 40;
  EXPECT_EQ(CalendarTimeText(P, cuHour, F), "14:05");
  EXPECT_EQ(CalendarTimeText(P, cuHundredth, F), "14:05:09.40");
  F.SetTimeFormat(tfAMPM);
  EXPECT_EQ(CalendarTimeText(P, cuSecond, F), "2:05.09pm");
  F.SetTimeFormat(tfHHhMM);
  EXPECT_EQ(CalendarTimeText(P, cuMinute, F), "14h05");
  EXPECT_EQ(CalendarDateText(P, F), "07-Mar-2026");
  F.SetDateOrder(doMMDDYY);
  F.SetYearLength(ylNone);
  EXPECT_EQ(CalendarDateText(P, F), "Mar-07");
  F.SetDateOrder(doYYMMDD);
  EXPECT_EQ(CalendarDateText(P, F), "Mar-07");
  EXPECT_EQ(CalendarMonthText(P, F), "Mar");
  EXPECT_EQ(CalendarYearText(2026, ylYY), "26");
  EXPECT_EQ(CalendarYearText(5, ylYYYY), "5");
}

}  // namespace

namespace {

TEST(CalendarAxis, RangesAtTheLimitsOfTheCalendar) {
  TCalendarScale C;
  EXPECT_FALSE(C.Draw(-693593, -693593 + 400).isEmpty());
  EXPECT_EQ(C.Draw(-693594, 0), QStringList{"invalid DateTime scale"});
  C.Draw(2958000, 3000000);  // steps of 20 years from 9998: one short tick at the very end
  ASSERT_EQ(C.Scale.NumTicks(), 1);
  EXPECT_EQ(C.Scale.TickValue(1), 2958465);
  EXPECT_EQ(C.Draw(2958000, 3000001), QStringList{"invalid DateTime scale"});
}

TEST(CalendarAxis, EachUnitStartsAtItsThreshold) {
  TCalendarScale C;
  C.Scale.SetShortTicks(false);
  const double Day = 38353;
  struct TCase {
    double SpanPerTick;
    const char* FirstLabel;
  };
  // Just below and just above each threshold of the span per tick (MinTicks 3); steps of
  // 6 months start at the first July (month mod 6 = 1) after the start.
  const TCase Cases[] = {{0.00069, "00:00:00"}, {0.0007, "00:00"},  {0.04166, "00:00"}, {0.0417, "00:00"},
                         {0.999, "00:00"},      {1.001, "01-Jan-2005"}, {29.9, "01-Jan-2005"},
                         {30.1, "Jan-2005"},    {365.9, "Jul-2005"}, {366.1, "2005"}};
  for (const TCase& T : Cases) {
    const QStringList L = C.Draw(Day, Day + 3 * T.SpanPerTick);
    ASSERT_FALSE(L.isEmpty()) << T.SpanPerTick;
    EXPECT_EQ(L.first(), T.FirstLabel) << T.SpanPerTick;
  }
}

TEST(CalendarAxis, NoWalkRunsAwayForAnyValidRange) {
  std::mt19937 Gen(9);
  std::uniform_real_distribution<double> Start(-693593, 2958465), Log(-5, 6.5);
  for (int Round = 0; Round < 300; ++Round) {
    TCalendarScale C(Round % 2 ? sctXT : sctYR);
    const double Low = Start(Gen), High = std::min(Low + std::pow(10.0, Log(Gen)), 3000000.0);
    C.Scale.SetMinTicks(2 + static_cast<int>(Gen() % 9));
    int Reports = 0;
    C.Scale.OnScaleTickDrawn = [&](QObject*, TCanvas*&, TScaleType, double, int, int) { ++Reports; };
    C.Draw(Low, High);
    EXPECT_LE(Reports, 400) << Low << " " << High;
  }
}

}  // namespace
