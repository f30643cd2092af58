// The residuals of the red line (y on x) and the spread of y around its mean: the two
// sums of squares that make r² = 1 − SSres / SStot, and the chart overlays that show
// them as vertical segments and squares.
#pragma once

#include "app/PointCloud.h"
#include "toolkit/Color.h"

class TCustomPlotter;

struct TSumsOfSquares {
  double Residual = 0;  // SSres: the squared distances of the points from the line
  double Total = 0;     // SStot: the squared distances of the points from the mean of y
  double MeanY = 0;
};

// The sums for the line y = Slope · x + Intercept, each term in extended precision.
TSumsOfSquares SumsOfSquares(const TPointCloud& Points, double Slope, double Intercept);

// What the chart shows beside the points and the regression lines.
struct TOverlays {
  bool Residuals = false, Squares = false, MeanSquares = false;
  bool operator==(const TOverlays&) const = default;
};

// A vertical segment from each point to the line y = Slope · x + Intercept.
void AddResiduals(TCustomPlotter& Chart, const TPointCloud& Points, double Slope, double Intercept);
// On each point's vertical distance from the line, a square whose side is that distance
// in the chart's pixels (layer 1, whose transform must be current), so it stays square
// whatever the scales. It lies on the side where the line falls away from the point, so
// it does not cross the line; outlined in Color and filled with it at FillOpacity.
void AddSquares(TCustomPlotter& Chart, const TPointCloud& Points, double Slope, double Intercept, TColor Color,
                uint8_t FillOpacity);
