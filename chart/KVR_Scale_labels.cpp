#include "chart/KVR_Scale_labels.h"

#include <QImage>

namespace {

constexpr int MaxEntries = 256;  // labels of a few ranges; beyond that the texts start anew
constexpr int MaxVariants = 4;

}  // namespace

// A change of font or colour drops every label kept.
TLabelStamps::TEntry& TLabelStamps::EntryOf(TCanvas* C, const QString& Text) {
  if (C->Font() != Font_ || C->FontColor() != Color_ || Entries_.size() >= MaxEntries) {
    Entries_.clear();
    Font_ = C->Font();
    Color_ = C->FontColor();
  }
  auto It = Entries_.find(Text);
  if (It == Entries_.end()) {
    It = Entries_.insert(Text, TEntry{C->TextWidth(Text), C->TextHeight(Text), {}});
  }
  return It.value();
}

// The text drawn by the canvas over a scratch picture of the colour Under, with a
// margin of a text height all round. The pixels it touches are those it changed, and
// those it gives coverage on a transparent picture (a faint edge may round back to the
// colour underneath, but still depends on it).
const TLabelStamps::TVariant& TLabelStamps::VariantOf(TCanvas* C, TEntry& E, const QString& Text, QRgb Under) {
  for (const TVariant& V : E.Variants)
    if (V.Under == Under) return V;
  if (static_cast<int>(E.Variants.size()) >= MaxVariants) E.Variants.erase(E.Variants.begin());
  const int M = E.H, W = E.W + 2 * M, H = E.H + 2 * M;
  QImage Over(W, H, QImage::Format_RGB32), Cover(W, H, QImage::Format_ARGB32_Premultiplied);
  Over.fill(Under);
  Cover.fill(Qt::transparent);
  for (QImage* Image : {&Over, &Cover}) {
    TCanvas Scratch(Image);
    Scratch.Font() = C->Font();
    Scratch.SetFontColor(C->FontColor());
    Scratch.Brush()->SetStyle(bsClear);
    Scratch.TextOut(M, M, Text);
  }
  TVariant V{Under, true, {}};
  for (int Y = 0; Y < H; ++Y) {
    const auto* O = reinterpret_cast<const QRgb*>(Over.constScanLine(Y));
    const auto* A = reinterpret_cast<const QRgb*>(Cover.constScanLine(Y));
    for (int X = 0; X < W; ++X) {
      if (O[X] == Under && qAlpha(A[X]) == 0) continue;
      V.Usable = V.Usable && X > 0 && Y > 0 && X < W - 1 && Y < H - 1;
      V.Ink.push_back({QPoint(X - M, Y - M), O[X]});
    }
  }
  E.Variants.push_back(std::move(V));
  return E.Variants.back();
}

bool TLabelStamps::Fits(const TCanvas* C, const TVariant& V, int X, int Y) const {
  if (!V.Usable) return false;
  const QImage* Image = C->Target();
  const uchar* Bits = Image->constBits();
  const qsizetype Stride = Image->bytesPerLine();
  const int W = Image->width(), H = Image->height();
  for (const TInk& I : V.Ink) {
    const QPoint P = I.At + QPoint(X, Y);
    const bool On = P.x() >= 0 && P.y() >= 0 && P.x() < W && P.y() < H;
    if (!On || reinterpret_cast<const QRgb*>(Bits + P.y() * Stride)[P.x()] != V.Under) return false;
  }
  return true;
}

void TLabelStamps::TextOut(TCanvas* C, int X, int Y, const QString& Text) {
  QImage* Image = C->Target();
  TEntry& E = EntryOf(C, Text);
  const bool Plain = Image && Image->format() == QImage::Format_RGB32 && C->Brush()->Style() == bsClear;
  const int64_t CX = int64_t(X) + E.W / 2, CY = int64_t(Y) + E.H / 2;  // the colour underneath, at the centre
  if (!Plain || E.W <= 0 || CX < 0 || CY < 0 || CX >= Image->width() || CY >= Image->height()) {
    C->TextOut(X, Y, Text);
    return;
  }
  const QRgb Under = reinterpret_cast<const QRgb*>(Image->constScanLine(int(CY)))[CX];
  const TVariant& V = VariantOf(C, E, Text, Under);
  if (!Fits(C, V, X, Y)) {
    C->TextOut(X, Y, Text);
    return;
  }
  QRgb* Bits = reinterpret_cast<QRgb*>(Image->bits());
  const qsizetype Stride = Image->bytesPerLine() / qsizetype(sizeof(QRgb));
  for (const TInk& I : V.Ink) Bits[(Y + I.At.y()) * Stride + X + I.At.x()] = I.Rgb;
  C->MoveTo(X + E.W, Y);  // where the canvas's text leaves the pen
}
