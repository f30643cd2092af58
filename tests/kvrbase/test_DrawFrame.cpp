// The bevelled frame: which colour lands on which edge.
#include <gtest/gtest.h>

#include "kvrbase/KVR_kvrbase.h"
#include "tests/PixelTest.h"

namespace {

constexpr TFrameColors Colors{clBlack, 0x111111, 0x222222};

struct TFrameCase {
  TFrameStyle Style;
  TColor A, B, C, D;
};

std::string StyleName(const ::testing::TestParamInfo<TFrameCase>& Info) {
  static const char* const Names[] = {"None", "Simple", "Lowered", "Raised", "Embossed", "Engraved"};
  return Names[Info.param.Style];
}

class Frame : public ::testing::TestWithParam<TFrameCase> {};

TEST_P(Frame, RingsCarryTheirColours) {
  const TFrameCase F = GetParam();
  TBitmap Bmp(12, 10);
  ClearWhite(Bmp);
  TCanvas* Cv = Bmp.Canvas();
  Cv->Pen()->SetColor(clRed);
  DrawFrame(Cv, F.Style, 1, 1, 10, 8, Colors);
  EXPECT_EQ(Cv->Pen()->Color(), clRed);
  EXPECT_EQ(Cv->Pixel(1, 1), F.A);    // top-left corner
  EXPECT_EQ(Cv->Pixel(1, 5), F.A);    // left column
  EXPECT_EQ(Cv->Pixel(10, 1), F.A);   // top row reaches the right corner
  EXPECT_EQ(Cv->Pixel(10, 2), F.B);   // right column
  EXPECT_EQ(Cv->Pixel(1, 8), F.B);    // bottom row overwrites the bottom-left corner
  EXPECT_EQ(Cv->Pixel(5, 8), F.B);
  EXPECT_EQ(Cv->Pixel(2, 2), F.C);
  EXPECT_EQ(Cv->Pixel(2, 6), F.C);
  EXPECT_EQ(Cv->Pixel(9, 2), F.C);    // inner top row ends at Right - 1
  EXPECT_EQ(Cv->Pixel(9, 3), F.D);
  EXPECT_EQ(Cv->Pixel(2, 7), F.D);    // inner bottom row reaches Left + 1
  EXPECT_EQ(Cv->Pixel(3, 3), clWhite);
  EXPECT_EQ(Cv->Pixel(0, 0), clWhite);
  EXPECT_EQ(Cv->Pixel(11, 9), clWhite);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, Frame,
    ::testing::Values(TFrameCase{fsLowered, 0x111111, 0x222222, clBlack, clSilver},
                      TFrameCase{fsRaised, 0x222222, clBlack, clSilver, 0x111111},
                      TFrameCase{fsEmbossed, 0x222222, 0x111111, 0x111111, 0x222222},
                      TFrameCase{fsEngraved, 0x111111, 0x222222, 0x222222, 0x111111}),
    StyleName);

TEST(Frame, SimpleIsAClosedDarkOutlineAndNoneDrawsNothing) {
  TBitmap Bmp(12, 10);
  ClearWhite(Bmp);
  DrawFrame(Bmp.Canvas(), fsNone, 1, 1, 10, 8, Colors);
  EXPECT_TRUE(Painted(Bmp).empty());
  DrawFrame(Bmp.Canvas(), fsSimple, 1, 1, 10, 8, Colors);
  TPixelSet Ring = Block(1, 1, 10, 8);
  for (auto P : Block(2, 2, 9, 7)) Ring.erase(P);
  EXPECT_EQ(PixelsOf(Bmp, clBlack), Ring);
}

}  // namespace
