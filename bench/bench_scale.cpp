// The program's two numeric axes (-15..15 horizontal, -11..11 vertical) drawn into a
// 361 x 281 canvas, beside the tick computation alone.
#include <benchmark/benchmark.h>

#include "chart/KVR_Scale.h"
#include "chart/KVR_Scale_engine.h"

namespace {

// A scale that draws into a bitmap, as the chart uses its axes.
struct TAxis {
  TBitmap Image{361, 281};
  TScale Scale;
  TAxis(TScaleType Type, double Low, double High) {
    Scale.SetEmbedded(true);
    Scale.SetTargetCanvas(Image.Canvas(), 0, 0);
    Scale.SetTransparent(true);
    Scale.SetBounds(0, 0, 361, 281);
    Scale.SetScaleType(Type);
    Scale.SetRangeLow(Low);
    Scale.SetRangeHigh(High);
  }
};

void BM_DrawAxis(benchmark::State& State) {
  const bool Horizontal = State.range(0) == 0;
  TAxis A(Horizontal ? sctXT : sctYR, Horizontal ? -15 : -11, Horizontal ? 15 : 11);
  for (auto _ : State) A.Scale.PaintNow();
}
BENCHMARK(BM_DrawAxis)->Arg(0)->Arg(1);

void BM_TickComputationOnly(benchmark::State& State) {
  const double High = State.range(0) == 0 ? 15 : 11;
  for (auto _ : State) {
    const TTickSteps S = CalcTickSteps(3, -High, High);
    benchmark::DoNotOptimize(S);
    for (int I = 0; S.First - S.Step + I * S.Step / S.NumMinor <= High; ++I) benchmark::DoNotOptimize(I);
    benchmark::DoNotOptimize(LinearDecPlaces(-2, -High, High));
  }
}
BENCHMARK(BM_TickComputationOnly)->Arg(0)->Arg(1);

}  // namespace
