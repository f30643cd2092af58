// The display list's fast drawing against the canvas's general drawing, pixel by pixel.
#include <gtest/gtest.h>

#include <random>

#include "chart/KVR_plotter_raster.h"
#include "kvrbase/KVR_kvrbase.h"
#include "toolkit/Bitmap.h"

namespace {

struct TPair {
  TBitmap Fast, General;
  TPair(int W, int H, std::mt19937& Gen) : Fast(W, H), General(W, H) {
    // Noise underneath, so that a pixel written in the wrong mode or colour shows.
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        const TColor C = static_cast<TColor>(Gen() & 0xFFFFFF);
        Fast.Canvas()->SetPixel(X, Y, C);
        General.Canvas()->SetPixel(X, Y, C);
      }
  }
  template <class F>
  void Both(F Set) {
    Set(Fast.Canvas());
    Set(General.Canvas());
  }
};

// Random scenes of marks of every type and lines, with every pen width, style and mode
// and both brush styles, inside, on and across the image edges and far outside.
TEST(PlotterRaster, DrawsTheSamePixelsAsTheGeneralCanvas) {
  std::mt19937 Gen(21);
  auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Gen); };
  for (int Scene = 0; Scene < 150; ++Scene) {
    const int W = Pick(12, 50), H = Pick(12, 50);
    TPair P(W, H, Gen);
    const bool Printer = Pick(0, 9) == 0;
    P.Both([&](TCanvas* C) { C->SetPrinter(Printer); });
    TItemRaster Raster(P.Fast.Canvas());
    auto Coord = [&](int Extent) { return Pick(0, 19) == 0 ? Pick(-40000, 40000) : Pick(-12, Extent + 12); };
    for (int Item = 0; Item < 96; ++Item) {
      const int Width = Pick(0, 3) == 0 ? Pick(2, 4) : 1;
      const auto Style = static_cast<TPenStyle>(Pick(0, 2) == 0 ? Pick(0, psInsideFrame) : psSolid);
      const auto Mode = Pick(0, 4) == 0 ? pmXor : pmCopy;
      const auto Brush = Pick(0, 3) == 0 ? bsClear : bsSolid;
      const bool SetBrush = Pick(0, 5) == 0;
      const auto Pen = static_cast<TColor>(Gen() & 0xFFFFFF), Fill = static_cast<TColor>(Gen() & 0xFFFFFF);
      P.Both([&](TCanvas* C) {
        C->Pen()->SetWidth(Width);
        C->Pen()->SetStyle(Style);
        C->Pen()->SetMode(Mode);
        C->Pen()->SetColor(Pen);
        C->Brush()->SetColor(Fill);
        if (SetBrush) C->Brush()->SetStyle(Brush);
      });
      const int X1 = Coord(W), Y1 = Coord(H);
      if (Item % 2 == 0) {
        const auto Type = static_cast<uint8_t>(Item / 2 % 48 + (Pick(0, 30) == 0 ? 48 : 0));
        Raster.Mark(Type, X1, Y1);
        DrawMark(P.General.Canvas(), Type, X1, Y1);
      } else {
        const int X2 = Pick(0, 3) == 0 ? X1 : Coord(W), Y2 = Pick(0, 3) == 0 ? Y1 : Coord(H);
        Raster.Line(X1, Y1, X2, Y2);
        P.General.Canvas()->MoveTo(X1, Y1);
        P.General.Canvas()->LineTo(X2, Y2);
      }
      ASSERT_TRUE(P.Fast.Image() == P.General.Image()) << "scene " << Scene << ", item " << Item;
      ASSERT_EQ(P.Fast.Canvas()->PenPos(), P.General.Canvas()->PenPos()) << "scene " << Scene << ", item " << Item;
      ASSERT_EQ(P.Fast.Canvas()->Brush()->Style(), P.General.Canvas()->Brush()->Style());
      ASSERT_EQ(P.Fast.Canvas()->Brush()->Color(), P.General.Canvas()->Brush()->Color());
    }
  }
}

// Every mark shape with either brush at every place from wholly outside an image, over
// each edge and corner, to wholly inside: the clipped runs against the general clipping.
TEST(PlotterRaster, MarksOverTheEdgesMatchAtEveryPlace) {
  std::mt19937 Gen(12);
  TPair P(11, 9, Gen);
  TItemRaster Raster(P.Fast.Canvas());
  for (int Type = 0; Type < TItemRaster::MarkShapes; ++Type)
    for (const TBrushStyle Brush : {bsSolid, bsClear})
      for (int Y = -10; Y < 20; ++Y)
        for (int X = -10; X < 22; ++X) {
          const auto Color = static_cast<TColor>(Gen() & 0xFFFFFF);
          P.Both([&](TCanvas* C) {
            C->Pen()->SetColor(Color);
            C->Brush()->SetStyle(Brush);
            C->MoveTo(0, 0);
          });
          Raster.Mark(static_cast<uint8_t>(Type), X, Y);
          DrawMark(P.General.Canvas(), static_cast<uint8_t>(Type), X, Y);
          ASSERT_TRUE(P.Fast.Image() == P.General.Image()) << "type " << Type << " at " << X << "," << Y;
          ASSERT_EQ(P.Fast.Canvas()->PenPos(), P.General.Canvas()->PenPos()) << "type " << Type;
          ASSERT_EQ(P.Fast.Canvas()->Brush()->Style(), P.General.Canvas()->Brush()->Style()) << "type " << Type;
        }
}

// A raster kept from one image to the next, as the chart keeps its own: marks placed
// for rows of the old length would land on the wrong rows of a wider image.
TEST(PlotterRaster, ARasterMovedToAnotherImageStampsForItsRows) {
  std::mt19937 Gen(3);
  TItemRaster Raster;
  for (const int W : {16, 40, 40, 9}) {
    TPair P(W, 12, Gen);
    Raster.Attach(P.Fast.Canvas());
    for (int Type = 0; Type < TItemRaster::MarkShapes; ++Type) {
      Raster.Mark(static_cast<uint8_t>(Type), 4 + Type % 5, 5);
      DrawMark(P.General.Canvas(), static_cast<uint8_t>(Type), 4 + Type % 5, 5);
    }
    EXPECT_TRUE(P.Fast.Image() == P.General.Image()) << "width " << W;
  }
}

// Long lines between inside points in all eight directions and at the exact halves,
// where rounding up towards the start and away from it differ.
TEST(PlotterRaster, LinesBetweenInsidePointsMatchInEveryOctant) {
  std::mt19937 Gen(7);
  TPair P(64, 48, Gen);
  TItemRaster Raster(P.Fast.Canvas());
  for (int X1 = 0; X1 < 64; X1 += 9)
    for (int Y1 = 0; Y1 < 48; Y1 += 7)
      for (int X2 = 63; X2 >= 0; X2 -= 5)
        for (int Y2 = 47; Y2 >= 0; Y2 -= 3) {
          const auto Color = static_cast<TColor>(Gen() & 0xFFFFFF);
          P.Both([&](TCanvas* C) { C->Pen()->SetColor(Color); });
          Raster.Line(X1, Y1, X2, Y2);
          P.General.Canvas()->MoveTo(X1, Y1);
          P.General.Canvas()->LineTo(X2, Y2);
          ASSERT_TRUE(P.Fast.Image() == P.General.Image()) << X1 << "," << Y1 << " to " << X2 << "," << Y2;
        }
}

}  // namespace
