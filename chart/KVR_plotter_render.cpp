// Transforms between world and control pixels, and painting: frame, shadow, caption and
// scales into the full image; background, grid, items and frame into the chart-area
// image; crosshairs on the way to the screen.
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <span>

#include "chart/KVR_plotter.h"

namespace {

constexpr int ItemLimit = 30000;  // item and area pixels are limited to +-this
constexpr int GridLimit = 1000;

int Limit(int V, int L) { return std::clamp(V, -L, L); }

// Infinite coordinates are far values like any other, limited on the way to pixels.
bool HasNaN(const TChartItem& I) {
  return std::isnan(I.X1) || std::isnan(I.Y1) || (I.ChartItemKind != ikMark && (std::isnan(I.X2) || std::isnan(I.Y2)));
}

}  // namespace

// --- transforms --------------------------------------------------------------------

TChartArea TCustomPlotter::ChartArea() const {
  return {ML_, MT_, width() - MR_ - SW_, height() - MB_ - SW_};
}

// Low values at the chart area's left or bottom edge, high ones at its right or top.
TAxisMap::TSpan TCustomPlotter::AxisSpan(int Axis) const {
  const TChartArea A = ChartArea();
  return Axis == 0 ? TAxisMap::TSpan{A.Left, A.Right, width(), false} : TAxisMap::TSpan{A.Bottom, A.Top, height(), true};
}

void TCustomPlotter::UpdateTransform() {
  if (HasState(csLoading)) return;
  const TAxisMap::TSpan X = AxisSpan(0), Y = AxisSpan(1);
  for (int L = 1; L <= Layers; ++L) {
    Maps_[L - 1][0].Calibrate(X, ScaleX(L)->RangeLow(), ScaleX(L)->RangeHigh(), ScaleX(L)->Logarithmic());
    Maps_[L - 1][1].Calibrate(Y, ScaleY(L)->RangeLow(), ScaleY(L)->RangeHigh(), ScaleY(L)->Logarithmic());
  }
}

const TAxisMap& TCustomPlotter::Map(int Axis, int Layer) const {
  return Maps_[static_cast<size_t>(std::clamp(Layer, 1, Layers) - 1)][Axis];
}

void TCustomPlotter::WorldToPixel(int Layer, double X, double Y, int& Px, int& Py) const {
  Px = Map(0, Layer).ToPixel(X);
  Py = Map(1, Layer).ToPixel(Y);
}

void TCustomPlotter::PixelToWorld(int Layer, int Px, int Py, double& X, double& Y) const {
  X = Map(0, Layer).ToWorld(Px);
  Y = Map(1, Layer).ToWorld(Py);
}

// --- painting ----------------------------------------------------------------------

bool TCustomPlotter::CanPaint() const {
  return (VisibleProperty(this) || HasState(csDesigning)) && !HasState(csLoading) && !PaintSuppressed_ && !Painting_;
}

void TCustomPlotter::Paint() {
  if (!CanPaint()) return;
  Painting_ = true;
  RenderFrame();
  RenderBackground();
  RenderData();
  PresentImage(ChartAreaImage_, ImageLeft(), ImageTop());
  Painting_ = false;
}

// The chart-area image's box in control pixels: the area cut to the control, plus the
// frame's column and row where they lie just past the control's far edges.
QRect TCustomPlotter::ChartAreaBox() const {
  const TChartArea A = ChartArea();
  const int Right = std::min(A.Right, width()), Bottom = std::min(A.Bottom, height());
  return {ImageLeft(), ImageTop(), std::max(Right - ImageLeft() + 1, 0), std::max(Bottom - ImageTop() + 1, 0)};
}

// The full image, which the control shows, ready to be drawn on: of the control's size
// (made anew, it starts in the window colour), with the chart-area image a window onto
// its box where the box lies within it. That window is placed before anything is drawn,
// so a copy of it held elsewhere keeps its pixels.
TCanvas* TCustomPlotter::FullCanvas() {
  const int W = width(), H = height();
  TCanvas* C = FullImage_.Canvas();
  if (FullImage_.Width() != W || FullImage_.Height() != H) {
    FullImage_.SetSize(W, H);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(WindColor_);
    C->FillRect(0, 0, W, H);
  }
  ChartAreaImage_.View(FullImage_, ChartAreaBox());
  return C;
}

void TCustomPlotter::RenderFrame() {
  const int W = width(), H = height();
  TCanvas* C = FullCanvas();
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetMode(pmCopy);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(WindColor_);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(WindColor_);
  // The chart-area image covers its box, so only the bands around it are filled: the box
  // is most of the control, and filling it twice doubled the cost.
  const TChartArea A = ChartArea();
  const int L = ImageLeft(), T = ImageTop(), R = std::min(A.Right, W) + 1, B = std::min(A.Bottom, H) + 1;
  if (R <= L || B <= T) {
    C->FillRect(0, 0, W, H);
  } else {
    C->FillRect(0, 0, W, T);
    C->FillRect(0, B, W, H);
    C->FillRect(0, T, L, B);
    C->FillRect(R, T, W, B);
  }
  if (SW_ > 0) RenderShadow(C);
  C->Pen()->SetColor(ChartFrameColor_);
  C->Brush()->SetStyle(bsClear);
  RenderCaption(C);
  UpdateTransform();
  for (int Axis = 0; Axis < 2; ++Axis)
    for (int L = 1; L <= Layers; ++L) Scales_[Axis][L - 1]->PaintNow();
  TCanvas* Canvas = C;
  if (OnScalesRendered) OnScalesRendered(this, Canvas, 0, 0);
}

void TCustomPlotter::RenderShadow(TCanvas* C) {
  const int W = width(), H = height(), S = SW_;
  C->Pen()->SetColor(ShadowBakColor_);
  C->Brush()->SetColor(ShadowBakColor_);
  C->Rectangle(W - S, 0, W, S);
  C->Rectangle(0, H - S, S, H);
  C->Brush()->SetColor(ShadowColor_);
  C->Pen()->SetColor(ShadowStyle_ == ssFlying ? ShadowColor_ : clBlack);
  const int E = ShadowStyle_ == ssFlying ? S - 1 : 0;
  C->Polygon({{E, H - S}, {S - 1, H - 1}, {W - 1, H - 1}, {W - S, H - S}});
  C->Polygon({{W - S, H - S}, {W - 1, H - 1}, {W - 1, S - 1}, {W - S, E}});
  C->Pen()->SetColor(clBlack);
  C->Polyline({{0, 0}, {W - S, 0}, {W - S, H - S}, {0, H - S}, {0, 0}});
}

void TCustomPlotter::RenderCaption(TCanvas* C) {
  if (Caption_.isEmpty()) return;
  const int W = width(), H = height();
  const TChartArea A = ChartArea();
  int AX = 0, AY = 0;
  switch (CaptionAnchorHoriz_) {
    case cahControlLeft: AX = 0; break;
    case cahChartLeft: AX = A.Left; break;
    case cahChartCenter: AX = A.Left + A.Width() / 2; break;
    case cahChartRight: AX = A.Right; break;
    case cahControlRight: AX = W; break;
  }
  switch (CaptionAnchorVert_) {
    case cavControlTop: AY = 0; break;
    case cavChartTop: AY = A.Top; break;
    case cavChartCenter: AY = A.Top + A.Height() / 2; break;
    case cavChartBottom: AY = H - MB_; break;  // above the shadow's band, unlike the right anchor
    case cavControlBottom: AY = H; break;
  }
  C->Font() = font();
  const int TextW = C->TextWidth(Caption_);
  const int X = CaptionPosX_ + AX, Y = CaptionPosY_ + AY;
  const int Left = CaptionAlignment_ == taLeftJustify ? X : CaptionAlignment_ == taRightJustify ? X - TextW : X - TextW / 2;
  C->SetFontColor(clBlack);
  C->TextOut(Left, Y, Caption_);
}

TBitmap* TCustomPlotter::ChartAreaImage() {
  if (BackgroundPending_) RenderBackground();
  return &ChartAreaImage_;
}

void TCustomPlotter::RenderBackground() {
  BackgroundPending_ = false;
  const TChartArea A = ChartArea();
  FullCanvas();
  TCanvas* C = ChartAreaImage_.Canvas();
  const int IW = ChartAreaImage_.Width(), IH = ChartAreaImage_.Height();
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetMode(pmCopy);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(ChartFrameColor_);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(ChartColor_);
  TBakGndImg* B = Background_.get();
  if (!B->Name().isEmpty()) {
    if (!LoadBackgroundPicture()) {
      C->Rectangle(0, 0, IW, IH);
      return;
    }
    // The picture belongs to the whole area, whose corner (L, T) may lie off the image.
    const QImage& Pic = BackgroundPicture_.Image();
    const int L = A.Left - ImageLeft(), T = A.Top - ImageTop(), PW = Pic.width(), PH = Pic.height();
    switch (B->FillMode()) {
      case bfSimple:
        C->Rectangle(0, 0, IW, IH);
        C->Draw(L, T, Pic);
        break;
      case bfStretch: C->StretchDraw(QRect(L, T, std::max(A.Width() + 1, 0), std::max(A.Height() + 1, 0)), Pic); break;
      case bfTile:
        for (int J = -L / PW; J <= (IW - 1 - L) / PW; ++J)
          for (int K = -T / PH; K <= (IH - 1 - T) / PH; ++K) C->Draw(L + PW * J, T + PH * K, Pic);
        break;
    }
    return;
  }
  BackgroundPictureName_.clear();  // a name set again is read again
  C->Rectangle(0, 0, IW, IH);
  if (B->AreaMode() == bamNone) return;
  int LX, TY, RX, BY;
  WorldToPixel(1, B->AreaLeft(), B->AreaTop(), LX, TY);
  WorldToPixel(1, B->AreaRight(), B->AreaBottom(), RX, BY);
  LX = Limit(LX, ItemLimit) - ImageLeft(), RX = Limit(RX, ItemLimit) - ImageLeft();
  TY = Limit(TY, ItemLimit) - ImageTop(), BY = Limit(BY, ItemLimit) - ImageTop();
  C->Pen()->SetColor(B->AreaColor());
  C->Brush()->SetColor(B->AreaColor());
  switch (B->AreaMode()) {
    case bamLeft: C->Rectangle(0, 0, LX, IH); break;
    case bamRight: C->Rectangle(RX, 0, IW, IH); break;
    case bamTop: C->Rectangle(0, 0, IW, TY); break;
    case bamBottom: C->Rectangle(0, BY, IW, IH); break;
    case bamVStripe: C->Rectangle(LX, 0, RX, IH); break;
    case bamHStripe: C->Rectangle(0, TY, IW, BY); break;
    case bamRect: C->Rectangle(LX, TY, RX, BY); break;
    case bamNone: break;
  }
}

// The picture is read when its name changes, not on every redraw. One that cannot be
// read, or is empty, clears the name, so it is not tried again.
bool TCustomPlotter::LoadBackgroundPicture() {
  const QString Name = Background_->Name();
  if (Name == BackgroundPictureName_) return true;
  if (BackgroundPicture_.LoadFromFile(Name) && BackgroundPicture_.Width() > 0 && BackgroundPicture_.Height() > 0) {
    BackgroundPictureName_ = Name;
    return true;
  }
  BackgroundPictureName_.clear();
  Background_->SetName(QString());
  return false;
}

void TCustomPlotter::RenderData() {
  TCanvas* C = ChartAreaImage_.Canvas();
  if (OnBeforeRenderData) {
    const TColor Brush = C->Brush()->Color(), Pen = C->Pen()->Color();
    TCanvas* Canvas = C;
    OnBeforeRenderData(this, Canvas, ImageTop(), ImageLeft());
    C->Brush()->SetColor(Brush);
    C->Pen()->SetColor(Pen);
  }
  if (GridStyle_ != gsNone) RenderGrid(C);
  RenderItems(C);
  C->Pen()->SetWidth(1);
  if (OnDataRendered) {
    TCanvas* Canvas = C;
    OnDataRendered(this, Canvas, ImageTop(), ImageLeft());
  }
  const TChartArea A = ChartArea();
  const int L = A.Left - ImageLeft(), T = A.Top - ImageTop(), R = A.Right - ImageLeft(), B = A.Bottom - ImageTop();
  C->Pen()->SetColor(ChartFrameColor_);
  C->Pen()->SetStyle(psSolid);
  C->Polyline({{L, T}, {R, T}, {R, B}, {L, B}, {L, T}});
}

// The pen is changed only when an item needs another colour, style or width.
void TCustomPlotter::RenderItems(TCanvas* C) {
  TPen* Pen = C->Pen();
  int Width = LineWidth_;
  TColor Color = ChartColor_;
  TPenStyle Style = psSolid;
  Pen->SetWidth(Width);
  Pen->SetColor(Color);
  Pen->SetStyle(Style);
  C->Brush()->SetColor(ChartColor_);
  C->MoveTo(0, 0);
  Raster_.Attach(C);
  const int Left = ImageLeft(), Top = ImageTop();
  int Layer = 1;  // the maps of the layer in hand, looked up when it changes
  const auto* M = &Maps_[0];
  auto Pixel = [&](double X, double Y, int& Px, int& Py) {
    Px = Limit((*M)[0].ToPixel(X), ItemLimit) - Left;
    Py = Limit((*M)[1].ToPixel(Y), ItemLimit) - Top;
  };
  for (const TChartItem& I : std::span<const TChartItem>(Store_->Data, static_cast<size_t>(Store_->Count))) {
    if (HasNaN(I)) continue;  // a coordinate that is not a number has no pixel
    if (I.LineWidth != Width) Pen->SetWidth(Width = I.LineWidth);
    if (I.Color != Color) Pen->SetColor(Color = I.Color);
    if (I.PenStyle != Style) Pen->SetStyle(Style = I.PenStyle);
    if (I.Layer != Layer) M = &Maps_[static_cast<size_t>(std::clamp(Layer = I.Layer, 1, Layers) - 1)];
    int X1, Y1;
    Pixel(I.X1, I.Y1, X1, Y1);
    if (I.ChartItemKind == ikMark) {
      Raster_.Mark(I.MarkType, X1, Y1);
      continue;
    }
    int X2, Y2;
    Pixel(I.X2, I.Y2, X2, Y2);
    if (I.ChartItemKind == ikRectangle) {
      C->Brush()->SetColor(I.Color);
      C->BlendRect(X1, Y1, X2, Y2, I.FillOpacity);
      C->Brush()->SetStyle(bsClear);
      C->Rectangle(X1, Y1, X2, Y2);
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(ChartColor_);
    } else if (X1 == X2 && Y1 == Y2) {
      C->SetPixel(X1, Y1, I.Color);
    } else {
      Raster_.Line(X1, Y1, X2, Y2);
    }
  }
}

// Grid values along one axis of layer 1, from the smaller range end up to (not
// including) the larger one, at most GridLimit of them. Each walk knows its length
// before it starts: the scale's tick table, an index times a linear step, or positions
// in the decades of a logarithmic axis.
std::vector<double> TCustomPlotter::GridValues(int Axis, double Step) const {
  const TScaleProps* P = Axis == 0 ? static_cast<const TScaleProps*>(ScaleX(1)) : ScaleY(1);
  const double Lo = std::min(P->RangeLow(), P->RangeHigh()), Hi = std::max(P->RangeLow(), P->RangeHigh());
  std::vector<double> Values;
  auto Take = [&](double G) {
    if (G < Hi && std::isfinite(G) && static_cast<int>(Values.size()) < GridLimit) Values.push_back(G);
  };
  if (Step == TGridStep::Ticks) {
    // The ticks in the order the scale drew them, while they run the way its range
    // does (on a vertical axis the major ticks follow the minor ones).
    const TScale* Scale = Scales_[Axis][0].get();
    const double Dir = P->RangeHigh() < P->RangeLow() ? -1 : 1;
    if (Scale->NumTicks() == 0) Take(Lo);
    for (int N = 1; N <= Scale->NumTicks(); ++N) {
      if (N > 1 && !(Dir * (Scale->TickValue(N) - Scale->TickValue(N - 1)) > 0)) break;
      Take(Scale->TickValue(N));
    }
  } else if (!P->Logarithmic() || Step > 0) {
    const double First = std::ceil(Lo / Step) * Step, Count = std::ceil((Hi - First) / std::fabs(Step));
    for (int N = 0; N < GridLimit && N < Count; ++N) Take(First + N * std::fabs(Step));
  } else {
    LogGridValues(Lo, Hi, Step, Take);
  }
  return Values;
}

// Logarithmic grids: decades, 1-2-5 or 1 to 9 (other negative steps) times a power of
// ten, from the first such value the start rules give.
void TCustomPlotter::LogGridValues(double Lo, double Hi, double Step, const std::function<void(double)>& Take) {
  static const std::vector<int> Decades{1}, OneTwoFive{1, 2, 5}, OneToNine{1, 2, 3, 4, 5, 6, 7, 8, 9};
  const std::vector<int>& Mantissas = Step == TGridStep::Decades ? Decades : Step == TGridStep::OneTwoFive ? OneTwoFive : OneToNine;
  if (!(Lo > 0 && Lo < INFINITY)) return;  // no decades to walk
  double L = std::log10(Lo);
  if (std::fabs(L - std::nearbyint(L)) < 1e-14) L = std::nearbyint(L);
  double E = std::floor(L);
  const double M = std::nearbyint(std::pow(10.0, L - E));
  // The position of the first value in the mantissa list of its decade.
  size_t First = 0;
  if (Step == TGridStep::Decades) {
    E = std::ceil(std::log10(Lo));
  } else if (Step == TGridStep::OneTwoFive) {
    First = M <= 2 ? 1 : M <= 5 ? 2 : 3;
  } else if (Step == TGridStep::OneToNine) {
    First = static_cast<size_t>(M) - 1;
  } else {
    Take(Lo);  // other steps start at the range end itself, then follow its decade
    First = static_cast<size_t>(M);
  }
  const double Count = (std::floor(std::log10(Hi)) - E + 1) * static_cast<double>(Mantissas.size());
  for (int N = 0; N < GridLimit && N < Count; ++N) {
    const size_t Position = First + static_cast<size_t>(N);
    const double Power = std::pow(10.0, E + static_cast<double>(Position / Mantissas.size()));
    Take(Power * Mantissas[Position % Mantissas.size()]);
  }
}

void TCustomPlotter::RenderGrid(TCanvas* C) {
  C->Brush()->SetColor(ChartColor_);
  const std::vector<double> Xs = GridValues(0, GridDx_), Ys = GridValues(1, GridDy_);
  const TScaleProps *PX = ScaleX(1), *PY = ScaleY(1);
  C->Pen()->SetColor(GridColor_);
  C->Pen()->SetWidth(1);
  auto Line = [&](double X1, double Y1, double X2, double Y2) {
    int A, B, P, Q;
    WorldToPixel(1, X1, Y1, A, B);
    WorldToPixel(1, X2, Y2, P, Q);
    C->MoveTo(A - ImageLeft(), B - ImageTop());
    C->LineTo(P - ImageLeft(), Q - ImageTop());
  };
  if (GridStyle_ == gsPoints) {
    int Count = 0;
    for (double GX : Xs)
      for (double GY : Ys) {
        if (Count++ >= GridLimit) return;
        int PX0, PY0;
        WorldToPixel(1, GX, GY, PX0, PY0);
        C->SetPixel(PX0 - ImageLeft(), PY0 - ImageTop(), GridColor_);
      }
    return;
  }
  const bool Dotted = GridStyle_ == gsHorizDotLines || GridStyle_ == gsVertDotLines || GridStyle_ == gsDotLines;
  const bool Vertical = GridStyle_ == gsVertLines || GridStyle_ == gsLines || GridStyle_ == gsVertDotLines || GridStyle_ == gsDotLines;
  const bool Horizontal = GridStyle_ == gsHorizLines || GridStyle_ == gsLines || GridStyle_ == gsHorizDotLines || GridStyle_ == gsDotLines;
  C->Pen()->SetStyle(Dotted ? psDot : psSolid);
  if (Vertical)
    for (double GX : Xs) Line(GX, PY->RangeLow(), GX, PY->RangeHigh());
  if (Horizontal)
    for (double GY : Ys) Line(PX->RangeLow(), GY, PX->RangeHigh(), GY);
  C->Pen()->SetStyle(psSolid);
}

// The chart-area image is normally a window onto the full image and needs no copy. It
// has pixels of its own where its box reaches past the control (the frame's far column
// or row), or when drawing detached it while a copy of it was held elsewhere.
void TCustomPlotter::PresentImage(TBitmap& Image, int OX, int OY) {
  const bool InPlace = &Image == &FullImage_ || Image.Views(FullImage_, QRect(OX, OY, Image.Width(), Image.Height()));
  const QImage Drawn = InPlace ? QImage() : Image.Image();  // placing the window may replace a detached one
  TCanvas* C = FullCanvas();
  if (!InPlace) C->Draw(OX, OY, Drawn);
  const TPen Saved = *C->Pen();
  const TChartArea A = ChartArea();
  for (const auto& Cross : CrossHairs_) {
    if (Cross->Mode() == chOff) continue;
    int PX, PY;
    WorldToPixel(Cross->Layer(), Cross->PosX(), Cross->PosY(), PX, PY);
    C->Pen()->SetColor(Cross->Color());
    C->Pen()->SetWidth(Cross->LineWid());
    C->Pen()->SetStyle(Cross->LineType());
    const int Half = Cross->LineWid() / 2;
    if ((Cross->Mode() == chHoriz || Cross->Mode() == chBoth) && A.Top + Half < PY && PY < A.Bottom - Half) {
      C->MoveTo(A.Left + Half + 1, PY);
      C->LineTo(A.Right - Half, PY);
    }
    if ((Cross->Mode() == chVert || Cross->Mode() == chBoth) && A.Left + Half < PX && PX < A.Right - Half) {
      C->MoveTo(PX, A.Top + Half + 1);
      C->LineTo(PX, A.Bottom - Half);
    }
  }
  *C->Pen() = Saved;
  update();
}

void TCustomPlotter::paintEvent(QPaintEvent*) {
  if (FullImage_.Width() != width() || FullImage_.Height() != height()) Paint();
  CopyToControl(this, FullImage_.Image());
}

// Changes made while the chart was hidden on purpose were not painted.
void TCustomPlotter::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  Paint();
}

void TCustomPlotter::SetPaintSuppressed(bool V) {
  const bool Was = PaintSuppressed_;
  PaintSuppressed_ = V;
  if (Was && !V) Paint();
}

// --- scales ------------------------------------------------------------------------

void TCustomPlotter::ApplyScaleProps(TScale* S, const TScaleProps* P) {
  const int W = width(), H = height(), Pos = P->ScalePos();
  const TChartArea A = ChartArea();
  // The base line lies Pos pixels outside the area's edge on the scale's side.
  switch (P->ScaleType()) {
    case sctXB: S->SetMarginBottom(Pos + H - A.Top - 1); break;
    case sctXT: S->SetMarginTop(Pos + A.Bottom); break;
    case sctYL: S->SetMarginLeft(Pos + A.Right); break;
    case sctYR: S->SetMarginRight(Pos + W - A.Left - 1); break;
  }
  S->SetSettings(P->Settings());
  S->setFont(P->Font());
  S->SetFontColor(P->ColorScale());
  S->SetDateFormat(P->DateFormat());
}

void TCustomPlotter::ConfigureScale(int Axis, int Layer) {
  TScale* S = Scales_[Axis][Layer - 1].get();
  const TChartArea A = ChartArea();
  S->SetBounds(0, 0, width(), height());
  if (Axis == 0) {
    S->SetMarginLeft(A.Left);
    S->SetMarginRight(width() - A.Right - 1);
  } else {
    S->SetMarginTop(A.Top);
    S->SetMarginBottom(height() - A.Bottom - 1);
  }
  S->SetColorBackGnd(WindColor_);
  ApplyScaleProps(S, Axis == 0 ? static_cast<const TScaleProps*>(ScaleX(Layer)) : ScaleY(Layer));
}

void TCustomPlotter::ApplyAllScaleProps() {
  for (int Axis = 0; Axis < 2; ++Axis)
    for (int L = 1; L <= Layers; ++L) ConfigureScale(Axis, L);
}

TScale* TCustomPlotter::ScaleOf(int Axis, int Layer) const {
  return Scales_[Axis != 0][static_cast<size_t>(std::clamp(Layer, 1, Layers) - 1)].get();
}
