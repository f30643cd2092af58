// A shown chart set up like the program's: 361 x 281, margins 40, 8, 1, 40, x from -15
// to 15 at the bottom, y from -11 to 11 at the left.
#pragma once

#include <QWidget>

#include "chart/KVR_plotter.h"
#include "tests/PixelTest.h"

// Every setting an axis shares between a scale and the chart's axis properties, away
// from its default, through the setters both have.
template <class TAxis>
void ChangeEveryAxisSetting(TAxis& A) {
  A.SetRangeLow(2);
  A.SetRangeHigh(2000);
  A.SetLogarithmic(true);
  A.SetLabelType(ftUserText);
  A.SetDecPlaces(3);
  A.SetDecimalComma(true);
  A.SetMinTicks(6);
  A.SetShortTicks(false);
  A.SetUserTickText(QStringLiteral("u"));
  A.SetScaleInscript(QStringLiteral("i"));
  A.SetCaption(QStringLiteral("c"));
  A.SetCaptionPosX(-3);
  A.SetCaptionPosY(12);
  A.SetCaptionAlignment(taRightJustify);
  A.SetCaptionAnchor(uaSclCenter);
  A.SetColorScale(clRed);
  A.SetVisible(!A.Visible());
}

struct TChartFixture {
  QWidget Window;
  TPlotter* Chart;
  TChartFixture() : Chart(new TPlotter(&Window)) {
    Window.resize(500, 500);
    Chart->SetBounds(112, 168, 361, 281);
    Chart->SetMarginLeft(40);
    Chart->SetMarginRight(8);
    Chart->SetMarginTop(1);
    Chart->SetMarginBottom(40);
    Chart->Scale1X()->SetRangeLow(-15);
    Chart->Scale1X()->SetRangeHigh(15);
    Chart->Scale1Y()->SetRangeLow(-11);
    Chart->Scale1Y()->SetRangeHigh(11);
    Window.show();
  }
  // Pixels of the control as shown, and of the chart-area image.
  TColor Shown(int X, int Y) const { return FromQRgb(Chart->Surface().pixel(X, Y)); }
  TColor Area(int X, int Y) const { return Chart->ChartAreaImage()->Canvas()->Pixel(X, Y); }
  TPixelSet AreaPixels(TColor Color) const { return PixelsOf(*Chart->ChartAreaImage(), Color); }
};
