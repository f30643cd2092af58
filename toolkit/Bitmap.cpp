#include "toolkit/Bitmap.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

TBitmap::TBitmap(int Width, int Height) : Canvas_(&Image_) { SetSize(Width, Height); }

void TBitmap::SetSize(int Width, int Height, bool Alpha) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  const QImage::Format Format = Alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
  if (!Alpha && Width == Image_.width() && Height == Image_.height() && Image_.format() == Format) return;
  Image_ = QImage(Width, Height, Format);
  if (Alpha) Image_.fill(Qt::transparent);
  Canvas_.SetTarget(&Image_);
}

bool TBitmap::LoadFromFile(const QString& FileName) {
  QImage Loaded;
  if (!Loaded.load(FileName)) return false;
  Image_ = Loaded.convertToFormat(QImage::Format_RGB32);
  Canvas_.SetTarget(&Image_);
  return true;
}

QImage FractionalScaled(const QImage& Picture, qreal Ratio) {
  const int Whole = static_cast<int>(std::ceil(Ratio));
  const QImage Enlarged = Picture.scaled(Picture.size() * Whole, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  QImage Reduced = Enlarged.scaled(QSize(qRound(Picture.width() * Ratio), qRound(Picture.height() * Ratio)),
                                   Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  Reduced.setDevicePixelRatio(Ratio);
  return Reduced;
}

void CopyToControl(QWidget* Control, const QImage& Picture) {
  QPainter P(Control);
  const qreal Ratio = Control->devicePixelRatioF();
  if (Ratio == std::floor(Ratio)) P.drawImage(0, 0, Picture);
  else P.drawImage(0, 0, FractionalScaled(Picture, Ratio));
}
