// Data marks: the shape table read back from pixels.
#include <gtest/gtest.h>

#include "kvrbase/KVR_kvrbase.h"
#include "tests/PixelTest.h"

namespace {

// Draws one mark in red at (10, 10) on a white 21 x 21 bitmap.
struct TMarkCanvas {
  TBitmap B{21, 21};
  explicit TMarkCanvas(uint8_t Type, bool Printer = false) {
    ClearWhite(B);
    B.Canvas()->SetPrinter(Printer);
    B.Canvas()->Pen()->SetColor(clRed);
    B.Canvas()->Brush()->SetColor(clSilver);
    DrawMark(B.Canvas(), Type, 10, 10);
  }
  TPixelSet Red() { return PixelsOf(B, clRed); }
  std::string Around() { return Picture(B, 6, 6, 14, 14); }  // centre +-4
};

TPixelSet Ring(int X1, int Y1, int X2, int Y2) {
  TPixelSet R = Block(X1, Y1, X2, Y2);
  for (auto P : Block(X1 + 1, Y1 + 1, X2 - 1, Y2 - 1)) R.erase(P);
  return R;
}

TEST(DrawMark, OpenSquareIsExactly24OutlinePixels) {
  TBitmap B(200, 100);
  ClearWhite(B);
  DrawMark(B.Canvas(), 12, 100, 50);
  EXPECT_EQ(Painted(B), Ring(97, 47, 103, 53));
  EXPECT_EQ(Painted(B).size(), 24u);
}

TEST(DrawMark, SquaresAndCircles) {
  EXPECT_EQ(TMarkCanvas(9).Red(), Block(7, 7, 13, 13));
  EXPECT_EQ(TMarkCanvas(7).Red(), Block(9, 9, 11, 11));
  EXPECT_EQ(TMarkCanvas(8).Red(), Block(8, 8, 12, 12));
  EXPECT_EQ(TMarkCanvas(10).Red(), Ring(9, 9, 11, 11));
  EXPECT_EQ(TMarkCanvas(11).Red(), Ring(8, 8, 12, 12));
  const TPixelSet Circle = TMarkCanvas(24).Red();
  for (auto P : Circle) EXPECT_TRUE(Block(7, 7, 13, 13).count(P));
  EXPECT_FALSE(Circle.count({7, 7}));
  EXPECT_TRUE(Circle.count({10, 7}) && Circle.count({7, 10}) && Circle.count({13, 10}) && Circle.count({10, 13}));
  EXPECT_EQ(TMarkCanvas(24).Around(),
            ".........\n"
            "...###...\n"
            "..#####..\n"
            ".#######.\n"
            ".#######.\n"
            ".#######.\n"
            "..#####..\n"
            "...###...\n"
            ".........\n");
  // An open circle is the outline of the same disc; its inside stays white.
  EXPECT_EQ(TMarkCanvas(17).Around(),
            ".........\n"
            "...###...\n"
            "..#...#..\n"
            ".#.....#.\n"
            ".#.....#.\n"
            ".#.....#.\n"
            "..#...#..\n"
            "...###...\n"
            ".........\n");
}

TEST(DrawMark, FourPixelCirclesAreNotCentred) {
  for (uint8_t Type : {27, 28}) {
    const TPixelSet P = TMarkCanvas(Type).Red();
    ASSERT_FALSE(P.empty());
    for (auto Pixel : P) EXPECT_TRUE(Block(8, 8, 11, 11).count(Pixel)) << int(Type);
    EXPECT_TRUE(P.count({8, 9}) && P.count({11, 10}));
  }
}

TEST(DrawMark, InvertedTStaysAboveThePoint) {
  const TPixelSet P = TMarkCanvas(37).Red();
  TPixelSet Expected = Block(7, 10, 13, 10);
  for (auto Pixel : Block(10, 3, 10, 10)) Expected.insert(Pixel);
  EXPECT_EQ(P, Expected);
}

TEST(DrawMark, PatternsOnScreenAndLinesOnThePrinter) {
  EXPECT_EQ(TMarkCanvas(1).Red(), TPixelSet({{10, 9}, {9, 10}, {10, 10}, {11, 10}, {10, 11}}));
  TPixelSet PrinterPlus = Block(8, 10, 11, 10);
  for (auto P : Block(10, 8, 10, 11)) PrinterPlus.insert(P);
  EXPECT_EQ(TMarkCanvas(1, true).Red(), PrinterPlus);
  EXPECT_EQ(TMarkCanvas(25).Around(),
            ".........\n"
            ".##...##.\n"
            ".###.###.\n"
            "..#####..\n"
            "...###...\n"
            "..#####..\n"
            ".###.###.\n"
            ".##...##.\n"
            ".........\n");
  EXPECT_EQ(TMarkCanvas(18).Red().size(), 25u);
  EXPECT_TRUE(TMarkCanvas(18, true).Red().empty());  // zero-length lines paint nothing
  EXPECT_EQ(TMarkCanvas(6).Red().size(), 13u);
  EXPECT_EQ(TMarkCanvas(6, true).Red().size(), 15u);  // the two strokes share the centre
}

TEST(DrawMark, DiamondsAndTriangles) {
  EXPECT_EQ(TMarkCanvas(15).Around(),
            ".........\n"
            "....#....\n"
            "...###...\n"
            "..#####..\n"
            ".#######.\n"
            "..#####..\n"
            "...###...\n"
            "....#....\n"
            ".........\n");
  EXPECT_EQ(TMarkCanvas(19).Around(),
            ".........\n"
            "....#....\n"
            "...#.#...\n"
            "..#...#..\n"
            ".#.....#.\n"
            "..#...#..\n"
            "...#.#...\n"
            "....#....\n"
            ".........\n");
  EXPECT_EQ(TMarkCanvas(36).Around(),
            "....#....\n"
            "...###...\n"
            "...###...\n"
            "..#####..\n"
            "..#####..\n"
            ".#######.\n"
            ".#######.\n"
            "#########\n"
            ".........\n");
  // An open triangle keeps its inside white.
  EXPECT_EQ(TMarkCanvas(35).B.Canvas()->Pixel(10, 12), clWhite);
}

TEST(DrawMark, CharacterMarkIsCentredTextAndLeavesTheBrushAlone) {
  TBitmap B(41, 41);
  ClearWhite(B);
  TCanvas* C = B.Canvas();
  C->Brush()->SetStyle(bsClear);
  C->Brush()->SetColor(clSilver);
  DrawMark(C, 65, 20, 20);
  const TPixelSet Ink = Painted(B);
  ASSERT_FALSE(Ink.empty());
  int MinX = 99, MaxX = -1;
  for (auto [X, Y] : Ink) MinX = std::min(MinX, X), MaxX = std::max(MaxX, X);
  EXPECT_LE(std::abs((MinX + MaxX) / 2 - 20), 1);
  EXPECT_EQ(C->Brush()->Color(), clSilver);
  EXPECT_EQ(C->Brush()->Style(), bsClear);
}

TEST(DrawMark, BrushRules) {
  TBitmap B(21, 21);
  TCanvas* C = B.Canvas();
  C->Pen()->SetColor(clRed);
  C->Brush()->SetColor(clSilver);
  C->Brush()->SetStyle(bsSolid);
  DrawMark(C, 24, 10, 10);  // filled: colour restored
  EXPECT_EQ(C->Brush()->Color(), clSilver);
  for (uint8_t Open : {16, 17, 27, 31, 32, 33, 35, 39, 40, 42, 44, 46}) {
    C->Brush()->SetStyle(bsClear);
    DrawMark(C, Open, 10, 10);
    EXPECT_EQ(C->Brush()->Style(), bsSolid) << int(Open);
    EXPECT_EQ(C->Brush()->Color(), clSilver) << int(Open);
  }
  C->Brush()->SetStyle(bsClear);
  DrawMark(C, 12, 10, 10);  // lines: brush untouched
  EXPECT_EQ(C->Brush()->Style(), bsClear);
}

TEST(DrawMark, EveryTypeDrawsInsideItsBoxAndOffCanvasIsHarmless) {
  for (int Type = 0; Type < 48; ++Type) {
    TMarkCanvas M(static_cast<uint8_t>(Type));
    for (auto [X, Y] : Painted(M.B)) {
      EXPECT_LE(std::abs(X - 10), 4) << Type;
      EXPECT_LE(std::abs(Y - 10), 8) << Type;
    }
    EXPECT_EQ(M.B.Canvas()->Pen()->Color(), clRed);
    TBitmap Edge(5, 5);
    DrawMark(Edge.Canvas(), static_cast<uint8_t>(Type), -1, 6);
    DrawMark(Edge.Canvas(), static_cast<uint8_t>(Type), INT_MAX, INT_MIN);
  }
}

}  // namespace
