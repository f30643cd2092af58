// The main of the benchmarks that need widgets: a QApplication on the offscreen
// platform around Google Benchmark's runner.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "toolkit/Toolkit.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication App(argc, argv);
  InitToolkit();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
