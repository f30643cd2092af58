// Display-list items written straight into the rows of the chart-area image in the
// common case: a 1-pixel solid pen in copy mode, and an item wholly inside the image.
// Every other item takes the canvas's general way; both ways give the same pixels, and
// leave the pen position and brush as the general way does.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "toolkit/Canvas.h"

class TItemRaster {
public:
  explicit TItemRaster(TCanvas* Canvas);
  // As DrawMark(Canvas, MarkType, X, Y).
  void Mark(uint8_t MarkType, int X, int Y);
  // As MoveTo(X1, Y1), LineTo(X2, Y2).
  void Line(int X1, int Y1, int X2, int Y2);

  static constexpr int MarkShapes = 48;  // higher mark types are characters

private:
  bool PlainPen() const;
  bool Inside(int64_t X, int64_t Y) const { return X >= 0 && Y >= 0 && X < W_ && Y < H_; }
  void Walk(int X1, int Y1, int X2, int Y2, QRgb Rgb);
  // The pixels of a traced mark as offsets from its centre in this image's rows.
  const std::vector<qsizetype>& OffsetsOf(int Sprite);

  TCanvas* C_;
  QRgb* Bits_ = nullptr;
  qsizetype Stride_ = 0;
  int W_ = 0, H_ = 0;
  // By mark shape and brush style, filled on first use.
  std::array<std::vector<qsizetype>, 2 * MarkShapes> Offsets_;
};
