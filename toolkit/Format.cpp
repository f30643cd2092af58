#include "toolkit/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Value = 0.D1 D2 D3 ... x 10^Exponent; Digits is empty for zero.
struct TDecimal {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
};

constexpr int MaxDigits = 18;

TDecimal Decompose(double Value) {
  TDecimal D;
  D.Negative = std::signbit(Value);
  if (Value == 0) return D;
  char Buffer[64];
  std::snprintf(Buffer, sizeof Buffer, "%.*Le", MaxDigits - 1, static_cast<long double>(std::fabs(Value)));
  // "d.ddddddddddddddddde+XX"
  const char* E = std::strchr(Buffer, 'e');
  const char* Mantissa = Buffer + 2;
  D.Digits.assign(1, Buffer[0]);
  D.Digits.append(Mantissa, E);
  D.Exponent = std::atoi(E + 1) + 1;
  while (!D.Digits.empty() && D.Digits.back() == '0') D.Digits.pop_back();
  return D;
}

// Keeps Count leading digits, rounding half away from zero; Count <= 0 rounds to zero
// or to one unit at the position Count.
void RoundTo(TDecimal& D, int Count) {
  if (static_cast<int>(D.Digits.size()) <= Count) return;
  if (Count < 0) {
    D.Digits.clear();
    return;
  }
  const bool Up = D.Digits[Count] >= '5';
  D.Digits.resize(Count);
  if (Up) {
    int I = Count - 1;
    while (I >= 0 && D.Digits[I] == '9') D.Digits[I--] = '0';
    if (I >= 0) {
      ++D.Digits[I];
    } else {
      D.Digits.insert(D.Digits.begin(), '1');
      ++D.Exponent;
    }
  }
  while (!D.Digits.empty() && D.Digits.back() == '0') D.Digits.pop_back();
}

// The digit at position I after the leading point of 0.D1 D2 ..., '0' past the end.
char DigitAt(const TDecimal& D, int I) { return I >= 0 && I < static_cast<int>(D.Digits.size()) ? D.Digits[I] : '0'; }

std::optional<std::string> NonFinite(double Value) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
  return std::nullopt;
}

std::string Sign(const TDecimal& D) { return D.Negative && !D.Digits.empty() ? "-" : ""; }

std::string FixedDigits(const TDecimal& D, int Decimals) {
  std::string Text;
  if (D.Exponent <= 0 || D.Digits.empty()) Text.push_back('0');
  else for (int I = 0; I < D.Exponent; ++I) Text.push_back(DigitAt(D, I));
  if (Decimals > 0) {
    Text += '.';
    for (int I = 0; I < Decimals; ++I) Text += DigitAt(D, D.Exponent + I);
  }
  return Text;
}

std::string ExponentText(int Exponent, int MinDigits) {
  std::string Digits = std::to_string(std::abs(Exponent));
  if (static_cast<int>(Digits.size()) < MinDigits) Digits.insert(0, MinDigits - Digits.size(), '0');
  return std::string("E") + (Exponent < 0 ? '-' : '+') + Digits;
}

void TrimFraction(std::string& Text) {
  if (Text.find('.') == std::string::npos) return;
  while (Text.back() == '0') Text.pop_back();
  if (Text.back() == '.') Text.pop_back();
}

}  // namespace

std::string FormatFixed(double Value, int Decimals) {
  if (auto Special = NonFinite(Value)) return *Special;
  Decimals = std::clamp(Decimals, 0, 99);
  TDecimal D = Decompose(Value);
  RoundTo(D, D.Exponent + Decimals);
  return Sign(D) + FixedDigits(D, Decimals);
}

std::string FormatExponent(double Value, int Digits) {
  if (auto Special = NonFinite(Value)) return *Special;
  Digits = std::clamp(Digits, 1, MaxDigits);
  TDecimal D = Decompose(Value);
  RoundTo(D, Digits);
  std::string Text = Sign(D) + DigitAt(D, 0);
  if (Digits > 1) Text += '.';
  for (int I = 1; I < Digits; ++I) Text += DigitAt(D, I);
  return Text + ExponentText(D.Digits.empty() ? 0 : D.Exponent - 1, 3);
}

std::string FormatGeneral(double Value, int Digits) {
  if (auto Special = NonFinite(Value)) return *Special;
  Digits = std::clamp(Digits, 1, MaxDigits);
  TDecimal D = Decompose(Value);
  RoundTo(D, Digits);
  if (D.Digits.empty()) return "0";
  const bool Fixed = D.Exponent <= Digits && std::fabs(Value) >= 0.00001;
  std::string Text = Fixed ? FixedDigits(D, std::max(0, Digits - D.Exponent))
                           : std::string(1, D.Digits[0]) + "." + D.Digits.substr(1);
  TrimFraction(Text);
  if (!Fixed) Text += ExponentText(D.Exponent - 1, 2);
  return Sign(D) + Text;
}

std::string FormatInteger(int64_t Value, int MinDigits) {
  const uint64_t Magnitude = Value < 0 ? 0 - static_cast<uint64_t>(Value) : static_cast<uint64_t>(Value);
  std::string Digits = std::to_string(Magnitude);
  if (static_cast<int>(Digits.size()) < MinDigits) Digits.insert(0, MinDigits - Digits.size(), '0');
  return (Value < 0 ? "-" : "") + Digits;
}

std::string FormatHexadecimal(int64_t Value, int MinDigits) {
  char Buffer[32];
  std::snprintf(Buffer, sizeof Buffer, "%llX", static_cast<unsigned long long>(Value));
  std::string Digits = Buffer;
  if (static_cast<int>(Digits.size()) < MinDigits) Digits.insert(0, MinDigits - Digits.size(), '0');
  return Digits;
}

std::optional<int64_t> RoundToInt64(double Value) {
  if (!std::isfinite(Value)) return std::nullopt;
  const double Rounded = std::nearbyint(Value);
  // 2^63 is exactly representable; every double below it and at or above -2^63 fits.
  if (Rounded < -9223372036854775808.0 || Rounded >= 9223372036854775808.0) return std::nullopt;
  return static_cast<int64_t>(Rounded);
}
