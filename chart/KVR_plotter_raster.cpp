#include "chart/KVR_plotter_raster.h"

#include <array>
#include <cstdlib>
#include <vector>

#include "kvrbase/KVR_kvrbase.h"

namespace {

constexpr int PatternMarks = TItemRaster::MarkShapes;

// The pixels a mark sets, all in the pen colour, as offsets from its centre, and what
// it leaves behind on the canvas.
struct TSprite {
  std::vector<QPoint> Pixels;
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
      S.Pixels.emplace_back(X - Centre, Y - Centre);
      S.Left = std::min(S.Left, X - Centre), S.Right = std::max(S.Right, X - Centre);
      S.Top = std::min(S.Top, Y - Centre), S.Bottom = std::max(S.Bottom, Y - Centre);
    }
  }
  if (S.Pixels.empty()) S.Left = S.Top = S.Right = S.Bottom = 0;
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

}  // namespace

TItemRaster::TItemRaster(TCanvas* Canvas) : C_(Canvas) {
  QImage* Image = Canvas->Target();
  if (!Image || Image->isNull() || Image->format() != QImage::Format_RGB32) return;
  Bits_ = reinterpret_cast<QRgb*>(Image->bits());
  Stride_ = Image->bytesPerLine() / qsizetype(sizeof(QRgb));
  W_ = Image->width();
  H_ = Image->height();
}

bool TItemRaster::PlainPen() const {
  const TPen* Pen = C_->Pen();
  return Pen->Width() == 1 && Pen->Style() == psSolid && Pen->Mode() == pmCopy;
}

void TItemRaster::Mark(uint8_t MarkType, int X, int Y) {
  if (MarkType < PatternMarks && PlainPen() && !C_->IsPrinter()) {
    const int Index = SpriteIndex(MarkType, C_->Brush()->Style());
    const TSprite& S = Sprite(Index);
    if (Inside(int64_t(X) + S.Left, int64_t(Y) + S.Top) && Inside(int64_t(X) + S.Right, int64_t(Y) + S.Bottom)) {
      const QRgb Rgb = ToQRgb(C_->Pen()->Color());
      QRgb* Centre = Bits_ + Y * Stride_ + X;
      for (const qsizetype Offset : OffsetsOf(Index)) Centre[Offset] = Rgb;
      if (S.MovesPen) C_->MoveTo(X + S.PenAfter.x(), Y + S.PenAfter.y());
      C_->Brush()->SetStyle(S.BrushAfter);
      return;
    }
  }
  DrawMark(C_, MarkType, X, Y);
}

const std::vector<qsizetype>& TItemRaster::OffsetsOf(int Index) {
  std::vector<qsizetype>& Offsets = Offsets_[static_cast<size_t>(Index)];
  if (Offsets.empty())
    for (const QPoint& P : Sprite(Index).Pixels) Offsets.push_back(P.y() * Stride_ + P.x());
  return Offsets;
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
// coordinate of step i of N is round(i * d / N), halves up, kept as an error term.
// Both ends inside the image bound every pixel between them and every sum below.
void TItemRaster::Walk(int X1, int Y1, int X2, int Y2, QRgb Rgb) {
  const bool XMajor = std::abs(X2 - X1) >= std::abs(Y2 - Y1);
  const int DA = XMajor ? X2 - X1 : Y2 - Y1, DB = XMajor ? Y2 - Y1 : X2 - X1;
  const int N = std::abs(DA);
  const qsizetype MajorStep = (DA > 0 ? 1 : -1) * (XMajor ? 1 : Stride_);
  const qsizetype MinorStep = (DB > 0 ? 1 : -1) * (XMajor ? Stride_ : 1);
  const int Rise = 2 * std::abs(DB), Span = 2 * N;
  QRgb* P = Bits_ + Y1 * Stride_ + X1;
  // The error term runs from N; with DB < 0 the same steps are taken mirrored, except
  // that a half rounds up, towards the start: Rem counts from N - 1 then.
  int Rem = DB >= 0 ? N : N - 1;
  for (int I = 0; I < N; ++I, P += MajorStep) {
    *P = Rgb;
    Rem += Rise;
    if (Rem >= Span) Rem -= Span, P += MinorStep;
  }
}
