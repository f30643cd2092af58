#include "app/Residuals.h"

#include <algorithm>
#include <cstdlib>

#include "chart/KVR_plotter.h"

TSumsOfSquares SumsOfSquares(const TPointCloud& Points, double Slope, double Intercept) {
  long double Sum = 0;
  for (const TDataPoint& P : Points) Sum += P.Y;
  const long double Mean = Sum / Points.size();
  long double Residual = 0, Total = 0;
  for (const TDataPoint& P : Points) {
    const long double R = P.Y - (static_cast<long double>(Slope) * P.X + Intercept), T = P.Y - Mean;
    Residual += R * R;
    Total += T * T;
  }
  return {static_cast<double>(Residual), static_cast<double>(Total), static_cast<double>(Mean)};
}

void AddResiduals(TCustomPlotter& Chart, const TPointCloud& Points, double Slope, double Intercept) {
  for (const TDataPoint& P : Points) Chart.AddLine(P.X, P.Y, P.X, Slope * P.X + Intercept);
}

void AddSquares(TCustomPlotter& Chart, const TPointCloud& Points, double Slope, double Intercept, TColor Color,
                uint8_t FillOpacity) {
  Chart.SetDataColor(Color);
  for (const TDataPoint& P : Points) {
    const double OnLine = Slope * P.X + Intercept;
    int PX, PY, LineX, LineY;
    Chart.WorldToPixel(1, P.X, P.Y, PX, PY);
    Chart.WorldToPixel(1, P.X, OnLine, LineX, LineY);
    // A side beyond any control shows as the whole width either way; limited, the
    // columns below stay in the int range.
    const int Side = static_cast<int>(std::min<long long>(std::llabs(static_cast<long long>(PY) - LineY), PixelLimit));
    const int Column = LimitPixels(PX);
    // Either way the square shares the residual's pixel column.
    const bool Left = (P.Y > OnLine) == (Slope > 0);
    const int From = Left ? Column + 1 - Side : Column;
    double X1, X2, Unused;
    Chart.PixelToWorld(1, From, PY, X1, Unused);
    Chart.PixelToWorld(1, From + Side, PY, X2, Unused);
    Chart.AddRectangle(X1, P.Y, X2, OnLine, FillOpacity);
  }
}
