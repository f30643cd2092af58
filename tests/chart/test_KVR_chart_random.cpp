// Randomized properties of the scale and the chart: whatever the ranges, margins,
// layouts, sharing groups and property sequences, every paint ends after a bounded
// number of ticks, nothing crashes, and settings stay finite. Seeds are fixed, so a
// failure repeats.
#include <gtest/gtest.h>

#include <QWidget>
#include <array>
#include <climits>
#include <cmath>
#include <iterator>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "chart/KVR_plotter.h"
#include "tests/PixelTest.h"
#include "toolkit/MessageBox.h"

namespace {

// At most 633 decades of 9 ticks, the widest logarithmic axis; linear and calendar axes
// stay far below.
constexpr size_t MostTicks = 633 * 9 + 1;

struct TRandom {
  std::mt19937_64 Gen;
  explicit TRandom(uint64_t Seed) : Gen(Seed) {}
  double Uniform(double Lo, double Hi) { return std::uniform_real_distribution<double>(Lo, Hi)(Gen); }
  int Int(int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Gen); }
  bool Coin() { return Gen() % 2 == 0; }
  // A value far from zero with a range a few units of its last place to a few units wide.
  std::pair<double, double> NarrowRange() {
    const double Centre = (Coin() ? 1 : -1) * std::pow(10.0, Uniform(-5, 15));
    const double Width = std::ldexp(std::fabs(Centre), -Int(0, 52)) * Uniform(1, 4);
    return Coin() ? std::pair{Centre, Centre + Width} : std::pair{Centre + Width, Centre};
  }
  std::pair<double, double> LogRange() {
    return {std::pow(10.0, Uniform(-300, 300)), std::pow(10.0, Uniform(-300, 300))};
  }
  // Ordinary values mixed with the extremes a caller might pass.
  double AnyDouble() {
    static const double Odd[] = {NAN, INFINITY, -INFINITY, 0, -0.0, 1e-320, 1e308, -1e308, 1e-100};
    return Coin() ? Odd[Gen() % std::size(Odd)] : Uniform(-1000, 1000);
  }
  // Margins: small ones of either sign and huge positive ones. (A hugely negative margin
  // makes the chart area, and so its image, as large.)
  int Margin() { return Coin() ? Int(-400, 400) : Coin() ? INT_MAX : 5000000; }
  int AnyInt() {
    static const int Odd[] = {INT_MIN, INT_MAX, -1, 0, 1, -30, 5000000};
    return Coin() ? Odd[Gen() % std::size(Odd)] : Int(-500, 500);
  }
};

// A scale drawn as the chart draws its axes, counting what it emits.
struct TCountedScale {
  QWidget Parent;
  TScale* Scale = new TScale(&Parent);
  TBitmap Image;
  size_t Ticks = 0;
  explicit TCountedScale(TScaleType Type) {
    const bool Horizontal = Type == sctXB || Type == sctXT;
    Image.SetSize(Horizontal ? 400 : 100, Horizontal ? 100 : 400);
    Scale->SetEmbedded(true);
    Scale->SetTargetCanvas(Image.Canvas(), 0, 0);
    Scale->SetTransparent(true);
    Scale->SetBounds(0, 0, Image.Width(), Image.Height());
    Scale->SetScaleType(Type);
    Scale->OnScaleTickDrawn = [this](QObject*, TCanvas*&, TScaleType, double, int, int) { ++Ticks; };
  }
  size_t Draw() {
    Ticks = 0;
    Scale->PaintNow();
    return Ticks;
  }
};

void SetRange(TScale* S, std::pair<double, double> R) {
  S->SetRangeLow(R.first);
  S->SetRangeHigh(R.second);
}

TEST(RandomScale, NarrowRangesFarFromZeroPaintFewTicksInsideTheRange) {
  TRandom R(1);
  for (int Round = 0; Round < 300; ++Round) {
    TCountedScale C(static_cast<TScaleType>(Round % 4));
    const auto Range = R.NarrowRange();
    SetRange(C.Scale, Range);
    C.Scale->SetMinTicks(R.Int(2, 10));
    C.Scale->SetShortTicks(R.Coin());
    const size_t Ticks = C.Draw();
    EXPECT_LE(Ticks, 200u) << Range.first << " " << Range.second;
    const double Lo = std::min(Range.first, Range.second), Hi = std::max(Range.first, Range.second);
    for (int I = 1; I <= C.Scale->NumTicks(); ++I) {
      EXPECT_GE(C.Scale->TickValue(I), Lo - (Hi - Lo)) << Range.first;
      EXPECT_LE(C.Scale->TickValue(I), Hi + (Hi - Lo)) << Range.first;
    }
  }
}

// Logarithmic ranges of any width and direction keep every decade up to the larger end.
TEST(RandomScale, LogarithmicRangesReachTheirLargerEnd) {
  TRandom R(2);
  for (int Round = 0; Round < 60; ++Round) {
    TCountedScale C(Round % 2 ? sctYL : sctXB);
    const auto Range = R.LogRange();
    SetRange(C.Scale, Range);
    C.Scale->SetLogarithmic(true);
    C.Scale->SetMinTicks(R.Int(2, 10));
    double Top = 0;
    C.Scale->OnScaleTickDrawn = [&](QObject*, TCanvas*&, TScaleType, double V, int, int) { Top = std::max(Top, V), ++C.Ticks; };
    EXPECT_LE(C.Draw(), MostTicks);
    const double Hi = std::max(Range.first, Range.second), Lo = std::min(Range.first, Range.second);
    if (Hi / Lo >= 100) {
      EXPECT_GE(Top, Hi / 10) << Range.first << " " << Range.second;
    }
  }
}

TEST(RandomScale, PropertySequencesOnStandAloneScales) {
  TRandom R(3);
  for (int Round = 0; Round < 40; ++Round) {
    TCountedScale C(static_cast<TScaleType>(R.Int(0, 3)));
    C.Scale->SetTransparent(R.Coin());
    C.Scale->SetEmbedded(R.Coin());
    for (int Step = 0; Step < 25; ++Step) {
      switch (R.Int(0, 9)) {
        case 0: C.Scale->SetRangeLow(R.AnyDouble()); break;
        case 1: C.Scale->SetRangeHigh(R.AnyDouble()); break;
        case 2: C.Scale->SetLogarithmic(R.Coin()); break;
        case 3: C.Scale->SetLabelType(static_cast<TFigType>(R.Int(0, 4))); break;
        case 4: C.Scale->SetMinTicks(R.AnyInt()); break;
        case 5: C.Scale->SetDecPlaces(R.AnyInt()); break;
        case 6: C.Scale->SetMarginLeft(R.AnyInt()), C.Scale->SetMarginTop(R.AnyInt()); break;
        case 7: C.Scale->SetBounds(0, 0, R.Int(0, 500), R.Int(0, 500)); break;
        case 8: C.Scale->SetScaleType(static_cast<TScaleType>(R.Int(0, 3))); break;
        case 9: SetRange(C.Scale, R.Coin() ? R.NarrowRange() : R.LogRange()); break;
      }
      EXPECT_TRUE(std::isfinite(C.Scale->RangeLow()) && std::isfinite(C.Scale->RangeHigh()));
      EXPECT_LE(C.Draw(), MostTicks);
      C.Scale->repaint();
    }
  }
}

// --- charts ----------------------------------------------------------------------

TEST(RandomChart, MarginsLayoutsAndIsometricKeepTheControlAndPaint) {
  TRandom R(4);
  QWidget Window;
  auto* Chart = new TPlotter(&Window);
  Chart->SetBounds(0, 0, 300, 220);
  Window.show();
  Chart->SetGridStyle(gsDotLines);
  Chart->AddLine(-1, -1, 1, 1);
  Chart->AddMark(0.5, 0.5, 9);
  for (int Step = 0; Step < 120; ++Step) {
    const QSize Before = Chart->size();
    switch (R.Int(0, 7)) {
      case 0: Chart->SetMarginLeft(R.Margin()); break;
      case 1: Chart->SetMarginTop(R.Margin()); break;
      case 2: Chart->SetMarginRight(R.Int(-400, 400)), Chart->SetMarginBottom(R.Int(-400, 400)); break;
      case 3: Chart->SetStandardLayout(static_cast<TplLayout>(R.Int(0, 6))); break;
      case 4: Chart->SetIsometric(R.Coin()); break;
      case 5: Chart->SetShadowWidth(R.AnyInt()); break;
      case 6: Chart->SetGridDx(R.Coin() ? 0 : R.AnyDouble()), Chart->SetGridDy(R.AnyDouble()); break;
      case 7: {
        const auto X = R.NarrowRange(), Y = R.NarrowRange();
        Chart->SetLayerRange(1, X.first, X.second, Y.first, Y.second);
        break;
      }
    }
    EXPECT_EQ(Chart->size(), Before) << Step;
    Chart->Paint();
    for (int L = 1; L <= TCustomPlotter::Layers; ++L)
      EXPECT_TRUE(std::isfinite(Chart->ScaleY(L)->RangeLow()) && std::isfinite(Chart->ScaleY(L)->RangeHigh())) << Step;
  }
  // Back to sane margins, the area is drawn where it belongs.
  Chart->SetStandardLayout(pll_X1Bottom_Y1Left);
  Chart->SetShadowWidth(0);
  Chart->Paint();
  EXPECT_EQ(FromQRgb(Chart->Surface().pixel(50, 20)), Chart->ChartFrameColor());
}

TEST(RandomChart, PropertySequencesOnCharts) {
  TRandom R(5);
  TPlotter Chart;
  for (int Step = 0; Step < 200; ++Step) {
    const int L = R.Int(1, TCustomPlotter::Layers);
    TScaleProps* P = R.Coin() ? static_cast<TScaleProps*>(Chart.ScaleX(L)) : Chart.ScaleY(L);
    switch (R.Int(0, 9)) {
      case 0: P->SetRangeLow(R.AnyDouble()); break;
      case 1: P->SetRangeHigh(R.AnyDouble()); break;
      case 2: P->SetMinRange(R.AnyDouble()); break;
      case 3: P->SetLogarithmic(R.Coin()); break;
      case 4: P->SetLabelType(static_cast<TFigType>(R.Int(0, 4))); break;
      case 5: P->SetVisible(R.Coin()), P->SetMinTicks(R.AnyInt()); break;
      case 6: Chart.ApplyLayerRange(L, R.AnyDouble(), R.AnyDouble(), R.AnyDouble(), R.AnyDouble()); break;
      case 7: Chart.AddLine(R.AnyDouble(), R.AnyDouble(), R.AnyDouble(), R.AnyDouble()); break;
      case 8: Chart.CrossHair(R.Int(1, 4))->SetMode(chBoth), Chart.CrossHair(1)->SetPosX(R.AnyDouble()); break;
      case 9: {
        const auto Range = R.LogRange();
        P->SetRangeLow(Range.first);
        P->SetRangeHigh(Range.second);
        break;
      }
    }
    EXPECT_TRUE(std::isfinite(P->RangeLow()) && std::isfinite(P->RangeHigh())) << Step;
    EXPECT_TRUE(std::isfinite(P->MinRange())) << Step;
    Chart.Paint();
  }
}

// Six charts join, leave, write and are destroyed in random order. A model of their
// lists says what each must show: a write reaches exactly the writer's group.
TEST(RandomChart, SharingGroupsBuiltAndTornDownInAnyOrder) {
  TRandom R(6);
  const TMessageBoxHook Previous = SetMessageBoxHook([](const QString&) {});
  constexpr int N = 6;
  std::array<std::unique_ptr<TPlotter>, N> Charts;
  std::array<int, N> Expected{};
  for (auto& C : Charts) C = std::make_unique<TPlotter>();
  auto Index = [&](const TCustomPlotter* P) {
    for (int I = 0; I < N; ++I)
      if (Charts[I].get() == P) return I;
    return -1;
  };
  auto GroupOf = [&](int I) {
    const TCustomPlotter* Owner = Charts[I]->UseDataOf() ? Charts[I]->UseDataOf() : Charts[I].get();
    std::vector<int> Members{Index(Owner)};
    for (int U = 0; U < Owner->DataUserCount(); ++U) Members.push_back(Index(Owner->DataUsers(U)));
    return Members;
  };
  for (int Step = 0; Step < 400; ++Step) {
    const int I = R.Int(0, N - 1);
    switch (R.Int(0, 4)) {
      case 0: {
        // Refusals (itself, a chart with users, a fifth user) change nothing.
        const int J = R.Int(0, N - 1);
        Charts[I]->SetUseDataOf(Charts[J].get());
        if (const TCustomPlotter* Owner = Charts[I]->UseDataOf()) Expected[I] = Expected[Index(Owner)];
        break;
      }
      case 1: Charts[I]->SetUseDataOf(nullptr); break;
      case 2: {
        Charts[I]->AddMark(Step, Step, 0);
        const int Count = Expected[I] + 1;
        for (int M : GroupOf(I)) Expected[M] = Count;
        break;
      }
      case 3:
        Charts[I]->ClearItems();
        for (int M : GroupOf(I)) Expected[M] = 0;
        break;
      case 4:
        Charts[I] = std::make_unique<TPlotter>();
        Expected[I] = 0;
        break;
    }
    for (int K = 0; K < N; ++K) {
      ASSERT_EQ(Charts[K]->ItemCount(), Expected[K]) << "step " << Step << " chart " << K;
      if (const TCustomPlotter* Owner = Charts[K]->UseDataOf()) {
        EXPECT_EQ(Owner->UseDataOf(), nullptr);
      }
    }
  }
  SetMessageBoxHook(Previous);
}

}  // namespace
