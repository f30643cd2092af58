// The drawing surface of every control: pen, brush and font over a QImage, with all
// geometry rasterised by our own integer code so that results are exact. A line omits
// its end pixel; a rectangle or ellipse (x1, y1, x2, y2) covers x1..x2-1, y1..y2-1.
// The canvas does not own its image.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <span>
#include <vector>

#include "toolkit/Color.h"

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : uint8_t { pmCopy, pmXor };
enum TBrushStyle : uint8_t { bsSolid, bsClear };

// Inclusive pixel bounds, wide enough for any pair of int coordinates.
struct TPixelBox {
  int64_t Left, Top, Right, Bottom;
  bool Empty() const { return Left > Right || Top > Bottom; }
  // The pixels a shape given by the corners (x1, y1, x2, y2) covers: x1..x2-1, y1..y2-1.
  static TPixelBox OfCorners(int X1, int Y1, int X2, int Y2);
};

class TPen {
public:
  TColor Color() const { return Color_; }
  void SetColor(TColor Value) { Color_ = Value; }
  int Width() const { return Width_; }
  void SetWidth(int Value) { Width_ = Value < 1 ? 1 : Value; }
  TPenStyle Style() const { return Style_; }
  void SetStyle(TPenStyle Value) { Style_ = Value; }
  TPenMode Mode() const { return Mode_; }
  void SetMode(TPenMode Value) { Mode_ = Value; }

private:
  TColor Color_ = clBlack;
  int Width_ = 1;
  TPenStyle Style_ = psSolid;
  TPenMode Mode_ = pmCopy;
};

class TBrush {
public:
  TColor Color() const { return Color_; }
  void SetColor(TColor Value) { Color_ = Value; }
  TBrushStyle Style() const { return Style_; }
  void SetStyle(TBrushStyle Value) { Style_ = Value; }

private:
  TColor Color_ = clWhite;
  TBrushStyle Style_ = bsSolid;
};

class TCanvas {
public:
  explicit TCanvas(QImage* Target = nullptr);
  void SetTarget(QImage* Target) { Image_ = Target; }
  QImage* Target() const { return Image_; }

  TPen* Pen() { return &Pen_; }
  TBrush* Brush() { return &Brush_; }
  QFont& Font() { return Font_; }
  // Text colour; text is the only thing drawn in it.
  TColor FontColor() const { return FontColor_; }
  void SetFontColor(TColor Value) { FontColor_ = Value; }

  QPoint PenPos() const { return PenPos_; }
  bool IsPrinter() const { return Printer_; }
  void SetPrinter(bool Value) { Printer_ = Value; }
  int Width() const { return Image_ ? Image_->width() : 0; }
  int Height() const { return Image_ ? Image_->height() : 0; }

  TColor Pixel(int X, int Y) const;  // -1 outside the image
  void SetPixel(int X, int Y, TColor Color);

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(std::span<const QPoint> Points);
  void Polyline(const std::vector<QPoint>& Points) { Polyline(std::span<const QPoint>(Points)); }
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void FillRect(int X1, int Y1, int X2, int Y2);
  // Lays the brush colour over the box at Opacity (0 leaves the image, 255 covers it),
  // each channel rounded to nearest; the pen mode does not apply.
  void BlendRect(int X1, int Y1, int X2, int Y2, uint8_t Opacity);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Polygon(std::span<const QPoint> Points);
  void Polygon(const std::vector<QPoint>& Points) { Polygon(std::span<const QPoint>(Points)); }

  int TextWidth(const QString& Text);
  int TextHeight(const QString& Text);
  // Writes with the top-left corner at (X, Y); a solid brush fills the text cell first.
  void TextOut(int X, int Y, const QString& Text);
  // Fills Clip with the brush and writes the text at (X, Y), clipped to Clip.
  void TextRect(const QRect& Clip, int X, int Y, const QString& Text);

  void Draw(int X, int Y, const QImage& Image);
  void StretchDraw(const QRect& Target, const QImage& Image);
  void CopyRect(const QRect& Dest, const QImage& Source, const QRect& SourceRect);

private:
  class TMask;
  bool HasImage() const { return Image_ && !Image_->isNull(); }
  bool InImage(int X, int Y) const { return X >= 0 && Y >= 0 && X < ImageW_ && Y < ImageH_; }
  bool Begin();
  bool PenVisible() const { return Pen_.Style() != psClear; }
  // Dash patterns apply to 1-pixel pens only; wider pens draw solid.
  bool Dashed() const { return Pen_.Width() == 1 && Pen_.Style() >= psDash && Pen_.Style() <= psDashDotDot; }
  bool PatternOn(int64_t Step) const;
  void Put(int X, int Y, QRgb Rgb);
  TPixelBox OnImage(const TPixelBox& Box) const;  // the part of Box on the image, after Begin()
  void Block(int64_t X1, int64_t Y1, int64_t X2, int64_t Y2, QRgb Rgb);  // inclusive, clipped
  void StrokeTo(int X, int Y);  // LineTo after Begin()
  void StrokeLine(int X1, int Y1, int X2, int Y2);
  void FrameRing(const TPixelBox& Box, QRgb Rgb);
  void OutlinedBox(const TPixelBox& Box, QRgb Pen, QRgb Brush);
  TPixelBox PenBox(const TPixelBox& Box) const;
  QRect Reach(const TPixelBox& Box, int PenWidth) const;
  void ApplyMask(const TMask& Mask);

  QImage* Image_;
  QRgb* Bits_ = nullptr;  // valid during one primitive, see Begin()
  qsizetype Stride_ = 0;
  int ImageW_ = 0, ImageH_ = 0;
  TPen Pen_;
  TBrush Brush_;
  QFont Font_;
  TColor FontColor_ = clBlack;
  QPoint PenPos_;
  int64_t StylePhase_ = 0;  // dash pattern position, continued along a path
  bool Printer_ = false;
};
