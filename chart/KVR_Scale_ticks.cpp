// The axis engine's drawing: numeric, logarithmic and clock-time ticks with their
// labels, the caption, and the emission of one tick (table, line, label, report).
#include <cmath>

#include "chart/KVR_Scale.h"
#include "chart/KVR_Scale_engine.h"

void TScale::DrawHorizontalScale(TCanvas* Canvas, int AxisY) {
  TAxisPass Pass{Canvas, true, AxisY};
  DrawAxis(Pass);
}

void TScale::DrawVerticalScale(TCanvas* Canvas, int AxisX) {
  TAxisPass Pass{Canvas, false, AxisX};
  DrawAxis(Pass);
}

void TScale::DrawAxis(TAxisPass& Pass) {
  Pass.Canvas->Brush()->SetStyle(Transparent_ ? bsClear : bsSolid);
  NumTicks_ = 0;
  Ticks_.fill(0.0);
  Labels_.clear();
  if (std::isfinite(RangeLow_) && std::isfinite(RangeHigh_)) {
    // Clock-time ticks decline ranges they cannot show; numeric ticks follow then.
    const bool Done = LabelType_ == ftDateTime ? (DrawDateTimeTicks(Pass), true)
                      : LabelType_ == ftTime   ? DrawTimeTicks(Pass)
                                               : false;
    if (!Done && Logarithmic_) DrawLogTicks(Pass);
    else if (!Done) DrawLinearTicks(Pass);
  }
  DrawCaption(Pass);
}

void TScale::DrawCaption(TAxisPass& Pass) {
  if (Caption_.isEmpty()) return;
  TCanvas* C = Pass.Canvas;
  const int W = C->TextWidth(Caption_);
  int X, Y;
  if (Pass.Horizontal) {
    const int Anchor = CaptionAnchor_ == uaSclTopLft ? MarginLeft_
                       : CaptionAnchor_ == uaSclCenter ? MarginLeft_ + (width() - MarginLeft_ - MarginRight_) / 2
                                                       : width() - MarginRight_;
    X = CaptionPosX_ + Anchor;
    Y = CaptionPosY_ + Pass.Axis;
  } else {
    const int Anchor = CaptionAnchor_ == uaSclTopLft ? MarginTop_
                       : CaptionAnchor_ == uaSclCenter ? MarginTop_ + (height() - MarginTop_ - MarginBottom_) / 2
                                                       : height() - MarginBottom_;
    X = CaptionPosX_ + Pass.Axis;
    Y = CaptionPosY_ + Anchor;
  }
  const int Left = CaptionAlignment_ == taLeftJustify ? X : CaptionAlignment_ == taRightJustify ? X - W : X - W / 2;
  C->TextOut(Left, Y, Caption_);
}

// --- one tick ----------------------------------------------------------------------

// Pixels are limited as distances are, so that label placement cannot overflow.
void TScale::EmitTick(TAxisPass& Pass, double Value, const TTickSpec& Spec) {
  const int Pixel = LimitPixels(ValueToPixel(Value));
  if (Spec.Record) Record(Value);
  if (Spec.Length > 0) DrawTickLine(Pass, Pixel, Spec.Length);
  if (Spec.Label && Spec.LabelFirst) DrawLabel(Pass, Pixel, *Spec.Label);
  if (Spec.SecondLabel) DrawLabel(Pass, Pixel, *Spec.SecondLabel, true);
  Report(Pass, Value, Pixel);
  if (Spec.Label && !Spec.LabelFirst) DrawLabel(Pass, Pixel, *Spec.Label);
}

// Ticks run from the base line towards the tick side: up for sctXB, down for sctXT,
// right for sctYL, left for sctYR.
void TScale::DrawTickLine(TAxisPass& Pass, int Pixel, int Length) {
  TCanvas* C = Pass.Canvas;
  switch (ScaleType_) {
    case sctXB: C->MoveTo(Pixel, Pass.Axis), C->LineTo(Pixel, Pass.Axis - Length); break;
    case sctXT: C->MoveTo(Pixel, Pass.Axis), C->LineTo(Pixel, Pass.Axis + Length); break;
    case sctYL: C->MoveTo(Pass.Axis, Pixel), C->LineTo(Pass.Axis + Length, Pixel); break;
    case sctYR: C->MoveTo(Pass.Axis, Pixel), C->LineTo(Pass.Axis - Length, Pixel); break;
  }
}

// Horizontal labels sit over or under their tick and stay inside the control; vertical
// labels sit beside the base line, centred on the tick. A second line (a date under a
// time) goes one text height further out, on vertical axes above the first.
void TScale::DrawLabel(TAxisPass& Pass, int Pixel, const QString& Text, bool SecondLine) {
  TCanvas* C = Pass.Canvas;
  Labels_ << Text;
  const int W = LabelStamps_.TextWidth(C, Text), H = LabelStamps_.TextHeight(C, Text);
  if (Pass.Horizontal) {
    const int HalfW = W / 2, Further = SecondLine ? H : 0;
    const int Left = Pixel + HalfW >= width() - 2 ? width() - 2 * HalfW - 2 : Pixel - std::min(HalfW, Pixel - 2);
    const int Top = ScaleType_ == sctXT ? Pass.Axis + 7 + Further : Pass.Axis - 7 - H - Further;
    LabelStamps_.TextOut(C, Left, Top, Text);
  } else {
    const int Top = Pixel - (SecondLine ? 3 : 1) * (H / 2);
    LabelStamps_.TextOut(C, ScaleType_ == sctYL ? Pass.Axis + 8 : Pass.Axis - 8 - W, Top, Text);
  }
}

void TScale::Report(TAxisPass& Pass, double Value, int Pixel) {
  if (!OnScaleTickDrawn) return;
  const int X = Pass.Horizontal ? Pixel : Pass.Axis, Y = Pass.Horizontal ? Pass.Axis : Pixel;
  OnScaleTickDrawn(this, Pass.Canvas, ScaleType_, Value, X, Y);
}

// --- linear ----------------------------------------------------------------------

// Every "." of a number label, scientific ones included ("2,0E-03").
QString TScale::WithDecimalSeparator(const QString& Label) const {
  return DecimalComma_ ? QString(Label).replace(QLatin1Char('.'), QLatin1Char(',')) : Label;
}

void TScale::DrawLinearTicks(TAxisPass& Pass) {
  const TTickSteps S = CalcTickSteps(MinTicks_, RangeLow_, RangeHigh_);
  if (S.Count == 0) return;
  const double Dir = RangeLow_ < RangeHigh_ ? 1 : -1;
  const double MinorStep = S.Step / S.NumMinor;
  if (ShortTicks_) {
    // From one step before the first major tick: a minor one may precede it.
    const double Start = S.First - S.Step;
    const int Minors = WalkCount(Start, RangeHigh_, MinorStep, (S.Count + 2) * S.NumMinor);
    for (int I = 0; I < Minors; ++I) {
      const double V = Start + I * MinorStep;
      if (Dir * RangeLow_ > Dir * V) continue;
      EmitTick(Pass, V, {4, true, nullptr, true});
    }
  }
  const int DP = LinearDecPlaces(DecPlaces_, RangeLow_, RangeHigh_);
  const double Span = RangeHigh_ - RangeLow_;
  for (int J = 0; J < S.Count; ++J) {
    double V = S.First + J * S.Step;
    QString Label;
    if (LabelType_ != ftNoFigs) {
      if (std::fabs(V / Span) < 1e-14) {
        V = 0;
        Label = std::fabs(Span) > 100000 ? (DP == 0 ? QStringLiteral("0") : QStringLiteral("0.0")) : AxisNumberText(0, DP);
      } else {
        Label = AxisNumberText(V, DP);
      }
      Label = WithDecimalSeparator(CutLabel(Label));
      Label = LabelType_ == ftUserText ? UserTextField(UserTickText_, J + 1) : ApplyInscript(Label, ScaleInscript_);
    }
    const TTickSpec Spec{Pass.Horizontal ? 7 : 6, !Pass.Horizontal || !ShortTicks_,
                         LabelType_ != ftNoFigs ? &Label : nullptr, Pass.Horizontal};
    EmitTick(Pass, V, Spec);
  }
}

// --- logarithmic -------------------------------------------------------------------

void TScale::DrawLogTicks(TAxisPass& Pass) {
  const double Decades = std::log10(RangeHigh_ / RangeLow_);
  if (RangeLow_ <= 0 || RangeHigh_ <= 0 || std::fabs(Decades) < 1) {
    DrawLinearTicks(Pass);
    return;
  }
  const bool Many = MinTicks_ > std::fabs(Decades) + 0.5;
  const double Lo = std::fmin(RangeLow_, RangeHigh_), Hi = std::fmax(RangeLow_, RangeHigh_);
  const int DP = LogarithmicDecPlaces(DecPlaces_, RangeLow_, RangeHigh_);
  // Decades 10^E0 .. 10^E1 by exponent rather than by repeated products, which would
  // overflow after 308 decades; at most 633 of them between the least and the greatest
  // double.
  const double E0 = std::floor(std::log10(Lo * 0.999999999));
  const double E1 = std::floor(std::log10(Hi) - std::log10(0.999999999));
  int LabelNo = 0;
  auto Visit = [&](double V, int F, double Decade) {
    const bool Major = F == 1 || F == 2 || F == 5;
    if (!Pass.Horizontal && !Major && !ShortTicks_) return;
    if (Lo >= V / 0.999999999 || Hi <= 0.999999999 * V) return;
    QString Label;
    if (Major && LabelType_ != ftNoFigs) {
      if (DP == -3) Label = F == 1 ? QString::number(std::lround(std::log10(Decade))) : QString();
      else Label = AxisNumberText(V, DP);
      Label = CutLabel(Label);
      if (DecPlaces_ == -2 && Label.contains(QLatin1Char('.')) && !Label.contains(QLatin1Char('e'), Qt::CaseInsensitive)) {
        while (Label.endsWith(QLatin1Char('0'))) Label.chop(1);
        if (Label.endsWith(QLatin1Char('.'))) Label.chop(1);
      }
      Label = WithDecimalSeparator(Label);
      ++LabelNo;
      Label = LabelType_ == ftUserText ? UserTextField(UserTickText_, LabelNo) : ApplyInscript(Label, ScaleInscript_);
    }
    TTickSpec Spec{Pass.Horizontal ? (Major ? 7 : 4) : 6, true, Major && LabelType_ != ftNoFigs ? &Label : nullptr, false};
    if (Pass.Horizontal && !Major && !ShortTicks_) Spec.Length = 0, Spec.Record = false;
    EmitTick(Pass, V, Spec);
  };
  const int Count = static_cast<int>(std::max(E1 - E0, 0.0)) + 1;
  for (int K = 0; K < Count; ++K) {
    const double Decade = std::pow(10.0, E0 + K);
    Visit(Decade, 1, Decade);
    if (Many)
      for (int F = 2; F <= 9; ++F) Visit(F * Decade, F, Decade);
  }
}

// --- clock time --------------------------------------------------------------------

bool TScale::DrawTimeTicks(TAxisPass& Pass) {
  const int Row = ChooseTimeRow(RangeHigh_ - RangeLow_, MinTicks_);
  if (Row == 0) return false;
  const TTimeStep& Step = TimeLadderRow(Row);
  const double Dir = RangeLow_ < RangeHigh_ ? 1 : -1;
  const double Major = Dir * Step.Seconds, Minor = Major / Step.Minor;
  const double Count = std::trunc((RangeHigh_ - RangeLow_) / Minor) + 5;
  const double Ratio = RangeLow_ / Major / 0.999999999;
  const double Start = (Pass.Horizontal ? std::floor(Ratio) : std::trunc(Ratio)) * Major;
  const double LowLim = RangeLow_ >= 0 ? RangeLow_ * 0.999999999 : RangeLow_ / 0.999999999;
  const double HighLim = RangeHigh_ > 0 ? RangeHigh_ / 0.999999999 : RangeHigh_ * 0.999999999;
  auto Inside = [&](double V) { return Dir * LowLim <= Dir * V && Dir * V <= Dir * HighLim; };
  // The row keeps the span within 2.5 x MinTicks major steps of at most 6 minor ones.
  const int Last = static_cast<int>(Count);
  if (ShortTicks_)
    for (int K = 0; K <= Last; ++K) {
      const double V = Start + K * Minor;
      if (Inside(V)) EmitTick(Pass, V, {4, true, nullptr, true});
    }
  for (int K = 0; K <= Last; ++K) {
    const double V = Start + K * Minor;
    const double Q = V / Major;
    if (std::fabs(Q - std::trunc(Q + std::copysign(0.5, Q))) >= 0.01 || !Inside(V)) continue;
    const QString Label = ClockText(V, Row <= 9);
    EmitTick(Pass, V, {Pass.Horizontal ? 7 : 6, !Pass.Horizontal || !ShortTicks_, &Label, true});
  }
  return true;
}
