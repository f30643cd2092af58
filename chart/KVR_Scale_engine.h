// The pure steps of the axis engine: nice tick steps, label decimals, the number,
// user, inscript and clock texts, the clock-time step ladder and the texts of calendar
// axes. No drawing here;
// TScale sequences these steps and draws.
#pragma once

#include <QString>

#include "kvrbase/KVR_kvrbase.h"
#include "toolkit/DateTime.h"

struct TTickSteps {
  double First = 0;  // first multiple of Step at or after the range start
  double Step = 0;   // signed: negative on reversed ranges; 0 when the range is empty
  int NumMinor = 1;  // minor intervals per step
  int Count = 0;     // major ticks First + j * Step, j = 0 .. Count - 1, up to the range end
};

// How many of From, From + Step, From + 2 Step, ... lie before To or within a thousandth
// of a step beyond it; at most Most. Step must point from From towards To.
int WalkCount(double From, double To, double Step, int Most);

// Steps of 1, 2 or 5 times a power of ten giving at least MinTicks intervals. A step is
// more than the span per tick over 2.5, so Count never exceeds 2.5 * MinTicks + 2,
// however narrow the range is against its distance from zero.
TTickSteps CalcTickSteps(int MinTicks, double Low, double High);

// Label decimals: -1 scientific, 0.. fixed. Linear axes resolve -2 and -3; logarithmic
// axes resolve -2 only (-3 means decade exponents there).
int LinearDecPlaces(int DecPlaces, double Low, double High);
int LogarithmicDecPlaces(int DecPlaces, double Low, double High);

// Fixed with DecPlaces decimals, or for -1 " 2.0E-03" / "-1.5E+06" (asterisks when the
// exponent needs three digits).
QString AxisNumberText(double Value, int DecPlaces);
// Field Index (1-based) of a "|"-separated list; beyond the last field the last one,
// below 1 or of an empty list the empty text.
QString UserTextField(const QString& UserTickText, int Index);
// "before&after" puts the label between the two parts; without "&" the inscript is a
// prefix. Empty labels stay empty.
QString ApplyInscript(const QString& Label, const QString& Inscript);
// Labels are cut to 14 characters.
QString CutLabel(const QString& Label);

// The clock-time ladder: 28 rows of a step in seconds and its minor intervals.
struct TTimeStep {
  double Seconds;
  int Minor;
};
const TTimeStep& TimeLadderRow(int Row);  // Row 1..28
// The row for a span per tick, or 0 when clock-time ticks decline the range.
int ChooseTimeRow(double Span, int MinTicks);
// A sign character (blank or "-") and hh:mm:ss, with .mmm when WithMilliseconds.
QString ClockText(double Seconds, bool WithMilliseconds);

// --- calendar axes -----------------------------------------------------------------

// The clock units of calendar axes, finest first.
enum TClockUnit : uint8_t { cuHundredth, cuSecond, cuMinute, cuHour };

struct TClockSteps {
  double UnitsPerDay;
  int Major[6];
  int Minor[6];
};
const TClockSteps& ClockStepsOf(TClockUnit Unit);

// Texts of calendar labels by a scale's date-time format.
QString CalendarTimeText(const TDateParts& P, TClockUnit Unit, const TDTLabel& Format);
QString CalendarDateText(const TDateParts& P, const TDTLabel& Format);
QString CalendarMonthText(const TDateParts& P, const TDTLabel& Format);
QString CalendarYearText(int Year, TYearLength Length);
