#include "readout/KVR_ReadoutFormat.h"

#include <algorithm>
#include <cmath>

#include "toolkit/DateTime.h"
#include "toolkit/Format.h"

namespace {

constexpr double IntegerLow = -2147483648.0;

// R, the value rounded to an integer, when Low <= Value <= High.
std::optional<int64_t> IntegerInRange(double Value, double High) {
  if (!(Value >= IntegerLow && Value <= High)) return std::nullopt;  // NaN fails too
  return RoundToInt64(Value);
}

// The last Count characters.
QString LastDigits(const QString& Digits, int Count) { return Count <= 0 ? QString() : Digits.right(Count); }

// Low digits of R in base 2^Bits, most significant first.
QString LowDigits(int64_t R, int Count, int Bits) {
  const auto U = static_cast<uint64_t>(R);
  QString Digits;
  for (int I = Count - 1; I >= 0; --I) Digits += QChar('0' + int((U >> (I * Bits)) & ((1u << Bits) - 1)));
  return Digits;
}

// fixed(v, width, d): d decimals, right-aligned in Width with blanks.
QString Fixed(double V, int Width, int Decimals) {
  return QString::fromStdString(FormatFixed(V, Decimals)).rightJustified(Width, QLatin1Char(' '));
}

// Minutes and seconds lie in 0..60; a field whose text rounds up to 60 carries instead.
bool ShowsSixty(double V, int Decimals) { return FormatFixed(V, Decimals) == FormatFixed(60, Decimals); }

QString Angle(double V, int Form, int Precision) {
  const int A = std::clamp(Precision, 0, 8);
  const QString Degree(QChar(0x00B0));
  if (Form == 0) return Fixed(V, 1, A) + Degree;
  const double Carry = V < 0 ? -1 : 1;
  double Whole = std::trunc(V);
  double Minutes = (std::fabs(V) - std::trunc(std::fabs(V))) * 60;
  QString Rest;
  if (Form == 1) {
    if (ShowsSixty(Minutes, A)) Minutes = 0, Whole += Carry;
    Rest = Fixed(Minutes, A + 3, A) + QLatin1Char('\'');
  } else {
    double Seconds = (Minutes - std::trunc(Minutes)) * 60;
    Minutes = std::trunc(Minutes);
    if (ShowsSixty(Seconds, A)) Seconds = 0, Minutes += 1;
    if (Minutes == 60) Minutes = 0, Whole += Carry;
    Rest = Fixed(Minutes, 2, 0) + QStringLiteral("' ") + Fixed(Seconds, A + 3, A) + QLatin1Char('"');
  }
  // Angles between -1 and 0 keep their sign although their whole degrees are 0.
  const QString Sign = V < 0 && Whole == 0 ? QStringLiteral("-") : QString();
  return Sign + Fixed(Whole, 1, 0) + Degree + QLatin1Char(' ') + Rest;
}

std::optional<QString> RawText(double Value, const TReadoutFormat& F) {
  const int P = F.Precision;
  switch (F.DisplayType) {
    case dtFloat: return QString::fromStdString(FormatGeneral(Value, P));
    case dtFixP: return QString::fromStdString(FormatFixed(Value, P));
    case dtExp: return QString::fromStdString(FormatExponent(Value, P));
    case dtHex: {
      const int E = std::min(P, 8);
      const auto R = IntegerInRange(Value, 4294967295.0);
      if (!R) return std::nullopt;
      return LastDigits(QString::fromStdString(FormatHexadecimal(*R, E)), E);
    }
    case dtZeroInt: {
      const auto R = IntegerInRange(Value, 2147483647.0);
      if (!R) return std::nullopt;
      return QString::fromStdString(FormatInteger(*R, P));
    }
    case dtInt: {
      const auto R = RoundToInt64(Value);
      if (!R) return std::nullopt;
      return QString::fromStdString(FormatInteger(*R, 1));
    }
    case dtDateTime: {
      TDateTime First, Last;
      TryEncodeDate(1, 1, 1, First);
      TryEncodeDate(9999, 12, 31, Last);
      if (!(Value >= First && Value < Last + 1)) return std::nullopt;
      return FormatDateTime(F.DTFormat, Value);
    }
    case dtState: return F.StateText;
    case dtBin: {
      const int E = std::min(P, 32);
      const auto R = IntegerInRange(Value, 4294967295.0);
      if (!R) return std::nullopt;
      return LastDigits(LowDigits(*R, std::max(E, 1), 1), E);
    }
    case dtOct: {
      const int E = std::min(P, 12);
      const auto R = IntegerInRange(Value, 4294967295.0);
      if (!R) return std::nullopt;
      return LastDigits(LowDigits(*R, std::min(std::max(E, 1), 11), 3), E);
    }
    case dtDeg: return Angle(Value, 0, P);
    case dtDegMin: return Angle(Value, 1, P);
    case dtDegMinSec: return Angle(Value, 2, P);
  }
  return std::nullopt;
}

}  // namespace

std::optional<QString> FormatReadoutValue(double Value, const TReadoutFormat& F) {
  std::optional<QString> Text = RawText(Value, F);
  if (!Text) return Text;
  const TDisplay T = F.DisplayType;
  if (T != dtHex && T != dtDateTime && T != dtState && T != dtBin) {
    if (F.Comma) Text->replace(QLatin1Char('.'), QLatin1Char(','));
    else Text->replace(QLatin1Char(','), QLatin1Char('.'));
    if (F.ForcePlusSign && Value > 0) Text->prepend(QLatin1Char('+'));
  }
  return Text;
}
