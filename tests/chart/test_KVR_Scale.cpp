// The scale control: setter rules, painting, and the ticks and labels it draws.
#include <gtest/gtest.h>

#include "chart/KVR_Scale.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include "tests/PixelTest.h"
#include "tests/chart/ChartFixture.h"
#include "tests/SetterCases.h"

namespace {

struct TReport {
  double Value;
  int X, Y;
};

// A scale drawn into a white 400 x 100 (or 100 x 400) image as the chart draws its axes.
struct TDrawnScale {
  TScale Scale;
  TBitmap Image;
  std::vector<TReport> Reports;
  explicit TDrawnScale(TScaleType Type = sctXB) {
    const bool Horizontal = Type == sctXB || Type == sctXT;
    Image.SetSize(Horizontal ? 400 : 100, Horizontal ? 100 : 400);
    ClearWhite(Image);
    Scale.SetSuspendPaint(true);
    Scale.SetEmbedded(true);
    Scale.SetTargetCanvas(Image.Canvas(), 0, 0);
    Scale.SetTransparent(true);
    Scale.SetFrameStyle(fsNone);
    Scale.SetBounds(0, 0, Image.Width(), Image.Height());
    Scale.SetScaleType(Type);
    Scale.OnScaleTickDrawn = [this](QObject*, TCanvas*&, TScaleType, double V, int X, int Y) {
      Reports.push_back({V, X, Y});
    };
  }
  void Draw() {
    Reports.clear();
    Scale.PaintNow();
  }
  std::vector<double> Ticks() const {
    std::vector<double> T;
    for (int I = 1; I <= Scale.NumTicks(); ++I) T.push_back(Scale.TickValue(I));
    return T;
  }
};

// A stand-alone scale, 300 x 80, on a shown window.
struct TShownScale {
  QWidget Window;
  TScale* S = new TScale(&Window);
  TShownScale() {
    Window.resize(400, 300);
    S->SetBounds(10, 10, 300, 80);
    Window.show();
  }
};

std::vector<double> Range(double From, double To, double Step) {
  std::vector<double> V;
  for (double X = From; X <= To + 1e-9; X += Step) V.push_back(X);
  return V;
}

void ExpectValues(const std::vector<double>& Actual, const std::vector<double>& Expected) {
  ASSERT_EQ(Actual.size(), Expected.size());
  for (size_t I = 0; I < Actual.size(); ++I) EXPECT_NEAR(Actual[I], Expected[I], 1e-9) << I;
}

TEST(Scale, DefaultsAndSetterRules) {
  TScale S;
  EXPECT_EQ(S.RangeLow(), 0);
  EXPECT_EQ(S.RangeHigh(), 100);
  EXPECT_EQ(S.MinTicks(), 3);
  EXPECT_EQ(S.DecPlaces(), -2);
  EXPECT_EQ(S.FrameStyle(), fsLowered);
  EXPECT_EQ(S.width(), 400);
  S.SetRangeHigh(0);
  EXPECT_EQ(S.RangeLow(), -1);
  EXPECT_EQ(S.RangeHigh(), 0);
  TScale T;
  T.SetRangeLow(100);
  EXPECT_EQ(T.RangeLow(), 100);
  EXPECT_EQ(T.RangeHigh(), 101);
  T.SetMinTicks(50);
  EXPECT_EQ(T.MinTicks(), 10);
  T.SetDecPlaces(-7);
  EXPECT_EQ(T.DecPlaces(), -3);
  T.SetMarginLeft(-5);
  EXPECT_EQ(T.MarginLeft(), 0);
  T.SetLabelType(ftTime);
  EXPECT_EQ(T.DecPlaces(), 4);
}

TEST(Scale, LogarithmicNeedsPositiveEndsOnceLoaded) {
  TScale Runtime;  // made at run time: keeps its loading flag and accepts it
  Runtime.SetRangeLow(0);
  Runtime.SetLogarithmic(true);
  EXPECT_TRUE(Runtime.Logarithmic());
  TScale Loaded;
  Loaded.Loaded();
  Loaded.SetRangeLow(0);
  Loaded.SetLogarithmic(true);
  EXPECT_FALSE(Loaded.Logarithmic());
  Loaded.SetRangeLow(1);
  Loaded.SetLogarithmic(true);
  EXPECT_TRUE(Loaded.Logarithmic());
  Loaded.SetLabelType(ftDateTime);
  EXPECT_FALSE(Loaded.Logarithmic());
}

TEST(Scale, CalibrationAndPixelRounding) {
  TScale S;
  S.SetBounds(0, 0, 141, 50);  // 100 pixels between the margins of 20
  EXPECT_EQ(S.ValueToPixel(0), 20);
  EXPECT_EQ(S.ValueToPixel(100), 120);
  EXPECT_EQ(S.ValueToPixel(2.5), 22);   // 22.5 ties to even
  EXPECT_EQ(S.ValueToPixel(3.5), 24);   // 23.5 ties to even
  EXPECT_EQ(S.ValueToPixel(1e300), 2147483647);
  EXPECT_EQ(S.ValueToPixel(-1e300), -2147483647);
  EXPECT_EQ(S.ValueToPixel(std::nan("")), -2147483647);  // far off-screen, as on the chart
  S.SetScaleType(sctYL);
  S.SetBounds(0, 0, 50, 141);
  EXPECT_EQ(S.ValueToPixel(100), 20);  // the high end at the top
  EXPECT_EQ(S.ValueToPixel(0), 120);
  S.SetRangeLow(1);
  S.SetRangeHigh(1000);
  S.SetLogarithmic(true);
  EXPECT_EQ(S.ValueToPixel(10), 87);   // two thirds of the way down: 20 + 100 * 2/3
  EXPECT_EQ(S.ValueToPixel(0), 141);  // unshowable: at the low end, the bottom edge
}

TEST(Scale, LinearTicksOfTheProgramsAxes) {
  TDrawnScale D;
  D.Scale.SetRangeLow(-15);
  D.Scale.SetRangeHigh(15);
  D.Draw();
  ExpectValues(D.Ticks(), Range(-14, 14, 2));  // minor ticks; majors are not recorded again
  EXPECT_EQ(D.Scale.Labels(), (QStringList{"-10.0", "0.0", "10.0"}));
  D.Scale.SetRangeLow(-11);
  D.Scale.SetRangeHigh(11);
  D.Draw();
  EXPECT_EQ(D.Scale.Labels(), (QStringList{"-10.0", "-5.0", "0.0", "5.0", "10.0"}));
  ExpectValues(D.Ticks(), Range(-11, 11, 1));
}

TEST(Scale, DefaultRangeAndReversedRange) {
  TDrawnScale D;
  D.Draw();
  EXPECT_EQ(D.Scale.Labels(), (QStringList{"0", "20", "40", "60", "80", "100"}));
  D.Scale.SetShortTicks(false);
  D.Scale.SetRangeHigh(10);
  D.Draw();
  const std::vector<double> Up = D.Ticks();
  D.Scale.SetRangeLow(10);
  D.Scale.SetRangeHigh(0);
  D.Draw();
  std::vector<double> Down = D.Ticks();
  std::reverse(Down.begin(), Down.end());
  ExpectValues(Down, Up);
}

TEST(Scale, TicksAreReportedWhereTheyMeetTheBaseLine) {
  TDrawnScale D(sctXB);
  D.Scale.SetShortTicks(false);
  D.Draw();
  ASSERT_EQ(D.Reports.size(), 6u);
  EXPECT_EQ(D.Reports[0].X, 20);
  EXPECT_EQ(D.Reports[0].Y, 100 - 20 - 1);
  EXPECT_EQ(D.Reports[5].X, 379);
  // A major tick is 7 pixels long, upwards from the base line.
  TCanvas* C = D.Image.Canvas();
  EXPECT_EQ(C->Pixel(20, 79), clBlack);
  EXPECT_EQ(C->Pixel(20, 73), clBlack);
  EXPECT_EQ(C->Pixel(20, 72), clWhite);
  TDrawnScale V(sctYR);
  V.Draw();
  ASSERT_FALSE(V.Reports.empty());
  EXPECT_EQ(V.Reports.front().X, 100 - 20 - 1);
}

TEST(Scale, TinyValuesOnAWideRangeAreLabelledZero) {
  TDrawnScale D;
  D.Scale.SetRangeLow(-1 + 1e-17);
  D.Scale.SetRangeHigh(1 + 1e-17);
  D.Draw();
  EXPECT_TRUE(D.Scale.Labels().contains("0.00"));
}

TEST(Scale, UserTextsAndInscripts) {
  TDrawnScale D;
  D.Scale.SetLabelType(ftUserText);
  D.Scale.SetUserTickText("a|b|c");
  D.Scale.SetRangeHigh(80);
  D.Draw();
  EXPECT_EQ(D.Scale.Labels(), (QStringList{"a", "b", "c", "c", "c"}));
  D.Scale.SetLabelType(ftNum);
  D.Scale.SetScaleInscript("&%");
  D.Draw();
  EXPECT_EQ(D.Scale.Labels().first(), "0%");
  D.Scale.SetLabelType(ftNoFigs);
  D.Draw();
  EXPECT_TRUE(D.Scale.Labels().isEmpty());
}

TEST(Scale, LogarithmicDecades) {
  TDrawnScale D;
  D.Scale.SetRangeLow(1);
  D.Scale.SetRangeHigh(1000);
  D.Scale.SetLogarithmic(true);
  D.Scale.SetDecPlaces(-3);
  D.Draw();
  ExpectValues(D.Ticks(), {1, 10, 100, 1000});
  EXPECT_EQ(D.Scale.Labels(), (QStringList{"0", "1", "2", "3"}));
  D.Scale.SetDecPlaces(-2);
  D.Scale.SetMinTicks(5);  // intermediate values: 2, 5 major, the rest minor
  D.Draw();
  EXPECT_EQ(D.Scale.Labels().mid(0, 4), (QStringList{"1", "2", "5", "10"}));
  EXPECT_EQ(D.Scale.NumTicks(), 28);
}

// Beyond 308 decades the decades are still all there, up to the range end.
TEST(Scale, LogarithmicAxesOfHundredsOfDecades) {
  for (const auto& [Low, High] : {std::pair{1e-200, 1e200}, std::pair{1e-320, 1e308}, std::pair{1e200, 1e-200}}) {
    TDrawnScale D;
    D.Scale.SetRangeLow(Low);
    D.Scale.SetRangeHigh(High);
    D.Scale.SetLogarithmic(true);
    D.Draw();
    double Top = 0;
    for (const TReport& R : D.Reports) Top = std::max(Top, R.Value);
    EXPECT_NEAR(std::log10(Top), std::floor(std::log10(std::max(Low, High))), 1e-9) << Low;
  }
}

// A range a few units of the last place wide, far from zero, is painted with a few ticks.
TEST(Scale, RangesNarrowAgainstTheirDistanceFromZeroPaint) {
  for (const auto& [Low, High] : {std::pair{1000.0000000000001, 1000.0000000000003},
                                  std::pair{300000.00000000023, 300000.00000000012}})
    for (const TScaleType Type : {sctXB, sctYL}) {
      TDrawnScale D(Type);
      D.Scale.SetRangeLow(Low);
      D.Scale.SetRangeHigh(High);
      D.Draw();
      EXPECT_FALSE(D.Reports.empty());
      EXPECT_LE(D.Reports.size(), 60u);
    }
}

TEST(Scale, ClockTimeTicks) {
  TDrawnScale D;
  D.Scale.SetLabelType(ftTime);
  D.Scale.SetRangeLow(0);
  D.Scale.SetRangeHigh(60);
  D.Draw();
  EXPECT_EQ(D.Scale.Labels(), (QStringList{" 00:00:00", " 00:00:20", " 00:00:40", " 00:01:00"}));
  ExpectValues(D.Ticks(), Range(0, 60, 5));
  D.Scale.SetRangeHigh(3 * 86400 + 10);
  D.Draw();
  EXPECT_EQ(D.Scale.Labels().first(), "0.0");  // declined: numeric labels
}

TEST(Scale, MoreThanFiftyTicksAreDrawnButNotRecorded) {
  TDrawnScale D;
  D.Scale.SetRangeHigh(10);
  D.Scale.SetMinTicks(10);  // step 1, 5 minor: 51 minor ticks
  D.Draw();
  EXPECT_EQ(D.Scale.NumTicks(), 50);
  EXPECT_EQ(D.Reports.size(), 51u + 11u);
  EXPECT_EQ(D.Scale.TickValue(51), 0.0);
  EXPECT_EQ(D.Scale.TickValue(0), 0.0);
}

TEST(Scale, CaptionPlacement) {
  TDrawnScale D;
  D.Scale.SetCaption("x");
  D.Scale.SetCaptionAnchor(uaSclBotRgt);
  D.Scale.SetCaptionAlignment(taRightJustify);
  D.Scale.SetCaptionPosX(0);
  D.Scale.SetCaptionPosY(5);
  D.Scale.SetLabelType(ftNoFigs);
  D.Draw();
  // The caption's right edge is at Width - MarginRight, its top 5 below the axis.
  bool Ink = false;
  for (int X = 370; X < 380; ++X)
    for (int Y = 84; Y < 99; ++Y) Ink |= D.Image.Canvas()->Pixel(X, Y) != clWhite;
  EXPECT_TRUE(Ink);
  EXPECT_EQ(D.Image.Canvas()->Pixel(381, 90), clWhite);
}

TEST(Scale, OpaqueStandAloneScaleDrawsItsFrameOnTheButtonFace) {
  QWidget Window;
  auto* S = new TScale(&Window);
  S->resize(200, 60);
  Window.show();
  S->Paint();
  TBitmap& Surface = const_cast<TBitmap&>(S->Surface());
  EXPECT_EQ(Surface.Canvas()->Pixel(0, 30), clGray);        // lowered: shadow on the left
  EXPECT_EQ(Surface.Canvas()->Pixel(199, 30), clWhite);     // highlight on the right
  EXPECT_EQ(Surface.Canvas()->Pixel(100, 5), ColorToRGB(clBtnFace));
  S->SetColorScheme(csSystem);
  EXPECT_EQ(Surface.Canvas()->Pixel(0, 30), ColorToRGB(clBtnShadow));
}

// The calibration follows the label type: a logarithmic scale turned to calendar labels
// maps linearly at once, and ticks land on the axis.
TEST(Scale, CalendarLabelsRecalibrateALogarithmicScale) {
  TDrawnScale D;
  D.Scale.SetRangeLow(40000);
  D.Scale.SetRangeHigh(40100);
  D.Scale.SetLogarithmic(true);
  D.Scale.SetLabelType(ftDateTime);
  EXPECT_FALSE(D.Scale.Logarithmic());
  EXPECT_EQ(D.Scale.ValueToPixel(40050), 200);  // 20 + 359 / 2, ties to even
  D.Draw();
  for (const TReport& R : D.Reports) {
    EXPECT_GE(R.X, 20);
    EXPECT_LE(R.X, 400 - 20 - 1);
  }
}

// A logarithmic scale whose end goes to zero or below keeps its last mapping whole.
TEST(Scale, ALogarithmicScaleKeepsItsMappingForEndsAtOrBelowZero) {
  TDrawnScale D;
  D.Scale.SetRangeLow(1);
  D.Scale.SetRangeHigh(1000);
  D.Scale.SetLogarithmic(true);
  const int Before = D.Scale.ValueToPixel(10);
  D.Scale.SetRangeLow(-3);
  EXPECT_EQ(D.Scale.ValueToPixel(10), Before);
  D.Scale.SetLogarithmic(false);  // linear now: 10 of -3..1000
  const int Linear = D.Scale.ValueToPixel(10);
  EXPECT_EQ(Linear, 25);
  D.Scale.SetLogarithmic(true);  // accepted at run time, but not mappable
  EXPECT_EQ(D.Scale.ValueToPixel(10), Linear);
}

// An opaque scale made at run time shows its picture at the first show and after each
// resize.
// A shown opaque or embedded scale paints at once (a transparent stand-alone one would
// wait for its parent, so Embedded comes before Transparent). Visible and SuspendPaint act
// on an equal value too (see their setters), so they are not in the table.
TEST(Scale, EverySetterRepaintsOnlyOnAChange) {
  TShownScale Shown;
  TScale* S = Shown.S;
  int Paints = 0;
  S->OnBeforeScaleRendered = [&Paints](QObject*, TCanvas*) { ++Paints; };
  TDTLabel Other;
  Other.SetTimeFormat(tfAMPM);
  ExpectChangesOnly(
      {SETTER_CASE(S, RangeLow, 10.0), SETTER_CASE(S, RangeHigh, 1000.0), SETTER_CASE(S, Logarithmic, true),
       SETTER_CASE(S, Logarithmic, false), SETTER_CASE(S, LabelType, ftTime), SETTER_CASE(S, DecPlaces, 2),
       SETTER_CASE(S, DecimalComma, true), SETTER_CASE(S, MinTicks, 5), SETTER_CASE(S, ShortTicks, false),
       SETTER_CASE(S, ShowBaseLine, false), SETTER_CASE(S, UserTickText, QStringLiteral("a")),
       SETTER_CASE(S, ScaleInscript, QStringLiteral("b")), SETTER_CASE(S, Caption, QStringLiteral("c")),
       SETTER_CASE(S, CaptionPosX, 9), SETTER_CASE(S, CaptionPosY, 9), SETTER_CASE(S, CaptionAlignment, taLeftJustify),
       SETTER_CASE(S, CaptionAnchor, uaSclBotRgt), SETTER_CASE(S, MarginTop, 7), SETTER_CASE(S, MarginBottom, 7),
       SETTER_CASE(S, MarginLeft, 7), SETTER_CASE(S, MarginRight, 7), SETTER_CASE(S, FontColor, clRed),
       SETTER_CASE(S, ColorScale, clRed), SETTER_CASE(S, ColorBackGnd, clRed), SETTER_CASE(S, FrameStyle, fsRaised),
       SETTER_CASE(S, ColorScheme, csSystem), SETTER_CASE(S, DateFormat, &Other), SETTER_CASE(S, ScaleType, sctXT),
       SETTER_CASE(S, Embedded, true), SETTER_CASE(S, Transparent, true)},
      [&Paints](const std::function<void()>& Call) {
        QApplication::processEvents();
        Paints = 0;
        Call();
        return Paints;
      });
}

// What a scale copies is what it shows: every shared setting, and its own.
TEST(Scale, ACopyHasEverySettingOfItsSource) {
  TScale Source, Copy;
  ChangeEveryAxisSetting(Source);
  Source.SetScaleType(sctYL);
  Source.SetMarginLeft(3);
  Source.SetFontColor(clBlue);
  Source.SetColorBackGnd(clLime);
  Source.SetFrameStyle(fsEngraved);
  Source.SetShowBaseLine(false);
  Source.DateFormat()->SetDateOrder(doYYMMDD);
  Copy.Assign(Source);
  EXPECT_TRUE(Copy.Settings() == Source.Settings());
  EXPECT_FALSE(Copy.Visible());
  EXPECT_EQ(Copy.MarginLeft(), 3);
  EXPECT_EQ(Copy.FontColor(), clBlue);
  EXPECT_EQ(Copy.ColorBackGnd(), clLime);
  EXPECT_EQ(Copy.FrameStyle(), fsEngraved);
  EXPECT_FALSE(Copy.ShowBaseLine());
  EXPECT_EQ(Copy.DateFormat()->DateOrder(), doYYMMDD);
}

TEST(Scale, OpaqueStandAloneScalePaintsWhenShownAndResized) {
  TShownScale Shown;
  TScale* S = Shown.S;
  QApplication::processEvents();
  auto Ink = [&] {
    TBitmap& Surface = const_cast<TBitmap&>(S->Surface());
    return Surface.Width() == S->width() && Surface.Height() == S->height() && !PixelsOf(Surface, clBlack).empty();
  };
  S->repaint();
  EXPECT_TRUE(Ink());
  S->resize(200, 60);
  S->repaint();
  EXPECT_TRUE(Ink());
}

TEST(Scale, NonFiniteRangeEndsAreRefused) {
  TDrawnScale D;
  D.Scale.SetRangeHigh(std::numeric_limits<double>::infinity());
  D.Scale.SetRangeLow(NAN);
  EXPECT_EQ(D.Scale.RangeLow(), 0);
  EXPECT_EQ(D.Scale.RangeHigh(), 100);
  D.Draw();
  EXPECT_EQ(D.Scale.TickValue(D.Scale.NumTicks()), 100);
}

}  // namespace

namespace {

TEST(Scale, TransparentStandAloneScalesWaitForTheirParentOpaqueOnesPaintAtOnce) {
  QWidget Window;
  auto* S = new TScale(&Window);
  S->resize(200, 60);
  Window.show();
  S->Paint();
  TBitmap& Surface = const_cast<TBitmap&>(S->Surface());
  S->SetColorBackGnd(clYellow);  // opaque: painted at once
  EXPECT_EQ(Surface.Canvas()->Pixel(100, 10), clYellow);
  S->SetTransparent(true);       // transparent: only invalidated
  const QImage Before = Surface.Image().copy();
  S->SetColorScale(clRed);
  EXPECT_EQ(Surface.Image(), Before);
}

// For random ranges: ticks lie inside the range, run one way, and stay few.
TEST(Scale, RandomRangesGiveOrderedTicksInsideTheRange) {
  std::mt19937 Gen(12);
  std::uniform_real_distribution<double> Exponent(-8, 8), Unit(-1, 1);
  for (int Round = 0; Round < 500; ++Round) {
    TDrawnScale D(Round % 2 ? sctYL : sctXB);
    const double Scale = std::pow(10.0, Exponent(Gen));
    const double Low = Unit(Gen) * Scale, High = Low + Unit(Gen) * Scale;
    if (Low == High) continue;
    D.Scale.SetRangeLow(Low);
    D.Scale.SetRangeHigh(High);
    D.Scale.SetMinTicks(2 + static_cast<int>(Gen() % 9));
    D.Scale.SetShortTicks(Round % 3 != 0);
    D.Draw();
    const double Lo = std::min(Low, High), Hi = std::max(Low, High), Tol = 0.002 * (Hi - Lo);
    ASSERT_FALSE(D.Reports.empty()) << Low << " " << High;
    EXPECT_LE(D.Scale.Labels().size(), 30) << Low << " " << High;
    for (const TReport& R : D.Reports) {
      EXPECT_GE(R.Value, Lo - Tol);
      EXPECT_LE(R.Value, Hi + Tol);
    }
    // One pass fills the table, except on vertical axes with minor ticks, where the
    // majors follow the minors.
    const bool OnePass = Round % 2 == 0 || Round % 3 == 0;
    const double Dir = High > Low ? 1 : -1;
    for (int I = 2; OnePass && I <= D.Scale.NumTicks(); ++I)
      EXPECT_GT(Dir * (D.Scale.TickValue(I) - D.Scale.TickValue(I - 1)), 0) << Low << " " << High << " " << I;
  }
}

}  // namespace
