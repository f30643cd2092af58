// The chart control: a display list of marks and lines in world coordinates over 16
// layers, drawn off screen with frame, shadow, caption, background, grid, one pair of
// axes per layer and four crosshairs, then copied onto the control in one step.
//   KVR_plotter_items.cpp   the display list and data sharing between charts
//   KVR_plotter_render.cpp  transforms and painting
//   KVR_plotter_layout.cpp  the chart's own properties, layer ranges, standard layouts
#pragma once

#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "chart/KVR_AxisMap.h"
#include "chart/KVR_Scale.h"
#include "kvrbase/KVR_kvrbase.h"
#include "chart/KVR_plotter_props.h"
#include "chart/KVR_plotter_raster.h"
#include "toolkit/Bitmap.h"

enum GridStyleType : uint8_t {
  gsNone, gsPoints, gsVertLines, gsHorizLines, gsLines, gsHorizDotLines, gsVertDotLines, gsDotLines
};
enum TShadowStyle : uint8_t { ssFlying, ssBox };
enum TCaptionAnchorHoriz : uint8_t { cahControlLeft, cahChartLeft, cahChartCenter, cahChartRight, cahControlRight };
enum TCaptionAnchorVert : uint8_t { cavControlTop, cavChartTop, cavChartCenter, cavChartBottom, cavControlBottom };
enum TplLayout : uint8_t {
  pll_X1Bottom_Y1Left, pll_X1Bottom_Y2Left, pll_X1Bottom_Y3Left, pll_X1Bottom_Y4Left,
  pll_X1Bottom_Y2Both, pll_X2Bottom_Y2Left, pll_X2Both_Y2Both
};
enum TTextBkg : uint8_t { tbClear, tbSolid };
enum TMouseActMode : uint8_t {
  maNone, maPan, maPanHoriz, maPanVert, maRubberBand, maZoom, maZoomWind, maZoomWindPos, maZoomDrag,
  maDragCrossH, maDragLabel, maRotate, maRotAndZoom, maRotXOnly, maRotZOnly
};

// The chart area in control pixels, edges included: the frame runs along them, low
// values of an axis lie at Left or Bottom and high ones at Right or Top. Width and
// Height count the steps from edge to edge.
struct TChartArea {
  int Left, Top, Right, Bottom;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Contains(int X, int Y) const { return Left <= X && X <= Right && Top <= Y && Y <= Bottom; }
};

// Grid steps with a meaning of their own: the scale's ticks, or on a logarithmic axis
// decades, 1-2-5 or 1 to 9 times a power of ten. Other positive steps are world units;
// other negative ones walk a logarithmic axis 1 to 9 from its low end.
struct TGridStep {
  static constexpr double Ticks = 0, Decades = -1, OneTwoFive = -2, OneToNine = -3;
};

// A set of the layers 1..16.
class TLayerSet {
public:
  static constexpr TLayerSet Only(int Layer) { return TLayerSet(uint16_t(1u << (Layer - 1))); }
  constexpr bool Contains(int Layer) const { return (Bits_ >> (Layer - 1) & 1u) != 0; }

private:
  constexpr explicit TLayerSet(uint16_t Bits) : Bits_(Bits) {}
  uint16_t Bits_;
};

// What a display-list item draws.
enum TChartItemKind : uint8_t { ikMark = 1, ikLine = 2, ikRectangle = 3 };

// One display-list item, stored by value: 48 bytes.
struct TChartItem {
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  TColor Color = clBlack;
  int32_t LineWidth = 1;
  int32_t Layer = 1;
  TChartItemKind ChartItemKind = ikMark;
  TPenStyle PenStyle = psSolid;
  uint8_t MarkType = 0;
  uint8_t FillOpacity = 255;  // of a rectangle's inside
};

using TMouseMoveInChartEvent =
    std::function<void(QObject* Sender, bool InChart, Qt::KeyboardModifiers Shift, double X, double Y)>;
using TCrossHairMoveEvent = std::function<void(QObject* Sender, TCrossHair* WhichCrossHair)>;
using TTextLabelMoveEvent = std::function<void(QObject* Sender, TTextLabel* WhichTextLabel)>;
using TMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
using TKeyEvent = std::function<void(QObject* Sender, int Key, Qt::KeyboardModifiers Shift)>;

// Canvas by reference: a handler may replace it. Top and Left tell where the canvas's
// origin lies in control pixels.
using TRenderEvent = std::function<void(QObject* Sender, TCanvas*& Canvas, int Top, int Left)>;

class TCustomPlotter : public QWidget, public TComponentBase {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(TScalePropsHoriz* Scale1X READ Scale1X)
  Q_PROPERTY(TScalePropsHoriz* Scale2X READ Scale2X)
  Q_PROPERTY(TScalePropsHoriz* Scale3X READ Scale3X)
  Q_PROPERTY(TScalePropsHoriz* Scale4X READ Scale4X)
  Q_PROPERTY(TScalePropsVert* Scale1Y READ Scale1Y)
  Q_PROPERTY(TScalePropsVert* Scale2Y READ Scale2Y)
  Q_PROPERTY(TScalePropsVert* Scale3Y READ Scale3Y)
  Q_PROPERTY(TScalePropsVert* Scale4Y READ Scale4Y)
  Q_PROPERTY(TBakGndImg* BackGroundImg READ BackGroundImg)
  Q_PROPERTY(TJointLayers* JointLayers READ JointLayers)

public:
  static constexpr int Layers = 16;

  explicit TCustomPlotter(QWidget* Parent = nullptr);
  ~TCustomPlotter() override;

  // --- the display list (KVR_plotter_items.cpp)
  void AddMark(double X, double Y, uint8_t MarkType);
  void AddLine(double X1, double Y1, double X2, double Y2);
  // A rectangle with corners (X1, Y1) and (X2, Y2), outlined with the pen in the data
  // colour and filled with that colour laid over what lies beneath at FillOpacity
  // (0 outline only, 255 solid). It covers the pixels of the corners' rows and columns
  // from the smaller up to, not including, the larger.
  void AddRectangle(double X1, double Y1, double X2, double Y2, uint8_t FillOpacity);
  void ClearItems();
  void Redisplay();
  int ItemCount() const { return Store_->Count; }
  int ItemCapacity() const { return Store_->Capacity; }
  // 0-based; EKVRPlotterError outside 0 .. ItemCount - 1.
  const TChartItem& Item(int Index) const;
  TCustomPlotter* UseDataOf() const { return UseDataOf_; }
  void SetUseDataOf(TCustomPlotter* V);
  int DataUserCount() const { return static_cast<int>(DataUsers_.size()); }
  TCustomPlotter* DataUsers(int Index) const;

  TColor DataColor() const { return DataColor_; }
  void SetDataColor(TColor V) { DataColor_ = V; }
  TPenStyle PenStyle() const { return PenStyle_; }
  void SetPenStyle(TPenStyle V) { PenStyle_ = V; }
  uint8_t LineWidth() const { return LineWidth_; }
  void SetLineWidth(uint8_t V) { LineWidth_ = V; }
  uint8_t ClassDefault() const { return ClassDefault_; }
  void SetClassDefault(uint8_t V);
  TColor FillColor() const { return FillColor_; }
  void SetFillColor(TColor V) { FillColor_ = V; }
  int CurrentLayer() const { return CurrentLayer_; }
  int AllocSize() const { return AllocSize_; }
  void SetAllocSize(int V);
  bool AutoRedraw() const { return AutoRedraw_; }
  void SetAutoRedraw(bool V) { AutoRedraw_ = V; }

  // --- geometry and painting (KVR_plotter_render.cpp)
  void Paint();
  void UpdateTransform();
  // Where the margins and the shadow leave the chart area.
  TChartArea ChartArea() const;
  void WorldToPixel(int Layer, double X, double Y, int& Px, int& Py) const;
  void PixelToWorld(int Layer, int Px, int Py, double& X, double& Y) const;
  void SetBounds(int Left, int Top, int Width, int Height);
  void ApplyScaleProps(TScale* Scale, const TScaleProps* Props);
  // The picture the control shows.
  TBitmap* FullImage() { return &FullImage_; }
  // The visible part of the chart area; its pixel (0, 0) lies at control pixel
  // (max(MarginLeft, 0), max(MarginTop, 0)). Normally a window onto the full image:
  // what is drawn on one shows in the other.
  TBitmap* ChartAreaImage();
  // The steps of Paint: frame, caption and scales into the full image; background, then
  // grid and items into the chart-area image; Image (whose pixel (0, 0) lies at control
  // pixel (OX, OY)) laid onto the full image unless it is part of it, and crosshairs.
  void RenderFrame();
  void RenderBackground();
  void RenderData();
  void PresentImage(TBitmap& Image, int OX, int OY);
  // What the control shows, as a QImage.
  const QImage& Surface() const { return FullImage_.Image(); }
  bool PaintSuppressed() const { return PaintSuppressed_; }
  void SetPaintSuppressed(bool V);
  TScale* ScaleOf(int Axis, int Layer) const;  // the axis sub-control; Axis 0 x, 1 y

  // --- properties, layer ranges and layouts (KVR_plotter_layout.cpp)
  // Margins and caption positions are limited to +-PixelLimit; margins move the chart
  // area inside the control, whose size only SetBounds changes.
  int MarginLeft() const { return ML_; }
  void SetMarginLeft(int V);
  int MarginRight() const { return MR_; }
  void SetMarginRight(int V);
  int MarginTop() const { return MT_; }
  void SetMarginTop(int V);
  int MarginBottom() const { return MB_; }
  void SetMarginBottom(int V);
  int LRim() const { return ML_; }
  void SetLRim(int V) { SetMarginLeft(V); }
  int RRim() const { return MR_; }
  void SetRRim(int V) { SetMarginRight(V); }
  int TRim() const { return MT_; }
  void SetTRim(int V) { SetMarginTop(V); }
  int BRim() const { return MB_; }
  void SetBRim(int V) { SetMarginBottom(V); }
  int ShadowWidth() const { return SW_; }
  void SetShadowWidth(int V);
  TShadowStyle ShadowStyle() const { return ShadowStyle_; }
  void SetShadowStyle(TShadowStyle V);
  TColor ShadowColor() const { return ShadowColor_; }
  void SetShadowColor(TColor V);
  TColor ShadowBakColor() const { return ShadowBakColor_; }
  void SetShadowBakColor(TColor V);
  TColor WindColor() const { return WindColor_; }
  void SetWindColor(TColor V);
  TColor ChartColor() const { return ChartColor_; }
  void SetChartColor(TColor V);
  TColor ChartFrameColor() const { return ChartFrameColor_; }
  void SetChartFrameColor(TColor V);
  GridStyleType GridStyle() const { return GridStyle_; }
  void SetGridStyle(GridStyleType V);
  TColor GridColor() const { return GridColor_; }
  void SetGridColor(TColor V);
  double GridDx() const { return GridDx_; }
  void SetGridDx(double V);
  double GridDy() const { return GridDy_; }
  void SetGridDy(double V);
  QString Caption() const { return Caption_; }
  void SetCaption(const QString& V);
  int CaptionPosX() const { return CaptionPosX_; }
  void SetCaptionPosX(int V);
  int CaptionPosY() const { return CaptionPosY_; }
  void SetCaptionPosY(int V);
  TAlignment CaptionAlignment() const { return CaptionAlignment_; }
  void SetCaptionAlignment(TAlignment V);
  TCaptionAnchorHoriz CaptionAnchorHoriz() const { return CaptionAnchorHoriz_; }
  void SetCaptionAnchorHoriz(TCaptionAnchorHoriz V);
  TCaptionAnchorVert CaptionAnchorVert() const { return CaptionAnchorVert_; }
  void SetCaptionAnchorVert(TCaptionAnchorVert V);
  bool Isometric() const { return Isometric_; }
  void SetIsometric(bool V);
  TplLayout StandardLayout() const { return StandardLayout_; }
  void SetStandardLayout(TplLayout V);
  TMouseActMode MouseAction() const { return MouseAction_; }
  void SetMouseAction(TMouseActMode V) { MouseAction_ = V; }
  bool MouseCursorFixed() const { return MouseCursorFixed_; }
  void SetMouseCursorFixed(bool V) { MouseCursorFixed_ = V; }
  uint8_t TextFontStyle() const { return TextFontStyle_; }
  void SetTextFontStyle(uint8_t V);
  TTextBkg TextBkStyle() const { return TextBkStyle_; }
  void SetTextBkStyle(TTextBkg V);
  TColor TextBkColor() const { return TextBkColor_; }
  void SetTextBkColor(TColor V);
  TAlignment TextAlignment() const { return TextAlignment_; }
  void SetTextAlignment(TAlignment V);

  TScalePropsHoriz* Scale1X() const { return ScaleX(1); }
  TScalePropsHoriz* Scale2X() const { return ScaleX(2); }
  TScalePropsHoriz* Scale3X() const { return ScaleX(3); }
  TScalePropsHoriz* Scale4X() const { return ScaleX(4); }
  TScalePropsVert* Scale1Y() const { return ScaleY(1); }
  TScalePropsVert* Scale2Y() const { return ScaleY(2); }
  TScalePropsVert* Scale3Y() const { return ScaleY(3); }
  TScalePropsVert* Scale4Y() const { return ScaleY(4); }
  // The props of any layer; a number outside 1..16 gives layer 1's.
  TScalePropsHoriz* ScaleX(int Layer) const;
  TScalePropsVert* ScaleY(int Layer) const;
  TJointLayers* JointLayers() const { return Joint_.get(); }
  TBakGndImg* BackGroundImg() const { return Background_.get(); }
  TCrossHair* CrossHair(int Index) const;  // 1..4
  TTextLabel* TextLabel(int Index) const;  // 1..30

  void ScalePropsChanged();
  void SetLayerRange(int Layer, double XLow, double XHigh, double YLow, double YHigh);
  void ApplyLayerRange(int Layer, double XLow, double XHigh, double YLow, double YHigh);
  void Loaded() override;

  TRenderEvent OnScalesRendered, OnBeforeRenderData, OnDataRendered;
  TScaleTickDrawnEvent OnScaleTickDrawn;

  // --- the mouse (KVR_plotter_mouse.cpp)
  // Whether a control pixel lies in the chart area, edges included.
  bool InChartArea(int X, int Y) const;
  TMouseMoveInChartEvent OnMouseMoveInChart;
  TNotifyEvent OnZoomPan, OnMouseEnter, OnMouseLeave;
  TCrossHairMoveEvent OnCrossHairMove;
  TTextLabelMoveEvent OnTextLabelMove;
  // The toolkit's own events, raised before the chart's handling.
  TMouseEvent OnMouseDown, OnMouseMove, OnMouseUp;
  TKeyEvent OnKeyDown;

protected:
  void paintEvent(QPaintEvent* Event) override;
  void showEvent(QShowEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void enterEvent(QEnterEvent* Event) override;
  void leaveEvent(QEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  // Tab stays with the chart's key events once it has the focus.
  bool focusNextPrevChild(bool Next) override;

private:
  // The items by value in one block. Its capacity grows by a fixed number of slots;
  // underneath, the block is reserved geometrically, so that appending costs constant
  // time per item however small that number is.
  struct TItemStore {
    TChartItem* Data = nullptr;
    int Count = 0, Capacity = 0, Reserved = 0;
    TItemStore() = default;
    TItemStore(const TItemStore& Other);
    TItemStore& operator=(const TItemStore&) = delete;
    ~TItemStore();
    void Push(const TChartItem& Item, int Grow);
    void Clear();

  private:
    void Reserve(int Slots);
  };

  // Items and sharing
  void Append(TChartItemKind Kind, double X1, double Y1, double X2, double Y2, uint8_t MarkType,
              uint8_t FillOpacity = 255);
  int GroupSize() const;  // the charts that show this chart's list, itself included
  TItemStore& WritableStore(bool Emptied);
  void SyncSharedData();
  void RemoveFromOwner();
  // Rendering
  // The chart-area image holds only the part of the area the control can show (plus the
  // frame's column and row on the control's far edges): its origin in control pixels.
  // A margin below zero thus costs no memory beyond the control's size.
  int ImageLeft() const { return std::max(ML_, 0); }
  int ImageTop() const { return std::max(MT_, 0); }
  QRect ChartAreaBox() const;
  TCanvas* FullCanvas();
  bool LoadBackgroundPicture();
  void RenderShadow(TCanvas* C);
  void RenderCaption(TCanvas* C);
  void RenderGrid(TCanvas* C);
  void RenderItems(TCanvas* C);
  std::vector<double> GridValues(int Axis, double Step) const;
  static void LogGridValues(double Lo, double Hi, double Step, const std::function<void(double)>& Take);
  TAxisMap::TSpan AxisSpan(int Axis) const;
  const TAxisMap& Map(int Axis, int Layer) const;
  bool CanPaint() const;
  // Properties
  template <class T>
  void StoreAndRepaint(T& Field, const T& V);
  void Repaint();
  void SetMargin(int& Field, int V);
  void GeometryChanged();
  void ApplyIsometric();
  void ApplyAllScaleProps();
  void ConfigureScale(int Axis, int Layer);
  // Mouse
  bool IsDragMode() const;
  void StartDrag(int X, int Y);
  void DragStep(int X, int Y);
  void PanStep(int X, int Y);
  void ZoomPanStep(const std::function<std::array<double, 4>(int Layer)>& NewRanges);
  void ZoomDragStep(int X, int Y);
  void DrawZoomWindow();
  void FinishZoomWindow();
  void UpdateCursor(int X, int Y);
  // Layer ranges as recorded at a drag's start: x low, x high, y low, y high.
  using TLayerRanges = std::array<double, 4>;
  TLayerRanges CurrentRanges(int Layer) const;

  std::shared_ptr<TItemStore> Store_;
  QPointer<TCustomPlotter> UseDataOf_;
  std::vector<QPointer<TCustomPlotter>> DataUsers_;
  TColor DataColor_ = clBlack;
  TPenStyle PenStyle_ = psSolid;
  uint8_t LineWidth_ = 1, ClassDefault_ = 0;
  TColor FillColor_ = clSilver;
  int CurrentLayer_ = 1;
  int AllocSize_ = 1000;
  bool AutoRedraw_ = true;

  int ML_ = 50, MR_ = 20, MT_ = 20, MB_ = 40, SW_ = 0;
  TShadowStyle ShadowStyle_ = ssFlying;
  TColor ShadowColor_ = clGrayText, ShadowBakColor_ = clBtnFace, WindColor_ = clBtnFace;
  TColor ChartColor_ = clWhite, ChartFrameColor_ = clBlack, GridColor_ = clBlack;
  GridStyleType GridStyle_ = gsNone;
  double GridDx_ = 0, GridDy_ = 0;
  QString Caption_;
  int CaptionPosX_ = 0, CaptionPosY_ = -16;
  TAlignment CaptionAlignment_ = taRightJustify;
  TCaptionAnchorHoriz CaptionAnchorHoriz_ = cahChartRight;
  TCaptionAnchorVert CaptionAnchorVert_ = cavChartTop;
  bool Isometric_ = false;
  TplLayout StandardLayout_ = pll_X1Bottom_Y1Left;
  TMouseActMode MouseAction_ = maNone;
  bool MouseCursorFixed_ = true;
  uint8_t TextFontStyle_ = 0;
  TTextBkg TextBkStyle_ = tbClear;
  TColor TextBkColor_ = clWhite;
  TAlignment TextAlignment_ = taCenter;

  std::array<std::unique_ptr<TScalePropsHoriz>, Layers> PropsX_;
  std::array<std::unique_ptr<TScalePropsVert>, Layers> PropsY_;
  std::array<std::array<std::unique_ptr<TScale>, Layers>, 2> Scales_;
  std::array<std::unique_ptr<TCrossHair>, 4> CrossHairs_;
  std::array<std::unique_ptr<TTextLabel>, 30> TextLabels_;
  std::unique_ptr<TJointLayers> Joint_;
  std::unique_ptr<TBakGndImg> Background_;

  std::array<std::array<TAxisMap, 2>, Layers> Maps_{};
  TBitmap FullImage_, ChartAreaImage_, BackgroundPicture_;
  TItemRaster Raster_;  // the items' way into the chart-area image, kept for its stamps
  QString BackgroundPictureName_;  // the file BackgroundPicture_ was read from
  int AspectX_ = 1, AspectY_ = 1;
  bool PaintSuppressed_ = true;
  bool Painting_ = false;
  // ClearItems prepares the chart-area background; it is drawn when next needed, which
  // is at once for anyone who looks at the image.
  bool BackgroundPending_ = false;
  bool ApplyingLayout_ = false;
  // Mouse state
  bool DragStarted_ = false;
  QPoint DragStart_;
  std::array<TLayerRanges, Layers> Recorded_{};
  struct TZoomWindow {
    bool Active = false;
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
  } Zoom_;
  int DraggedCrossHair_ = 1, DraggedLabel_ = 1;
  // The layers pan and zoom act on: layer 1 only, and nothing changes that.
  const TLayerSet MouseAffected_ = TLayerSet::Only(1);
};

class TPlotter : public TCustomPlotter {
  Q_OBJECT

public:
  using TCustomPlotter::TCustomPlotter;
};
