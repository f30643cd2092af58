// Helpers for tests that read pixels of a canvas.
#pragma once

#include <QPoint>
#include <set>
#include <string>
#include <utility>

#include "toolkit/Bitmap.h"

using TPixelSet = std::set<std::pair<int, int>>;

// A bitmap cleared to white.
inline void ClearWhite(TBitmap& B) {
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->Brush()->SetStyle(bsSolid);
  B.Canvas()->FillRect(0, 0, B.Width(), B.Height());
}

// Every pixel of the bitmap that has Color.
inline TPixelSet PixelsOf(TBitmap& B, TColor Color) {
  TPixelSet Result;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (B.Canvas()->Pixel(X, Y) == Color) Result.insert({X, Y});
  return Result;
}

// Every pixel that is not white.
inline TPixelSet Painted(TBitmap& B) {
  TPixelSet Result;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (B.Canvas()->Pixel(X, Y) != clWhite) Result.insert({X, Y});
  return Result;
}

// The inclusive block X1..X2, Y1..Y2.
inline TPixelSet Block(int X1, int Y1, int X2, int Y2) {
  TPixelSet Result;
  for (int Y = Y1; Y <= Y2; ++Y)
    for (int X = X1; X <= X2; ++X) Result.insert({X, Y});
  return Result;
}

// A picture of the inclusive block as rows of '#' (painted) and '.' (white), for
// comparing small shapes at a glance.
inline std::string Picture(TBitmap& B, int X1, int Y1, int X2, int Y2) {
  std::string Rows;
  for (int Y = Y1; Y <= Y2; ++Y) {
    for (int X = X1; X <= X2; ++X) Rows += B.Canvas()->Pixel(X, Y) == clWhite ? '.' : '#';
    Rows += '\n';
  }
  return Rows;
}
