// The chart's redraw of the lesson scene and of a big display list, beside (a) a raw
// loop into a plain buffer and (b) QPainter drawing the same elements on a QImage.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <fstream>
#include <random>
#include <string>

#include "chart/KVR_plotter.h"
#include "tests/chart/ChartFixture.h"

namespace {

constexpr int AreaW = 314, AreaH = 241;  // the program's chart area, edges included
constexpr int BufW = 362, BufH = 282;

struct TScene {
  std::vector<std::pair<double, double>> Marks;
  std::vector<std::array<double, 4>> Lines;
};

TScene MakeScene(int Marks, int Lines, unsigned Seed) {
  std::mt19937 Gen(Seed);
  std::uniform_real_distribution<double> X(-15, 15), Y(-11, 11);
  TScene S;
  for (int I = 0; I < Marks; ++I) S.Marks.push_back({X(Gen), Y(Gen)});
  for (int I = 0; I < Lines; ++I) S.Lines.push_back({X(Gen), Y(Gen), X(Gen), Y(Gen)});
  return S;
}

// World to pixel of the program's chart area.
int PX(double X) { return static_cast<int>((X + 15) / 30 * (AreaW - 1)); }
int PY(double Y) { return static_cast<int>((11 - Y) / 22 * (AreaH - 1)); }

// (a) the practical limit: a plain buffer, 24 outline pixels a square, Bresenham lines,
// clipping decided once per item: an item fully inside is written without a bounds test.
template <bool Checked>
void PutPixel(std::vector<uint32_t>& Buf, int X, int Y) {
  if (!Checked || (X >= 0 && Y >= 0 && X < BufW && Y < BufH)) Buf[size_t(Y) * BufW + size_t(X)] = 0xFF000000u;
}

template <bool Checked>
void RawSquare(std::vector<uint32_t>& Buf, int Cx, int Cy) {
  for (int D = -3; D <= 3; ++D) PutPixel<Checked>(Buf, Cx + D, Cy - 3), PutPixel<Checked>(Buf, Cx + D, Cy + 3);
  for (int D = -2; D <= 2; ++D) PutPixel<Checked>(Buf, Cx - 3, Cy + D), PutPixel<Checked>(Buf, Cx + 3, Cy + D);
}

template <bool Checked>
void RawLine(std::vector<uint32_t>& Buf, int X0, int Y0, int X1, int Y1) {
  const int DX = std::abs(X1 - X0), DY = -std::abs(Y1 - Y0), SX = X0 < X1 ? 1 : -1, SY = Y0 < Y1 ? 1 : -1;
  int Err = DX + DY;
  while (X0 != X1 || Y0 != Y1) {
    PutPixel<Checked>(Buf, X0, Y0);
    const int E2 = 2 * Err;
    if (E2 >= DY) Err += DY, X0 += SX;
    if (E2 <= DX) Err += DX, Y0 += SY;
  }
}

bool Inside(int X, int Y) { return X >= 0 && Y >= 0 && X < BufW && Y < BufH; }

void RawScene(std::vector<uint32_t>& Buf, const TScene& S) {
  std::fill(Buf.begin(), Buf.end(), 0xFFFFFFFFu);
  for (auto [X, Y] : S.Marks) {
    const int Cx = PX(X), Cy = PY(Y);
    if (Inside(Cx - 3, Cy - 3) && Inside(Cx + 3, Cy + 3)) RawSquare<false>(Buf, Cx, Cy);
    else RawSquare<true>(Buf, Cx, Cy);
  }
  for (const auto& L : S.Lines) {
    const int X0 = PX(L[0]), Y0 = PY(L[1]), X1 = PX(L[2]), Y1 = PY(L[3]);
    if (Inside(X0, Y0) && Inside(X1, Y1)) RawLine<false>(Buf, X0, Y0, X1, Y1);
    else RawLine<true>(Buf, X0, Y0, X1, Y1);
  }
}

// (b) what a Qt developer would write.
void QPainterScene(QImage& Image, const TScene& S) {
  Image.fill(Qt::white);
  QPainter P(&Image);
  P.setRenderHint(QPainter::Antialiasing, false);
  P.setPen(Qt::black);
  for (auto [X, Y] : S.Marks) P.drawRect(PX(X) - 3, PY(Y) - 3, 6, 6);
  for (const auto& L : S.Lines) P.drawLine(PX(L[0]), PY(L[1]), PX(L[2]), PY(L[3]));
}

// The program's chart, shown, with a scene as its display list.
struct TChart : TChartFixture {
  void Fill(const TScene& S) {
    Chart->ClearItems();
    for (auto [X, Y] : S.Marks) Chart->AddMark(X, Y, 12);
    Chart->SetDataColor(clRed);
    for (const auto& L : S.Lines) Chart->AddLine(L[0], L[1], L[2], L[3]);
    Chart->SetDataColor(clBlack);
  }
};

void BM_LessonRaw(benchmark::State& State) {
  const TScene S = MakeScene(15, 2, 1);
  std::vector<uint32_t> Buf(BufW * BufH);
  for (auto _ : State) {
    RawScene(Buf, S);
    benchmark::DoNotOptimize(Buf.data());
  }
}
BENCHMARK(BM_LessonRaw);

void BM_LessonQPainter(benchmark::State& State) {
  const TScene S = MakeScene(15, 2, 1);
  QImage Image(BufW, BufH, QImage::Format_RGB32);
  for (auto _ : State) QPainterScene(Image, S);
}
BENCHMARK(BM_LessonQPainter);

// Into the chart-area image only: what Redisplay draws before the copy to the screen.
void BM_LessonChartArea(benchmark::State& State) {
  const TScene S = MakeScene(15, 2, 1);
  TChart C;
  for (auto _ : State) {
    C.Fill(S);
    C.Chart->RenderBackground();
    C.Chart->RenderData();
  }
}
BENCHMARK(BM_LessonChartArea);

void BM_LessonRedisplay(benchmark::State& State) {
  const TScene S = MakeScene(15, 2, 1);
  TChart C;
  for (auto _ : State) {
    C.Fill(S);
    C.Chart->Redisplay();
  }
}
BENCHMARK(BM_LessonRedisplay);

void BM_LessonFullPaint(benchmark::State& State) {
  TChart C;
  C.Fill(MakeScene(15, 2, 1));
  for (auto _ : State) C.Chart->Paint();
}
BENCHMARK(BM_LessonFullPaint);

const TScene& BigScene() {
  static const TScene S = MakeScene(1000000, 100000, 2);
  return S;
}

void BM_BigRaw(benchmark::State& State) {
  std::vector<uint32_t> Buf(BufW * BufH);
  for (auto _ : State) {
    RawScene(Buf, BigScene());
    benchmark::DoNotOptimize(Buf.data());
  }
}
BENCHMARK(BM_BigRaw)->Unit(benchmark::kMillisecond);

void BM_BigQPainter(benchmark::State& State) {
  QImage Image(BufW, BufH, QImage::Format_RGB32);
  for (auto _ : State) QPainterScene(Image, BigScene());
}
BENCHMARK(BM_BigQPainter)->Unit(benchmark::kMillisecond);

long PeakKiB() {
  std::ifstream Status("/proc/self/status");
  std::string Line;
  while (std::getline(Status, Line))
    if (Line.rfind("VmHWM:", 0) == 0) return std::stol(Line.substr(6));
  return 0;
}

// Scene B into the chart-area image: background and every item.
void BM_BigChartArea(benchmark::State& State) {
  TChart C;
  C.Fill(BigScene());
  for (auto _ : State) {
    C.Chart->RenderBackground();
    C.Chart->RenderData();
  }
}
BENCHMARK(BM_BigChartArea)->Unit(benchmark::kMillisecond);

// Appending the 1.1 M items of scene B to an empty list.
void BM_BigAppend(benchmark::State& State) {
  TChart C;
  for (auto _ : State) C.Fill(BigScene());
}
BENCHMARK(BM_BigAppend)->Unit(benchmark::kMillisecond);

void BM_BigRedisplay(benchmark::State& State) {
  TChart C;
  C.Fill(BigScene());
  for (auto _ : State) C.Chart->Redisplay();
  State.counters["bytes_per_item"] = double(C.Chart->ItemCapacity() * sizeof(TChartItem)) / C.Chart->ItemCount();
  State.counters["peak_MiB"] = PeakKiB() / 1024.0;
}
BENCHMARK(BM_BigRedisplay)->Unit(benchmark::kMillisecond);

}  // namespace
