// Display-list items written straight into the rows of the chart-area image in the
// common case: a 1-pixel solid pen in copy mode on a screen canvas. Every other item
// takes the canvas's general way; both ways give the same pixels, and leave the pen
// position and brush as the general way does.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "toolkit/Canvas.h"

class TItemRaster {
public:
  TItemRaster() = default;
  explicit TItemRaster(TCanvas* Canvas) { Attach(Canvas); }
  // Draws on the canvas's image as it is now: attach again whenever it may have been
  // resized. The marks' stores are kept while the image's rows keep their length.
  void Attach(TCanvas* Canvas);
  // As DrawMark(Canvas, MarkType, X, Y).
  void Mark(uint8_t MarkType, int X, int Y);
  // As MoveTo(X1, Y1), LineTo(X2, Y2).
  void Line(int X1, int Y1, int X2, int Y2);

  static constexpr int MarkShapes = 48;  // higher mark types are characters

private:
  // A traced mark in this image: its bounds, the pen and brush it leaves, and its
  // stores for a mark wholly inside: offsets from its centre of four pixels at once (a
  // run's last four may overlap the one before) and of single pixels, in Offsets_ from
  // First.
  struct TStamp {
    bool Ready = false;
    bool MovesPen = false;
    TBrushStyle BrushAfter = bsSolid;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    QPoint PenAfter;
    uint32_t First = 0, Quads = 0, Singles = 0;
  };

  bool PlainPen() const;
  bool Inside(int64_t X, int64_t Y) const { return X >= 0 && Y >= 0 && X < W_ && Y < H_; }
  void Walk(int X1, int Y1, int X2, int Y2, QRgb Rgb);
  const TStamp& StampOf(int Sprite) { return Stamps_[size_t(Sprite)].Ready ? Stamps_[size_t(Sprite)] : Prepare(Sprite); }
  const TStamp& Prepare(int Sprite);
  void Stamp(const TStamp& S, QRgb* Centre, QRgb Rgb) const;
  void StampClipped(int Sprite, int X, int Y, QRgb Rgb);

  TCanvas* C_ = nullptr;
  QRgb* Bits_ = nullptr;
  qsizetype Stride_ = 0;
  int W_ = 0, H_ = 0;
  // By mark shape and brush style, made on first use.
  std::array<TStamp, 2 * MarkShapes> Stamps_;
  std::vector<qsizetype> Offsets_;
};
