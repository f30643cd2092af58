#include "toolkit/DateTime.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr int64_t MsPerDay = 86400000;
// Day number of 30 December 1899 counted from 1 March of year 0.
constexpr int64_t EpochShift = 693899;

// Days from 1 March of year 0 to the given date (civil calendar arithmetic).
int64_t DaysFromCivil(int64_t Y, int64_t M, int64_t D) {
  Y -= M <= 2;
  const int64_t Era = (Y >= 0 ? Y : Y - 399) / 400;
  const int64_t YearOfEra = Y - Era * 400;
  const int64_t DayOfYear = (153 * (M + (M > 2 ? -3 : 9)) + 2) / 5 + D - 1;
  const int64_t DayOfEra = YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
  return Era * 146097 + DayOfEra;
}

void CivilFromDays(int64_t Z, int& Year, int& Month, int& Day) {
  const int64_t Era = (Z >= 0 ? Z : Z - 146096) / 146097;
  const int64_t DayOfEra = Z - Era * 146097;
  const int64_t YearOfEra = (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
  const int64_t DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
  const int64_t MP = (5 * DayOfYear + 2) / 153;
  Day = static_cast<int>(DayOfYear - (153 * MP + 2) / 5 + 1);
  Month = static_cast<int>(MP < 10 ? MP + 3 : MP - 9);
  Year = static_cast<int>(YearOfEra + Era * 400 + (Month <= 2));
}

const char* const ShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const LongMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};
const char* const LongDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

QString Padded(int Value, int Width) { return QString::number(Value).rightJustified(Width, QLatin1Char('0')); }

}  // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInMonth(int Year, int Month) {
  static const int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return Days[Month - 1] + (Month == 2 && IsLeapYear(Year));
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result) {
  if (Year < 1 || Year > 9999 || Day < 1 || Day > DaysInMonth(Year, Month)) return false;
  Result = static_cast<double>(DaysFromCivil(Year, Month, Day) - EpochShift);
  return true;
}

TDateTime EncodeTime(int Hour, int Minute, int Second, int MilliSecond) {
  const auto Clamp = [](int V, int Hi) { return V < 0 ? 0 : V > Hi ? Hi : V; };
  const int64_t Ms = ((Clamp(Hour, 23) * 60 + Clamp(Minute, 59)) * 60 + Clamp(Second, 59)) * 1000LL + Clamp(MilliSecond, 999);
  return static_cast<double>(Ms) / MsPerDay;
}

TDateParts DecodeDateTime(TDateTime Value) {
  TDateParts P;
  if (!std::isfinite(Value) || std::fabs(Value) > 1e9) return P;
  double Day = std::floor(Value);
  int64_t Ms = std::llround((Value - Day) * MsPerDay);
  if (Ms >= MsPerDay) Ms -= MsPerDay, Day += 1;
  const auto Days = static_cast<int64_t>(Day);
  CivilFromDays(Days + EpochShift, P.Year, P.Month, P.Day);
  P.Hour = static_cast<int>(Ms / 3600000);
  P.Minute = static_cast<int>(Ms / 60000 % 60);
  P.Second = static_cast<int>(Ms / 1000 % 60);
  P.MilliSecond = static_cast<int>(Ms % 1000);
  // 30 December 1899 was a Saturday.
  P.DayOfWeek = static_cast<int>(((Days + 6) % 7 + 7) % 7) + 1;
  return P;
}

QString ShortMonthName(int Month) { return Month >= 1 && Month <= 12 ? ShortMonths[Month - 1] : QString(); }
QString LongMonthName(int Month) { return Month >= 1 && Month <= 12 ? LongMonths[Month - 1] : QString(); }
QString LongDayName(int DayOfWeek) { return DayOfWeek >= 1 && DayOfWeek <= 7 ? LongDays[DayOfWeek - 1] : QString(); }
QString ShortDayName(int DayOfWeek) { return LongDayName(DayOfWeek).left(3); }

QString FormatDateTime(const QString& Pattern, TDateTime Value) {
  if (std::fabs(Value) < 1e-8) Value = 0;
  const TDateParts P = DecodeDateTime(Value);
  const QString Lower = Pattern.toLower();
  const bool TwelveHour = Lower.contains(QLatin1String("am/pm")) || Lower.contains(QLatin1String("a/p"));
  const int Hour12 = P.Hour % 12 == 0 ? 12 : P.Hour % 12;
  QString Out;
  bool AfterHour = false;  // an m right after h means minutes
  int I = 0;
  const int N = static_cast<int>(Pattern.size());
  auto Run = [&](QChar C) {
    int K = I;
    while (K < N && Lower[K] == C) ++K;
    return K - I;
  };
  while (I < N) {
    const QChar C = Lower[I];
    if (C == QLatin1Char('\'') || C == QLatin1Char('"')) {
      const int End = Pattern.indexOf(Pattern[I], I + 1);
      const int Stop = End < 0 ? N : End;
      Out += Pattern.mid(I + 1, Stop - I - 1);
      I = Stop + 1;
      continue;
    }
    if (Lower.mid(I, 5) == QLatin1String("am/pm")) {
      const QString Mark = P.Hour < 12 ? QStringLiteral("am") : QStringLiteral("pm");
      Out += Pattern[I].isUpper() ? Mark.toUpper() : Mark;
      I += 5;
      continue;
    }
    if (Lower.mid(I, 3) == QLatin1String("a/p")) {
      const QString Mark = P.Hour < 12 ? QStringLiteral("a") : QStringLiteral("p");
      Out += Pattern[I].isUpper() ? Mark.toUpper() : Mark;
      I += 3;
      continue;
    }
    const int Count = Run(C);
    const char Letter = C.toLatin1();
    bool WasHour = false;
    switch (Letter) {
      case 'd':
        Out += Count == 1 ? QString::number(P.Day) : Count == 2 ? Padded(P.Day, 2)
             : Count == 3 ? ShortDayName(P.DayOfWeek) : LongDayName(P.DayOfWeek);
        break;
      case 'm':
        if (AfterHour && Count <= 2) Out += Count == 1 ? QString::number(P.Minute) : Padded(P.Minute, 2);
        else Out += Count == 1 ? QString::number(P.Month) : Count == 2 ? Padded(P.Month, 2)
                  : Count == 3 ? ShortMonthName(P.Month) : LongMonthName(P.Month);
        break;
      case 'y': Out += Count <= 2 ? Padded(P.Year % 100, 2) : Padded(P.Year, 4); break;
      case 'h': {
        const int H = TwelveHour ? Hour12 : P.Hour;
        Out += Count == 1 ? QString::number(H) : Padded(H, 2);
        WasHour = true;
        break;
      }
      case 'n': Out += Count == 1 ? QString::number(P.Minute) : Padded(P.Minute, 2); break;
      case 's': Out += Count == 1 ? QString::number(P.Second) : Padded(P.Second, 2); break;
      case 'z': Out += Count < 3 ? QString::number(P.MilliSecond) : Padded(P.MilliSecond, 3); break;
      default: Out += Pattern.mid(I, Count); break;
    }
    // A letter run other than h ends the hour context; separators keep it ("hh:mm").
    if (WasHour) AfterHour = true;
    else if (C.isLetter()) AfterHour = false;
    I += Count;
  }
  return Out;
}
