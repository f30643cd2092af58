// The readout control: setters, the overflow rule, the frame and what it shows.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>
#include <cmath>

#include "readout/KVR_Readout.h"
#include "tests/SetterCases.h"

namespace {

// A shown readout on the offscreen screen, repainted synchronously by its setters.
struct TShownReadout {
  QWidget Window;
  TReadout* R;
  int Paints = 0;
  TShownReadout() : R(new TReadout(&Window)) {
    Window.resize(300, 60);
    Window.show();
    R->OnBeforeDisplay = [this](QObject*, QString&) { ++Paints; };
    R->Paint();
    Paints = 0;
  }
  TColor Pixel(int X, int Y) { return const_cast<TBitmap&>(R->Picture()).Canvas()->Pixel(X, Y); }
};

TEST(Readout, DefaultsAndSetterRules) {
  TReadout R;
  EXPECT_EQ(R.width(), 160);
  EXPECT_EQ(R.height(), 28);
  EXPECT_EQ(R.DisplayType(), dtFixP);
  EXPECT_EQ(R.Precision(), 2);
  EXPECT_EQ(R.OverflowIndicator(), "*********");
  EXPECT_EQ(R.StateText(), "undefined");
  EXPECT_EQ(R.DTFormat(), "mmm-dd, yyyy");
  EXPECT_EQ(R.LeftSpace(), 35);
  EXPECT_EQ(R.LabelWidth(), 80);
  EXPECT_EQ(R.FrameStyle(), fsLowered);
  EXPECT_EQ(R.Alignment(), taCenter);
  EXPECT_EQ(R.LeftTextAlignment(), taRightJustify);
  R.SetPrecision(20);
  EXPECT_EQ(R.Precision(), 15);
  R.SetPrecision(-1);
  EXPECT_EQ(R.Precision(), 15);
  R.SetLeftSpace(-4);
  EXPECT_EQ(R.LeftSpace(), 35);
  R.SetLeftSpace(500);
  EXPECT_EQ(R.LeftSpace(), 160);
}

TEST(Readout, RepaintsOnlyOnChange) {
  TShownReadout S;
  S.R->SetValue(0.5);
  EXPECT_EQ(S.Paints, 1);
  S.R->SetValue(0.5);
  S.R->SetPrecision(2);
  S.R->SetLeftText(QString());
  EXPECT_EQ(S.Paints, 1);
  S.R->SetPrecision(3);
  S.R->SetComma(true);
  EXPECT_EQ(S.Paints, 3);
  EXPECT_EQ(S.R->DisplayText(), "0,500");
}

TEST(Readout, EverySetterRepaintsOnlyOnAChange) {
  TShownReadout S;
  TReadout* R = S.R;
  ExpectChangesOnly(
      {SETTER_CASE(R, Value, 7.25), SETTER_CASE(R, DisplayType, dtHex), SETTER_CASE(R, Precision, 5),
       SETTER_CASE(R, Comma, !R->Comma()), SETTER_CASE(R, ForcePlusSign, !R->ForcePlusSign()),
       SETTER_CASE(R, OverflowIndicator, QStringLiteral("#")),
       SETTER_CASE(R, StateText, QStringLiteral("none")), SETTER_CASE(R, DTFormat, QStringLiteral("yyyy")),
       SETTER_CASE(R, LeftText, QStringLiteral("l")), SETTER_CASE(R, RightText, QStringLiteral("r")),
       SETTER_CASE(R, LeftTextAlignment, taCenter), SETTER_CASE(R, RightTextAlignment, taCenter),
       SETTER_CASE(R, Alignment, taLeftJustify), SETTER_CASE(R, LeftSpace, 12), SETTER_CASE(R, LabelWidth, 50),
       SETTER_CASE(R, FrameStyle, fsRaised), SETTER_CASE(R, ColorScheme, csSystem),
       SETTER_CASE(R, ColorLabBakG, clRed), SETTER_CASE(R, ColorLabText, clRed), SETTER_CASE(R, ColorOutBakG, clRed),
       SETTER_CASE(R, ColorOutText, clRed),
       // An empty readout paints no value, which is what is counted: on and off again.
       TSetterCase{"Empty", [R] { R->SetEmpty(R->Empty()); }, [R] {
                     R->SetEmpty(true);
                     R->SetEmpty(false);
                   }}},
      [&S](const std::function<void()>& Call) {
        S.Paints = 0;
        Call();
        return S.Paints;
      });
}

// A window being loaded sets many properties in a row: its readout draws once, when the
// window is loaded, and from then on at each change.
TEST(Readout, AWindowBeingLoadedHasItsReadoutDrawnOnceWhenLoaded) {
  struct TWindow : QWidget, TComponentBase {} Window;
  Window.Include(csLoading);
  auto* R = new TReadout(&Window);
  Window.InsertComponent(R);
  int Paints = 0;
  R->OnBeforeDisplay = [&Paints](QObject*, QString&) { ++Paints; };
  R->SetPrecision(2);
  R->SetLeftText(QStringLiteral("fit"));
  R->SetValue(0.25);
  R->resize(200, 30);
  EXPECT_EQ(Paints, 0);
  EXPECT_EQ(R->DisplayText(), QString());
  Window.NotifyLoaded();
  EXPECT_EQ(Paints, 1);
  EXPECT_EQ(R->DisplayText(), "0.25");
  EXPECT_EQ(R->Picture().Image().size(), QSize(200, 30));
  R->SetValue(0.5);
  EXPECT_EQ(Paints, 2);
  EXPECT_EQ(R->DisplayText(), "0.50");
}

TEST(Readout, IsALabelledValueToScreenReaders) {
  TShownReadout S;
  S.R->SetPrecision(4);
  S.R->SetValue(0.87654);
  S.R->SetLeftText("fit");
  S.R->SetRightText("r²");
  EXPECT_EQ(S.R->DisplayText(), "0.8765");
  QAccessibleInterface* A = QAccessible::queryAccessibleInterface(S.R);
  EXPECT_EQ(A->text(QAccessible::Name), "fit r²");
  EXPECT_EQ(A->text(QAccessible::Value), "0.8765");
  EXPECT_EQ(A->valueInterface()->currentValue().toDouble(), 0.8765);  // the number as shown
  S.R->SetComma(true);
  ASSERT_EQ(S.R->DisplayText(), "0,8765");
  EXPECT_EQ(A->valueInterface()->currentValue().toDouble(), 0.8765);
  S.R->SetComma(false);
  S.R->SetValue(std::nan(""));
  EXPECT_FALSE(A->valueInterface()->currentValue().isValid());  // no number to read
  S.R->OnBeforeDisplay = [](QObject*, QString& Text) { Text += " !"; };
  S.R->SetValue(1);
  EXPECT_EQ(S.R->DisplayText(), "1.0000 !");
  EXPECT_EQ(A->valueInterface()->currentValue().toDouble(), 1);  // no plain number: the value
  S.R->SetEmpty(true);
  EXPECT_EQ(S.R->DisplayText(), "");
}

TEST(Readout, TextWiderThanTheFieldShowsTheIndicatorExceptForStateTexts) {
  TShownReadout S;
  TReadout* R = S.R;
  R->SetDisplayType(dtState);
  R->SetStateText("a state text far too wide for the field");
  EXPECT_EQ(R->DisplayText(), "a state text far too wide for the field");
  // Find the field width at which a text is exactly LW - 6 pixels wide.
  R->SetDisplayType(dtFixP);
  R->SetPrecision(6);
  R->SetValue(123.456789);
  TBitmap Measure(1, 1);
  Measure.Canvas()->Font() = R->font();
  const int W = Measure.Canvas()->TextWidth("123.456789");
  R->SetLabelWidth(W + 6);
  EXPECT_EQ(R->DisplayText(), "123.456789");
  R->SetLabelWidth(W + 5);
  EXPECT_EQ(R->DisplayText(), "*********");
}

TEST(Readout, LoweredAndRaisedFramesOfTheLabelField) {
  TShownReadout S;
  TReadout* R = S.R;
  R->SetEmpty(true);
  const int L = R->LeftSpace(), LW = R->LabelWidth(), H = R->height();
  // Lowered: grey rectangle, black top-left edge, white bottom-right edge.
  EXPECT_EQ(S.Pixel(L, 5), clGray);
  EXPECT_EQ(S.Pixel(L + LW + 1, 5), clGray);
  EXPECT_EQ(S.Pixel(L + 1, 5), clBlack);
  EXPECT_EQ(S.Pixel(L + 5, 1), clBlack);
  EXPECT_EQ(S.Pixel(L + 5, H - 1), clWhite);
  EXPECT_EQ(S.Pixel(L + LW + 2, 5), clWhite);
  EXPECT_EQ(S.Pixel(L + LW + 2, 0), ColorToRGB(clBtnFace));  // the edge omits its last point
  EXPECT_EQ(S.Pixel(L + 5, 5), ColorToRGB(clBtnFace));
  R->SetFrameStyle(fsRaised);
  EXPECT_EQ(S.Pixel(L + 1, 5), clWhite);
  EXPECT_EQ(S.Pixel(L + 5, H - 1), clBlack);
  R->SetColorScheme(csSystem);
  EXPECT_EQ(S.Pixel(L, 5), ColorToRGB(clBtnShadow));
}

TEST(Readout, ValueIsClippedToItsFieldAndSideTextsAreDrawn) {
  TShownReadout S;
  TReadout* R = S.R;
  R->SetColorLabBakG(clYellow);
  R->SetLeftText("r\u00B2");
  R->SetRightText("unit");
  R->SetDisplayType(dtState);
  R->SetStateText("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  const int L = R->LeftSpace(), LW = R->LabelWidth();
  bool LeftInk = false, RightInk = false;
  for (int Y = 0; Y < R->height(); ++Y) {
    for (int X = 0; X < L; ++X) LeftInk |= S.Pixel(X, Y) != ColorToRGB(clBtnFace);
    for (int X = L + LW + 3; X < R->width(); ++X) RightInk |= S.Pixel(X, Y) != ColorToRGB(clBtnFace);
  }
  EXPECT_TRUE(LeftInk);
  EXPECT_TRUE(RightInk);
  // The clipped state text stays inside the field: the frame pixels keep their colours.
  EXPECT_EQ(S.Pixel(L + 2, 10), clYellow);
  EXPECT_EQ(S.Pixel(L + LW, 10), clYellow);
}

// A new value is drawn over the field of the last picture: the same as a whole paint,
// for wider and narrower texts, the same text, the overflow indicator and every alignment.
// A value set while the readout is hidden shows when it is shown again.
TEST(Readout, ANewValueLooksAsAWholePaintWouldDrawIt) {
  TShownReadout S;
  TReadout* R = S.R;
  R->SetColorLabBakG(clYellow);
  for (TAlignment A : {taLeftJustify, taCenter, taRightJustify}) {
    R->SetAlignment(A);
    for (double V : {1.0, 8888.888, -0.5, 1e20, std::nan(""), 7.254, 7.251, 0.0}) {
      R->SetValue(V);
      const QImage Drawn = R->Picture().Image().copy();
      R->Paint();
      EXPECT_EQ(R->Picture().Image(), Drawn) << V << " aligned " << A;
    }
  }
  R->hide();
  R->SetValue(2);
  R->show();
  (void)R->grab();
  EXPECT_EQ(R->DisplayText(), "2.00");
}

TEST(Readout, AssignCopiesSettingsButNotTheSeparator) {
  TReadout A, B;
  A.SetValue(3.5);
  A.SetDisplayType(dtHex);
  A.SetComma(true);
  A.SetLeftText("x");
  A.SetColorScheme(csSystem);
  B.Assign(A);
  EXPECT_EQ(B.Value(), 3.5);
  EXPECT_EQ(B.DisplayType(), dtHex);
  EXPECT_EQ(B.LeftText(), "x");
  EXPECT_EQ(B.ColorScheme(), csSystem);
  EXPECT_FALSE(B.Comma());
}

TEST(Readout, MouseAreaFollowsThePointer) {
  TShownReadout S;
  int Moves = 0;
  S.R->OnMouseMove = [&](QObject*, Qt::KeyboardModifiers, int, int) { ++Moves; };
  QTest::mouseMove(S.R, QPoint(20, 10));
  EXPECT_EQ(S.R->MouseArea(), 0);
  QTest::mouseMove(S.R, QPoint(60, 10));
  EXPECT_EQ(S.R->MouseArea(), 1);
  QTest::mouseMove(S.R, QPoint(150, 10));
  EXPECT_EQ(S.R->MouseArea(), 2);
  EXPECT_GE(Moves, 1);
}

}  // namespace
