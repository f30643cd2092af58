// Calendar values: a double counting days since 30 December 1899, 00:00, the fraction
// being the time of day. Before that day the time of day is the value minus its floor
// (-1.25 is 28 December 1899, 18:00). Dates are proleptic Gregorian, years 1..9999.
#pragma once

#include <QString>

using TDateTime = double;

struct TDateParts {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0, MilliSecond = 0;
  int DayOfWeek = 7;  // 1 = Sunday .. 7 = Saturday
};

bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);
// False for a date outside years 1..9999 or a day the month does not have.
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result);
// The day's fraction; Hour 0..23, Minute and Second 0..59, MilliSecond 0..999 (clamped).
TDateTime EncodeTime(int Hour, int Minute, int Second, int MilliSecond);
// Date and time of day, to the nearest millisecond (a time that rounds to 24:00 is the
// next day's 00:00). Values that are not finite decode as the epoch.
TDateParts DecodeDateTime(TDateTime Value);

QString ShortMonthName(int Month);  // "Jan" .. "Dec"
QString LongMonthName(int Month);   // "January" .. "December"
QString ShortDayName(int DayOfWeek);  // 1 = "Sun"
QString LongDayName(int DayOfWeek);   // 1 = "Sunday"

// Formats Value by Pattern. Understood, in either case: d dd ddd dddd, m mm mmm mmmm
// (m and mm after h or hh are minutes), yy yyyy, h hh, n nn, s ss, z zzz, am/pm and
// a/p (12-hour clock), '/' and ':' as separators, and literals in '...' or "...".
// Anything else is copied. Values within 1e-8 of 0 count as 0.
QString FormatDateTime(const QString& Pattern, TDateTime Value);
