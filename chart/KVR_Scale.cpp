// TScale: settings, calibration, painting, caption and the common tick emission.
#include "chart/KVR_Scale.h"

#include <algorithm>
#include <cmath>

#include "chart/KVR_Scale_engine.h"
#include "toolkit/Setter.h"

TScale::TScale(QWidget* Parent) : QWidget(Parent), DateFormat_(std::make_unique<TDTLabel>()) {
  // A stand-alone scale's own defaults, where they differ from an axis of the chart.
  RangeHigh_ = 100;
  CaptionPosX_ = CaptionPosY_ = 4;
  Visible_ = true;
  resize(400, 400);
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  DateFormat_->SetScaleDefaults();
  DateFormat_->OnChange = [this](QObject*) { RepaintRequest(); };
  CalcScaleFactors();
  SuspendPaint_ = false;
}

TScale::~TScale() { Include(csDestroying); }

template <class T>
void TScale::StoreIfChanged(T& Field, const T& V) {
  StoreChanged(Field, V, [this] { RepaintRequest(); });
}

// Settings that move ticks: stored, then the calibration follows before the repaint.
template <class T>
void TScale::StoreAndCalibrate(T& Field, const T& V) {
  StoreChanged(Field, V, [this] {
    CalcScaleFactors();
    RepaintRequest();
  });
}

// A shared setting goes through SetSettings, where its rules live.
template <class T>
void TScale::ChangeSetting(T TScaleSettings::*Field, const T& V) {
  TScaleSettings S = Settings();
  S.*Field = V;
  SetSettings(S);
}

void TScale::SetSettings(const TScaleSettings& V) {
  TScaleSettings N = V;
  N.DecPlaces_ = std::clamp(V.DecPlaces_, -3, 12);
  N.MinTicks_ = std::clamp(V.MinTicks_, 2, 10);
  N.CaptionPosX_ = LimitPixels(V.CaptionPosX_);
  N.CaptionPosY_ = LimitPixels(V.CaptionPosY_);
  // Non-finite ends are refused; equal ends are moved one unit apart.
  if (!std::isfinite(V.RangeLow_) || !std::isfinite(V.RangeHigh_)) N.RangeLow_ = RangeLow_, N.RangeHigh_ = RangeHigh_;
  else if (V.RangeLow_ == V.RangeHigh_) N.RangeLow_ = V.RangeHigh_ - 1;
  // Logarithmic is judged on the new range and the label type it is set under; the
  // refusal is quiet, and a stored design being applied is never refused. A change to
  // calendar values then ends it.
  TScaleSettings Under = N;
  Under.LabelType_ = LabelType_;
  if (V.Logarithmic_ && !LoadingFlag_ && !Under.LogarithmicAllowed()) N.Logarithmic_ = Logarithmic_;
  if (V.LabelType_ != LabelType_ && V.LabelType_ == ftDateTime) N.Logarithmic_ = false;
  const bool Shown = N.Visible_ != Visible_;
  StoreChanged(static_cast<TScaleSettings&>(*this), N, [this, Shown] {
    if (Shown && parentWidget()) QWidget::setVisible(Visible_);
    CalcScaleFactors();
    RepaintRequest();
  });
}

void TScale::SetRangeLow(double V) {
  if (!std::isfinite(V) || V == RangeLow_) return;
  TScaleSettings S = Settings();
  S.RangeLow_ = V;
  if (V == RangeHigh_) S.RangeHigh_ = V + 1;
  SetSettings(S);
}

void TScale::SetRangeHigh(double V) {
  if (!std::isfinite(V) || V == RangeHigh_) return;
  TScaleSettings S = Settings();
  S.RangeHigh_ = V;
  if (V == RangeLow_) S.RangeLow_ = V - 1;
  SetSettings(S);
}

void TScale::SetMarginTop(int V) { StoreAndCalibrate(MarginTop_, std::clamp(V, 0, PixelLimit)); }
void TScale::SetMarginBottom(int V) { StoreAndCalibrate(MarginBottom_, std::clamp(V, 0, PixelLimit)); }
void TScale::SetMarginLeft(int V) { StoreAndCalibrate(MarginLeft_, std::clamp(V, 0, PixelLimit)); }
void TScale::SetMarginRight(int V) { StoreAndCalibrate(MarginRight_, std::clamp(V, 0, PixelLimit)); }
void TScale::SetScaleType(TScaleType V) { ChangeSetting(&TScaleSettings::ScaleType_, V); }
void TScale::SetDecPlaces(int V) { ChangeSetting(&TScaleSettings::DecPlaces_, V); }
void TScale::SetDecimalComma(bool V) { ChangeSetting(&TScaleSettings::DecimalComma_, V); }
void TScale::SetMinTicks(int V) { ChangeSetting(&TScaleSettings::MinTicks_, V); }
void TScale::SetLogarithmic(bool V) { ChangeSetting(&TScaleSettings::Logarithmic_, V); }

void TScale::SetLabelType(TFigType V) {
  if (V == LabelType_) return;
  TScaleSettings S = Settings();
  S.TakeLabelType(V);
  SetSettings(S);
}

void TScale::SetShortTicks(bool V) { ChangeSetting(&TScaleSettings::ShortTicks_, V); }
void TScale::SetColorScale(TColor V) { ChangeSetting(&TScaleSettings::ColorScale_, V); }
void TScale::SetColorBackGnd(TColor V) { StoreIfChanged(ColorBackGnd_, V); }
void TScale::SetFrameStyle(TFrameStyle V) { StoreIfChanged(FrameStyle_, V); }
void TScale::SetEmbedded(bool V) { StoreIfChanged(Embedded_, V); }
void TScale::SetFontColor(TColor V) { StoreIfChanged(FontColor_, V); }
void TScale::SetShowBaseLine(bool V) { StoreIfChanged(ShowBaseLine_, V); }
void TScale::SetTransparent(bool V) { StoreIfChanged(Transparent_, V); }
void TScale::SetUserTickText(const QString& V) { ChangeSetting(&TScaleSettings::UserTickText_, V); }
void TScale::SetScaleInscript(const QString& V) { ChangeSetting(&TScaleSettings::ScaleInscript_, V); }
void TScale::SetCaption(const QString& V) { ChangeSetting(&TScaleSettings::Caption_, V); }
void TScale::SetCaptionPosX(int V) { ChangeSetting(&TScaleSettings::CaptionPosX_, V); }
void TScale::SetCaptionPosY(int V) { ChangeSetting(&TScaleSettings::CaptionPosY_, V); }
void TScale::SetCaptionAlignment(TAlignment V) { ChangeSetting(&TScaleSettings::CaptionAlignment_, V); }
void TScale::SetCaptionAnchor(TScaleUnitAnchor V) { ChangeSetting(&TScaleSettings::CaptionAnchor_, V); }

void TScale::SetColorScheme(TColorScheme V) {
  StoreChanged(ColorScheme_, V, [this, V] {
    Frame_.Shadow = V == csSystem ? clBtnShadow : clGray;
    Frame_.Highlight = V == csSystem ? clBtnHighlight : clWhite;
    RepaintRequest();
  });
}

// The format object compares each of its settings and reports only changes.
void TScale::SetDateFormat(const TDTLabel* V) {
  if (V) DateFormat_->Assign(*V);
}

// Acts on an equal value too: the widget may have been hidden or shown behind the
// published setting (a child made after its window was shown starts hidden).
void TScale::SetVisible(bool V) {
  Visible_ = V;
  if (parentWidget()) QWidget::setVisible(V);
  RepaintRequest();
}

// Acts on an equal value too: clearing it is the request to paint what was held.
void TScale::SetSuspendPaint(bool V) {
  SuspendPaint_ = V;
  if (!V) RepaintRequest();
}

void TScale::SetTargetCanvas(TCanvas* Canvas, int OffsetX, int OffsetY) {
  Target_ = Canvas;
  TargetX_ = OffsetX;
  TargetY_ = OffsetY;
}

// A hidden widget gets no resize event, and the chart's scales are never shown; so the
// calibration follows the bounds here as well.
void TScale::SetBounds(int Left, int Top, int Width, int Height) {
  setGeometry(Left, Top, Width, Height);
  CalcScaleFactors();
}

void TScale::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  CalcScaleFactors();
  RepaintRequest();
}

void TScale::Loaded() {
  TComponentBase::Loaded();
  CalcScaleFactors();
  LoadingFlag_ = false;
  RepaintRequest();
}

void TScale::Assign(const TScale& S) {
  static_cast<TScaleSettings&>(*this) = S.Settings();
  FrameStyle_ = S.FrameStyle_;
  ColorBackGnd_ = S.ColorBackGnd_;
  FontColor_ = S.FontColor_;
  Frame_ = S.Frame_;
  ColorScheme_ = S.ColorScheme_;
  OnScaleTickDrawn = S.OnScaleTickDrawn;
  OwnMap_ = S.Map();
  NumTicks_ = S.NumTicks_;
  ShowBaseLine_ = S.ShowBaseLine_;
  Transparent_ = S.Transparent_;
  DateFormat_->Assign(*S.DateFormat_);
  MarginTop_ = S.MarginTop_;
  MarginBottom_ = S.MarginBottom_;
  MarginLeft_ = S.MarginLeft_;
  MarginRight_ = S.MarginRight_;
  Ticks_ = S.Ticks_;
  Target_ = S.Target_;
  TargetX_ = S.TargetX_;
  TargetY_ = S.TargetY_;
  SuspendPaint_ = S.SuspendPaint_;
  RepaintRequest();
}

// --- calibration -----------------------------------------------------------------

// Low values at the left or bottom margin, high ones at the right or top one.
TAxisMap::TSpan TScale::AxisSpan() const {
  if (IsHorizontal()) return {MarginLeft_, width() - MarginRight_ - 1, width(), false};
  return {height() - MarginBottom_ - 1, MarginTop_, height(), true};
}

void TScale::CalcScaleFactors() {
  if (HasState(csLoading) || RangeHigh_ == RangeLow_) return;
  OwnMap_.Calibrate(AxisSpan(), RangeLow_, RangeHigh_, Logarithmic_);
}

double TScale::TickValue(int Index) const { return Index >= 1 && Index <= NumTicks_ ? Ticks_[Index - 1] : 0.0; }

void TScale::Record(double Value) {
  if (NumTicks_ < MaxTicks) Ticks_[NumTicks_++] = Value;
}

// --- painting --------------------------------------------------------------------

void TScale::RepaintRequest() {
  if (Transparent_ && !Embedded_) update();
  else Paint();
}

void TScale::PaintNow() {
  const bool Suspended = SuspendPaint_;
  SuspendPaint_ = false;
  if (Transparent_ && !Embedded_) update();
  else Paint();
  SuspendPaint_ = Suspended;
}

// A picture of another size than the control's (none yet, or from before a resize) is
// painted anew before it is shown.
void TScale::paintEvent(QPaintEvent*) {
  if (!Target_) {
    if (Transparent_ || Surface_.Width() != width() || Surface_.Height() != height()) Paint();
    CopyToControl(this, Surface_.Image());
  }
}

void TScale::Paint() {
  if (!Visible_ && (!HasState(csDesigning) || Embedded_)) return;
  if (HasState(csLoading) || SuspendPaint_) return;
  const int W = width(), H = height();
  const int OX = Target_ ? TargetX_ : 0, OY = Target_ ? TargetY_ : 0;
  const bool Horizontal = IsHorizontal();
  auto AxisAt = [&](int X0, int Y0) {
    return ScaleType_ == sctXB ? Y0 + H - MarginBottom_ - 1 : ScaleType_ == sctXT ? Y0 + MarginTop_
         : ScaleType_ == sctYL ? X0 + MarginLeft_ : X0 + W - MarginRight_ - 1;
  };
  auto Draw = [&](TCanvas* C, int X0, int Y0) {
    C->Pen()->SetColor(ColorScale_);
    C->Pen()->SetWidth(1);
    C->Pen()->SetStyle(psSolid);
    const int Axis = AxisAt(X0, Y0);
    if (Horizontal) DrawHorizontalScale(C, Axis);
    else DrawVerticalScale(C, Axis);
    if (!ShowBaseLine_) return;
    C->Pen()->SetColor(ColorScale_);
    if (Horizontal) C->MoveTo(MarginLeft_, Axis), C->LineTo(W - MarginRight_ - 1, Axis);
    else C->MoveTo(Axis, MarginTop_), C->LineTo(Axis, H - MarginBottom_ - 1);
  };

  if (!Target_) Surface_.SetSize(W, H, Transparent_);
  TCanvas* Target = Target_ ? Target_ : Surface_.Canvas();
  Target->Font() = font();
  Target->SetFontColor(FontColor_);
  if (OnBeforeScaleRendered) OnBeforeScaleRendered(this, Target);
  if (Transparent_) {
    Draw(Target, OX, OY);
    if (OnAfterScaleRendered) OnAfterScaleRendered(this, Target);
  } else {
    TBitmap Own(W, H);
    TBitmap& Picture = Target_ ? Own : Surface_;
    TCanvas* C = Picture.Canvas();
    C->Font() = font();
    C->SetFontColor(FontColor_);
    C->Pen()->SetColor(ColorBackGnd_);
    C->Brush()->SetColor(ColorBackGnd_);
    C->Brush()->SetStyle(bsSolid);
    C->Rectangle(0, 0, W, H);
    Draw(C, 0, 0);
    if (OnAfterScaleRendered) OnAfterScaleRendered(this, C);
    DrawFrame(C, FrameStyle_, 0, 0, W - 1, H - 1, Frame_);
    if (Target_) Target_->Draw(OX, OY, Own.Image());
  }
  if (!Target_) update();
}
