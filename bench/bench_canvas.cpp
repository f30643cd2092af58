// The canvas with shapes whose corners lie near the ends of the int range: clipping
// before the walk keeps their cost to the visible pixels of a 50 x 50 image.
#include <benchmark/benchmark.h>

#include <climits>

#include "toolkit/Bitmap.h"

namespace {

void BM_FarShapesClipped(benchmark::State& State) {
  TBitmap B(50, 50);
  TCanvas* C = B.Canvas();
  C->Brush()->SetStyle(bsClear);
  for (auto _ : State) {
    C->MoveTo(-2000000000, -2000000000);
    C->LineTo(2000000000, 2000000000);
    C->MoveTo(INT_MIN, 25);
    C->LineTo(INT_MAX, 25);
    C->MoveTo(INT_MAX, INT_MIN);
    C->LineTo(INT_MIN, INT_MAX);
    C->Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    C->Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
    C->Polygon({{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}});
    benchmark::DoNotOptimize(B.Image().constBits());
  }
}
BENCHMARK(BM_FarShapesClipped)->Unit(benchmark::kMicrosecond);

// The baseline: one visible diagonal of the same image.
void BM_VisibleDiagonal(benchmark::State& State) {
  TBitmap B(50, 50);
  TCanvas* C = B.Canvas();
  for (auto _ : State) {
    C->MoveTo(0, 0);
    C->LineTo(50, 50);
    benchmark::DoNotOptimize(B.Image().constBits());
  }
}
BENCHMARK(BM_VisibleDiagonal)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
