// One rotate step of the program: the scroll bar's position through UpdateDisplay and
// the chart's synchronous redraw; and that redraw alone, to tell the chart's share.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/uswivel.h"

namespace {

// The main window shown with the program's own texts and the cloud of seed 1.
struct TShownForm {
  TForm1 Form{TStartMode{true, QStringLiteral(SWIVEL_DICTIONARY)}};
  TShownForm() {
    Form.SetSeed(1);
    Form.show();
  }
};

void RotateSteps(benchmark::State& State, const TOverlays& Overlays) {
  TShownForm S;
  S.Form.SetOverlays(Overlays);
  int Position = 0;
  for (auto _ : State) S.Form.SBarRotate->SetPosition(Position = (Position + 1) % 3600);
}

void BM_RotateStep(benchmark::State& State) { RotateSteps(State, {}); }
BENCHMARK(BM_RotateStep)->Repetitions(5)->ReportAggregatesOnly(true);

// With every overlay: the chart's caption, which gives the sums of squares, changes too.
void BM_RotateStepWithOverlays(benchmark::State& State) { RotateSteps(State, {true, true, true}); }
BENCHMARK(BM_RotateStepWithOverlays)->Repetitions(5)->ReportAggregatesOnly(true);

// The chart's part of a rotate step: the same display list drawn again by Redisplay.
void BM_RotateStepChartRedraw(benchmark::State& State) {
  TShownForm S;
  S.Form.SBarRotate->SetPosition(1);
  for (auto _ : State) S.Form.Plotter1->Redisplay();
}
BENCHMARK(BM_RotateStepChartRedraw)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
