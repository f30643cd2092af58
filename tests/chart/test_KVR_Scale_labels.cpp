// Kept label texts against the canvas's own text drawing.
#include <gtest/gtest.h>

#include <random>

#include "chart/KVR_Scale_labels.h"
#include "tests/chart/ChartFixture.h"

namespace {

// Labels over plain colours, over a line and near the edges, drawn once and again from
// what was kept, with font, colour and text changing between rounds.
TEST(LabelStamps, GiveTheCanvasTextPixelsWhateverIsUnderneath) {
  std::mt19937 Gen(5);
  TLabelStamps Stamps;
  TBitmap Kept(120, 60), Direct(120, 60);
  const QStringList Texts{"1.5", "1,5", "-10", "0.25E-03", "jgf|"};
  for (int Round = 0; Round < 40; ++Round) {
    const auto Under = static_cast<TColor>(Gen() & 0xFFFFFF), Ink = static_cast<TColor>(Gen() & 0xFFFFFF);
    const QFont Font(Round % 3 ? QStringLiteral("Liberation Sans") : QStringLiteral("Liberation Serif"), 7 + Round % 4);
    const int X = int(Gen() % 140) - 10, Y = int(Gen() % 80) - 10;
    const QString& Text = Texts[Round % Texts.size()];
    for (TBitmap* B : {&Kept, &Direct}) {
      TCanvas* C = B->Canvas();
      C->Brush()->SetColor(Under);
      C->Brush()->SetStyle(bsSolid);
      C->FillRect(0, 0, 120, 60);
      if (Round % 5 == 0) C->MoveTo(0, Y + 5), C->LineTo(120, Y + 5);  // drawing underneath
      C->Brush()->SetStyle(Round % 7 == 0 ? bsSolid : bsClear);
      C->Font() = Font;
      C->SetFontColor(Ink);
    }
    for (int Again = 0; Again < 2; ++Again) {
      EXPECT_EQ(Stamps.TextWidth(Kept.Canvas(), Text), Direct.Canvas()->TextWidth(Text));
      EXPECT_EQ(Stamps.TextHeight(Kept.Canvas(), Text), Direct.Canvas()->TextHeight(Text));
      Stamps.TextOut(Kept.Canvas(), X, Y, Text);
      Direct.Canvas()->TextOut(X, Y, Text);
      ASSERT_TRUE(Kept.Image() == Direct.Image()) << "round " << Round << ", " << Text.toStdString();
      EXPECT_EQ(Kept.Canvas()->PenPos(), Direct.Canvas()->PenPos());
    }
  }
}

// A chart repainted after changes of range, decimal comma, font and colour shows what a
// chart set up that way from the start shows.
TEST(LabelStamps, ChartRepaintsMatchAFreshChartAfterChanges) {
  TChartFixture Used;
  auto Change = [](TChartFixture& F) {
    F.Chart->Scale1X()->SetRangeLow(-1.5);
    F.Chart->Scale1X()->SetRangeHigh(2.5);
    F.Chart->Scale1X()->SetDecimalComma(true);
    F.Chart->Scale1Y()->SetColorScale(clBlue);
    F.Chart->Scale1Y()->SetFont(QFont(QStringLiteral("Liberation Serif"), 11));
  };
  Used.Chart->Paint();
  Used.Chart->Paint();
  Change(Used);
  Used.Chart->Paint();
  TChartFixture Fresh;
  Change(Fresh);
  Fresh.Chart->Paint();
  EXPECT_TRUE(Used.Chart->Surface() == Fresh.Chart->Surface());
  EXPECT_EQ(Used.Chart->ScaleOf(0, 1)->Labels(), Fresh.Chart->ScaleOf(0, 1)->Labels());
  EXPECT_TRUE(Used.Chart->ScaleOf(0, 1)->Labels().contains(QStringLiteral("1,0")));
}

}  // namespace
