#include "chart/KVR_Scale_engine.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

#include "toolkit/CodePage.h"
#include "toolkit/Format.h"

namespace {
constexpr double Log2 = 0.30103, Log5 = 0.69897, Nudge = 1e-10;  // thresholds of the mantissas 2 and 5

// Rounds to the nearest integer, ties to even (the value is always moderate here).
double RoundEven(double V) { return std::nearbyint(V); }
}  // namespace

TTickSteps CalcTickSteps(int MinTicks, double Low, double High) {
  TTickSteps S;
  MinTicks = std::max(MinTicks, 1);
  if (High == Low || !std::isfinite(High - Low)) {
    S.First = Low;
    return S;
  }
  const double Dir = Low < High ? 1 : -1;
  double E = std::log10(std::fabs(High - Low) / MinTicks);
  double F = E - std::trunc(E);
  if (std::fabs(F) < 1e-10 || std::fabs(F) > 0.9999999999) {
    E = RoundEven(E);
    F = 0;
  }
  if (E < 0 && F != 0) E -= 1;
  if (F < 0) F += 1;
  const int Mantissa = F < Log2 + Nudge ? 1 : F < Log5 + Nudge ? 2 : 5;
  S.NumMinor = Mantissa == 2 ? 4 : 5;
  // Mantissa x 10^k as the double nearest to it (a negative power divides, so that 0.2
  // is the double nearest 0.2), rather than through a logarithm.
  const double Power = std::pow(10.0, std::fabs(std::trunc(E)));
  S.Step = (E < 0 ? Mantissa / Power : Mantissa * Power) * Dir;
  // The first multiple of the step no more than a thousandth of a step before Low, and
  // the ticks as index x step: a step below the spacing of the values near Low cannot
  // stall a walk that counts.
  S.First = std::ceil(Low / S.Step - 0.001) * S.Step;
  S.Count = WalkCount(S.First, High, S.Step, 5 * MinTicks / 2 + 2);
  return S;
}

int WalkCount(double From, double To, double Step, int Most) {
  const double Intervals = std::floor((To - From) / Step + 0.001);
  return Intervals >= 0 ? static_cast<int>(std::min(Intervals + 1, static_cast<double>(Most))) : 0;
}

int LinearDecPlaces(int DecPlaces, double Low, double High) {
  if (DecPlaces != -2 && DecPlaces != -3) return DecPlaces;
  const double D = std::fabs(High - Low);
  if (D >= 1000000 || D <= 0.0001) return -1;
  if (D >= 100) return 0;
  return 2 - static_cast<int>(RoundEven(std::log(D) / 2.5));
}

int LogarithmicDecPlaces(int DecPlaces, double Low, double High) {
  if (DecPlaces != -2) return DecPlaces;
  const double Lo = std::fmin(Low, High), Hi = std::fmax(Low, High);
  const double D = Hi - Lo;
  if (D >= 1000000 || D <= 0.0001) return -1;
  if (Lo >= 1) return 0;
  return 1 - static_cast<int>(RoundEven(std::log10(std::fabs(Lo))));
}

QString AxisNumberText(double Value, int DecPlaces) {
  if (DecPlaces >= 0) return QString::fromStdString(FormatFixed(Value, DecPlaces));
  // "d.dE+XXX" from the runtime, rewritten with a sign character and two exponent digits.
  const std::string Sci = FormatExponent(std::fabs(Value), 2);
  const size_t EPos = Sci.find('E');
  if (EPos == std::string::npos) return QString(9, QLatin1Char('*'));
  const int Exponent = std::stoi(Sci.substr(EPos + 1));
  const QString Text = QString(Value < 0 ? QLatin1Char('-') : QLatin1Char(' ')) + QString::fromStdString(Sci.substr(0, EPos)) +
                       QLatin1Char('E') + (Exponent < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
                       QString::number(std::abs(Exponent)).rightJustified(2, QLatin1Char('0'));
  return std::abs(Exponent) >= 100 ? QString(Text.size(), QLatin1Char('*')) : Text;
}

QString UserTextField(const QString& UserTickText, int Index) {
  if (Index < 1 || UserTickText.isEmpty()) return QString();
  const QStringList Fields = UserTickText.split(QLatin1Char('|'));
  return Fields[std::min<qsizetype>(Index, Fields.size()) - 1];
}

QString ApplyInscript(const QString& Label, const QString& Inscript) {
  if (Label.isEmpty()) return Label;
  const qsizetype Amp = Inscript.indexOf(QLatin1Char('&'));
  if (Amp < 0) return Inscript + Label;
  return Inscript.left(Amp) + Label + Inscript.mid(Amp + 1);
}

QString CutLabel(const QString& Label) { return Label.left(14); }

const TTimeStep& TimeLadderRow(int Row) {
  static const std::array<TTimeStep, 28> Ladder = {{
      {0.001, 5}, {0.002, 4}, {0.005, 5}, {0.01, 5}, {0.02, 4},  {0.05, 5},  {0.1, 5},   {0.2, 4},   {0.5, 5},   {1, 5},
      {2, 4},     {5, 5},     {10, 5},    {20, 4},   {30, 6},    {60, 6},    {120, 6},   {180, 6},   {300, 5},   {600, 5},
      {1200, 6},  {1800, 6},  {3600, 6},  {7200, 4}, {14400, 4}, {21600, 6}, {43200, 6}, {86400, 6},
  }};
  return Ladder[static_cast<size_t>(std::clamp(Row, 1, 28) - 1)];
}

int ChooseTimeRow(double Span, int MinTicks) {
  int Row = 28;
  while (Row > 0 && std::fabs(Span) / MinTicks < TimeLadderRow(Row).Seconds) --Row;
  return Row == 28 || Row == 0 ? 0 : Row;
}

QString ClockText(double Seconds, bool WithMilliseconds) {
  const double A = std::fabs(Seconds);
  const double H = std::trunc(A / 3600);
  const double M = std::trunc((A - 3600 * H) / 60);
  const double S = std::trunc(A - 3600 * H - 60 * M);
  auto Two = [](double V) { return QString::number(V, 'f', 0).rightJustified(2, QLatin1Char('0')); };
  QString Text = QString(Seconds >= 0 ? QLatin1Char(' ') : QLatin1Char('-')) + Two(H) + QLatin1Char(':') + Two(M) +
                 QLatin1Char(':') + Two(S);
  if (WithMilliseconds) {
    const auto Ms = static_cast<long long>(RoundEven((A - std::trunc(A)) * 1000));
    Text += QLatin1Char('.') + QString::number(Ms).rightJustified(3, QLatin1Char('0'));
  }
  return Text;
}

// --- calendar axes -----------------------------------------------------------------

const TClockSteps& ClockStepsOf(TClockUnit Unit) {
  static const TClockSteps Steps[] = {
      {8640000, {1, 2, 5, 10, 20, 50}, {1, 1, 1, 5, 10, 10}},
      {86400, {1, 2, 5, 10, 20, 30}, {1, 1, 1, 2, 5, 10}},
      {1440, {1, 2, 5, 10, 20, 30}, {1, 1, 1, 2, 5, 10}},
      {24, {1, 2, 3, 6, 8, 12}, {1, 1, 1, 2, 2, 3}},
  };
  return Steps[Unit];
}

namespace {
QString TwoDigits(int V) { return QString::number(V).rightJustified(2, QLatin1Char('0')); }
// Separators are bytes of the stored designs' code page: 0x80 is the euro sign.
QString Sep(char C) { return C ? QString(Cp1252Char(static_cast<unsigned char>(C))) : QString(); }
QString MonthPiece(const TDateParts& P, const TDTLabel& F) {
  return F.MonthName() ? ShortMonthName(P.Month) : TwoDigits(P.Month);
}
}  // namespace

QString CalendarTimeText(const TDateParts& P, TClockUnit Unit, const TDTLabel& F) {
  const QString T = Sep(F.TimeSeparator());
  const QString HH = TwoDigits(P.Hour), NN = TwoDigits(P.Minute), SS = TwoDigits(P.Second);
  const QString ZZ = TwoDigits(P.MilliSecond);
  const QString H = QString::number(P.Hour), H12 = QString::number(P.Hour % 12 == 0 ? 12 : P.Hour % 12);
  const QString AmPm = P.Hour < 12 ? QStringLiteral("am") : QStringLiteral("pm");
  switch (F.TimeFormat()) {
    case tfHHMMSS:
      switch (Unit) {
        case cuHour: case cuMinute: return HH + T + NN;
        case cuSecond: return HH + T + NN + T + SS;
        case cuHundredth: return HH + T + NN + T + SS + "." + ZZ;
      }
      break;
    case tfHHhMM:
      switch (Unit) {
        case cuHour: return H + "h";
        case cuMinute: return H + "h" + NN;
        case cuSecond: return H + "h" + NN + T + SS;
        case cuHundredth: return H + "h" + NN + T + SS + "." + ZZ;
      }
      break;
    case tfAMPM:
      switch (Unit) {
        case cuHour: return H12 + AmPm;
        case cuMinute: return H12 + T + NN + AmPm;
        case cuSecond: return H12 + T + NN + "." + SS + AmPm;
        case cuHundredth: return H12 + T + NN + "." + SS + "." + ZZ + AmPm;
      }
      break;
  }
  return QString();
}

QString CalendarYearText(int Year, TYearLength Length) {
  return Length == ylNone ? QString() : Length == ylYY ? TwoDigits(Year % 100) : QString::number(Year);
}

QString CalendarDateText(const TDateParts& P, const TDTLabel& F) {
  const QString D = Sep(F.DateSeparator()), Mon = MonthPiece(P, F), DD = TwoDigits(P.Day);
  const QString Year = CalendarYearText(P.Year, F.YearLength());
  if (Year.isEmpty()) return F.DateOrder() == doDDMMYY ? DD + D + Mon : Mon + D + DD;
  switch (F.DateOrder()) {
    case doMMDDYY: return Mon + D + DD + D + Year;
    case doDDMMYY: return DD + D + Mon + D + Year;
    case doYYMMDD: return Year + D + Mon + D + DD;
  }
  return QString();
}

QString CalendarMonthText(const TDateParts& P, const TDTLabel& F) {
  const QString Mon = MonthPiece(P, F), Year = CalendarYearText(P.Year, F.YearLength());
  if (Year.isEmpty()) return Mon;
  return F.DateOrder() == doYYMMDD ? Year + Sep(F.DateSeparator()) + Mon : Mon + Sep(F.DateSeparator()) + Year;
}
