// An off-screen image with a canvas of its own.
#pragma once

#include <QImage>

class QWidget;

#include "toolkit/Canvas.h"

class TBitmap {
public:
  explicit TBitmap(int Width = 0, int Height = 0);
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return Image_.width(); }
  int Height() const { return Image_.height(); }
  // Contents undefined afterwards; with Alpha the image starts fully transparent, so
  // what is drawn on it can be laid over something else.
  void SetSize(int Width, int Height, bool Alpha = false);
  TCanvas* Canvas() { return &Canvas_; }
  const QImage& Image() const { return Image_; }
  bool LoadFromFile(const QString& FileName);

private:
  QImage Image_;
  TCanvas Canvas_;
};

// Paints a picture drawn at one pixel per logical pixel onto a control (from a paint
// event). At a whole device pixel ratio each pixel becomes a sharp block; at a
// fractional one (1.25, 1.5, 1.75) the picture is enlarged to the next whole ratio
// without smoothing, then reduced smoothly to the device's, so that every line keeps
// the same weight and text stays smooth instead of blocky.
void CopyToControl(QWidget* Control, const QImage& Picture);
// The picture as CopyToControl shows it at a fractional Ratio, in device pixels.
QImage FractionalScaled(const QImage& Picture, qreal Ratio);
