// The base unit of the component library: the enumerations several controls share, the
// exception base, the data-mark shapes (DrawMark) and the bevelled frame (DrawFrame).
#pragma once

#include <QFont>
#include <QObject>
#include <cstdint>
#include <stdexcept>

#include "toolkit/Canvas.h"
#include "toolkit/Component.h"
#include "toolkit/Controls.h"

enum TFrameStyle : uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
enum TColorScheme : uint8_t { csBWG, csSystem };
enum TFigType : uint8_t { ftNoFigs, ftNum, ftTime, ftDateTime, ftUserText };
enum TScaleType : uint8_t { sctXB, sctXT, sctYL, sctYR };
enum TCrossHMode : uint8_t { chOff, chHoriz, chVert, chBoth };
enum TTimeFormat : uint8_t { tfHHMMSS, tfHHhMM, tfAMPM };
enum TYearLength : uint8_t { ylNone, ylYY, ylYYYY };
enum TDateOrder : uint8_t { doMMDDYY, doDDMMYY, doYYMMDD };
enum TDateForTime : uint8_t { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };
enum TTxtLblAttachMode : uint8_t { tlamNone, tlamXOnly, tlamYOnly, tlamBoth };
enum TTxtLblMode : uint8_t { tlOff, tlsimple, tlBox, tlUnderline, tlShadow };
enum TVerticalAlignment : uint8_t { vaTop, vaCenter, vaBottom };

// Pixel distances (margins, offsets, caption positions) are limited to the largest
// control size, +-(2^24 - 1), so that sums of a few of them never overflow an int.
constexpr int PixelLimit = (1 << 24) - 1;
inline int LimitPixels(int V) { return V < -PixelLimit ? -PixelLimit : V > PixelLimit ? PixelLimit : V; }

class EKVRError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Draws the data mark MarkType centred on (X, Y) with the canvas's pen: types 0..47 are
// shapes, 48..255 the character of that code. Eight pattern shapes are stamped on the
// screen and drawn as lines on a printer canvas.
void DrawMark(TCanvas* Canvas, uint8_t MarkType, int X, int Y);

// The frame colours of a bevelled frame; silver is fixed.
struct TFrameColors {
  TColor Dark = clBlack;
  TColor Shadow = clGray;
  TColor Highlight = clWhite;
};

// Draws a frame of Style on the inclusive rectangle Left..Right, Top..Bottom with a
// 1-pixel solid pen; the pen is restored afterwards.
void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
               const TFrameColors& Colors);

// The property objects below report every change through OnChange (a setting to the
// value it has is none); their owners bind it to a repaint or a change of their own.
// Positions that are not finite are refused.

// One crosshair of a chart: a horizontal and/or vertical line through a world position.
class TCrossHair : public QObject {
  Q_OBJECT

public:
  explicit TCrossHair(QObject* Parent = nullptr) : QObject(Parent) {}

  double PosX() const { return PosX_; }
  void SetPosX(double V);
  double PosY() const { return PosY_; }
  void SetPosY(double V);
  TColor Color() const { return Color_; }
  void SetColor(TColor V);
  TCrossHMode Mode() const { return Mode_; }
  void SetMode(TCrossHMode V);
  TPenStyle LineType() const { return LineType_; }
  void SetLineType(TPenStyle V);
  int LineWid() const { return LineWid_; }
  void SetLineWid(int V);
  int Layer() const { return Layer_; }
  void SetLayer(int V);  // limited to 1..16

  TNotifyEvent OnChange;

private:
  template <class T>
  void Store(T& Field, const T& V);
  double PosX_ = 0, PosY_ = 0;
  TColor Color_ = clBlack;
  TCrossHMode Mode_ = chOff;
  TPenStyle LineType_ = psSolid;
  int LineWid_ = 0;
  int Layer_ = 0;
};

// The format of date and time labels of a scale.
class TDTLabel : public QObject {
  Q_OBJECT

public:
  explicit TDTLabel(QObject* Parent = nullptr) : QObject(Parent) {}

  TTimeFormat TimeFormat() const { return TimeFormat_; }
  void SetTimeFormat(TTimeFormat V);
  char DateSeparator() const { return DateSeparator_; }
  void SetDateSeparator(char V);
  char TimeSeparator() const { return TimeSeparator_; }
  void SetTimeSeparator(char V);
  TYearLength YearLength() const { return YearLength_; }
  void SetYearLength(TYearLength V);
  bool MonthName() const { return MonthName_; }
  void SetMonthName(bool V);
  TDateOrder DateOrder() const { return DateOrder_; }
  void SetDateOrder(TDateOrder V);
  TDateForTime DateForTime() const { return DateForTime_; }
  void SetDateForTime(TDateForTime V);

  // The settings every scale starts with: tfHHMMSS, "-", ":", ylYYYY, month names,
  // dtOnePerDay, doDDMMYY.
  void SetScaleDefaults();
  // Takes over every setting of Source (each setter notifies as usual).
  void Assign(const TDTLabel& Source);

  TNotifyEvent OnChange;

private:
  template <class T>
  void Store(T& Field, const T& V);
  TTimeFormat TimeFormat_ = tfHHMMSS;
  char DateSeparator_ = 0, TimeSeparator_ = 0;
  TYearLength YearLength_ = ylNone;
  bool MonthName_ = false;
  TDateOrder DateOrder_ = doMMDDYY;
  TDateForTime DateForTime_ = dtNone;
};

// A text placed in a chart area, anchored in pixels or world units.
class TCustomTextLabel : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
  explicit TCustomTextLabel(QObject* Parent = nullptr);

  double PosX() const { return PosX_; }
  void SetPosX(double V);
  double PosY() const { return PosY_; }
  void SetPosY(double V);
  int Layer() const { return Layer_; }
  void SetLayer(int V);  // outside 1..16 ignored
  TTxtLblAttachMode AttachToData() const { return AttachToData_; }
  void SetAttachToData(TTxtLblAttachMode V);
  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment V);
  TVerticalAlignment VerticalAlignment() const { return VerticalAlignment_; }
  void SetVerticalAlignment(TVerticalAlignment V);
  TColor ColorBkg() const { return ColorBkg_; }
  void SetColorBkg(TColor V);
  TColor ColorBorder() const { return ColorBorder_; }
  void SetColorBorder(TColor V);
  TColor ColorShadow() const { return ColorShadow_; }
  void SetColorShadow(TColor V);
  int ShadowDx() const { return ShadowDx_; }
  void SetShadowDx(int V);
  int ShadowDy() const { return ShadowDy_; }
  void SetShadowDy(int V);
  bool Transparent() const { return Transparent_; }
  void SetTransparent(bool V);
  const QFont& Font() const { return Font_; }
  void SetFont(const QFont& V);
  QString Caption() const { return Caption_; }
  void SetCaption(const QString& V);
  TTxtLblMode Mode() const { return Mode_; }
  void SetMode(TTxtLblMode V);
  bool Visible() const { return Visible_; }
  void SetVisible(bool V);

  TNotifyEvent OnChange;

private:
  template <class T>
  void Store(T& Field, const T& V);
  double PosX_ = 100, PosY_ = 10;
  int Layer_ = 1;
  TTxtLblAttachMode AttachToData_ = tlamNone;
  TAlignment Alignment_ = taCenter;
  TVerticalAlignment VerticalAlignment_ = vaBottom;
  TColor ColorBkg_ = clSilver, ColorBorder_ = clBlack, ColorShadow_ = clGray;
  int ShadowDx_ = 0, ShadowDy_ = 0;
  bool Transparent_ = false;
  QFont Font_;
  QString Caption_;
  TTxtLblMode Mode_ = tlsimple;
  bool Visible_ = true;
};

class TTextLabel : public TCustomTextLabel {
  Q_OBJECT

public:
  using TCustomTextLabel::TCustomTextLabel;
};
