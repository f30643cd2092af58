// An off-screen image with a canvas of its own.
#pragma once

#include <QImage>

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
