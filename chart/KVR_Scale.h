// TScale: one axis (base line, ticks, labels and caption) over an optional bevelled
// background. It stands alone on a form, and it is every axis of the chart, which
// embeds its scales and has them paint into its off-screen image.
#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "chart/KVR_AxisMap.h"
#include "chart/KVR_ScaleSettings.h"
#include "chart/KVR_Scale_engine.h"
#include "chart/KVR_Scale_labels.h"
#include "kvrbase/KVR_kvrbase.h"
#include "toolkit/Bitmap.h"

// Canvas is passed by reference: a handler that replaces it redirects the rest of the
// axis's drawing.
using TScaleTickDrawnEvent = std::function<void(QObject* Sender, TCanvas*& Canvas, TScaleType ScaleType,
                                                double CurrentTickPos, int ChartX, int ChartY)>;
using TScaleRenderedEvent = std::function<void(QObject* Sender, TCanvas* Canvas)>;

class TScale : public QWidget, public TComponentBase, private TScaleSettings {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(QString UserTickText READ UserTickText WRITE SetUserTickText)
  Q_PROPERTY(QString ScaleInscript READ ScaleInscript WRITE SetScaleInscript)

public:
  static constexpr int MaxTicks = 50;

  explicit TScale(QWidget* Parent = nullptr);
  ~TScale() override;

  TScaleType ScaleType() const { return ScaleType_; }
  void SetScaleType(TScaleType V);
  double RangeLow() const { return RangeLow_; }
  void SetRangeLow(double V);
  double RangeHigh() const { return RangeHigh_; }
  void SetRangeHigh(double V);
  bool Logarithmic() const { return Logarithmic_; }
  void SetLogarithmic(bool V);
  TFigType LabelType() const { return LabelType_; }
  void SetLabelType(TFigType V);
  int DecPlaces() const { return DecPlaces_; }
  void SetDecPlaces(int V);
  // Number labels with "," instead of "." (languages that write 2,5).
  bool DecimalComma() const { return DecimalComma_; }
  void SetDecimalComma(bool V);
  int MinTicks() const { return MinTicks_; }
  void SetMinTicks(int V);
  int NumTicks() const { return NumTicks_; }
  bool ShortTicks() const { return ShortTicks_; }
  void SetShortTicks(bool V);
  bool ShowBaseLine() const { return ShowBaseLine_; }
  void SetShowBaseLine(bool V);
  bool Transparent() const { return Transparent_; }
  void SetTransparent(bool V);
  QString UserTickText() const { return UserTickText_; }
  void SetUserTickText(const QString& V);
  QString ScaleInscript() const { return ScaleInscript_; }
  void SetScaleInscript(const QString& V);
  QString Caption() const { return Caption_; }
  void SetCaption(const QString& V);
  int CaptionPosX() const { return CaptionPosX_; }
  void SetCaptionPosX(int V);
  int CaptionPosY() const { return CaptionPosY_; }
  void SetCaptionPosY(int V);
  TAlignment CaptionAlignment() const { return CaptionAlignment_; }
  void SetCaptionAlignment(TAlignment V);
  TScaleUnitAnchor CaptionAnchor() const { return CaptionAnchor_; }
  void SetCaptionAnchor(TScaleUnitAnchor V);
  int MarginTop() const { return MarginTop_; }
  void SetMarginTop(int V);
  int MarginBottom() const { return MarginBottom_; }
  void SetMarginBottom(int V);
  int MarginLeft() const { return MarginLeft_; }
  void SetMarginLeft(int V);
  int MarginRight() const { return MarginRight_; }
  void SetMarginRight(int V);
  // Colour of the labels and the caption.
  TColor FontColor() const { return FontColor_; }
  void SetFontColor(TColor V);
  TColor ColorScale() const { return ColorScale_; }
  void SetColorScale(TColor V);
  TColor ColorBackGnd() const { return ColorBackGnd_; }
  void SetColorBackGnd(TColor V);
  TFrameStyle FrameStyle() const { return FrameStyle_; }
  void SetFrameStyle(TFrameStyle V);
  TColorScheme ColorScheme() const { return ColorScheme_; }
  void SetColorScheme(TColorScheme V);
  TDTLabel* DateFormat() const { return DateFormat_.get(); }
  void SetDateFormat(const TDTLabel* V);
  bool Embedded() const { return Embedded_; }
  void SetEmbedded(bool V);
  bool SuspendPaint() const { return SuspendPaint_; }
  void SetSuspendPaint(bool V);
  // The published visibility, kept apart from whether the widget is on screen: an
  // embedded scale is never shown itself but still draws into its chart's image.
  bool Visible() const { return Visible_; }
  void SetVisible(bool V);
  const TFrameColors& FrameColors() const { return Frame_; }
  // The settings an axis shares with the chart's axis properties, as a whole. Setting
  // them applies the rules of the single setters once: finite ends, equal ends a unit
  // apart, the logarithmic refusal, the limits of decimals, ticks and positions.
  const TScaleSettings& Settings() const { return *this; }
  void SetSettings(const TScaleSettings& V);

  // Paints onto Canvas at the offset from now on (nullptr: the own surface).
  void SetTargetCanvas(TCanvas* Canvas, int OffsetX, int OffsetY);
  // A repaint request with SuspendPaint cleared for its duration.
  void PaintNow();
  void Paint();
  void Assign(const TScale& Source);
  void Loaded() override;
  void SetBounds(int Left, int Top, int Width, int Height);

  // The calibration and the tick table of the last drawing. An embedded scale draws along
  // its chart's map (UseMap); otherwise its own map runs between its margins.
  void CalcScaleFactors();
  void UseMap(const TAxisMap* Map) { Map_ = Map ? Map : &OwnMap_; }
  const TAxisMap& Map() const { return *Map_; }
  int ValueToPixel(double Value) const { return Map_->ToPixel(Value); }
  double TickValue(int Index) const;  // 1-based; 0 outside 1..NumTicks
  // The labels of the last drawing in drawing order, for tests and assistive tools.
  const QStringList& Labels() const { return Labels_; }

  // Ticks, labels and caption of an axis whose base line lies at the given coordinate.
  void DrawHorizontalScale(TCanvas* Canvas, int AxisY);
  void DrawVerticalScale(TCanvas* Canvas, int AxisX);

  // The picture of the last paint on the own surface.
  const TBitmap& Surface() const { return Surface_; }

  TScaleTickDrawnEvent OnScaleTickDrawn;
  TScaleRenderedEvent OnBeforeScaleRendered, OnAfterScaleRendered;

protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

private:
  bool Render();  // whether it drew
  // One drawing of one axis: where it is and what the canvas is (a tick handler may
  // swap the canvas).
  struct TAxisPass {
    TCanvas* Canvas;
    bool Horizontal;
    int Axis;  // y of a horizontal, x of a vertical base line
  };
  // How a tick is emitted: its length, whether it enters the tick table, its label and
  // whether the label is written before the report.
  struct TTickSpec {
    int Length = 4;
    bool Record = true;
    const QString* Label = nullptr;
    bool LabelFirst = true;
    const QString* SecondLabel = nullptr;  // one line further out (a date under a time)
  };

  template <class T>
  void StoreIfChanged(T& Field, const T& V);
  template <class T>
  void StoreAndCalibrate(T& Field, const T& V);
  template <class T>
  void ChangeSetting(T TScaleSettings::*Field, const T& V);
  void RepaintRequest();
  void DrawAxis(TAxisPass& Pass);
  void DrawCaption(TAxisPass& Pass);
  void DrawLinearTicks(TAxisPass& Pass);
  QString WithDecimalSeparator(const QString& Label) const;
  void DrawLogTicks(TAxisPass& Pass);
  bool DrawTimeTicks(TAxisPass& Pass);
  void DrawDateTimeTicks(TAxisPass& Pass);
  void DrawClockTicks(TAxisPass& Pass, TClockUnit Unit, double Span);
  void DrawDayTicks(TAxisPass& Pass, double Span);
  void DrawMonthTicks(TAxisPass& Pass, double Span);
  void DrawYearTicks(TAxisPass& Pass, double Span);
  void EmitTick(TAxisPass& Pass, double Value, const TTickSpec& Spec);
  void DrawTickLine(TAxisPass& Pass, int Pixel, int Length);
  void DrawLabel(TAxisPass& Pass, int Pixel, const QString& Text, bool SecondLine = false);
  void DrawMessage(TAxisPass& Pass, const QStringList& Lines);
  void Report(TAxisPass& Pass, double Value, int Pixel);
  void Record(double Value);
  TAxisMap::TSpan AxisSpan() const;
  bool IsHorizontal() const { return ScaleType_ == sctXB || ScaleType_ == sctXT; }

  int NumTicks_ = 0;
  bool ShowBaseLine_ = true, Transparent_ = false;
  int MarginTop_ = 20, MarginBottom_ = 20, MarginLeft_ = 20, MarginRight_ = 20;
  TColor ColorBackGnd_ = clBtnFace, FontColor_ = clBlack;
  TFrameStyle FrameStyle_ = fsLowered;
  TColorScheme ColorScheme_ = csBWG;
  TFrameColors Frame_;
  std::unique_ptr<TDTLabel> DateFormat_;
  TAxisMap OwnMap_;
  const TAxisMap* Map_ = &OwnMap_;
  std::array<double, MaxTicks> Ticks_{};
  QStringList Labels_;
  TLabelStamps LabelStamps_;
  bool SuspendPaint_ = true, Embedded_ = false;
  // Set at construction and cleared by Loaded(): while set, Logarithmic := true is
  // accepted whatever the range. A scale made at run time keeps it.
  bool LoadingFlag_ = true;
  TCanvas* Target_ = nullptr;
  int TargetX_ = 0, TargetY_ = 0;
  TBitmap Surface_;
};
