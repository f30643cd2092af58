// The runtime's number formatting: the forms "%*.*f", "%*.*e", "%*.*g", "%*.*d" and
// "%*.*x" with width 1, as the readout and the axis labels show them. The float forms
// work from the value's first 18 significant decimal digits and round halves away from
// zero; they always write "." as the decimal separator. Pure functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Fixed notation with Decimals digits after the point ("%*.*f").
std::string FormatFixed(double Value, int Decimals);
// Scientific notation with Digits significant digits and an exponent of sign and at
// least three digits: 1.50E+003 ("%*.*e").
std::string FormatExponent(double Value, int Digits);
// Digits significant digits; fixed when the integer part has at most Digits digits and
// the magnitude is at least 0.00001, else scientific (1.5E+20); trailing zeros and a
// bare point removed ("%*.*g").
std::string FormatGeneral(double Value, int Digits);
// Decimal digits, zero-padded to MinDigits, the minus sign before the padding ("%*.*d").
std::string FormatInteger(int64_t Value, int MinDigits);
// Uppercase hexadecimal of the 64-bit two's complement, zero-padded to MinDigits ("%*.*x").
std::string FormatHexadecimal(int64_t Value, int MinDigits);

// Value rounded to the nearest integer, ties to even; nothing for NaN, infinities and
// values outside the 64-bit range.
std::optional<int64_t> RoundToInt64(double Value);
