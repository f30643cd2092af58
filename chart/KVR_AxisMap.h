// TAxisMap: the one mapping between the values of an axis and pixels along it. The
// chart keeps one per layer and axis and its items, grid, mouse and embedded scales all
// read it, so a grid line lies on its tick; a stand-alone scale keeps its own.
#pragma once

#include <utility>

class TAxisMap {
public:
  // The pixels of an axis on a control Size pixels long: low values lie at First, high
  // ones at Last, which is right of First on a horizontal axis and above it on a
  // vertical one.
  struct TSpan {
    int First, Last, Size;
    bool Vertical;
    int Extent() const { return Vertical ? First - Last : Last - First; }
  };

  // Maps Low to Span.First and High to Span.Last, in extended precision. A range that
  // cannot be mapped (empty, non-finite, or a logarithmic end <= 0) keeps the previous
  // mapping; an axis without pixels maps every value to the control's middle.
  void Calibrate(const TSpan& Span, double Low, double High, bool Logarithmic);
  // Rounded to the nearest pixel, ties to even, limited to the int range; NaN lies far
  // off-screen. Values a logarithmic axis cannot show go to the control's edge at its
  // low end.
  int ToPixel(double Value) const;
  double ToWorld(int Pixel) const;
  // A range recorded at a drag's start, moved by Pixels (rightwards or downwards) so
  // that the content follows the mouse; Low and High, the current range, give a pixel's
  // worth. An axis without pixels does not move.
  std::pair<double, double> Dragged(double Low, double High, double RecordedLow, double RecordedHigh,
                                    int Pixels) const;

private:
  long double K_ = 0, D_ = 0;
  bool Logarithmic_ = false;  // of the range the factors were made for
  int Unshown_ = 0;           // the pixel of values a logarithmic axis cannot show
  TSpan Span_{0, 0, 0, false};
};
