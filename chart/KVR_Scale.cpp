// TScale: settings, calibration, painting, caption and the common tick emission.
#include "chart/KVR_Scale.h"

#include <algorithm>
#include <cmath>

#include "chart/KVR_Scale_engine.h"

TScale::TScale(QWidget* Parent) : QWidget(Parent), DateFormat_(std::make_unique<TDTLabel>()) {
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
  if (Field == V) return;
  Field = V;
  RepaintRequest();
}

template <class T>
void TScale::StoreAlways(T& Field, const T& V) {
  Field = V;
  RepaintRequest();
}

void TScale::SetRangeLow(double V) {
  RangeLow_ = V;
  if (V == RangeHigh_) RangeHigh_ = V + 1;
  CalcScaleFactors();
  RepaintRequest();
}

void TScale::SetRangeHigh(double V) {
  RangeHigh_ = V;
  if (V == RangeLow_) RangeLow_ = V - 1;
  CalcScaleFactors();
  RepaintRequest();
}

void TScale::SetMarginTop(int V) { MarginTop_ = std::max(V, 0), CalcScaleFactors(), RepaintRequest(); }
void TScale::SetMarginBottom(int V) { MarginBottom_ = std::max(V, 0), CalcScaleFactors(), RepaintRequest(); }
void TScale::SetMarginLeft(int V) { MarginLeft_ = std::max(V, 0), CalcScaleFactors(), RepaintRequest(); }
void TScale::SetMarginRight(int V) { MarginRight_ = std::max(V, 0), CalcScaleFactors(), RepaintRequest(); }

void TScale::SetScaleType(TScaleType V) {
  if (V == ScaleType_) return;
  ScaleType_ = V;
  CalcScaleFactors();
  RepaintRequest();
}

void TScale::SetDecPlaces(int V) {
  DecPlaces_ = std::clamp(V, -3, 12);
  CalcScaleFactors();
  RepaintRequest();
}

void TScale::SetDecimalComma(bool V) { StoreIfChanged(DecimalComma_, V); }

void TScale::SetMinTicks(int V) { StoreAlways(MinTicks_, std::clamp(V, 2, 10)); }

void TScale::SetLogarithmic(bool V) {
  // A logarithmic axis needs positive ends and cannot show calendar values; refused
  // quietly, except while a stored design is being applied.
  if (!V || LoadingFlag_ || (RangeLow_ >= 1e-100 && RangeHigh_ >= 1e-100 && LabelType_ != ftDateTime))
    Logarithmic_ = V;
  CalcScaleFactors();
  RepaintRequest();
}

void TScale::SetLabelType(TFigType V) {
  LabelType_ = V;
  if (V == ftDateTime) Logarithmic_ = false;
  if (V == ftTime) DecPlaces_ = 4;
  RepaintRequest();
}

void TScale::SetShortTicks(bool V) { StoreIfChanged(ShortTicks_, V); }
void TScale::SetColorScale(TColor V) { StoreIfChanged(ColorScale_, V); }
void TScale::SetColorBackGnd(TColor V) { StoreIfChanged(ColorBackGnd_, V); }
void TScale::SetFrameStyle(TFrameStyle V) { StoreIfChanged(FrameStyle_, V); }
void TScale::SetEmbedded(bool V) { StoreIfChanged(Embedded_, V); }
void TScale::SetFontColor(TColor V) { StoreIfChanged(FontColor_, V); }
void TScale::SetShowBaseLine(bool V) { StoreAlways(ShowBaseLine_, V); }
void TScale::SetTransparent(bool V) { StoreAlways(Transparent_, V); }
void TScale::SetUserTickText(const QString& V) { StoreAlways(UserTickText_, V); }
void TScale::SetScaleInscript(const QString& V) { StoreAlways(ScaleInscript_, V); }
void TScale::SetCaption(const QString& V) { StoreAlways(Caption_, V); }
void TScale::SetCaptionPosX(int V) { StoreAlways(CaptionPosX_, V); }
void TScale::SetCaptionPosY(int V) { StoreAlways(CaptionPosY_, V); }
void TScale::SetCaptionAlignment(TAlignment V) { StoreAlways(CaptionAlignment_, V); }
void TScale::SetCaptionAnchor(TScaleUnitAnchor V) { StoreAlways(CaptionAnchor_, V); }

void TScale::SetColorScheme(TColorScheme V) {
  if (V == ColorScheme_) return;
  ColorScheme_ = V;
  Frame_.Shadow = V == csSystem ? clBtnShadow : clGray;
  Frame_.Highlight = V == csSystem ? clBtnHighlight : clWhite;
  RepaintRequest();
}

void TScale::SetDateFormat(const TDTLabel* V) {
  if (V) DateFormat_->Assign(*V);
}

void TScale::SetVisible(bool V) {
  Visible_ = V;
  if (parentWidget()) QWidget::setVisible(V);
  RepaintRequest();
}

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
}

void TScale::Loaded() {
  TComponentBase::Loaded();
  CalcScaleFactors();
  LoadingFlag_ = false;
  RepaintRequest();
}

void TScale::Assign(const TScale& S) {
  FrameStyle_ = S.FrameStyle_;
  ColorScale_ = S.ColorScale_;
  ColorBackGnd_ = S.ColorBackGnd_;
  FontColor_ = S.FontColor_;
  Frame_ = S.Frame_;
  ColorScheme_ = S.ColorScheme_;
  OnScaleTickDrawn = S.OnScaleTickDrawn;
  Logarithmic_ = S.Logarithmic_;
  Factor_ = S.Factor_;
  Offset_ = S.Offset_;
  RangeLow_ = S.RangeLow_;
  RangeHigh_ = S.RangeHigh_;
  ShortTicks_ = S.ShortTicks_;
  NumTicks_ = S.NumTicks_;
  MinTicks_ = S.MinTicks_;
  DecPlaces_ = S.DecPlaces_;
  DecimalComma_ = S.DecimalComma_;
  ShowBaseLine_ = S.ShowBaseLine_;
  Transparent_ = S.Transparent_;
  LabelType_ = S.LabelType_;
  DateFormat_->Assign(*S.DateFormat_);
  MarginTop_ = S.MarginTop_;
  MarginBottom_ = S.MarginBottom_;
  MarginLeft_ = S.MarginLeft_;
  MarginRight_ = S.MarginRight_;
  Caption_ = S.Caption_;
  CaptionPosX_ = S.CaptionPosX_;
  CaptionPosY_ = S.CaptionPosY_;
  CaptionAlignment_ = S.CaptionAlignment_;
  CaptionAnchor_ = S.CaptionAnchor_;
  UserTickText_ = S.UserTickText_;
  ScaleInscript_ = S.ScaleInscript_;
  Ticks_ = S.Ticks_;
  Target_ = S.Target_;
  TargetX_ = S.TargetX_;
  TargetY_ = S.TargetY_;
  ScaleType_ = S.ScaleType_;
  SuspendPaint_ = S.SuspendPaint_;
  RepaintRequest();
}

// --- calibration -----------------------------------------------------------------

int TScale::AxisExtent() const {
  return IsHorizontal() ? width() - MarginLeft_ - MarginRight_ - 1 : height() - MarginTop_ - MarginBottom_ - 1;
}

void TScale::CalcScaleFactors() {
  if (HasState(csLoading) || RangeHigh_ == RangeLow_) return;
  const bool Horizontal = IsHorizontal();
  const int N = AxisExtent();
  if (N <= 0) {
    Factor_ = 0;
    Offset_ = (Horizontal ? width() : height()) / 2.0;
    return;
  }
  if (Logarithmic_) {
    if (RangeLow_ <= 0 || RangeHigh_ <= 0) return;
    const double LnLow = std::log(RangeLow_), LnHigh = std::log(RangeHigh_);
    Factor_ = Horizontal ? N / (LnHigh - LnLow) : N / (LnLow - LnHigh);
    Offset_ = Horizontal ? MarginLeft_ - LnLow * Factor_ : MarginTop_ - LnHigh * Factor_;
    return;
  }
  Factor_ = Horizontal ? N / (RangeHigh_ - RangeLow_) : N / (RangeLow_ - RangeHigh_);
  Offset_ = Horizontal ? MarginLeft_ - RangeLow_ * Factor_ : MarginTop_ - RangeHigh_ * Factor_;
}

int TScale::ValueToPixel(double Value) const {
  double P;
  if (!Logarithmic_) P = Factor_ * Value + Offset_;
  else if (Value > 1e-100) P = std::log(Value) * Factor_ + Offset_;
  else P = RangeHigh_ >= RangeLow_ ? 0 : width();
  if (std::isnan(P)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(P, -2147483647.0, 2147483647.0)));
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

void TScale::paintEvent(QPaintEvent*) {
  if (!Target_) {
    if (Transparent_) Paint();
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
