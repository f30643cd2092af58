// Data marks and 1-pixel lines on a 361 x 281 canvas, against a raw loop that writes
// the same 24 pixels per mark into a plain buffer (the baseline).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "kvrbase/KVR_kvrbase.h"
#include "toolkit/Bitmap.h"

namespace {

constexpr int W = 361, H = 281;

// Mark centres spread over the canvas, 3 pixels from every edge.
int CentreX(int64_t I) { return 3 + static_cast<int>(I * 37 % (W - 6)); }
int CentreY(int64_t I) { return 3 + static_cast<int>(I * 53 % (H - 6)); }

void BM_RawSquareLoop(benchmark::State& State) {
  std::vector<uint32_t> Buffer(W * H);
  int64_t I = 0;
  for (auto _ : State) {
    const int X = CentreX(I), Y = CentreY(I);
    ++I;
    uint32_t* Top = &Buffer[(Y - 3) * W];
    uint32_t* Bottom = &Buffer[(Y + 3) * W];
    for (int D = -3; D <= 3; ++D) Top[X + D] = Bottom[X + D] = 0xFF000000u;
    for (int D = -2; D <= 2; ++D) Buffer[(Y + D) * W + X - 3] = Buffer[(Y + D) * W + X + 3] = 0xFF000000u;
    benchmark::DoNotOptimize(Buffer.data());
  }
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_RawSquareLoop);

void BM_DrawMarkOpenSquare(benchmark::State& State) {
  TBitmap Bitmap(W, H);
  int64_t I = 0;
  for (auto _ : State) {
    DrawMark(Bitmap.Canvas(), 12, CentreX(I), CentreY(I));
    ++I;
  }
  benchmark::DoNotOptimize(Bitmap.Image().constBits());
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_DrawMarkOpenSquare);

// Lines from the left edge to the right edge at varying slopes: 360 pixels each.
void BM_LineAcross(benchmark::State& State) {
  TBitmap Bitmap(W, H);
  TCanvas* C = Bitmap.Canvas();
  int64_t I = 0;
  for (auto _ : State) {
    C->MoveTo(0, static_cast<int>(I % H));
    C->LineTo(W - 1, static_cast<int>((I * 7) % H));
    ++I;
  }
  State.SetItemsProcessed(State.iterations() * (W - 1));
}
BENCHMARK(BM_LineAcross);

}  // namespace

BENCHMARK_MAIN();
