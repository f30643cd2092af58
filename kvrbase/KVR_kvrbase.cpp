#include "kvrbase/KVR_kvrbase.h"

#include "toolkit/CodePage.h"

#include <array>
#include <initializer_list>

namespace {

// 7 rows (y - 3 .. y + 3); bit k of a row is the column x + 3 - k.
using TPattern = std::array<uint8_t, 7>;

const TPattern* PatternOf(uint8_t MarkType) {
  static const TPattern P1{0x00, 0x00, 0x08, 0x1C, 0x08, 0x00, 0x00};
  static const TPattern P2{0x00, 0x08, 0x08, 0x3E, 0x08, 0x08, 0x00};
  static const TPattern P3{0x08, 0x08, 0x08, 0x7F, 0x08, 0x08, 0x08};
  static const TPattern P4{0x00, 0x00, 0x14, 0x08, 0x14, 0x00, 0x00};
  static const TPattern P5{0x00, 0x22, 0x14, 0x08, 0x14, 0x22, 0x00};
  static const TPattern P6{0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41};
  static const TPattern P18{0x55, 0x2A, 0x55, 0x2A, 0x55, 0x2A, 0x55};
  static const TPattern P25{0x63, 0x77, 0x3E, 0x1C, 0x3E, 0x77, 0x63};
  switch (MarkType) {
    case 1: return &P1;
    case 2: return &P2;
    case 3: return &P3;
    case 4: return &P4;
    case 5: return &P5;
    case 6: return &P6;
    case 18: return &P18;
    case 25: return &P25;
    default: return nullptr;
  }
}

struct TOffset {
  int DX, DY;
};

// Draws with offsets from the mark's centre.
class TMarkPen {
public:
  TMarkPen(TCanvas* Canvas, int X, int Y) : C(Canvas), X(X), Y(Y) {}
  // A chain P0 to P1 to ...: one move, then line-to steps.
  void Chain(std::initializer_list<TOffset> Points) const { C->Polyline(Place(Points)); }
  void Line(TOffset From, TOffset To) const { Chain({From, To}); }
  void Rect(int X1, int Y1, int X2, int Y2) const { C->Rectangle(X + X1, Y + Y1, X + X2, Y + Y2); }
  void Circle(int X1, int Y1, int X2, int Y2) const { C->Ellipse(X + X1, Y + Y1, X + X2, Y + Y2); }
  void Poly(std::initializer_list<TOffset> Points) const { C->Polygon(Place(Points)); }
  void Stamp(const TPattern& Pattern) const {
    for (int Row = 0; Row < 7; ++Row)
      for (int Bit = 0; Bit < 7; ++Bit)
        if (Pattern[Row] & (1 << Bit)) C->SetPixel(X + 3 - Bit, Y + Row - 3, C->Pen()->Color());
  }

private:
  // The points in canvas pixels; shapes have at most five.
  std::span<const QPoint> Place(std::initializer_list<TOffset> Points) const {
    size_t N = 0;
    for (const TOffset& P : Points) Placed[N++] = QPoint(X + P.DX, Y + P.DY);
    return {Placed.data(), N};
  }
  TCanvas* C;
  int X, Y;
  mutable std::array<QPoint, 5> Placed;
};

void DrawCharacterMark(TCanvas* Canvas, uint8_t Code, int X, int Y) {
  const QString Text(Cp1252Char(Code));
  const int W = Canvas->TextWidth(Text), H = Canvas->TextHeight(Text);
  Canvas->TextOut(X - W / 2, Y - H / 2, Text);
}

// The printer forms of the eight pattern shapes.
void DrawPatternLines(const TMarkPen& P, uint8_t MarkType) {
  switch (MarkType) {
    case 1: case 2: case 3: {
      const int A = MarkType + 1;
      P.Line({-A, 0}, {A, 0});
      P.Line({0, -A}, {0, A});
      break;
    }
    case 4: case 5: case 6: {
      const int A = MarkType - 2;
      P.Line({-A, -A}, {A, A});
      P.Line({-A, A}, {A, -A});
      break;
    }
    case 18:
      for (int DX = -3; DX <= 3; ++DX)
        for (int DY = -3; DY <= 3; ++DY)
          if ((DX + DY) % 2 == 0) P.Line({DX, DY}, {DX, DY});
      break;
    case 25:
      P.Line({-3, -3}, {3, 3});
      P.Line({-3, -2}, {2, 3});
      P.Line({-2, -3}, {3, 2});
      P.Line({-3, 3}, {3, -3});
      P.Line({-3, 2}, {2, -3});
      P.Line({-2, 3}, {3, -2});
      break;
    default: break;
  }
}

// Open shapes clear the brush while drawing and leave it solid.
template <class F>
void Open(TCanvas* Canvas, F Shape) {
  Canvas->Brush()->SetStyle(bsClear);
  Shape();
  Canvas->Brush()->SetStyle(bsSolid);
}

// Filled shapes paint their inside in the mark colour.
template <class F>
void Filled(TCanvas* Canvas, F Shape) {
  Canvas->Brush()->SetColor(Canvas->Pen()->Color());
  Shape();
}

void DrawShape(TCanvas* Canvas, uint8_t MarkType, const TMarkPen& P) {
  auto Closed = [&](int A) { P.Chain({{-A, -A}, {-A, A}, {A, A}, {A, -A}, {-A, -A}}); };
  switch (MarkType) {
    case 7: Filled(Canvas, [&] { P.Rect(-1, -1, 2, 2); }); break;
    case 8: Filled(Canvas, [&] { P.Rect(-2, -2, 3, 3); }); break;
    case 9: Filled(Canvas, [&] { P.Rect(-3, -3, 4, 4); }); break;
    case 10: Closed(1); break;
    case 11: Closed(2); break;
    case 12: Closed(3); break;
    case 13: Filled(Canvas, [&] { P.Poly({{-1, 0}, {0, 1}, {1, 0}, {0, -1}}); }); break;
    case 14: Filled(Canvas, [&] { P.Poly({{-2, 0}, {0, 2}, {2, 0}, {0, -2}}); }); break;
    case 15: Filled(Canvas, [&] { P.Poly({{-3, 0}, {0, 3}, {3, 0}, {0, -3}}); }); break;
    case 16: Open(Canvas, [&] { P.Circle(-2, -2, 3, 3); }); break;
    case 17: Open(Canvas, [&] { P.Circle(-3, -3, 4, 4); }); break;
    case 19: P.Chain({{-3, 0}, {0, 3}, {3, 0}, {0, -3}, {-3, 0}}); break;
    case 20: P.Line({0, 0}, {-3, 3}); P.Line({0, 0}, {3, 3}); break;
    case 21: P.Line({0, 0}, {-4, 4}); P.Line({0, 0}, {4, 4}); break;
    case 22: P.Line({0, 0}, {-3, -3}); P.Line({0, 0}, {3, -3}); break;
    case 23: P.Line({0, 0}, {-4, -4}); P.Line({0, 0}, {4, -4}); break;
    case 24: Filled(Canvas, [&] { P.Circle(-3, -3, 4, 4); }); break;
    case 26: Filled(Canvas, [&] { P.Circle(-2, -2, 3, 3); }); break;
    case 27: Open(Canvas, [&] { P.Circle(-2, -2, 2, 2); }); break;
    case 28: Filled(Canvas, [&] { P.Circle(-2, -2, 2, 2); }); break;
    case 29: Filled(Canvas, [&] { P.Poly({{-2, 0}, {0, 2}, {2, 0}}); }); break;
    case 30: Filled(Canvas, [&] { P.Poly({{-3, 0}, {0, 3}, {3, 0}}); }); break;
    case 31: Open(Canvas, [&] { P.Poly({{-2, 0}, {0, 2}, {2, 0}}); }); break;
    case 32: Open(Canvas, [&] { P.Poly({{-3, 0}, {0, 3}, {3, 0}}); }); break;
    case 33: Open(Canvas, [&] { P.Poly({{-4, -3}, {0, 4}, {4, -3}}); }); break;
    case 34: Filled(Canvas, [&] { P.Poly({{-4, -3}, {0, 4}, {4, -3}}); }); break;
    case 35: Open(Canvas, [&] { P.Poly({{-4, 3}, {0, -4}, {4, 3}}); }); break;
    case 36: Filled(Canvas, [&] { P.Poly({{-4, 3}, {0, -4}, {4, 3}}); }); break;
    case 37: P.Line({-3, 0}, {4, 0}); P.Line({0, 0}, {0, -8}); break;
    case 38: P.Line({-3, -2}, {4, -2}); P.Line({-3, 2}, {4, 2}); P.Line({0, -2}, {0, 2}); break;
    case 39:
      Open(Canvas, [&] { P.Circle(-3, -3, 4, 4); });
      P.Line({-3, 0}, {4, 0});
      P.Line({0, -3}, {0, 4});
      break;
    case 40: Open(Canvas, [&] { P.Poly({{3, -2}, {-2, 0}, {3, 2}}); }); break;
    case 41: Filled(Canvas, [&] { P.Poly({{3, -2}, {-2, 0}, {3, 2}}); }); break;
    case 42: Open(Canvas, [&] { P.Poly({{4, -3}, {-3, 0}, {4, 3}}); }); break;
    case 43: Filled(Canvas, [&] { P.Poly({{4, -3}, {-3, 0}, {4, 3}}); }); break;
    case 44: Open(Canvas, [&] { P.Poly({{-3, -2}, {2, 0}, {-3, 2}}); }); break;
    case 45: Filled(Canvas, [&] { P.Poly({{-3, -2}, {2, 0}, {-3, 2}}); }); break;
    case 46: Open(Canvas, [&] { P.Poly({{-4, -3}, {3, 0}, {-4, 3}}); }); break;
    case 47: Filled(Canvas, [&] { P.Poly({{-4, -3}, {3, 0}, {-4, 3}}); }); break;
    default: break;
  }
}

}  // namespace

void DrawMark(TCanvas* Canvas, uint8_t MarkType, int X, int Y) {
  // A mark this far out lies off every canvas; its corners would not fit in an int.
  constexpr int Far = 1 << 30;
  if (X < -Far || X > Far || Y < -Far || Y > Far) return;
  if (MarkType >= 48) {
    DrawCharacterMark(Canvas, MarkType, X, Y);
    return;
  }
  const TColor BrushColor = Canvas->Brush()->Color();
  const TMarkPen P(Canvas, X, Y);
  if (MarkType == 0) {
    Canvas->SetPixel(X, Y, Canvas->Pen()->Color());
  } else if (const TPattern* Pattern = PatternOf(MarkType)) {
    if (Canvas->IsPrinter()) DrawPatternLines(P, MarkType);
    else P.Stamp(*Pattern);
  } else {
    DrawShape(Canvas, MarkType, P);
  }
  Canvas->Brush()->SetColor(BrushColor);
}

void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
               const TFrameColors& Colors) {
  if (Style == fsNone) return;
  TPen* Pen = Canvas->Pen();
  const TPen Saved = *Pen;
  Pen->SetWidth(1);
  Pen->SetStyle(psSolid);
  // Inclusive runs: each line is carried one pixel past its last pixel.
  auto Run = [&](TColor Color, int X1, int Y1, int X2, int Y2) {
    const int DX = (X2 > X1) - (X2 < X1), DY = (Y2 > Y1) - (Y2 < Y1);
    Pen->SetColor(Color);
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2 + (DX == 0 && DY == 0 ? 1 : DX), Y2 + DY);
  };
  if (Style == fsSimple) {
    Pen->SetColor(Colors.Dark);
    const QPoint Corners[] = {{Left, Top}, {Right, Top}, {Right, Bottom}, {Left, Bottom}, {Left, Top}};
    Canvas->Polyline(Corners);
  } else {
    constexpr TColor Silver = clSilver;
    const TColor S = Colors.Shadow, H = Colors.Highlight, D = Colors.Dark;
    const std::array<TColor, 4> Ring = Style == fsLowered  ? std::array<TColor, 4>{S, H, D, Silver}
                                       : Style == fsRaised ? std::array<TColor, 4>{H, D, Silver, S}
                                       : Style == fsEmbossed ? std::array<TColor, 4>{H, S, S, H}
                                                             : std::array<TColor, 4>{S, H, H, S};
    Run(Ring[0], Left, Bottom, Left, Top);
    Run(Ring[0], Left, Top, Right, Top);
    Run(Ring[1], Right, Top + 1, Right, Bottom);
    Run(Ring[1], Right, Bottom, Left, Bottom);
    Run(Ring[2], Left + 1, Bottom - 1, Left + 1, Top + 1);
    Run(Ring[2], Left + 1, Top + 1, Right - 1, Top + 1);
    Run(Ring[3], Right - 1, Top + 2, Right - 1, Bottom - 1);
    Run(Ring[3], Right - 1, Bottom - 1, Left + 1, Bottom - 1);
  }
  *Pen = Saved;
}
