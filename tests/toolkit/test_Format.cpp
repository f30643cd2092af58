// Number formatting and calendar values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "toolkit/DateTime.h"
#include "toolkit/Format.h"

namespace {

struct TCase {
  double Value;
  int Precision;
  const char* Expected;
};

TEST(Format, Fixed) {
  const TCase Cases[] = {
      {0.87654, 4, "0.8765"}, {0.87655, 4, "0.8766"},   {2.5, 0, "3"},         {-2.5, 0, "-3"},
      {0.125, 2, "0.13"},     {1234.5678, 2, "1234.57"}, {-0.001, 2, "0.00"},   {0, 3, "0.000"},
      {1e20, 1, "100000000000000000000.0"}, {-7, 0, "-7"}, {9.999, 2, "10.00"}, {0.5, 0, "1"},
      {0.4, 0, "0"},          {1e-20, 3, "0.000"},       {123.456, 15, "123.456000000000003"}};
  for (const TCase& C : Cases) EXPECT_EQ(FormatFixed(C.Value, C.Precision), C.Expected) << C.Value;
}

TEST(Format, Exponent) {
  const TCase Cases[] = {{1234.5, 3, "1.23E+003"}, {-0.00012345, 4, "-1.234E-004"}, {0, 3, "0.00E+000"},
                         {1, 1, "1E+000"},         {9.99, 2, "1.0E+001"},          {1e-300, 2, "1.0E-300"},
                         {2.5, 0, "3E+000"},   {123, 5, "1.2300E+002"}};
  for (const TCase& C : Cases) EXPECT_EQ(FormatExponent(C.Value, C.Precision), C.Expected) << C.Value;
}

TEST(Format, General) {
  const TCase Cases[] = {{0.87654, 2, "0.88"},   {1234.5, 6, "1234.5"},  {1234.5, 3, "1.23E+03"},
                         {123, 3, "123"},        {0.00001, 3, "0.00001"}, {0.000001234, 3, "1.23E-06"},
                         {0, 5, "0"},            {100, 3, "100"},         {-2.50, 4, "-2.5"},
                         {1e20, 15, "1E+20"},    {999.96, 4, "1000"},     {999.96, 3, "1E+03"}};
  for (const TCase& C : Cases) EXPECT_EQ(FormatGeneral(C.Value, C.Precision), C.Expected) << C.Value;
}

TEST(Format, NonFiniteFloats) {
  const double Inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(FormatFixed(std::nan(""), 2), "NAN");
  EXPECT_EQ(FormatExponent(Inf, 2), "INF");
  EXPECT_EQ(FormatGeneral(-Inf, 2), "-INF");
}

TEST(Format, IntegersAndHexadecimal) {
  EXPECT_EQ(FormatInteger(42, 5), "00042");
  EXPECT_EQ(FormatInteger(-5, 4), "-0005");
  EXPECT_EQ(FormatInteger(123456, 2), "123456");
  EXPECT_EQ(FormatInteger(INT64_MIN, 0), "-9223372036854775808");
  EXPECT_EQ(FormatHexadecimal(65535, 4), "FFFF");
  EXPECT_EQ(FormatHexadecimal(10, 4), "000A");
  EXPECT_EQ(FormatHexadecimal(-1, 4), "FFFFFFFFFFFFFFFF");
}

TEST(Format, RoundingToIntegersIsTiesToEvenAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(RoundToInt64(2.5), 2);
  EXPECT_EQ(RoundToInt64(3.5), 4);
  EXPECT_EQ(RoundToInt64(-2.5), -2);
  EXPECT_EQ(RoundToInt64(-9223372036854775808.0), INT64_MIN);
  EXPECT_FALSE(RoundToInt64(9223372036854775808.0));
  EXPECT_FALSE(RoundToInt64(std::nan("")));
  EXPECT_FALSE(RoundToInt64(-std::numeric_limits<double>::infinity()));
}

TEST(Calendar, EncodeAndDecodeKnownDays) {
  TDateTime V = -1;
  ASSERT_TRUE(TryEncodeDate(1899, 12, 30, V));
  EXPECT_EQ(V, 0);
  ASSERT_TRUE(TryEncodeDate(1, 1, 1, V));
  EXPECT_EQ(V, -693593);
  ASSERT_TRUE(TryEncodeDate(9999, 12, 31, V));
  EXPECT_EQ(V, 2958465);
  ASSERT_TRUE(TryEncodeDate(2000, 2, 29, V));
  EXPECT_EQ(V, 36585);
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, V));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, V));
  EXPECT_FALSE(TryEncodeDate(2020, 13, 1, V));
  const TDateParts P = DecodeDateTime(36585 + EncodeTime(13, 45, 30, 250));
  EXPECT_EQ(P.Year, 2000);
  EXPECT_EQ(P.Month, 2);
  EXPECT_EQ(P.Day, 29);
  EXPECT_EQ(P.Hour, 13);
  EXPECT_EQ(P.Minute, 45);
  EXPECT_EQ(P.Second, 30);
  EXPECT_EQ(P.MilliSecond, 250);
  EXPECT_EQ(P.DayOfWeek, 3);  // a Tuesday
}

TEST(Calendar, NegativeValuesTakeTheirTimeFromTheFloor) {
  const TDateParts P = DecodeDateTime(-1.25);
  EXPECT_EQ(P.Year, 1899);
  EXPECT_EQ(P.Month, 12);
  EXPECT_EQ(P.Day, 28);
  EXPECT_EQ(P.Hour, 18);
  // A time that rounds to midnight belongs to the next day.
  const TDateParts Q = DecodeDateTime(1 - 1e-10);
  EXPECT_EQ(Q.Day, 31);
  EXPECT_EQ(Q.Hour, 0);
  // Not a number decodes as the epoch rather than as garbage.
  EXPECT_EQ(DecodeDateTime(std::nan("")).Year, 1899);
}

TEST(Calendar, PatternFormatter) {
  TDateTime D;
  ASSERT_TRUE(TryEncodeDate(2026, 3, 7, D));
  const TDateTime T = D + EncodeTime(14, 5, 9, 42);
  EXPECT_EQ(FormatDateTime("mmm-dd, yyyy", T), "Mar-07, 2026");
  EXPECT_EQ(FormatDateTime("d/m/yy", T), "7/3/26");
  EXPECT_EQ(FormatDateTime("dddd, d mmmm yyyy", T), "Saturday, 7 March 2026");
  EXPECT_EQ(FormatDateTime("hh:mm:ss.zzz", T), "14:05:09.042");
  EXPECT_EQ(FormatDateTime("h:nn am/pm", T), "2:05 pm");
  EXPECT_EQ(FormatDateTime("h:nn A/P", T), "2:05 P");
  EXPECT_EQ(FormatDateTime("'Day' d \"of\" m", T), "Day 7 of 3");
  EXPECT_EQ(FormatDateTime("s z", T), "9 42");
  EXPECT_EQ(FormatDateTime("mmm-dd, yyyy", 1e-9), "Dec-30, 1899");
  EXPECT_EQ(FormatDateTime("mmm-dd, yyyy", -1e-9), "Dec-30, 1899");
}

}  // namespace
