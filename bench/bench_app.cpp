// One rotate step of the program: the scroll bar's position through UpdateDisplay and
// the chart's synchronous redraw.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/uswivel.h"

namespace {

void BM_RotateStep(benchmark::State& State) {
  TForm1 Form;
  Form.SetSeed(1);
  Form.show();
  int Position = 0;
  for (auto _ : State) Form.SBarRotate->SetPosition(Position = (Position + 1) % 3600);
}
BENCHMARK(BM_RotateStep)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
