// The rendered label texts of a scale, kept so that a repaint with unchanged ranges
// writes their pixels instead of drawing text again. A label is kept per text, font,
// colour and the colour it was drawn over; it is used only where every pixel it touches
// has that colour, so the result is the pixels the canvas's own text drawing gives.
// Anything else (an opaque brush, a label near the image edge or over other drawing)
// is drawn by the canvas.
#pragma once

#include <QFont>
#include <QHash>
#include <QPoint>
#include <vector>

#include "toolkit/Canvas.h"

class TLabelStamps {
public:
  // As the canvas's TextWidth, TextHeight and TextOut with its current font and colour.
  int TextWidth(TCanvas* C, const QString& Text) { return EntryOf(C, Text).W; }
  int TextHeight(TCanvas* C, const QString& Text) { return EntryOf(C, Text).H; }
  void TextOut(TCanvas* C, int X, int Y, const QString& Text);

private:
  struct TInk {
    QPoint At;  // from the text's top-left corner
    QRgb Rgb;
  };
  struct TVariant {
    QRgb Under;
    bool Usable;  // false when the text reaches the edge of its scratch picture
    std::vector<TInk> Ink;
  };
  struct TEntry {
    int W = 0, H = 0;
    std::vector<TVariant> Variants;  // by the colour drawn over
  };
  TEntry& EntryOf(TCanvas* C, const QString& Text);
  const TVariant& VariantOf(TCanvas* C, TEntry& E, const QString& Text, QRgb Under);
  bool Fits(const TCanvas* C, const TVariant& V, int X, int Y) const;

  QFont Font_;
  TColor Color_ = clBlack;
  QHash<QString, TEntry> Entries_;  // for Font_ and Color_
};
