#include "chart/KVR_plotter_raster.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "kvrbase/KVR_kvrbase.h"

namespace {

constexpr int PatternMarks = TItemRaster::MarkShapes;

// Pixels of one row of a mark, Left to Right inclusive, from its centre.
struct TRun {
  int Dy, Left, Right;
};

// The pixels a mark sets, all in the pen colour, as runs from its centre, and what it
// leaves behind on the canvas.
struct TSprite {
  std::vector<TRun> Runs;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // inclusive bounds of the pixels
  bool MovesPen = false;
  QPoint PenAfter;  // pen position afterwards, from the centre
  TBrushStyle BrushAfter = bsSolid;
};

// The sprite is traced from the general drawing itself, so that the two cannot differ:
// the mark is drawn black on a white scratch image with a white brush (a mark fills in
// its pen colour or not at all).
TSprite Trace(uint8_t MarkType, TBrushStyle Brush) {
  constexpr int Size = 33, Centre = Size / 2;
  QImage Image(Size, Size, QImage::Format_RGB32);
  Image.fill(ToQRgb(clWhite));
  TCanvas C(&Image);
  C.Pen()->SetColor(clBlack);
  C.Brush()->SetColor(clWhite);
  C.Brush()->SetStyle(Brush);
  const QPoint Away(-Size, -Size);
  C.MoveTo(Away.x(), Away.y());
  DrawMark(&C, MarkType, Centre, Centre);
  TSprite S;
  S.Left = S.Top = Size;
  S.Right = S.Bottom = -Size;
  for (int Y = 0; Y < Size; ++Y) {
    const auto* Row = reinterpret_cast<const QRgb*>(Image.constScanLine(Y));
    for (int X = 0; X < Size; ++X) {
      if (Row[X] == ToQRgb(clWhite)) continue;
      if (X > 0 && Row[X - 1] != ToQRgb(clWhite)) ++S.Runs.back().Right;
      else S.Runs.push_back({Y - Centre, X - Centre, X - Centre});
      S.Left = std::min(S.Left, X - Centre), S.Right = std::max(S.Right, X - Centre);
      S.Top = std::min(S.Top, Y - Centre), S.Bottom = std::max(S.Bottom, Y - Centre);
    }
  }
  if (S.Runs.empty()) S.Left = S.Top = S.Right = S.Bottom = 0;
  S.MovesPen = C.PenPos() != Away;
  S.PenAfter = C.PenPos() - QPoint(Centre, Centre);
  S.BrushAfter = C.Brush()->Style();
  return S;
}

// Sprites by mark type, those drawn with a solid brush first.
int SpriteIndex(uint8_t MarkType, TBrushStyle Brush) { return (Brush == bsSolid ? 0 : PatternMarks) + MarkType; }

const TSprite& Sprite(int Index) {
  static const auto Sprites = [] {
    std::array<TSprite, 2 * PatternMarks> All;
    for (int T = 0; T < PatternMarks; ++T) {
      All[SpriteIndex(uint8_t(T), bsSolid)] = Trace(uint8_t(T), bsSolid);
      All[SpriteIndex(uint8_t(T), bsClear)] = Trace(uint8_t(T), bsClear);
    }
    return All;
  }();
  return Sprites[Index];
}

// A mark this far out lies off every canvas, and the general drawing leaves it alone.
constexpr int Far = 1 << 30;

}  // namespace

void TItemRaster::Attach(TCanvas* Canvas) {
  C_ = Canvas;
  QImage* Image = Canvas->Target();
  const bool Plain = Image && !Image->isNull() && Image->format() == QImage::Format_RGB32;
  Bits_ = Plain ? reinterpret_cast<QRgb*>(Image->bits()) : nullptr;
  W_ = Plain ? Image->width() : 0;
  H_ = Plain ? Image->height() : 0;
  const qsizetype Stride = Plain ? Image->bytesPerLine() / qsizetype(sizeof(QRgb)) : 0;
  if (Stride == Stride_) return;
  Stride_ = Stride;
  Stamps_ = {};
  Offsets_.clear();
}

bool TItemRaster::PlainPen() const {
  const TPen* Pen = C_->Pen();
  return Pen->Width() == 1 && Pen->Style() == psSolid && Pen->Mode() == pmCopy;
}

// A mark wholly inside the image needs no test at all; one that reaches past it is
// clipped run by run.
void TItemRaster::Mark(uint8_t MarkType, int X, int Y) {
  if (MarkType < PatternMarks && PlainPen() && !C_->IsPrinter() && Bits_ && X >= -Far && X <= Far && Y >= -Far &&
      Y <= Far) {
    const int Index = SpriteIndex(MarkType, C_->Brush()->Style());
    const TStamp& S = StampOf(Index);
    const QRgb Rgb = ToQRgb(C_->Pen()->Color());
    if (X + S.Left >= 0 && X + S.Right < W_ && Y + S.Top >= 0 && Y + S.Bottom < H_)
      Stamp(S, Bits_ + Y * Stride_ + X, Rgb);
    else
      StampClipped(Index, X, Y, Rgb);
    if (S.MovesPen) C_->MoveTo(X + S.PenAfter.x(), Y + S.PenAfter.y());
    C_->Brush()->SetStyle(S.BrushAfter);
    return;
  }
  DrawMark(C_, MarkType, X, Y);
}

// Runs of four or more pixels go as 16-byte stores, overlapping at their end.
const TItemRaster::TStamp& TItemRaster::Prepare(int Index) {
  const TSprite& Sprite = ::Sprite(Index);
  TStamp& S = Stamps_[static_cast<size_t>(Index)];
  S = {true, Sprite.MovesPen, Sprite.BrushAfter, Sprite.Left, Sprite.Top, Sprite.Right, Sprite.Bottom, Sprite.PenAfter};
  S.First = static_cast<uint32_t>(Offsets_.size());
  for (const TRun& R : Sprite.Runs)
    if (R.Right - R.Left >= 3) {
      for (int X = R.Left; X + 3 < R.Right; X += 4) Offsets_.push_back(R.Dy * Stride_ + X);
      Offsets_.push_back(R.Dy * Stride_ + R.Right - 3);
    }
  S.Quads = static_cast<uint32_t>(Offsets_.size()) - S.First;
  for (const TRun& R : Sprite.Runs)
    if (R.Right - R.Left < 3)
      for (int X = R.Left; X <= R.Right; ++X) Offsets_.push_back(R.Dy * Stride_ + X);
  S.Singles = static_cast<uint32_t>(Offsets_.size()) - S.First - S.Quads;
  return S;
}

void TItemRaster::Stamp(const TStamp& S, QRgb* Centre, QRgb Rgb) const {
  const std::array<QRgb, 4> Quad{Rgb, Rgb, Rgb, Rgb};
  const qsizetype* Offset = Offsets_.data() + S.First;
  for (const qsizetype* End = Offset + S.Quads; Offset != End; ++Offset)
    std::memcpy(Centre + *Offset, Quad.data(), sizeof Quad);
  for (const qsizetype* End = Offset + S.Singles; Offset != End; ++Offset) Centre[*Offset] = Rgb;
}

void TItemRaster::StampClipped(int Index, int X, int Y, QRgb Rgb) {
  for (const TRun& R : Sprite(Index).Runs) {
    const int Row = Y + R.Dy, Left = std::max(X + R.Left, 0), Right = std::min(X + R.Right, W_ - 1);
    if (Row < 0 || Row >= H_ || Left > Right) continue;
    QRgb* Bits = Bits_ + Row * Stride_;
    std::fill(Bits + Left, Bits + Right + 1, Rgb);
  }
}

void TItemRaster::Line(int X1, int Y1, int X2, int Y2) {
  if (PlainPen() && Inside(X1, Y1) && Inside(X2, Y2)) {
    Walk(X1, Y1, X2, Y2, ToQRgb(C_->Pen()->Color()));
    C_->MoveTo(X2, Y2);
    return;
  }
  C_->MoveTo(X1, Y1);
  C_->LineTo(X2, Y2);
}

// The canvas's line between two pixels of the image, end pixel omitted: the minor
// coordinate of step i of N is round(i * d / N), halves up, kept as an error term E
// that reaches 0 when the minor step is due. Both ends inside the image bound every
// pixel between them and every sum below.
void TItemRaster::Walk(int X1, int Y1, int X2, int Y2, QRgb Rgb) {
  const bool XMajor = std::abs(X2 - X1) >= std::abs(Y2 - Y1);
  const int DA = XMajor ? X2 - X1 : Y2 - Y1, DB = XMajor ? Y2 - Y1 : X2 - X1;
  const int N = std::abs(DA);
  const qsizetype MajorStep = (DA > 0 ? 1 : -1) * (XMajor ? 1 : Stride_);
  const qsizetype MinorStep = (DB > 0 ? 1 : -1) * (XMajor ? Stride_ : 1);
  const qsizetype DiagonalStep = MajorStep + MinorStep;
  const int Rise = 2 * std::abs(DB), Span = 2 * N, Fall = Rise - Span;
  QRgb* P = Bits_ + Y1 * Stride_ + X1;
  // With DB < 0 the same steps are taken mirrored, except that a half rounds up,
  // towards the start: E starts one lower then.
  int E = DB >= 0 ? -N : -N - 1;
  // On a slope the minor steps come too irregularly to predict: both ways are worked
  // out and one is picked without a branch.
  for (int I = 0; I < N; ++I) {
    *P = Rgb;
    const int Straight = E + Rise, Diagonal = E + Fall;
    const bool Due = __builtin_expect_with_probability(Straight >= 0, 1, 0.5);
    E = Due ? Diagonal : Straight;
    P += Due ? DiagonalStep : MajorStep;
  }
}
