// The calendar branch of the axis engine: ticks on hundredths of a second, seconds,
// minutes, hours, days, months and years, with labels by the scale's date format.
// Every walk ends at 31 December 9999.
#include <cmath>

#include "chart/KVR_Scale.h"

namespace {

constexpr double FirstDay = -693593;  // 1 January of the year 1
constexpr double LastDay = 2958465;   // 31 December 9999
constexpr double HighestEnd = 3000000;
constexpr double OneSecond = 1.1574e-5, OneHundredth = 1.1574e-7;
constexpr double Slack = 1e-8;  // a tick this close past the range end is still drawn

// The last of the steps that is at most X, or the first.
template <size_t N>
int StepPosition(const int (&Steps)[N], double X) {
  int Position = 0;
  for (size_t I = 0; I < N; ++I)
    if (Steps[I] <= X) Position = static_cast<int>(I);
  return Position;
}

int64_t PositiveMod(int64_t A, int64_t B) { return ((A % B) + B) % B; }

int64_t RoundDay(double T) { return static_cast<int64_t>(std::nearbyint(T)); }

// How many of From, From + Step, ... lie at or before Last; Last - From is at most a few
// hundred steps on every calendar axis, so the count is small.
int StepsUpTo(double From, double Last, double Step) {
  return Last < From ? 0 : static_cast<int>(std::floor((Last - From) / Step)) + 1;
}

TDateTime FirstOfMonth(int Year, int Month) {
  TDateTime T = LastDay;
  TryEncodeDate(Year, Month, 1, T);
  return T;
}

}  // namespace

// Messages replace the ticks: centred under the middle of a horizontal axis, or one
// word a line beside a vertical one.
void TScale::DrawMessage(TAxisPass& Pass, const QStringList& Lines) {
  TCanvas* C = Pass.Canvas;
  const int P = LimitPixels(ValueToPixel(RangeLow_ / 2 + RangeHigh_ / 2));
  Labels_ << Lines;
  if (Pass.Horizontal) {
    const QString Text = Lines.join(QLatin1Char(' '));
    C->TextOut(P - C->TextWidth(Text) / 2, Pass.Axis + 7, Text);
    return;
  }
  const int H = C->TextHeight(QStringLiteral("T"));
  for (int I = 0; I < Lines.size(); ++I) {
    const int X = ScaleType_ == sctYR ? Pass.Axis - 2 - C->TextWidth(Lines[I]) : Pass.Axis + 2;
    C->TextOut(X, P + (I - 1) * H, Lines[I]);
  }
}

void TScale::DrawDateTimeTicks(TAxisPass& Pass) {
  if (!(RangeLow_ <= RangeHigh_ && RangeLow_ >= FirstDay && RangeHigh_ <= HighestEnd)) {
    DrawMessage(Pass, Pass.Horizontal ? QStringList{"invalid DateTime scale"}
                                      : QStringList{"invalid", "DateTime", "scale"});
    return;
  }
  const double Span = (RangeHigh_ - RangeLow_) / MinTicks_;
  if (Pass.Horizontal && Span <= OneSecond) return DrawMessage(Pass, {"DateTime range is below 1 second"});
  if (!Pass.Horizontal && Span <= OneHundredth) return DrawMessage(Pass, {"DateTime", "range is", "below 1", "second"});
  if (Span <= OneSecond) DrawClockTicks(Pass, cuHundredth, Span);
  else if (Span <= 0.00069444) DrawClockTicks(Pass, cuSecond, Span);
  else if (Span <= 0.041667) DrawClockTicks(Pass, cuMinute, Span);
  else if (Span <= 1) DrawClockTicks(Pass, cuHour, Span);
  else if (Span <= 30) DrawDayTicks(Pass, Span);
  else if (Span <= 366) DrawMonthTicks(Pass, Span);
  else DrawYearTicks(Pass, Span);
}

void TScale::DrawClockTicks(TAxisPass& Pass, TClockUnit Unit, double Span) {
  const TClockSteps& Steps = ClockStepsOf(Unit);
  const double U = Steps.UnitsPerDay;
  const int Pos = StepPosition(Steps.Major, U * Span);
  const double Major = Steps.Major[Pos] / U, Minor = Steps.Minor[Pos] / U;
  const double D0 = std::floor(RangeLow_);
  double E = std::ceil(U * (RangeLow_ - D0));
  E = std::ceil(E / Steps.Major[Pos]) * Steps.Major[Pos];
  double First = D0 + E / U;
  // Minor ticks start at the last one at or before the range start.
  if (ShortTicks_ && First > RangeLow_) First -= std::ceil((First - RangeLow_) / Minor) * Minor;
  const double Step = ShortTicks_ ? Minor : Major;
  // The calendar ends with 31 December 9999: 1 January 10000 gets no tick.
  const double Last = std::min(RangeHigh_ + Slack, std::nextafter(LastDay + 1, 0.0));
  const int Count = StepsUpTo(First, Last, Step);
  const int LongTick = Pass.Horizontal ? 7 : 6;
  int LastLabelDay = 0;
  bool FirstMajor = true;
  for (int I = 0; I < Count; ++I) {
    const double T = First + I * Step;
    if (T < RangeLow_) continue;
    const double Q = T / Major;
    if (ShortTicks_ && std::fabs(Q - std::nearbyint(Q)) > 0.1) {
      EmitTick(Pass, T, {4, true, nullptr, true, nullptr});
      continue;
    }
    const TDateParts P = DecodeDateTime(T);
    const QString Time = CalendarTimeText(P, Unit, *DateFormat_);
    const TDateForTime When = DateFormat_->DateForTime();
    const bool WithDate = When == dtAllTicks || (When != dtNone && FirstMajor) ||
                          (When == dtOnePerDay && P.Day != LastLabelDay);
    const QString Date = WithDate ? CalendarDateText(P, *DateFormat_) : QString();
    if (WithDate) LastLabelDay = P.Day;
    FirstMajor = false;
    EmitTick(Pass, T, {LongTick, true, &Time, true, WithDate ? &Date : nullptr});
  }
}

void TScale::DrawDayTicks(TAxisPass& Pass, double Span) {
  static const int DaySteps[] = {1, 2, 3, 7, 14, 28};
  const int Pos = StepPosition(DaySteps, Span);
  const int Step = DaySteps[Pos], Spacing = Step >= 14 ? 7 : 1;
  TDateTime J = RangeLow_;
  TryEncodeDate(DecodeDateTime(RangeLow_).Year, 1, 1, J);
  const double First = J + std::trunc((RangeLow_ - J) / Step) * Step;
  const int64_t Phase = PositiveMod(RoundDay(First), Step);
  const int Advance = ShortTicks_ ? Spacing : Step;
  const int Count = StepsUpTo(First, std::min(RangeHigh_ + Slack, LastDay), Advance);
  for (int I = 0; I < Count; ++I) {
    const double T = First + double(I) * Advance;
    if (T < RangeLow_) continue;
    if (ShortTicks_ && PositiveMod(RoundDay(T), Step) != Phase) {
      EmitTick(Pass, T, {4, true, nullptr, true, nullptr});
      continue;
    }
    const QString Label = CalendarDateText(DecodeDateTime(T), *DateFormat_);
    EmitTick(Pass, T, {Pass.Horizontal ? 7 : 6, true, &Label, true, nullptr});
  }
}

void TScale::DrawMonthTicks(TAxisPass& Pass, double Span) {
  static const int MonthSteps[] = {1, 2, 3, 4, 6};
  const int Step = MonthSteps[StepPosition(MonthSteps, Span / 30.4375)];
  // Months are counted from January of the year 0: index = 12 * year + month - 1.
  const TDateParts Start = DecodeDateTime(RangeLow_);
  const TDateParts End = DecodeDateTime(std::min(RangeHigh_ + Slack, LastDay));
  int From = 12 * Start.Year + Start.Month - 1;
  // Without minor ticks the walk starts at the first month of a step after the start.
  if (Step > 1 && !ShortTicks_) From += Step - PositiveMod(From, Step);
  const int Advance = ShortTicks_ ? 1 : Step;
  const int Count = StepsUpTo(From, 12 * End.Year + End.Month - 1, Advance);
  for (int I = 0; I < Count; ++I) {
    const int Index = From + I * Advance, Year = Index / 12, Month = Index % 12 + 1;
    const double T = FirstOfMonth(Year, Month);
    if (T - RangeHigh_ >= Slack) break;
    if (T < RangeLow_) continue;
    if (ShortTicks_ && Step > 1 && Month % Step != 1) {
      EmitTick(Pass, T, {4, true, nullptr, true, nullptr});
      continue;
    }
    TDateParts P;
    P.Year = Year, P.Month = Month;
    const QString Label = CalendarMonthText(P, *DateFormat_);
    EmitTick(Pass, T, {Pass.Horizontal ? 7 : 6, true, &Label, true, nullptr});
  }
}

void TScale::DrawYearTicks(TAxisPass& Pass, double Span) {
  const double Y = std::max(Span / 365.25, 1.0);
  const double L = std::log10(Y);
  const double E = std::trunc(L), M = std::pow(10.0, L - E);
  const int F = M < 2 ? 1 : M < 5 ? 2 : 5;
  const int Step = static_cast<int>(std::nearbyint(std::trunc(std::pow(10.0, E)) * F));
  int Spacing = Step;
  if (ShortTicks_ && Step > 1) Spacing = static_cast<int>(std::nearbyint(Step / (F == 5 ? 5.0 : 2.0)));
  const TDateParts Low = DecodeDateTime(RangeLow_);
  int Year = static_cast<int>(std::ceil(static_cast<double>(Low.Year) / Spacing)) * Spacing;
  if (Year == Low.Year && !(Low.Month == 1 && Low.Day == 1 && RangeLow_ == std::floor(RangeLow_))) Year += Spacing;
  // Years up to the first one past 9999, which stands for the calendar's last day.
  const int Count = StepsUpTo(Year, 9999 + Spacing, Spacing);
  for (int I = 0; I < Count; ++I, Year += Spacing) {
    const bool Past = Year > 9999;
    const double T = Past ? LastDay : FirstOfMonth(Year, 1);
    if (T - RangeHigh_ >= 1e-8) break;
    const int Shown = Past ? 9999 : Year;
    if (ShortTicks_ && Shown % Step != 0) {
      EmitTick(Pass, T, {4, true, nullptr, true, nullptr});
    } else {
      const QString Label = CalendarYearText(Shown, DateFormat_->YearLength());
      EmitTick(Pass, T, {Pass.Horizontal ? 7 : 6, true, &Label, true, nullptr});
    }
    if (Past) break;
  }
}
