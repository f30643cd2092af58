#include "toolkit/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace {

__extension__ typedef __int128 TWide;

int64_t FloorDiv(TWide Num, int64_t Den) {  // Den > 0
  TWide Q = Num / Den;
  if (Num % Den != 0 && Num < 0) --Q;
  return static_cast<int64_t>(Q);
}

// The minor coordinate of step I of a line of N major steps and minor extent D:
// round(I * D / N), halves rounded up.
int64_t MinorOffset(int64_t I, int64_t D, int64_t N) { return FloorDiv(TWide(2) * I * D + N, 2 * N); }

// First index in [Lo, Hi] whose predicate holds (Hi + 1 if none); the predicate must
// be false-then-true over the range.
template <class P>
int64_t FirstTrue(int64_t Lo, int64_t Hi, P Pred) {
  int64_t Count = Hi - Lo + 1;
  while (Count > 0) {
    const int64_t Half = Count / 2;
    if (Pred(Lo + Half)) {
      Count = Half;
    } else {
      Lo += Half + 1;
      Count -= Half + 1;
    }
  }
  return Lo;
}

// Walks the pixels of the line from (X0, Y0) toward (X1, Y1), the end pixel excluded,
// calling Plot(x, y, step) for those inside Clip. Clipping happens before the walk, so
// a line of any length costs only its visible pixels.
template <class F>
void WalkLine(int64_t X0, int64_t Y0, int64_t X1, int64_t Y1, const TPixelBox& Clip, F Plot) {
  const bool XMajor = std::llabs(X1 - X0) >= std::llabs(Y1 - Y0);
  const int64_t A0 = XMajor ? X0 : Y0, B0 = XMajor ? Y0 : X0;
  const int64_t DA = XMajor ? X1 - X0 : Y1 - Y0, DB = XMajor ? Y1 - Y0 : X1 - X0;
  const int64_t N = std::llabs(DA);
  if (N == 0) return;
  const int64_t SA = DA > 0 ? 1 : -1;
  const int64_t AMin = XMajor ? Clip.Left : Clip.Top, AMax = XMajor ? Clip.Right : Clip.Bottom;
  const int64_t BMin = XMajor ? Clip.Top : Clip.Left, BMax = XMajor ? Clip.Bottom : Clip.Right;

  int64_t First = 0, Last = N - 1;
  const bool Inside = X0 >= Clip.Left && X0 <= Clip.Right && Y0 >= Clip.Top && Y0 <= Clip.Bottom &&
                      X1 >= Clip.Left && X1 <= Clip.Right && Y1 >= Clip.Top && Y1 <= Clip.Bottom;
  if (!Inside) {  // a line between two inside points is inside: no search needed
    First = std::max<int64_t>(SA > 0 ? AMin - A0 : A0 - AMax, 0);
    Last = std::min<int64_t>(SA > 0 ? AMax - A0 : A0 - AMin, N - 1);
    if (First > Last) return;
    auto B = [&](int64_t I) { return B0 + MinorOffset(I, DB, N); };
    if (DB >= 0) {
      First = FirstTrue(First, Last, [&](int64_t I) { return B(I) >= BMin; });
      Last = FirstTrue(First, Last, [&](int64_t I) { return B(I) > BMax; }) - 1;
    } else {
      First = FirstTrue(First, Last, [&](int64_t I) { return B(I) <= BMax; });
      Last = FirstTrue(First, Last, [&](int64_t I) { return B(I) < BMin; }) - 1;
    }
    if (First > Last) return;
  }

  // Incremental walk: Minor = floor(Num / (2N)) with remainder Rem in [0, 2N).
  int64_t Minor = 0, Rem = N;
  if (First > 0) {
    const TWide Num = TWide(2) * First * DB + N;
    Minor = FloorDiv(Num, 2 * N);
    Rem = static_cast<int64_t>(Num - TWide(Minor) * 2 * N);
  }
  int64_t A = A0 + SA * First;
  if (DB == 0) {  // straight runs need no error term
    for (int64_t I = First; I <= Last; ++I, A += SA)
      if (XMajor) Plot(A, B0, I); else Plot(B0, A, I);
    return;
  }
  for (int64_t I = First; I <= Last; ++I, A += SA) {
    const int64_t BB = B0 + Minor;
    if (XMajor) Plot(A, BB, I); else Plot(BB, A, I);
    Rem += 2 * DB;
    if (Rem >= 2 * N) { Rem -= 2 * N; ++Minor; }
    else if (Rem < 0) { Rem += 2 * N; --Minor; }
  }
}

// On/off run lengths of the dashed pen styles, in pixels.
const std::vector<int>& DashPattern(TPenStyle Style) {
  static const std::array<std::vector<int>, 4> Patterns = {
      std::vector<int>{18, 6}, std::vector<int>{3, 3}, std::vector<int>{9, 6, 3, 6},
      std::vector<int>{9, 3, 3, 3, 3, 3}};
  return Patterns[Style - psDash];
}

// The square a pen of Width pixels covers around the pixel it is centred on: Lo pixels
// left of and above it, Hi right of and below it (an even width reaches further right
// and down). Every shape that sizes its outline by the pen asks here.
struct TPenExtent {
  int Lo, Hi;
  explicit TPenExtent(int Width) : Lo((Width - 1) / 2), Hi(Width - 1 - Lo) {}
  TPixelBox Around(int64_t X, int64_t Y) const { return {X - Lo, Y - Lo, X + Hi, Y + Hi}; }
  // The pixels the pen covers when centred on each pixel of B's border, and the pixels
  // of B it leaves untouched inside that border.
  TPixelBox Swept(const TPixelBox& B) const { return {B.Left - Lo, B.Top - Lo, B.Right + Hi, B.Bottom + Hi}; }
  TPixelBox Inside(const TPixelBox& B) const { return {B.Left + Hi + 1, B.Top + Hi + 1, B.Right - Lo - 1, B.Bottom - Lo - 1}; }
  // The centres whose square stays within B, and those whose square touches B.
  TPixelBox CentresWithin(const TPixelBox& B) const { return {B.Left + Lo, B.Top + Lo, B.Right - Hi, B.Bottom - Hi}; }
  TPixelBox CentresTouching(const TPixelBox& B) const { return {B.Left - Hi, B.Top - Hi, B.Right + Lo, B.Bottom + Lo}; }
};

// Horizontal extent [Left, Right] of row J of the ellipse filling a W x H box at the
// origin; Left > Right when the row is empty.
std::pair<int64_t, int64_t> EllipseRow(int64_t W, int64_t H, int64_t J) {
  if (J < 0 || J >= H) return {1, 0};
  const long double Ky = (2.0L * J + 1 - H) / H;
  const long double Half = W / 2.0L * std::sqrt(std::max(0.0L, 1 - Ky * Ky));
  const long double Centre = W / 2.0L - 0.5L;
  const auto Left = static_cast<int64_t>(std::ceil(Centre - Half - 1e-9L));
  const auto Right = static_cast<int64_t>(std::floor(Centre + Half + 1e-9L));
  return {std::max<int64_t>(Left, 0), std::min<int64_t>(Right, W - 1)};
}

// Runs of one colour are most of what is written (backgrounds, boxes); the widest
// stores the processor has are chosen when the program starts.
__attribute__((target_clones("avx512f", "avx2", "default")))
void FillPixels(QRgb* First, size_t Count, QRgb Value) { std::fill_n(First, Count, Value); }
// A box's side is a run of one pixel a row: it is written in place, with no call
// through the processor choice.
inline void WriteRun(QRgb* First, size_t Count, QRgb Value) {
  if (Count >= 16) FillPixels(First, Count, Value);
  else std::fill_n(First, Count, Value);
}

}  // namespace

// A scratch coverage map over the part of the image a shape can touch: each pixel is
// written once, so XOR drawing and overlapping outline pieces stay exact.
class TCanvas::TMask {
public:
  enum : uint8_t { Empty, Fill, Outline };
  TMask(const QRect& Area) : Area_(Area), Cells_(size_t(std::max(0, Area.width())) * std::max(0, Area.height()), Empty) {}
  const QRect& Area() const { return Area_; }
  bool Contains(int64_t X, int64_t Y) const {
    return X >= Area_.left() && X <= Area_.right() && Y >= Area_.top() && Y <= Area_.bottom();
  }
  uint8_t& At(int64_t X, int64_t Y) {
    return Cells_[size_t(Y - Area_.top()) * Area_.width() + size_t(X - Area_.left())];
  }
  uint8_t At(int64_t X, int64_t Y) const { return const_cast<TMask*>(this)->At(X, Y); }
  void Mark(int64_t X, int64_t Y, uint8_t Value) {
    if (Contains(X, Y)) At(X, Y) = Value;
  }
  // Marks the pen square centred on (X, Y).
  void Stamp(int64_t X, int64_t Y, int Width) {
    const TPixelBox Square = TPenExtent(Width).Around(X, Y);
    for (int64_t Yy = Square.Top; Yy <= Square.Bottom; ++Yy)
      for (int64_t Xx = Square.Left; Xx <= Square.Right; ++Xx) Mark(Xx, Yy, Outline);
  }

private:
  QRect Area_;
  std::vector<uint8_t> Cells_;
};

TCanvas::TCanvas(QImage* Target) : Image_(Target), Font_(QStringLiteral("Liberation Sans"), 8) {}

TColor TCanvas::Pixel(int X, int Y) const {
  if (!Image_ || X < 0 || Y < 0 || X >= Image_->width() || Y >= Image_->height()) return -1;
  return FromQRgb(reinterpret_cast<const QRgb*>(Image_->constScanLine(Y))[X]);
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
  if (!Image_ || X < 0 || Y < 0 || X >= Image_->width() || Y >= Image_->height()) return;
  reinterpret_cast<QRgb*>(Image_->scanLine(Y))[X] = ToQRgb(Color);
}

// Takes the image's pixels for writing (detaching a shared image once per primitive).
bool TCanvas::Begin() {
  if (!HasImage()) return false;
  Bits_ = reinterpret_cast<QRgb*>(Image_->bits());
  Stride_ = Image_->bytesPerLine() / int(sizeof(QRgb));
  ImageW_ = Image_->width();
  ImageH_ = Image_->height();
  return true;
}

// The one pixel write of pen and brush drawing: the pen mode applies here.
inline void TCanvas::Put(int X, int Y, QRgb Rgb) {
  QRgb& Dest = Bits_[Y * Stride_ + X];
  Dest = Pen_.Mode() == pmXor ? Dest ^ (Rgb & 0x00FFFFFF) : Rgb;
}


TPixelBox TCanvas::OnImage(const TPixelBox& Box) const {
  return {std::max<int64_t>(Box.Left, 0), std::max<int64_t>(Box.Top, 0), std::min<int64_t>(Box.Right, ImageW_ - 1),
          std::min<int64_t>(Box.Bottom, ImageH_ - 1)};
}

void TCanvas::Block(int64_t X1, int64_t Y1, int64_t X2, int64_t Y2, QRgb Rgb) {
  const TPixelBox B = OnImage({X1, Y1, X2, Y2});
  if (B.Empty()) return;
  if (Pen_.Mode() == pmCopy && B.Right - B.Left + 1 == Stride_) {  // whole rows: one run
    FillPixels(Bits_ + B.Top * Stride_, size_t((B.Bottom - B.Top + 1) * Stride_), Rgb);
    return;
  }
  for (int64_t Y = B.Top; Y <= B.Bottom; ++Y) {
    QRgb* Row = Bits_ + Y * Stride_;
    if (Pen_.Mode() == pmCopy) WriteRun(Row + B.Left, size_t(B.Right - B.Left + 1), Rgb);
    else for (int64_t X = B.Left; X <= B.Right; ++X) Put(int(X), int(Y), Rgb);
  }
}

bool TCanvas::PatternOn(int64_t Step) const {
  if (!Dashed()) return true;
  const std::vector<int>& Runs = DashPattern(Pen_.Style());
  int Period = 0;
  for (int Run : Runs) Period += Run;
  int64_t Pos = (StylePhase_ + Step) % Period;
  for (size_t I = 0; I < Runs.size(); ++I) {
    if (Pos < Runs[I]) return I % 2 == 0;
    Pos -= Runs[I];
  }
  return true;
}

void TCanvas::MoveTo(int X, int Y) {
  PenPos_ = QPoint(X, Y);
  StylePhase_ = 0;
}

void TCanvas::LineTo(int X, int Y) {
  if (Begin()) StrokeTo(X, Y);
}

void TCanvas::StrokeTo(int X, int Y) {
  if (PenVisible()) StrokeLine(PenPos_.x(), PenPos_.y(), X, Y);
  StylePhase_ += std::max(std::llabs(int64_t(X) - PenPos_.x()), std::llabs(int64_t(Y) - PenPos_.y()));
  PenPos_ = QPoint(X, Y);
}

void TCanvas::StrokeLine(int X1, int Y1, int X2, int Y2) {
  const QRgb Rgb = ToQRgb(Pen_.Color());
  const TPenExtent Pen(Pen_.Width());
  const TPixelBox Clip = Pen.CentresTouching({0, 0, int64_t(ImageW_) - 1, int64_t(ImageH_) - 1});
  if (Pen_.Width() > 1) {
    WalkLine(X1, Y1, X2, Y2, Clip, [&](int64_t X, int64_t Y, int64_t) {
      const TPixelBox Square = Pen.Around(X, Y);
      Block(Square.Left, Square.Top, Square.Right, Square.Bottom, Rgb);
    });
  } else if (Dashed()) {
    WalkLine(X1, Y1, X2, Y2, Clip, [&](int64_t X, int64_t Y, int64_t Step) {
      if (PatternOn(Step)) Put(int(X), int(Y), Rgb);
    });
  } else if (Pen_.Mode() == pmCopy) {  // the common case, kept free of per-pixel tests
    if ((X1 == X2) != (Y1 == Y2) && InImage(X1, Y1) && InImage(X2, Y2)) {
      // A straight run inside the image (the sides of boxes and marks, grid lines).
      const qsizetype Step = X1 == X2 ? (Y2 > Y1 ? Stride_ : -Stride_) : (X2 > X1 ? 1 : -1);
      QRgb* P = Bits_ + Y1 * Stride_ + X1;
      for (int N = std::abs(X2 - X1) + std::abs(Y2 - Y1); N > 0; --N, P += Step) *P = Rgb;
      return;
    }
    WalkLine(X1, Y1, X2, Y2, Clip, [&](int64_t X, int64_t Y, int64_t) { Bits_[Y * Stride_ + X] = Rgb; });
  } else {
    WalkLine(X1, Y1, X2, Y2, Clip, [&](int64_t X, int64_t Y, int64_t) { Put(int(X), int(Y), Rgb); });
  }
}

void TCanvas::Polyline(std::span<const QPoint> Points) {
  if (Points.empty()) return;
  MoveTo(Points[0].x(), Points[0].y());
  if (!Begin()) return;
  for (size_t I = 1; I < Points.size(); ++I) StrokeTo(Points[I].x(), Points[I].y());
}

TPixelBox TPixelBox::OfCorners(int X1, int Y1, int X2, int Y2) {
  return {std::min(X1, X2), std::min(Y1, Y2), int64_t(std::max(X1, X2)) - 1, int64_t(std::max(Y1, Y2)) - 1};
}

// The outline box of a rectangle or ellipse: an inside-frame pen keeps its width inside.
TPixelBox TCanvas::PenBox(const TPixelBox& Box) const {
  if (Pen_.Style() != psInsideFrame || Pen_.Width() == 1) return Box;
  return TPenExtent(Pen_.Width()).CentresWithin(Box);
}

// The part of the image that a shape in Box, outlined by a pen of PenWidth, can touch.
QRect TCanvas::Reach(const TPixelBox& Box, int PenWidth) const {
  const TPixelBox R =
      OnImage({Box.Left - PenWidth, Box.Top - PenWidth, Box.Right + PenWidth, Box.Bottom + PenWidth});
  if (R.Empty()) return QRect();
  return QRect(QPoint(int(R.Left), int(R.Top)), QPoint(int(R.Right), int(R.Bottom)));
}

// The ring swept by a square pen along the border of Box, written as the difference of
// two boxes so that each pixel is written once.
void TCanvas::FrameRing(const TPixelBox& Box, QRgb Rgb) {
  const TPenExtent Pen(Pen_.Width());
  const TPixelBox Outer = Pen.Swept(Box), Inner = Pen.Inside(Box);
  if (Inner.Empty()) {
    Block(Outer.Left, Outer.Top, Outer.Right, Outer.Bottom, Rgb);
    return;
  }
  Block(Outer.Left, Outer.Top, Outer.Right, Inner.Top - 1, Rgb);
  Block(Outer.Left, Inner.Bottom + 1, Outer.Right, Outer.Bottom, Rgb);
  Block(Outer.Left, Inner.Top, Inner.Left - 1, Inner.Bottom, Rgb);
  Block(Inner.Right + 1, Inner.Top, Outer.Right, Inner.Bottom, Rgb);
}

// The common box, a 1-pixel outline around a solid inside, row by row: each row is
// written once while it is in the cache, rather than the sides afterwards.
void TCanvas::OutlinedBox(const TPixelBox& Box, QRgb Pen, QRgb Brush) {
  const TPixelBox On = OnImage(Box);
  if (On.Empty()) return;
  const int64_t InLeft = std::max(Box.Left + 1, On.Left), InRight = std::min(Box.Right - 1, On.Right);
  for (int64_t Y = On.Top; Y <= On.Bottom; ++Y) {
    QRgb* Row = Bits_ + Y * Stride_;
    if (Y == Box.Top || Y == Box.Bottom) {
      WriteRun(Row + On.Left, size_t(On.Right - On.Left + 1), Pen);
      continue;
    }
    if (InLeft <= InRight) WriteRun(Row + InLeft, size_t(InRight - InLeft + 1), Brush);
    if (Box.Left >= On.Left) Row[Box.Left] = Pen;
    if (Box.Right <= On.Right) Row[Box.Right] = Pen;
  }
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  const TPixelBox Box = TPixelBox::OfCorners(X1, Y1, X2, Y2);
  if (Box.Empty() || !Begin()) return;
  if (!PenVisible()) {
    if (Brush_.Style() == bsSolid) Block(Box.Left, Box.Top, Box.Right, Box.Bottom, ToQRgb(Brush_.Color()));
    return;
  }
  const TPixelBox Outline = PenBox(Box);
  const bool Thin = Outline.Left == Outline.Right || Outline.Top == Outline.Bottom;
  if (Brush_.Style() == bsSolid && Pen_.Width() == 1 && Pen_.Mode() == pmCopy && !Dashed() && !Thin) {
    OutlinedBox(Outline, ToQRgb(Pen_.Color()), ToQRgb(Brush_.Color()));
    return;
  }
  if (Brush_.Style() == bsSolid) {
    const TPixelBox Fill = TPenExtent(Pen_.Width()).Inside(Outline);
    Block(Fill.Left, Fill.Top, Fill.Right, Fill.Bottom, ToQRgb(Brush_.Color()));
  }
  if (Thin || !Dashed()) {
    FrameRing(Outline, ToQRgb(Pen_.Color()));
    return;
  }
  // A dashed border: one closed path whose segments each omit their end pixel, the
  // start of the next, so every border pixel is visited once.
  MoveTo(int(Outline.Left), int(Outline.Top));
  LineTo(int(Outline.Right), int(Outline.Top));
  LineTo(int(Outline.Right), int(Outline.Bottom));
  LineTo(int(Outline.Left), int(Outline.Bottom));
  LineTo(int(Outline.Left), int(Outline.Top));
}

void TCanvas::FillRect(int X1, int Y1, int X2, int Y2) {
  if (Brush_.Style() == bsClear || !Begin()) return;
  const TPenMode Mode = Pen_.Mode();
  Pen_.SetMode(pmCopy);
  Block(std::min(X1, X2), std::min(Y1, Y2), int64_t(std::max(X1, X2)) - 1, int64_t(std::max(Y1, Y2)) - 1,
        ToQRgb(Brush_.Color()));
  Pen_.SetMode(Mode);
}

void TCanvas::BlendRect(int X1, int Y1, int X2, int Y2, uint8_t Opacity) {
  const TPixelBox Box = TPixelBox::OfCorners(X1, Y1, X2, Y2);
  if (Brush_.Style() == bsClear || Box.Empty() || !Begin()) return;
  const int64_t Left = std::max<int64_t>(Box.Left, 0), Right = std::min<int64_t>(Box.Right, ImageW_ - 1);
  const int64_t Top = std::max<int64_t>(Box.Top, 0), Bottom = std::min<int64_t>(Box.Bottom, ImageH_ - 1);
  const QRgb Over = ToQRgb(Brush_.Color());
  const uint32_t A = Opacity, B = 255 - A;
  auto Mix = [&](QRgb Under, int Shift) {
    return ((((Over >> Shift) & 0xFF) * A + ((Under >> Shift) & 0xFF) * B + 127) / 255) << Shift;
  };
  for (int64_t Y = Top; Y <= Bottom; ++Y)
    for (int64_t X = Left; X <= Right; ++X) {
      QRgb& Pixel = Bits_[Y * Stride_ + X];
      Pixel = 0xFF000000u | Mix(Pixel, 16) | Mix(Pixel, 8) | Mix(Pixel, 0);
    }
}

void TCanvas::ApplyMask(const TMask& Mask) {
  const QRgb PenRgb = ToQRgb(Pen_.Color()), BrushRgb = ToQRgb(Brush_.Color());
  const bool Filled = Brush_.Style() == bsSolid;
  const QRect& Area = Mask.Area();
  for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
    for (int X = Area.left(); X <= Area.right(); ++X) {
      const uint8_t Cell = Mask.At(X, Y);
      if (Cell == TMask::Outline) Put(X, Y, PenRgb);
      else if (Cell == TMask::Fill && Filled) Put(X, Y, BrushRgb);
    }
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  TPixelBox Box = TPixelBox::OfCorners(X1, Y1, X2, Y2);
  if (Box.Empty() || !Begin()) return;
  const int PenW = PenVisible() ? Pen_.Width() : 0;
  if (PenW > 0) Box = PenBox(Box);
  TMask Mask(Reach(Box, PenW));
  if (Mask.Area().isEmpty() || Box.Empty()) return;
  const int64_t W = Box.Right - Box.Left + 1, H = Box.Bottom - Box.Top + 1;
  // Only rows and columns that can reach the mask are visited. Each pixel of the
  // ellipse is filled; those with a 4-neighbour outside it form the outline, which the
  // pen sweeps.
  const QRect& Area = Mask.Area();
  const int64_t JFirst = std::max<int64_t>(0, Area.top() - Box.Top - PenW);
  const int64_t JLast = std::min<int64_t>(H - 1, Area.bottom() - Box.Top + PenW);
  for (int64_t J = JFirst; J <= JLast; ++J) {
    const auto [L, R] = EllipseRow(W, H, J);
    const auto [LA, RA] = EllipseRow(W, H, J - 1);
    const auto [LB, RB] = EllipseRow(W, H, J + 1);
    const int64_t Y = Box.Top + J;
    const int64_t IFirst = std::max<int64_t>(L, Area.left() - Box.Left - PenW);
    const int64_t ILast = std::min<int64_t>(R, Area.right() - Box.Left + PenW);
    for (int64_t I = IFirst; I <= ILast; ++I) {
      const bool Edge = I == L || I == R || I < LA || I > RA || I < LB || I > RB;
      const int64_t X = Box.Left + I;
      if (Edge && PenW > 0) Mask.Stamp(X, Y, PenW);
      else if (Mask.Contains(X, Y) && Mask.At(X, Y) == TMask::Empty) Mask.At(X, Y) = TMask::Fill;
    }
  }
  ApplyMask(Mask);
}

void TCanvas::Polygon(std::span<const QPoint> Points) {
  if (Points.empty() || !Begin()) return;
  const int PenW = PenVisible() ? Pen_.Width() : 0;
  int64_t MinX = Points[0].x(), MaxX = MinX, MinY = Points[0].y(), MaxY = MinY;
  for (const QPoint& P : Points) {
    MinX = std::min<int64_t>(MinX, P.x()); MaxX = std::max<int64_t>(MaxX, P.x());
    MinY = std::min<int64_t>(MinY, P.y()); MaxY = std::max<int64_t>(MaxY, P.y());
  }
  TMask Mask(Reach({MinX, MinY, MaxX, MaxY}, PenW));
  if (Mask.Area().isEmpty()) return;

  // Fill: a pixel belongs to the polygon when its centre lies inside by the even-odd
  // rule; on a scan row the pixels x with Left <= x < Right of each crossing pair.
  std::vector<long double> Crossings;
  for (int Y = Mask.Area().top(); Y <= Mask.Area().bottom(); ++Y) {
    Crossings.clear();
    for (size_t I = 0; I < Points.size(); ++I) {
      QPoint A = Points[I], B = Points[(I + 1) % Points.size()];
      if (A.y() > B.y()) std::swap(A, B);
      if (Y < A.y() || Y >= B.y()) continue;
      Crossings.push_back(A.x() + (long double)(int64_t(Y) - A.y()) * (int64_t(B.x()) - A.x()) / (int64_t(B.y()) - A.y()));
    }
    std::sort(Crossings.begin(), Crossings.end());
    for (size_t I = 0; I + 1 < Crossings.size(); I += 2) {
      const int64_t From = std::max<int64_t>(std::ceil(Crossings[I]), Mask.Area().left());
      const int64_t To = std::min<int64_t>(int64_t(std::ceil(Crossings[I + 1])) - 1, Mask.Area().right());
      for (int64_t X = From; X <= To; ++X) Mask.At(X, Y) = TMask::Fill;
    }
  }
  if (PenW > 0) {
    const QRect& Area = Mask.Area();
    const TPixelBox Clip = TPenExtent(PenW).CentresTouching({Area.left(), Area.top(), Area.right(), Area.bottom()});
    StylePhase_ = 0;
    for (size_t I = 0; I < Points.size(); ++I) {
      const QPoint A = Points[I], B = Points[(I + 1) % Points.size()];
      WalkLine(A.x(), A.y(), B.x(), B.y(), Clip, [&](int64_t X, int64_t Y, int64_t Step) {
        if (PatternOn(Step)) Mask.Stamp(X, Y, PenW);
      });
      StylePhase_ += std::max(std::llabs(int64_t(B.x()) - A.x()), std::llabs(int64_t(B.y()) - A.y()));
    }
  }
  ApplyMask(Mask);
}

int TCanvas::TextWidth(const QString& Text) { return QFontMetrics(Font_).horizontalAdvance(Text); }

int TCanvas::TextHeight(const QString& Text) {
  Q_UNUSED(Text);
  return QFontMetrics(Font_).height();
}

void TCanvas::TextOut(int X, int Y, const QString& Text) {
  if (!HasImage()) return;
  const int W = TextWidth(Text), H = TextHeight(Text);
  PenPos_ = QPoint(static_cast<int>(std::min<int64_t>(int64_t(X) + W, INT_MAX)), Y);
  // Text that cannot touch the image is not drawn: near the ends of the int range, Qt's
  // rectangles would overflow.
  if (int64_t(X) + W <= 0 || int64_t(Y) + H <= 0 || X >= Width() || Y >= Height()) return;
  const QRect Cell(X, Y, W, H);
  QPainter Painter(Image_);
  if (Brush_.Style() == bsSolid) Painter.fillRect(Cell, QColor(ToQRgb(Brush_.Color())));
  Painter.setFont(Font_);
  Painter.setPen(QColor(ToQRgb(FontColor_)));
  Painter.drawText(QPoint(X, Y + QFontMetrics(Font_).ascent()), Text);
}

void TCanvas::TextRect(const QRect& Clip, int X, int Y, const QString& Text) {
  if (!HasImage()) return;
  QPainter Painter(Image_);
  Painter.setClipRect(Clip);
  if (Brush_.Style() == bsSolid) Painter.fillRect(Clip, QColor(ToQRgb(Brush_.Color())));
  Painter.setFont(Font_);
  Painter.setPen(QColor(ToQRgb(FontColor_)));
  Painter.drawText(QPoint(X, Y + QFontMetrics(Font_).ascent()), Text);
}

void TCanvas::Draw(int X, int Y, const QImage& Image) {
  if (!Begin()) return;
  if (Image.format() != QImage::Format_RGB32 || Image_->format() != QImage::Format_RGB32) {
    QPainter(Image_).drawImage(QPoint(X, Y), Image);
    return;
  }
  // Opaque onto opaque: the rows are copied as they are. The part of the picture that
  // falls on the target is found once, in target pixels; every row copy stays inside it.
  const TPixelBox Box = OnImage({X, Y, int64_t(X) + Image.width() - 1, int64_t(Y) + Image.height() - 1});
  if (Box.Empty()) return;
  for (int64_t Row = Box.Top; Row <= Box.Bottom; ++Row) {
    const auto* From = reinterpret_cast<const QRgb*>(Image.constScanLine(int(Row - Y)));
    std::copy(From + (Box.Left - X), From + (Box.Right - X) + 1, Bits_ + Row * Stride_ + Box.Left);
  }
}

void TCanvas::StretchDraw(const QRect& Target, const QImage& Image) {
  if (!HasImage()) return;
  QPainter(Image_).drawImage(Target, Image);
}

void TCanvas::CopyRect(const QRect& Dest, const QImage& Source, const QRect& SourceRect) {
  if (!HasImage()) return;
  QPainter(Image_).drawImage(Dest, Source, SourceRect);
}
