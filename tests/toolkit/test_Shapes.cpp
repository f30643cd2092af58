// Text, images and colours on the canvas.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>

#include "tests/PixelTest.h"

namespace {

TEST(CanvasText, OpaqueTextFillsItsCellWithTheBrush) {
  TBitmap B(100, 40);
  ClearWhite(B);
  TCanvas* C = B.Canvas();
  C->Brush()->SetColor(clYellow);
  C->SetFontColor(clBlue);
  C->TextOut(10, 5, QStringLiteral("Ag"));
  const int W = C->TextWidth(QStringLiteral("Ag")), H = C->TextHeight(QStringLiteral("Ag"));
  EXPECT_GT(W, 4);
  EXPECT_GT(H, 6);
  EXPECT_EQ(C->Pixel(10, 5), clYellow);
  EXPECT_EQ(C->Pixel(10 + W - 1, 5), clYellow);
  EXPECT_EQ(C->Pixel(10 + W, 5), clWhite);
  EXPECT_EQ(C->Pixel(9, 5), clWhite);
  bool Ink = false;
  for (auto [X, Y] : Block(10, 5, 10 + W - 1, 5 + H - 1)) Ink |= C->Pixel(X, Y) != clYellow;
  EXPECT_TRUE(Ink);
}

TEST(CanvasText, ClearBrushWritesOnlyInk) {
  TBitmap B(100, 40);
  ClearWhite(B);
  B.Canvas()->Brush()->SetStyle(bsClear);
  B.Canvas()->TextOut(10, 5, QStringLiteral("Ag"));
  EXPECT_EQ(B.Canvas()->Pixel(10, 5), clWhite);
  EXPECT_FALSE(Painted(B).empty());
}

TEST(CanvasText, TextRectIsClippedAndOpaque) {
  TBitmap B(100, 40);
  ClearWhite(B);
  B.Canvas()->Brush()->SetColor(clSilver);
  B.Canvas()->TextRect(QRect(20, 10, 10, 10), 15, 8, QStringLiteral("WWWWWW"));
  for (auto [X, Y] : Painted(B)) {
    EXPECT_GE(X, 20);
    EXPECT_LT(X, 30);
    EXPECT_GE(Y, 10);
    EXPECT_LT(Y, 20);
  }
  EXPECT_EQ(B.Canvas()->Pixel(29, 19) == clWhite, false);
}

TEST(CanvasImage, DrawAndStretchDraw) {
  QImage Red(2, 2, QImage::Format_RGB32);
  Red.fill(ToQRgb(clRed));
  TBitmap B(20, 20);
  ClearWhite(B);
  B.Canvas()->Draw(3, 4, Red);
  EXPECT_EQ(PixelsOf(B, clRed), Block(3, 4, 4, 5));
  ClearWhite(B);
  B.Canvas()->StretchDraw(QRect(10, 10, 6, 4), Red);
  EXPECT_EQ(PixelsOf(B, clRed), Block(10, 10, 15, 13));
}

TEST(Colors, ConversionSwapsRedAndBlueOnce) {
  EXPECT_EQ(ToQRgb(clRed), 0xFFFF0000u);
  EXPECT_EQ(ToQRgb(clBlue), 0xFF0000FFu);
  EXPECT_EQ(ToQRgb(0x00563412), 0xFF123456u);
  EXPECT_EQ(FromQRgb(0xFF123456u), 0x00563412);
  EXPECT_EQ(ColorToRGB(0x01123456), 0x00123456);
}

TEST(Colors, SystemColoursComeFromThePalette) {
  const QPalette P = QGuiApplication::palette();
  EXPECT_EQ(ToQRgb(clBtnFace), P.color(QPalette::Button).rgb());
  EXPECT_EQ(ToQRgb(clBtnHighlight), P.color(QPalette::Light).rgb());
  EXPECT_EQ(ToQRgb(clWindow), P.color(QPalette::Base).rgb());
  EXPECT_EQ(ToQRgb(clGrayText), P.color(QPalette::Disabled, QPalette::Text).rgb());
  EXPECT_FALSE(IsSystemColor(ColorToRGB(clBtnShadow)));
}

}  // namespace
