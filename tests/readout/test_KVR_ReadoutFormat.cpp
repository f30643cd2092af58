// The readout's 13 display formats as tables.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "readout/KVR_ReadoutFormat.h"

namespace {

struct TCase {
  TDisplay Type;
  int Precision;
  double Value;
  const char* Expected;  // nullptr: the overflow indicator
};

QString Show(const TCase& C, bool Comma = false, bool Plus = false) {
  TReadoutFormat F;
  F.DisplayType = C.Type;
  F.Precision = C.Precision;
  F.Comma = Comma;
  F.ForcePlusSign = Plus;
  return FormatReadoutValue(C.Value, F).value_or(QStringLiteral("<overflow>"));
}

QString Expected(const TCase& C) { return C.Expected ? QString::fromUtf8(C.Expected) : QStringLiteral("<overflow>"); }

const double NaN = std::nan("");
const double Inf = std::numeric_limits<double>::infinity();

TEST(ReadoutFormat, EveryFormat) {
  const TCase Cases[] = {
      {dtFloat, 4, 0.87654, "0.8765"},      {dtFloat, 3, 123456.0, "1.23E+05"},
      {dtFixP, 4, 0.87654, "0.8765"},       {dtFixP, 2, -3.14159, "-3.14"},
      {dtExp, 3, 1234.5, "1.23E+003"},      {dtExp, 2, -0.05, "-5.0E-002"},
      {dtHex, 4, 65535, "FFFF"},            {dtHex, 4, 65536, "0000"},
      {dtHex, 4, -1, "FFFF"},               {dtHex, 4, 5e9, nullptr},
      {dtHex, 12, 255, "000000FF"},         {dtHex, 0, 255, ""},
      {dtHex, 4, 4294967295.0, "FFFF"},     {dtHex, 4, -2147483649.0, nullptr},
      {dtZeroInt, 5, 42.5, "00042"},        {dtZeroInt, 4, -5, "-0005"},
      {dtZeroInt, 2, 2147483648.0, nullptr}, {dtZeroInt, 2, 43.5, "44"},
      {dtInt, 3, 12345.6, "12346"},         {dtInt, 0, 0, "0"},
      {dtInt, 0, 1e300, nullptr},           {dtInt, 0, 1e15, "1000000000000000"},
      {dtBin, 8, 5, "00000101"},            {dtBin, 3, 13, "101"},
      {dtBin, 0, 5, ""},                    {dtBin, 40, -1, "11111111111111111111111111111111"},
      {dtOct, 12, 4294967295.0, "37777777777"}, {dtOct, 3, 8, "010"},
      {dtOct, 4, 4294967296.0, nullptr},
      {dtDateTime, 0, 46088.5, "Mar-07, 2026"},
      {dtDeg, 1, 12.51, "12.5\u00B0"},
      {dtDegMin, 1, 12.51, "12\u00B0 30.6'"},
      {dtDegMinSec, 1, 12.51, "12\u00B0 30' 36.0\""},
      {dtDegMin, 0, 12.25, "12\u00B0  15'"},
      {dtDegMin, 1, -0.5, "-0\u00B0 30.0'"},
      {dtDeg, 20, 1.5, "1.50000000\u00B0"},
  };
  for (const TCase& C : Cases) EXPECT_EQ(Show(C), Expected(C)) << int(C.Type) << " " << C.Value;
}

// A field that would show 60 shows 0 and adds one to the unit before it, whichever the sign.
TEST(ReadoutFormat, AngleFieldsCarrySixty) {
  const double JustUnder45 = 45 - 1e-7, JustUnder12d31m = 12 + 31.0 / 60 - 1e-7;
  const TCase Cases[] = {
      {dtDegMin, 1, JustUnder45, "45\u00B0  0.0'"},
      {dtDegMin, 1, -JustUnder45, "-45\u00B0  0.0'"},
      {dtDegMin, 0, 44.999, "45\u00B0   0'"},
      {dtDegMin, 1, 44.99, "44\u00B0 59.4'"},
      {dtDegMin, 1, -(1 - 1e-7), "-1\u00B0  0.0'"},
      {dtDegMinSec, 1, JustUnder45, "45\u00B0  0'  0.0\""},
      {dtDegMinSec, 1, -JustUnder45, "-45\u00B0  0'  0.0\""},
      {dtDegMinSec, 1, JustUnder12d31m, "12\u00B0 31'  0.0\""},
      {dtDegMinSec, 1, -JustUnder12d31m, "-12\u00B0 31'  0.0\""},
      {dtDegMinSec, 4, JustUnder12d31m, "12\u00B0 30' 59.9996\""},
      {dtDegMinSec, 0, -(1 - 1e-7), "-1\u00B0  0'   0\""},
  };
  for (const TCase& C : Cases) EXPECT_EQ(Show(C), Expected(C)) << int(C.Type) << " " << C.Precision << " " << C.Value;
}

TEST(ReadoutFormat, NonFiniteValuesNeverBecomeIntegers) {
  for (TDisplay Type : {dtHex, dtZeroInt, dtInt, dtBin, dtOct, dtDateTime})
    for (double V : {NaN, Inf, -Inf}) EXPECT_EQ(Show({Type, 4, V, nullptr}), "<overflow>") << int(Type);
  EXPECT_EQ(Show({dtFixP, 2, NaN, nullptr}), "NAN");
}

TEST(ReadoutFormat, SeparatorAndPlusSign) {
  EXPECT_EQ(Show({dtFixP, 4, 0.87654, nullptr}, true), "0,8765");
  EXPECT_EQ(Show({dtFixP, 2, 1.5, nullptr}, false, true), "+1.50");
  EXPECT_EQ(Show({dtFixP, 2, 0, nullptr}, false, true), "0.00");
  EXPECT_EQ(Show({dtFixP, 2, -1.5, nullptr}, false, true), "-1.50");
  // Not for hexadecimal, binary, date-time and state texts.
  EXPECT_EQ(Show({dtHex, 2, 10, nullptr}, true, true), "0A");
  EXPECT_EQ(Show({dtBin, 2, 1, nullptr}, true, true), "01");
  EXPECT_EQ(Show({dtOct, 2, 1, nullptr}, true, true), "+01");
  EXPECT_EQ(Show({dtDeg, 1, 2.25, nullptr}, true), "2,3\u00B0");
  TReadoutFormat F;
  F.DisplayType = dtState;
  F.StateText = "a.b";
  F.Comma = true;
  EXPECT_EQ(FormatReadoutValue(1, F), "a.b");
}

}  // namespace
