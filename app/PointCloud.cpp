#include "app/PointCloud.h"

#include <cmath>
#include <numbers>

namespace {

// Uniform in [0, 1): the top 53 bits of the generator.
double UniformDraw(std::mt19937_64& Random) { return static_cast<double>(Random() >> 11) * 0x1.0p-53; }

}  // namespace

TPointCloud GenerateCloud(std::mt19937_64& Random) {
  TPointCloud Points;
  for (TDataPoint& P : Points) {
    P.X = UniformDraw(Random) * 10 - 5;
    P.Y = UniformDraw(Random) * 4 + P.X - 2;
  }
  return Points;
}

TPointCloud RotateCloud(const TPointCloud& Points, int Position) {
  const double Theta = static_cast<double>(Position / 3600.0L * 2 * std::numbers::pi_v<long double>);
  const long double C = std::cos(static_cast<long double>(Theta)), S = std::sin(static_cast<long double>(Theta));
  TPointCloud Turned;
  for (size_t I = 0; I < Points.size(); ++I) {
    Turned[I].X = static_cast<double>(C * Points[I].X + S * Points[I].Y);
    Turned[I].Y = static_cast<double>(C * Points[I].Y - S * Points[I].X);
  }
  return Turned;
}
