// The fit's per-redraw work (reset, 15 pairs, line) and AddPair alone, each beside a
// baseline that accumulates only the five sums the line needs. A counting operator new
// reports the allocations per AddPair (only growth of the pair store may allocate).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "stats/KVR_math2.h"

namespace {
std::atomic<int64_t> Allocations{0};
}

void* operator new(size_t Size) {
  ++Allocations;
  if (void* P = std::malloc(Size ? Size : 1)) return P;
  throw std::bad_alloc();
}
void operator delete(void* P) noexcept { std::free(P); }
void operator delete(void* P, size_t) noexcept { std::free(P); }

namespace {

std::vector<std::pair<double, double>> Cloud() {
  std::mt19937 Gen(1);
  std::uniform_real_distribution<double> U(0, 1);
  std::vector<std::pair<double, double>> Points;
  for (int I = 0; I < 15; ++I) {
    const double X = U(Gen) * 10 - 5;
    Points.push_back({X, U(Gen) * 4 + X - 2});
  }
  return Points;
}

// The five sums and the line, nothing else.
struct TBaseline {
  double N = 0, X = 0, Y = 0, XX = 0, XY = 0;
  void Add(double Px, double Py) { N += 1, X += Px, Y += Py, XX += Px * Px, XY += Px * Py; }
  double Slope() const { return (N * XY - X * Y) / (N * XX - X * X); }
};

void BM_RedrawFit(benchmark::State& State) {
  const auto Points = Cloud();
  TCurveFit Fit;
  double K, D, Q;
  for (auto _ : State) {
    Fit.ResetStats();
    for (auto [X, Y] : Points) Fit.AddPair(X, Y);
    Fit.CalcLinFit(K, D, Q);
    benchmark::DoNotOptimize(Q);
  }
}
BENCHMARK(BM_RedrawFit);

void BM_RedrawBaseline(benchmark::State& State) {
  const auto Points = Cloud();
  for (auto _ : State) {
    TBaseline B;
    for (auto [X, Y] : Points) B.Add(X, Y);
    benchmark::DoNotOptimize(B.Slope());
  }
}
BENCHMARK(BM_RedrawBaseline);

void BM_AddPair(benchmark::State& State) {
  const auto Points = Cloud();
  TCurveFit Fit;
  size_t I = 0;
  int64_t Pairs = 0;
  const int64_t Before = Allocations;
  for (auto _ : State) {
    // Reset before the store would grow, so the count shows AddPair alone.
    if (++Pairs == 1000) Fit.ResetStats(), Pairs = 1;
    Fit.AddPair(Points[I].first, Points[I].second);
    I = (I + 1) % Points.size();
  }
  State.counters["allocs_per_pair"] = double(Allocations - Before) / double(State.iterations());
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_AddPair);

void BM_AddPairBaseline(benchmark::State& State) {
  const auto Points = Cloud();
  TBaseline B;
  size_t I = 0;
  for (auto _ : State) {
    B.Add(Points[I].first, Points[I].second);
    benchmark::DoNotOptimize(B);
    I = (I + 1) % Points.size();
  }
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_AddPairBaseline);

}  // namespace

BENCHMARK_MAIN();
