// An off-screen image with a canvas of its own.
#pragma once

#include <QImage>
#include <QRect>
#include <memory>

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
  // what is drawn on it can be laid over something else. A view gets pixels of its own.
  void SetSize(int Width, int Height, bool Alpha = false);
  // Makes this bitmap a window onto the pixels of Part of Whole (an opaque image Part
  // lies within): what is drawn on either shows in both, without a copy. The pixels
  // stay valid for this image and its copies however Whole changes later. A copy of
  // this image held elsewhere follows Whole until View is called again, which then
  // gives Whole new pixels and leaves the copy as it was. Drawing on this image while a
  // copy is held detaches it from Whole; Views tells whether it still is a window.
  void View(TBitmap& Whole, const QRect& Part);
  bool Views(const TBitmap& Whole, const QRect& Part) const;
  TCanvas* Canvas() { return &Canvas_; }
  const QImage& Image() const { return Image_; }
  bool LoadFromFile(const QString& FileName);

private:
  uchar* SharedPixels();

  QImage Image_;
  TCanvas Canvas_;
  // The block Image_ lies in when views may share it (held by every image over it).
  std::shared_ptr<uchar[]> Block_;
  bool IsView_ = false;
};

// Paints a picture drawn at one pixel per logical pixel onto a control (from a paint
// event). At a whole device pixel ratio each pixel becomes a sharp block; at a
// fractional one (1.25, 1.5, 1.75) the picture is enlarged to the next whole ratio
// without smoothing, then reduced smoothly to the device's, so that every line keeps
// the same weight and text stays smooth instead of blocky.
void CopyToControl(QWidget* Control, const QImage& Picture);
// The picture as CopyToControl shows it at a fractional Ratio, in device pixels.
QImage FractionalScaled(const QImage& Picture, qreal Ratio);
// Writes Picture to FileName as PNG in one piece: a file already there keeps its bytes
// unless the whole picture was written. A device or a pipe (/dev/stdout) is written
// directly, and so is a file in a folder that takes no new file. Empty when written, else
// the reason, as the system gives it.
QString SavePng(const QImage& Picture, const QString& FileName);
