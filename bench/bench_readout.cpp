// Setting a readout's Value (format and paint of a 217 x 25 readout) beside formatting
// the number alone.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "readout/KVR_Readout.h"

namespace {

double NextValue(int64_t I) { return 0.0001 * static_cast<double>(I % 10000); }

void BM_FormatOnly(benchmark::State& State) {
  TReadoutFormat Format;
  Format.Precision = 4;
  int64_t I = 0;
  for (auto _ : State) benchmark::DoNotOptimize(FormatReadoutValue(NextValue(I++), Format));
}
BENCHMARK(BM_FormatOnly);

void BM_SetValue(benchmark::State& State) {
  QWidget Window;
  Window.resize(300, 60);
  auto* R = new TReadout(&Window);
  R->resize(217, 25);
  R->SetPrecision(4);
  R->SetLeftText(QStringLiteral("r\u00B2 ="));
  Window.show();
  int64_t I = 0;
  for (auto _ : State) R->SetValue(NextValue(I++));
}
BENCHMARK(BM_SetValue);

}  // namespace
