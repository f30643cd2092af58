// The axis map: calibration, both directions of the mapping, and the drag of a range.
#include "chart/KVR_AxisMap.h"

#include <algorithm>
#include <cmath>

// Stored as a double, limited, ties to even; NaN goes far off-screen.
int TAxisMap::RoundPixel(long double Value) {
  const double V = static_cast<double>(Value);
  if (std::isnan(V)) return -2147483647;
  const double Limited = std::clamp(V, -2147483647.0, 2147483647.0);
  return static_cast<int>((Limited + RoundingShift) - RoundingShift);
}

void TAxisMap::Calibrate(const TSpan& Span, double RangeLow, double RangeHigh, bool Logarithmic) {
  Span_ = Span;
  if (Span.Extent() <= 0) {
    SetFactors(0, Span.Size / 2.0L);
    Logarithmic_ = false, Unshown_ = 0;
    return;
  }
  long double Low = RangeLow, High = RangeHigh;
  if (Logarithmic) {
    if (Low <= 0 || High <= 0) return;
    Low = std::log(Low);
    High = std::log(High);
  }
  if (High == Low || !std::isfinite(High - Low)) return;
  const long double K = (Span.Last - Span.First) / (High - Low);
  const long double D = (Span.First * High - Span.Last * Low) / (High - Low);
  if (!std::isfinite(K) || !std::isfinite(D)) return;
  // The kind of mapping changes only together with the factors it was made for.
  const bool Reversed = RangeHigh < RangeLow;
  SetFactors(K, D);
  Logarithmic_ = Logarithmic;
  Unshown_ = Span.Vertical != Reversed ? Span.Size : 0;
}

// A factor beyond the double range becomes infinite and sends every value the exact
// way. K is at least 2^-1025 (a pixel over twice the largest double), where a double
// still keeps 49 bits. For |y| < 2^30, |K u| + |D| < 2^30 + 2 |D|; 2^-1000 stands for
// the subnormals' fixed error.
void TAxisMap::SetFactors(long double K, long double D) {
  K_ = K, D_ = D;
  KShort_ = static_cast<double>(K), DShort_ = static_cast<double>(D);
  ShortLimit_ = 0.5 - ((0x1p30 + 2 * std::fabs(DShort_)) * 0x1p-43 + 0x1p-1000);
}

int TAxisMap::ExactPixel(double Value) const {
  if (!Logarithmic_) return RoundPixel(K_ * Value + D_);
  if (Value > 1e-100) return RoundPixel(K_ * std::log(static_cast<long double>(Value)) + D_);
  return Unshown_;
}

double TAxisMap::ToWorld(int Pixel) const {
  const long double U = (Pixel - D_) / K_;
  return static_cast<double>(Logarithmic_ ? std::exp(U) : U);
}

std::pair<double, double> TAxisMap::Dragged(double Low, double High, double RecordedLow, double RecordedHigh,
                                            int Pixels) const {
  const int Extent = Span_.Extent();
  if (Extent <= 0) return {Low, High};
  // Values rise rightwards and upwards: a drag right lowers the range, a drag down raises it.
  const int Along = Span_.Vertical ? Pixels : -Pixels;
  if (Logarithmic_) {
    const double F = std::exp(std::log(High / Low) * Along / Extent);
    return {RecordedLow * F, RecordedHigh * F};
  }
  const double S = (High - Low) * Along / Extent;
  return {RecordedLow + S, RecordedHigh + S};
}
