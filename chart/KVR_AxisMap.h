// TAxisMap: the one mapping between the values of an axis and pixels along it. The
// chart keeps one per layer and axis and its items, grid, mouse and embedded scales all
// read it, so a grid line lies on its tick; a stand-alone scale keeps its own.
#pragma once

#include <cmath>
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
  // low end. The same pixel as ExactPixel, but in double precision where the result
  // lies clearly inside one pixel, which is all but never near a pixel's edge.
  int ToPixel(double Value) const;
  // The rule itself, in extended precision, for every value.
  int ExactPixel(double Value) const;
  double ToWorld(int Pixel) const;
  // A range recorded at a drag's start, moved by Pixels (rightwards or downwards) so
  // that the content follows the mouse; Low and High, the current range, give a pixel's
  // worth. An axis without pixels does not move.
  std::pair<double, double> Dragged(double Low, double High, double RecordedLow, double RecordedHigh,
                                    int Pixels) const;

private:
  // Adding and taking away 1.5 * 2^52 rounds to an integer in the default mode (to
  // nearest, ties to even) for every value of less than 2^51, without a library call.
  static constexpr double RoundingShift = 6755399441055744.0;
  static int RoundPixel(long double Value);
  void SetFactors(long double K, long double D);

  long double K_ = 0, D_ = 0;
  // K_ and D_ as doubles, for ToPixel's short way, and how near a half pixel its result
  // may lie (none before the first calibration).
  double KShort_ = 0, DShort_ = 0, ShortLimit_ = 0;
  bool Logarithmic_ = false;  // of the range the factors were made for
  int Unshown_ = 0;           // the pixel of values a logarithmic axis cannot show
  TSpan Span_{0, 0, 0, false};
};

// Inline: the display list maps two values for each of its items. The result y = K u + D
// in doubles is off the extended-precision one by less than 2^-48 (|K u| + |D|): a few
// roundings of 2^-53 each (D, the product, the sum, the exact way's last one to double;
// K's is 2^-49 at worst, where it is subnormal) and the logarithm's own, about an ulp in
// either precision. For |y| < 2^30 that is less than a 32nd of the margin SetFactors
// keeps from every half pixel; inside it, both ways round to the same pixel.
inline int TAxisMap::ToPixel(double Value) const {
  double U = Value;
  if (Logarithmic_) {
    if (!(Value > 1e-100)) return Unshown_;
    U = std::log(Value);
  }
  const double Y = KShort_ * U + DShort_;
  const double Nearest = (Y + RoundingShift) - RoundingShift;
  // Every comparison with NaN fails: NaN and infinities take the exact way.
  if (std::fabs(Y) < 0x1p30 && std::fabs(Y - Nearest) < ShortLimit_) return static_cast<int>(Nearest);
  return ExactPixel(Value);
}
