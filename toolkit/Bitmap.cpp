#include "toolkit/Bitmap.h"

#include <QBuffer>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "toolkit/Stream.h"

namespace {

using TBlock = std::shared_ptr<uchar[]>;

// An opaque image over pixels in Block; the image and its copies hold the block.
QImage ImageOver(const TBlock& Block, uchar* First, int Width, int Height, qsizetype Stride) {
  return QImage(First, Width, Height, Stride, QImage::Format_RGB32,
                [](void* Holder) { delete static_cast<TBlock*>(Holder); }, new TBlock(Block));
}

// An opaque image over a new block, its contents undefined. A size QImage refuses, or
// memory that cannot be had, gives a null image, as QImage itself does.
QImage NewBlockImage(int Width, int Height, TBlock& Block) {
  Block.reset();
  const qsizetype Stride = qsizetype(Width) * qsizetype(sizeof(QRgb));
  if (Width <= 0 || Height <= 0 || Width > std::numeric_limits<int>::max() / 32 ||
      Stride > std::numeric_limits<qsizetype>::max() / Height)
    return QImage();
  Block.reset(new (std::nothrow) uchar[static_cast<size_t>(Stride * Height)]);
  QImage Image = Block ? ImageOver(Block, Block.get(), Width, Height, Stride) : QImage();
  if (Image.isNull()) Block.reset();
  return Image;
}

}  // namespace

TBitmap::TBitmap(int Width, int Height) : Canvas_(&Image_) { SetSize(Width, Height); }

void TBitmap::SetSize(int Width, int Height, bool Alpha) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  const QImage::Format Format = Alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
  if (!IsView_ && !Alpha && Width == Image_.width() && Height == Image_.height() && Image_.format() == Format) return;
  IsView_ = false;
  if (Alpha) {
    Image_ = QImage(Width, Height, Format);
    Block_.reset();
    Image_.fill(Qt::transparent);
  } else {
    // Opaque pixels start in a block a view can share: moving them there later would
    // touch every page of a new image twice.
    Image_ = NewBlockImage(Width, Height, Block_);
  }
  Canvas_.SetTarget(&Image_);
}

bool TBitmap::LoadFromFile(const QString& FileName) {
  QImage Loaded;
  if (!Loaded.load(FileName)) return false;
  Image_ = Loaded.convertToFormat(QImage::Format_RGB32);
  Block_.reset();
  IsView_ = false;
  Canvas_.SetTarget(&Image_);
  return true;
}

// The image's pixels in a block that views can hold. They are moved there (copied)
// when they lie elsewhere, or when someone else holds a copy of the image: drawing
// would then move them anyway, away from the views.
uchar* TBitmap::SharedPixels() {
  if (!Block_ || Image_.constBits() != Block_.get() || !Image_.isDetached()) {
    const QImage Old = Image_;
    Image_ = NewBlockImage(Old.width(), Old.height(), Block_);
    const auto RowBytes = static_cast<size_t>(Image_.bytesPerLine());
    for (int Y = 0; Y < Image_.height(); ++Y) std::memcpy(Image_.scanLine(Y), Old.constScanLine(Y), RowBytes);
    Canvas_.SetTarget(&Image_);
  }
  return Block_.get();
}

void TBitmap::View(TBitmap& Whole, const QRect& Part) {
  if (Part.isEmpty() || !Whole.Image_.rect().contains(Part) || Whole.Image_.format() != QImage::Format_RGB32)
    return SetSize(Part.width(), Part.height());
  if (Views(Whole, Part) && Image_.isDetached() && Whole.Image_.isDetached() && Whole.Block_ &&
      Whole.Image_.constBits() == Whole.Block_.get())
    return;  // that window already, and no one else holds a copy of either image
  // A window that someone else holds a copy of, or that drawing detached while one was
  // held, may still show Whole's block: Whole moves to a new one, so the copy keeps its
  // pixels.
  if (IsView_) Whole.Block_.reset();
  uchar* const Pixels = Whole.SharedPixels();
  if (!Pixels) return SetSize(Part.width(), Part.height());  // no memory for a shared block
  const qsizetype Stride = Whole.Image_.bytesPerLine();
  uchar* First = Pixels + Part.top() * Stride + Part.left() * qsizetype(sizeof(QRgb));
  Image_ = ImageOver(Whole.Block_, First, Part.width(), Part.height(), Stride);
  Block_.reset();
  IsView_ = true;
  Canvas_.SetTarget(&Image_);
}

bool TBitmap::Views(const TBitmap& Whole, const QRect& Part) const {
  if (!IsView_ || !Whole.Image_.rect().contains(Part) || Image_.size() != Part.size()) return false;
  const qsizetype Stride = Whole.Image_.bytesPerLine();
  return Image_.bytesPerLine() == Stride &&
         Image_.constBits() == Whole.Image_.constBits() + Part.top() * Stride + Part.left() * qsizetype(sizeof(QRgb));
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

QString SavePng(const QImage& Picture, const QString& FileName) {
  // Encoded in memory first, so that a failed write is this function's to handle, not
  // the encoder's (which leaks its row buffer when a write fails under it).
  QByteArray Png;
  QBuffer Buffer(&Png);
  if (!Buffer.open(QIODevice::WriteOnly) || !Picture.save(&Buffer, "PNG"))
    return QStringLiteral("The picture could not be encoded as PNG");
  return ReplaceFile(FileName, Png);
}
