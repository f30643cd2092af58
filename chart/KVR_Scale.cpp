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

// Settings that move ticks: stored, then the calibration follows before the repaint.
template <class T>
void TScale::StoreAndCalibrate(T& Field, const T& V) {
  if (Field == V) return;
  Field = V;
  CalcScaleFactors();
  RepaintRequest();
}

// Non-finite ends are refused; equal ends are moved one unit apart.
void TScale::SetRangeLow(double V) {
  if (!std::isfinite(V) || V == RangeLow_) return;
  RangeLow_ = V;
  if (V == RangeHigh_) RangeHigh_ = V + 1;
  CalcScaleFactors();
  RepaintRequest();
}

void TScale::SetRangeHigh(double V) {
  if (!std::isfinite(V) || V == RangeHigh_) return;
  RangeHigh_ = V;
  if (V == RangeLow_) RangeLow_ = V - 1;
  CalcScaleFactors();
  RepaintRequest();
}

void TScale::SetMarginTop(int V) { StoreAndCalibrate(MarginTop_, std::clamp(V, 0, PixelLimit)); }
void TScale::SetMarginBottom(int V) { StoreAndCalibrate(MarginBottom_, std::clamp(V, 0, PixelLimit)); }
void TScale::SetMarginLeft(int V) { StoreAndCalibrate(MarginLeft_, std::clamp(V, 0, PixelLimit)); }
void TScale::SetMarginRight(int V) { StoreAndCalibrate(MarginRight_, std::clamp(V, 0, PixelLimit)); }
void TScale::SetScaleType(TScaleType V) { StoreAndCalibrate(ScaleType_, V); }
void TScale::SetDecPlaces(int V) { StoreIfChanged(DecPlaces_, std::clamp(V, -3, 12)); }
void TScale::SetDecimalComma(bool V) { StoreIfChanged(DecimalComma_, V); }
void TScale::SetMinTicks(int V) { StoreIfChanged(MinTicks_, std::clamp(V, 2, 10)); }

void TScale::SetLogarithmic(bool V) {
  // A logarithmic axis needs positive ends and cannot show calendar values; refused
  // quietly, except while a stored design is being applied.
  if (V && !LoadingFlag_ && !(RangeLow_ >= 1e-100 && RangeHigh_ >= 1e-100 && LabelType_ != ftDateTime)) return;
  StoreAndCalibrate(Logarithmic_, V);
}

void TScale::SetLabelType(TFigType V) {
  if (V == LabelType_) return;
  LabelType_ = V;
  if (V == ftDateTime) Logarithmic_ = false;
  if (V == ftTime) DecPlaces_ = 4;
  CalcScaleFactors();
  RepaintRequest();
}

void TScale::SetShortTicks(bool V) { StoreIfChanged(ShortTicks_, V); }
void TScale::SetColorScale(TColor V) { StoreIfChanged(ColorScale_, V); }
void TScale::SetColorBackGnd(TColor V) { StoreIfChanged(ColorBackGnd_, V); }
void TScale::SetFrameStyle(TFrameStyle V) { StoreIfChanged(FrameStyle_, V); }
void TScale::SetEmbedded(bool V) { StoreIfChanged(Embedded_, V); }
void TScale::SetFontColor(TColor V) { StoreIfChanged(FontColor_, V); }
void TScale::SetShowBaseLine(bool V) { StoreIfChanged(ShowBaseLine_, V); }
void TScale::SetTransparent(bool V) { StoreIfChanged(Transparent_, V); }
void TScale::SetUserTickText(const QString& V) { StoreIfChanged(UserTickText_, V); }
void TScale::SetScaleInscript(const QString& V) { StoreIfChanged(ScaleInscript_, V); }
void TScale::SetCaption(const QString& V) { StoreIfChanged(Caption_, V); }
void TScale::SetCaptionPosX(int V) { StoreIfChanged(CaptionPosX_, LimitPixels(V)); }
void TScale::SetCaptionPosY(int V) { StoreIfChanged(CaptionPosY_, LimitPixels(V)); }
void TScale::SetCaptionAlignment(TAlignment V) { StoreIfChanged(CaptionAlignment_, V); }
void TScale::SetCaptionAnchor(TScaleUnitAnchor V) { StoreIfChanged(CaptionAnchor_, V); }

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
  RepaintRequest();
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
  OwnMap_ = S.Map();
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
