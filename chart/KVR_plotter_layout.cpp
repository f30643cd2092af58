// The chart's construction, its own properties, layer ranges and joins, the standard
// layouts, resizing and the isometric mode.
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "chart/KVR_plotter.h"
#include "toolkit/Setter.h"

namespace {

// The 16 standard colours of layers 1..16.
constexpr TColor LayerColors[16] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray,
                                    clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite};

// One scale's settings in a standard layout.
struct TLayoutScale {
  bool Visible;
  bool FarSide;  // top for horizontal, right for vertical scales
  int CaptionX, CaptionY;
  TAlignment Alignment;
  TScaleUnitAnchor Anchor;
  int ScalePos;
};

struct TLayout {
  int Left, Right, Top, Bottom;
  int CaptionX, CaptionY;
  TAlignment Alignment;
  TCaptionAnchorHoriz AnchorHoriz;
  TCaptionAnchorVert AnchorVert;
  TLayoutScale X[4], Y[4];
};

constexpr TLayoutScale HiddenX{false, false, 10, 100, taCenter, uaSclCenter, 0};
constexpr TLayoutScale HiddenY{false, false, 10, 100, taRightJustify, uaSclTopLft, 0};
constexpr TLayoutScale BottomX{true, false, 0, 22, taCenter, uaSclCenter, 0};
constexpr TLayoutScale LeftY23(int Pos) { return {true, false, 0, -23, taRightJustify, uaSclTopLft, Pos}; }

const TLayout& LayoutOf(TplLayout L) {
  static const TLayout Layouts[] = {
      {50, 20, 20, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
       {BottomX, HiddenX, HiddenX, HiddenX},
       {{true, false, 0, -16, taLeftJustify, uaSclTopLft, 0}, HiddenY, HiddenY, HiddenY}},
      {100, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
       {BottomX, HiddenX, HiddenX, HiddenX}, {LeftY23(0), LeftY23(50), HiddenY, HiddenY}},
      {150, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
       {BottomX, HiddenX, HiddenX, HiddenX}, {LeftY23(0), LeftY23(50), LeftY23(100), HiddenY}},
      {200, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
       {BottomX, HiddenX, HiddenX, HiddenX}, {LeftY23(0), LeftY23(50), LeftY23(100), LeftY23(150)}},
      {50, 50, 24, 40, 0, -20, taCenter, cahChartCenter, cavChartTop,
       {BottomX, HiddenX, HiddenX, HiddenX},
       {LeftY23(0), {true, true, 0, -23, taLeftJustify, uaSclTopLft, 0}, HiddenY, HiddenY}},
      {100, 20, 24, 70, 0, -16, taRightJustify, cahChartRight, cavChartTop,
       {{true, false, -20, 7, taRightJustify, uaSclTopLft, 0}, {true, false, -20, 7, taRightJustify, uaSclTopLft, 30},
        HiddenX, HiddenX},
       {LeftY23(0), LeftY23(50), HiddenY, HiddenY}},
      {50, 50, 48, 40, 0, -46, taCenter, cahChartCenter, cavChartTop,
       {{true, false, -20, 7, taRightJustify, uaSclTopLft, 0}, {true, true, -20, -24, taRightJustify, uaSclTopLft, 0},
        HiddenX, HiddenX},
       {{true, false, 0, -40, taRightJustify, uaSclTopLft, 0}, {true, true, 0, -40, taLeftJustify, uaSclTopLft, 0},
        {false, false, 0, -23, taRightJustify, uaSclTopLft, 0}, {false, false, 0, -23, taRightJustify, uaSclTopLft, 0}}},
  };
  return Layouts[L];
}

void ApplyLayoutScale(TScaleProps* P, const TLayoutScale& S) {
  P->SetCaptionPosX(S.CaptionX);
  P->SetCaptionPosY(S.CaptionY);
  P->SetCaptionAlignment(S.Alignment);
  P->SetCaptionAnchor(S.Anchor);
  P->SetScalePos(S.ScalePos);
  P->SetVisible(S.Visible);
}

// Holds painting while several settings change; the end paints once.
class THeldPaint {
public:
  explicit THeldPaint(TCustomPlotter* Chart) : Chart_(Chart), Was_(Chart->PaintSuppressed()) {
    Chart->SetPaintSuppressed(true);
  }
  ~THeldPaint() { Chart_->SetPaintSuppressed(Was_); }

private:
  TCustomPlotter* Chart_;
  bool Was_;
};

}  // namespace

TCustomPlotter::TCustomPlotter(QWidget* Parent)
    : QWidget(Parent), Store_(std::make_shared<TItemStore>()), Joint_(std::make_unique<TJointLayers>()),
      Background_(std::make_unique<TBakGndImg>()), BackgroundPicture_(10, 10) {
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  resize(280, 200);
  if (const QScreen* Screen = QGuiApplication::primaryScreen()) {
    AspectX_ = std::max(1, qRound(Screen->logicalDotsPerInchX()));
    AspectY_ = std::max(1, qRound(Screen->logicalDotsPerInchY()));
  }
  for (int L = 1; L <= Layers; ++L) {
    auto X = std::make_unique<TScalePropsHoriz>();
    auto Y = std::make_unique<TScalePropsVert>();
    const bool Odd = L % 2 == 1;
    X->SetColorScale(LayerColors[L - 1]);
    Y->SetColorScale(LayerColors[L - 1]);
    X->SetScaleLocation(Odd ? slBottom : slTop);
    Y->SetScaleLocation(Odd ? slLeft : slRight);
    X->SetScalePos((L - 1) / 2 * 30);
    Y->SetScalePos((L - 1) / 2 * 50);
    PropsX_[L - 1] = std::move(X);
    PropsY_[L - 1] = std::move(Y);
    for (int Axis = 0; Axis < 2; ++Axis) {
      auto S = std::make_unique<TScale>();
      S->SetSuspendPaint(true);
      S->SetEmbedded(true);
      S->UseMap(&Maps_[L - 1][Axis]);
      S->SetTargetCanvas(FullImage_.Canvas(), 0, 0);
      S->setObjectName((Axis == 0 ? QStringLiteral("PL_FScale_X_") : QStringLiteral("PL_FScale_Y_")) + QString::number(L));
      S->OnScaleTickDrawn = [this](QObject* Sender, TCanvas*& C, TScaleType T, double V, int X0, int Y0) {
        if (OnScaleTickDrawn) OnScaleTickDrawn(Sender, C, T, V, X0, Y0);
      };
      S->SetTransparent(true);
      S->SetFrameStyle(fsNone);
      Scales_[Axis][L - 1] = std::move(S);
    }
  }
  for (int I = 0; I < 4; ++I) {
    auto C = std::make_unique<TCrossHair>();
    C->SetLineWid(1);
    C->SetLayer(I + 1);
    C->OnChange = [this](QObject*) { Repaint(); };
    CrossHairs_[I] = std::move(C);
  }
  for (auto& Label : TextLabels_) {
    Label = std::make_unique<TTextLabel>();
    Label->SetVisible(false);
  }
  Joint_->OnChange = [this](QObject*) { Repaint(); };
  Joint_->OnJoin = [this](int Axis, int Layer) {
    const int D = Joint_->ControlledBy(Axis, Layer);
    const TScaleProps* Source = Axis == 0 ? static_cast<const TScaleProps*>(ScaleX(D)) : ScaleY(D);
    const TScaleProps* Own = Axis == 0 ? static_cast<const TScaleProps*>(ScaleY(Layer)) : ScaleX(Layer);
    if (Axis == 0) ApplyLayerRange(Layer, Source->RangeLow(), Source->RangeHigh(), Own->RangeLow(), Own->RangeHigh());
    else ApplyLayerRange(Layer, Own->RangeLow(), Own->RangeHigh(), Source->RangeLow(), Source->RangeHigh());
  };
  Background_->OnChange = [this](QObject*) { Repaint(); };
  for (int L = 1; L <= Layers; ++L) {
    ScaleX(L)->OnChange = [this](QObject*) { ScalePropsChanged(); };
    ScaleY(L)->OnChange = [this](QObject*) { ScalePropsChanged(); };
  }
  SetStandardLayout(pll_X1Bottom_Y1Left);
  UpdateTransform();
  // The window of a Qt control exists with the object, so painting is allowed from now.
  PaintSuppressed_ = false;
}

TCustomPlotter::~TCustomPlotter() {
  Include(csDestroying);
  for (auto& P : PropsX_) P->OnChange = nullptr;
  for (auto& P : PropsY_) P->OnChange = nullptr;
  RemoveFromOwner();
  for (const auto& User : DataUsers_)
    if (User) User->UseDataOf_ = nullptr;
}

TScalePropsHoriz* TCustomPlotter::ScaleX(int Layer) const {
  return PropsX_[static_cast<size_t>(Layer >= 1 && Layer <= Layers ? Layer - 1 : 0)].get();
}
TScalePropsVert* TCustomPlotter::ScaleY(int Layer) const {
  return PropsY_[static_cast<size_t>(Layer >= 1 && Layer <= Layers ? Layer - 1 : 0)].get();
}
TCrossHair* TCustomPlotter::CrossHair(int Index) const {
  return Index >= 1 && Index <= 4 ? CrossHairs_[static_cast<size_t>(Index - 1)].get() : nullptr;
}
TTextLabel* TCustomPlotter::TextLabel(int Index) const {
  return Index >= 1 && Index <= 30 ? TextLabels_[static_cast<size_t>(Index - 1)].get() : nullptr;
}

void TCustomPlotter::Loaded() {
  TComponentBase::Loaded();
  ApplyAllScaleProps();
  for (auto& P : PropsX_) P->EndLoading();
  for (auto& P : PropsY_) P->EndLoading();
  UpdateTransform();
  Paint();
}

// --- the chart's own properties ----------------------------------------------------

// A repaint, or the refresh of a chart of a data-sharing group: Paint when AutoRedraw
// is on (or in design mode).
void TCustomPlotter::Repaint() {
  if (AutoRedraw_ || HasState(csDesigning)) Paint();
}

template <class T>
void TCustomPlotter::StoreAndRepaint(T& Field, const T& V) {
  StoreChanged(Field, V, [this] { Repaint(); });
}

void TCustomPlotter::SetShadowStyle(TShadowStyle V) { StoreAndRepaint(ShadowStyle_, V); }
void TCustomPlotter::SetShadowColor(TColor V) { StoreAndRepaint(ShadowColor_, V); }
void TCustomPlotter::SetShadowBakColor(TColor V) { StoreAndRepaint(ShadowBakColor_, V); }
void TCustomPlotter::SetWindColor(TColor V) {
  StoreChanged(WindColor_, V, [this, V] {
    for (auto& Axis : Scales_)
      for (auto& S : Axis) S->SetColorBackGnd(V);
    Repaint();
  });
}
void TCustomPlotter::SetChartColor(TColor V) { StoreAndRepaint(ChartColor_, V); }
void TCustomPlotter::SetChartFrameColor(TColor V) { StoreAndRepaint(ChartFrameColor_, V); }
void TCustomPlotter::SetGridStyle(GridStyleType V) { StoreAndRepaint(GridStyle_, V); }
void TCustomPlotter::SetGridColor(TColor V) { StoreAndRepaint(GridColor_, V); }
// Steps below the last named one and infinite ones are ignored.
void TCustomPlotter::SetGridDx(double V) {
  if (V >= TGridStep::OneToNine && V < INFINITY) StoreAndRepaint(GridDx_, V);
}
void TCustomPlotter::SetGridDy(double V) {
  if (V >= TGridStep::OneToNine && V < INFINITY) StoreAndRepaint(GridDy_, V);
}
void TCustomPlotter::SetCaption(const QString& V) { StoreAndRepaint(Caption_, V); }
void TCustomPlotter::SetCaptionPosX(int V) { StoreAndRepaint(CaptionPosX_, LimitPixels(V)); }
void TCustomPlotter::SetCaptionPosY(int V) { StoreAndRepaint(CaptionPosY_, LimitPixels(V)); }
void TCustomPlotter::SetCaptionAlignment(TAlignment V) { StoreAndRepaint(CaptionAlignment_, V); }
void TCustomPlotter::SetCaptionAnchorHoriz(TCaptionAnchorHoriz V) { StoreAndRepaint(CaptionAnchorHoriz_, V); }
void TCustomPlotter::SetCaptionAnchorVert(TCaptionAnchorVert V) { StoreAndRepaint(CaptionAnchorVert_, V); }
void TCustomPlotter::SetTextFontStyle(uint8_t V) { StoreAndRepaint(TextFontStyle_, V); }
void TCustomPlotter::SetTextBkStyle(TTextBkg V) { StoreAndRepaint(TextBkStyle_, V); }
void TCustomPlotter::SetTextBkColor(TColor V) { StoreAndRepaint(TextBkColor_, V); }
void TCustomPlotter::SetTextAlignment(TAlignment V) { StoreAndRepaint(TextAlignment_, V); }

void TCustomPlotter::SetMargin(int& Field, int V) {
  StoreChanged(Field, LimitPixels(V), [this] { GeometryChanged(); });
}

void TCustomPlotter::SetMarginLeft(int V) { SetMargin(ML_, V); }
void TCustomPlotter::SetMarginRight(int V) { SetMargin(MR_, V); }
void TCustomPlotter::SetMarginTop(int V) { SetMargin(MT_, V); }
void TCustomPlotter::SetMarginBottom(int V) { SetMargin(MB_, V); }
void TCustomPlotter::SetShadowWidth(int V) { SetMargin(SW_, std::clamp(V, 0, 32)); }

// Margins, shadow or size changed: the chart area, the scales and the transforms follow.
// The control keeps its size: only SetBounds enlarges it.
void TCustomPlotter::GeometryChanged() {
  if (Isometric_) ApplyIsometric();
  ApplyAllScaleProps();
  UpdateTransform();
  Repaint();
}

void TCustomPlotter::SetBounds(int Left, int Top, int Width, int Height) {
  Height = std::max(Height, MT_ + MB_ + SW_ + 20);  // margins are limited: no overflow
  Width = std::max(Width, ML_ + MR_ + SW_ + 80);
  setGeometry(Left, Top, Width, Height);
  GeometryChanged();
}

void TCustomPlotter::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  GeometryChanged();
}

// Leaving the isometric mode keeps the ranges it made, so nothing is repainted.
void TCustomPlotter::SetIsometric(bool V) {
  StoreChanged(Isometric_, V, [this, V] {
    if (!V) return;
    ApplyIsometric();
    Repaint();
  });
}

// An empty chart area has no aspect to keep.
void TCustomPlotter::ApplyIsometric() {
  const TChartArea A = ChartArea();
  if (A.Width() < 0 || A.Height() < 0) return;
  const double Ratio = (A.Height() + 1.0) / (A.Width() + 1.0) * AspectY_ / AspectX_;
  for (int L = 1; L <= Layers; ++L)
    ScaleY(L)->SetRangeHigh(ScaleY(L)->RangeLow() + (ScaleX(L)->RangeHigh() - ScaleX(L)->RangeLow()) * Ratio);
}

// --- layer ranges ------------------------------------------------------------------

// Any change of any axis's settings: every scale takes its props, every layer its range
// (so joined layers follow), and the chart paints once at the end.
void TCustomPlotter::ScalePropsChanged() {
  if (HasState(csDestroying) || ApplyingLayout_) return;
  const THeldPaint Held(this);
  ApplyAllScaleProps();
  for (int L = 1; L <= Layers; ++L)
    SetLayerRange(L, ScaleX(L)->RangeLow(), ScaleX(L)->RangeHigh(), ScaleY(L)->RangeLow(), ScaleY(L)->RangeHigh());
}

void TCustomPlotter::SetLayerRange(int Layer, double XLow, double XHigh, double YLow, double YHigh) {
  if (Layer < 1 || Layer > Layers) return;
  const THeldPaint Held(this);
  if (Joint_->ControlledBy(0, Layer) != Layer) XLow = ScaleX(Layer)->RangeLow(), XHigh = ScaleX(Layer)->RangeHigh();
  if (Joint_->ControlledBy(1, Layer) != Layer) YLow = ScaleY(Layer)->RangeLow(), YHigh = ScaleY(Layer)->RangeHigh();
  ApplyLayerRange(Layer, XLow, XHigh, YLow, YHigh);
  for (int J = 1; J <= Layers; ++J) {
    if (J == Layer) continue;
    const int CX = Joint_->ControlledBy(0, J), CY = Joint_->ControlledBy(1, J);
    if (CX != Layer && CY != Layer) continue;
    ApplyLayerRange(J, ScaleX(CX)->RangeLow(), ScaleX(CX)->RangeHigh(), ScaleY(CY)->RangeLow(), ScaleY(CY)->RangeHigh());
  }
}

// Ranges with a non-finite end are refused as a whole.
void TCustomPlotter::ApplyLayerRange(int Layer, double XLow, double XHigh, double YLow, double YHigh) {
  if (Layer < 1 || Layer > Layers) return;
  if (!std::isfinite(XLow) || !std::isfinite(XHigh) || !std::isfinite(YLow) || !std::isfinite(YHigh)) return;
  ScaleX(Layer)->StoreRange(XLow, XHigh);
  ScaleY(Layer)->StoreRange(YLow, YHigh);
  ConfigureScale(0, Layer);
  ConfigureScale(1, Layer);
  UpdateTransform();
}

// --- standard layouts --------------------------------------------------------------

// Acts on an equal value too: a layout is applied each time it is chosen, so choosing it
// again restores the margins, captions and axes it sets (the constructor relies on it).
void TCustomPlotter::SetStandardLayout(TplLayout V) {
  const TLayout& L = LayoutOf(V);
  StandardLayout_ = V;
  const THeldPaint Held(this);
  // The scales take the props once, at the end, rather than after each setting.
  ApplyingLayout_ = true;
  ML_ = L.Left, MR_ = L.Right, MT_ = L.Top, MB_ = L.Bottom;
  CaptionPosX_ = L.CaptionX;
  CaptionPosY_ = L.CaptionY;
  CaptionAlignment_ = L.Alignment;
  CaptionAnchorHoriz_ = L.AnchorHoriz;
  CaptionAnchorVert_ = L.AnchorVert;
  for (int K = 1; K <= 4; ++K) {
    ScaleX(K)->SetScaleLocation(L.X[K - 1].FarSide ? slTop : slBottom);
    ApplyLayoutScale(ScaleX(K), L.X[K - 1]);
    ScaleY(K)->SetScaleLocation(L.Y[K - 1].FarSide ? slRight : slLeft);
    ApplyLayoutScale(ScaleY(K), L.Y[K - 1]);
  }
  for (int K = 5; K <= Layers; ++K) {
    ScaleX(K)->SetVisible(false);
    ScaleY(K)->SetVisible(false);
  }
  // The new margins change the chart area's aspect, which an isometric chart keeps.
  if (Isometric_) ApplyIsometric();
  ApplyingLayout_ = false;
  ApplyAllScaleProps();
  UpdateTransform();
}
