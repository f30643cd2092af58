// Canvas conventions: end pixels, half-open boxes, pen modes and styles, clipping.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstring>
#include <random>
#include <thread>

#include "tests/PixelTest.h"

namespace {

struct TLineCase {
  int X1, Y1, X2, Y2;
};

class CanvasLine : public ::testing::TestWithParam<TLineCase> {};

TEST_P(CanvasLine, PaintsEveryStepButTheEndPixel) {
  const TLineCase L = GetParam();
  TBitmap B(40, 40);
  ClearWhite(B);
  B.Canvas()->MoveTo(L.X1, L.Y1);
  B.Canvas()->LineTo(L.X2, L.Y2);
  const TPixelSet P = Painted(B);
  const int Steps = std::max(std::abs(L.X2 - L.X1), std::abs(L.Y2 - L.Y1));
  EXPECT_EQ(static_cast<int>(P.size()), Steps);
  EXPECT_TRUE(P.count({L.X1, L.Y1}));
  EXPECT_FALSE(P.count({L.X2, L.Y2}));
  EXPECT_EQ(B.Canvas()->PenPos(), QPoint(L.X2, L.Y2));
}

INSTANTIATE_TEST_SUITE_P(AllDirections, CanvasLine,
                         ::testing::Values(TLineCase{5, 5, 25, 5}, TLineCase{25, 5, 5, 5}, TLineCase{5, 5, 5, 25},
                                           TLineCase{5, 25, 5, 5}, TLineCase{5, 5, 25, 25}, TLineCase{25, 25, 5, 5},
                                           TLineCase{5, 5, 12, 30}, TLineCase{12, 30, 5, 5},
                                           TLineCase{30, 8, 3, 13}, TLineCase{3, 30, 30, 29}),
                         [](const auto& Info) {
                           const TLineCase& L = Info.param;
                           auto N = [](int V) { return std::to_string(V); };
                           return "From" + N(L.X1) + "_" + N(L.Y1) + "To" + N(L.X2) + "_" + N(L.Y2);
                         });

TEST(Canvas, ZeroLengthLineMovesThePenOnly) {
  TBitmap B(10, 10);
  ClearWhite(B);
  B.Canvas()->MoveTo(4, 4);
  B.Canvas()->LineTo(4, 4);
  EXPECT_TRUE(Painted(B).empty());
}

TEST(Canvas, ConnectedSegmentsPaintEachPixelOnce) {
  TBitmap B(20, 20);
  ClearWhite(B);
  B.Canvas()->Pen()->SetColor(clWhite);
  B.Canvas()->Pen()->SetMode(pmXor);  // a pixel painted twice would come back white
  B.Canvas()->Polyline({{2, 2}, {12, 2}, {12, 9}, {2, 9}, {2, 2}});
  EXPECT_EQ(Painted(B), [] {
    TPixelSet Ring = Block(2, 2, 12, 9);
    for (auto P : Block(3, 3, 11, 8)) Ring.erase(P);
    return Ring;
  }());
}

TEST(Canvas, RectangleCoversTheHalfOpenBox) {
  TBitmap B(20, 20);
  ClearWhite(B);
  B.Canvas()->Pen()->SetColor(clRed);
  B.Canvas()->Brush()->SetColor(clBlue);
  B.Canvas()->Rectangle(3, 4, 10, 9);
  EXPECT_EQ(Painted(B), Block(3, 4, 9, 8));
  EXPECT_EQ(PixelsOf(B, clBlue), Block(4, 5, 8, 7));
  // Corners given in any order cover the same pixels.
  TBitmap C(20, 20);
  ClearWhite(C);
  C.Canvas()->Brush()->SetColor(clBlue);
  C.Canvas()->Rectangle(10, 9, 3, 4);
  EXPECT_EQ(Painted(C), Block(3, 4, 9, 8));
}

// A solid box with a 1-pixel outline, wherever it lies on or across the image's edges,
// is its inside filled and its border walked as lines.
TEST(Canvas, OutlinedBoxIsItsInsideAndItsBorderAtEveryPlace) {
  for (int X1 = -4; X1 <= 9; X1 += 1)
    for (int Y1 = -3; Y1 <= 8; Y1 += 1)
      for (const QPoint Size : {QPoint(2, 2), QPoint(3, 5), QPoint(7, 3), QPoint(12, 12)}) {
        const int X2 = X1 + Size.x(), Y2 = Y1 + Size.y();
        TBitmap Box(8, 7), Expected(8, 7);
        ClearWhite(Box);
        ClearWhite(Expected);
        for (TCanvas* C : {Box.Canvas(), Expected.Canvas()}) {
          C->Pen()->SetColor(clRed);
          C->Brush()->SetColor(clBlue);
        }
        Box.Canvas()->Rectangle(X1, Y1, X2, Y2);
        Expected.Canvas()->FillRect(X1 + 1, Y1 + 1, X2 - 1, Y2 - 1);
        Expected.Canvas()->Polyline({{X1, Y1}, {X2 - 1, Y1}, {X2 - 1, Y2 - 1}, {X1, Y2 - 1}, {X1, Y1}});
        ASSERT_EQ(Box.Image(), Expected.Image()) << X1 << "," << Y1 << " size " << Size.x() << "x" << Size.y();
      }
}

TEST(Canvas, BlendRectMixesTheBrushIntoTheHalfOpenBox) {
  TBitmap B(20, 20);
  ClearWhite(B);
  B.Canvas()->Brush()->SetColor(clRed);
  B.Canvas()->BlendRect(10, 9, 3, 4, 64);  // corners in any order
  // White under a quarter of red: 255 in red, 255 * 191 / 255 = 191 in the others.
  EXPECT_EQ(PixelsOf(B, TColor(0xBFBFFF)), Block(3, 4, 9, 8));
  EXPECT_EQ(Painted(B), Block(3, 4, 9, 8));
  // Twice over itself the colour deepens; opacity 255 covers, 0 leaves the image.
  B.Canvas()->BlendRect(3, 4, 5, 5, 64);
  EXPECT_EQ(B.Canvas()->Pixel(3, 4), TColor(0x8F8FFF));
  B.Canvas()->BlendRect(0, 0, 2, 2, 255);
  EXPECT_EQ(PixelsOf(B, clRed), Block(0, 0, 1, 1));
  B.Canvas()->Brush()->SetColor(clBlue);
  B.Canvas()->BlendRect(0, 0, 20, 20, 0);
  EXPECT_EQ(PixelsOf(B, clRed), Block(0, 0, 1, 1));
  // Far corners are clipped before any pixel is visited; a clear brush paints nothing.
  B.Canvas()->BlendRect(-2000000000, 15, 2000000000, 2000000000, 255);
  EXPECT_EQ(PixelsOf(B, clBlue), Block(0, 15, 19, 19));
  B.Canvas()->Brush()->SetStyle(bsClear);
  B.Canvas()->BlendRect(0, 0, 20, 20, 255);
  EXPECT_EQ(PixelsOf(B, clBlue), Block(0, 15, 19, 19));
}

TEST(Canvas, EllipseStaysInsideItsHalfOpenBoxAndTouchesEachSide) {
  TBitmap B(30, 30);
  ClearWhite(B);
  B.Canvas()->Ellipse(5, 6, 17, 13);
  const TPixelSet P = Painted(B);
  int MinX = 99, MaxX = -1, MinY = 99, MaxY = -1;
  for (auto [X, Y] : P) {
    MinX = std::min(MinX, X), MaxX = std::max(MaxX, X), MinY = std::min(MinY, Y), MaxY = std::max(MaxY, Y);
  }
  EXPECT_EQ(MinX, 5);
  EXPECT_EQ(MaxX, 16);
  EXPECT_EQ(MinY, 6);
  EXPECT_EQ(MaxY, 12);
}

TEST(Canvas, ClearBrushLeavesTheInsideUntouched) {
  TBitmap B(20, 20);
  ClearWhite(B);
  B.Canvas()->Brush()->SetStyle(bsClear);
  B.Canvas()->Rectangle(2, 2, 12, 12);
  B.Canvas()->Ellipse(2, 2, 12, 12);
  B.Canvas()->Polygon({{3, 3}, {11, 3}, {7, 10}});
  for (auto P : Block(6, 5, 8, 5)) EXPECT_EQ(B.Canvas()->Pixel(P.first, P.second), clWhite);
  EXPECT_EQ(B.Canvas()->Pixel(2, 2), clBlack);
}

TEST(Canvas, ClearPenPaintsNothing) {
  TBitmap B(20, 20);
  ClearWhite(B);
  B.Canvas()->Pen()->SetStyle(psClear);
  B.Canvas()->MoveTo(0, 0);
  B.Canvas()->LineTo(15, 15);
  B.Canvas()->Brush()->SetStyle(bsClear);
  B.Canvas()->Rectangle(2, 2, 12, 12);
  B.Canvas()->Ellipse(2, 2, 12, 12);
  B.Canvas()->Polygon({{3, 3}, {11, 3}, {7, 10}});
  EXPECT_TRUE(Painted(B).empty());
  // With a clear pen a solid brush fills the whole box.
  B.Canvas()->Brush()->SetStyle(bsSolid);
  B.Canvas()->Brush()->SetColor(clRed);
  B.Canvas()->Rectangle(2, 2, 6, 5);
  EXPECT_EQ(PixelsOf(B, clRed), Block(2, 2, 5, 4));
}

TEST(Canvas, XorTwiceRestoresTheImage) {
  TBitmap B(30, 30);
  ClearWhite(B);
  B.Canvas()->Pen()->SetColor(clRed);
  B.Canvas()->MoveTo(0, 0);
  B.Canvas()->LineTo(29, 17);
  const QImage Before = B.Image().copy();
  TCanvas* C = B.Canvas();
  C->Pen()->SetMode(pmXor);
  C->Pen()->SetColor(0x123456);
  C->Brush()->SetStyle(bsClear);
  for (int Pass = 0; Pass < 2; ++Pass) {
    C->MoveTo(3, 25);
    C->LineTo(27, 2);
    C->Rectangle(4, 4, 20, 14);
    C->Ellipse(6, 6, 26, 26);
    C->Polygon({{2, 2}, {25, 5}, {10, 28}});
  }
  EXPECT_EQ(B.Image(), Before);
}

TEST(Canvas, XorOfWhiteInvertsTheColour) {
  TBitmap B(4, 4);
  ClearWhite(B);
  B.Canvas()->SetPixel(1, 1, 0x102030);
  B.Canvas()->Pen()->SetMode(pmXor);
  B.Canvas()->Pen()->SetColor(clWhite);
  B.Canvas()->MoveTo(1, 1);
  B.Canvas()->LineTo(2, 1);
  EXPECT_EQ(B.Canvas()->Pixel(1, 1), 0xEFDFCF);
}

TEST(Canvas, PolygonFillsAndOutlines) {
  TBitmap B(20, 20);
  ClearWhite(B);
  B.Canvas()->Pen()->SetColor(clRed);
  B.Canvas()->Brush()->SetColor(clBlue);
  B.Canvas()->Polygon({{2, 2}, {12, 2}, {12, 8}, {2, 8}});
  TPixelSet Ring = Block(2, 2, 12, 8);
  for (auto P : Block(3, 3, 11, 7)) Ring.erase(P);
  EXPECT_EQ(PixelsOf(B, clRed), Ring);
  EXPECT_EQ(PixelsOf(B, clBlue), Block(3, 3, 11, 7));
}

TEST(Canvas, DashedPenLeavesGapsAndWidePenCoversASquare) {
  TBitmap B(60, 20);
  ClearWhite(B);
  B.Canvas()->Pen()->SetStyle(psDot);
  B.Canvas()->MoveTo(0, 2);
  B.Canvas()->LineTo(12, 2);
  EXPECT_EQ(Picture(B, 0, 2, 11, 2), "###...###...\n");
  B.Canvas()->Pen()->SetStyle(psSolid);
  B.Canvas()->Pen()->SetWidth(3);
  B.Canvas()->MoveTo(10, 10);
  B.Canvas()->LineTo(14, 10);
  EXPECT_EQ(Picture(B, 8, 8, 15, 12), "........\n.######.\n.######.\n.######.\n........\n");
}

TEST(Canvas, InsideFramePenStaysInsideTheBox) {
  TBitmap B(20, 20);
  ClearWhite(B);
  B.Canvas()->Pen()->SetStyle(psInsideFrame);
  B.Canvas()->Pen()->SetWidth(3);
  B.Canvas()->Brush()->SetStyle(bsClear);
  B.Canvas()->Rectangle(2, 2, 12, 12);
  TPixelSet Ring = Block(2, 2, 11, 11);
  for (auto P : Block(5, 5, 8, 8)) Ring.erase(P);
  EXPECT_EQ(Painted(B), Ring);
}

TEST(Canvas, FarCoordinatesAreClippedWithoutWalkingTheInvisiblePart) {
  TBitmap B(50, 50);
  ClearWhite(B);
  TCanvas* C = B.Canvas();
  C->MoveTo(-2000000000, -2000000000);
  C->LineTo(2000000000, 2000000000);
  C->MoveTo(INT_MIN, 25);
  C->LineTo(INT_MAX, 25);
  C->MoveTo(INT_MAX, INT_MIN);
  C->LineTo(INT_MIN, INT_MAX);
  C->Brush()->SetStyle(bsClear);
  C->Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  C->Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
  C->Polygon({{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}});
  // The diagonal through the image keeps the pixels of the unclipped line.
  for (int I = 0; I < 50; ++I) EXPECT_EQ(C->Pixel(I, I), clBlack) << I;
  for (int X = 0; X < 50; ++X) EXPECT_EQ(C->Pixel(X, 25), clBlack) << X;
}

TEST(Canvas, ClippedLineKeepsThePixelsOfTheWholeLine) {
  TBitmap Whole(100, 100), Part(100, 100);
  ClearWhite(Whole);
  ClearWhite(Part);
  Whole.Canvas()->MoveTo(3, 91);
  Whole.Canvas()->LineTo(97, 7);
  // The same line, seen through a 30 x 30 window placed at (35, 35).
  TBitmap Window(30, 30);
  ClearWhite(Window);
  Window.Canvas()->MoveTo(3 - 35, 91 - 35);
  Window.Canvas()->LineTo(97 - 35, 7 - 35);
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 30; ++X)
      EXPECT_EQ(Window.Canvas()->Pixel(X, Y), Whole.Canvas()->Pixel(X + 35, Y + 35)) << X << "," << Y;
}

TEST(Canvas, PixelOutsideTheImageIsMinusOneAndWritesAreIgnored) {
  TBitmap B(5, 5);
  ClearWhite(B);
  EXPECT_EQ(B.Canvas()->Pixel(-1, 0), -1);
  EXPECT_EQ(B.Canvas()->Pixel(5, 0), -1);
  B.Canvas()->SetPixel(5, 5, clRed);
  B.Canvas()->SetPixel(2, 3, clRed);
  EXPECT_EQ(PixelsOf(B, clRed), TPixelSet({{2, 3}}));
}

// A picture drawn partly or wholly off the target is cut off: each target pixel takes the
// picture pixel over it, and nothing else changes, whatever the offset.
TEST(Canvas, DrawCutsThePictureOffAtTheTargetsEdges) {
  TBitmap Picture(4, 3);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 4; ++X) Picture.Canvas()->SetPixel(X, Y, TColor(0x010000 * (X + 1) + 0x0100 * (Y + 1)));
  const QPoint Offsets[] = {{-2, -1}, {4, 5}, {-3, 5}, {5, -2}, {-4, 0}, {6, 1}, {INT_MIN, INT_MIN}, {INT_MAX, 2}};
  for (const QPoint O : Offsets) {
    TBitmap Target(6, 6);
    ClearWhite(Target);
    Target.Canvas()->Draw(O.x(), O.y(), Picture.Image());
    for (int Y = 0; Y < 6; ++Y)
      for (int X = 0; X < 6; ++X) {
        const int64_t PX = int64_t(X) - O.x(), PY = int64_t(Y) - O.y();
        const bool Covered = PX >= 0 && PX < 4 && PY >= 0 && PY < 3;
        EXPECT_EQ(Target.Canvas()->Pixel(X, Y), Covered ? Picture.Canvas()->Pixel(int(PX), int(PY)) : clWhite)
            << O.x() << "," << O.y() << " at " << X << "," << Y;
      }
  }
}

// Text far outside the image, up to the ends of the int range, draws nothing and moves
// the pen position without overflowing.
TEST(Canvas, TextFarOutsideTheImageIsSkipped) {
  TBitmap B(20, 20);
  ClearWhite(B);
  for (const QPoint P : {QPoint(INT_MAX - 3, 5), QPoint(5, INT_MAX - 1), QPoint(INT_MIN, INT_MIN), QPoint(-500, 5)}) {
    B.Canvas()->TextOut(P.x(), P.y(), QStringLiteral("WWW"));
    EXPECT_GE(B.Canvas()->PenPos().x(), P.x());
  }
  EXPECT_TRUE(Painted(B).empty());
  B.Canvas()->TextOut(2, 2, QStringLiteral("W"));
  EXPECT_FALSE(Painted(B).empty());
}

}  // namespace

namespace {

// One-pixel lines three pixels apart: at 1.5 a plain enlargement makes them alternately
// one and two device pixels wide; the fractional copy gives each the same ink.
TEST(CopyToControl, AtFractionalRatiosEveryLineKeepsTheSameWeight) {
  QImage Stripes(30, 4, QImage::Format_RGB32);
  Stripes.fill(Qt::white);
  for (int X = 0; X < 30; X += 3)
    for (int Y = 0; Y < 4; ++Y) Stripes.setPixel(X, Y, 0xFF000000);
  for (const qreal Ratio : {1.25, 1.5, 1.75}) {
    const QImage Shown = FractionalScaled(Stripes, Ratio);
    ASSERT_EQ(Shown.width(), qRound(30 * Ratio));
    // The ink of each line: the darkness summed over the device columns from a pixel
    // before it to one after it, where a smoothed line spreads.
    std::vector<int> Ink;
    for (int Line = 1; Line < 9; ++Line) {
      int Sum = 0;
      for (int X = qRound((Line * 3 - 1) * Ratio); X < qRound((Line * 3 + 2) * Ratio); ++X)
        Sum += 255 - qRed(Shown.pixel(X, 1));
      Ink.push_back(Sum);
    }
    const auto [Least, Most] = std::minmax_element(Ink.begin(), Ink.end());
    EXPECT_LE(*Most - *Least, 2) << Ratio;  // where plain enlargement differs by half
    // Each line has the ink of a line Ratio device pixels wide: none fades away.
    EXPECT_NEAR(*Least, 255 * Ratio, 255 * 0.05) << Ratio;
  }
}

}  // namespace

// A picture cut off by a full disk (here the file size limit) leaves the file that was
// there as it was, and no half-written file beside it; a pipe is written into, not
// replaced by a file.
TEST(SavePng, AFileIsReplacedWholeOrNotAtAllAndAPipeIsWrittenInto) {
  QTemporaryDir Dir;
  const QString File = Dir.filePath("picture.png");
  QImage Before(4, 4, QImage::Format_RGB32);
  Before.fill(Qt::red);
  ASSERT_EQ(SavePng(Before, File), QString());
  QImage Noise(100, 100, QImage::Format_RGB32);  // noise does not compress: about 30 KB
  std::mt19937 Random(7);
  for (int Y = 0; Y < Noise.height(); ++Y)
    for (int X = 0; X < Noise.width(); ++X) Noise.setPixel(X, Y, Random() & 0xFFFFFF);
  rlimit Limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &Limit), 0);
  const rlimit Small{8192, Limit.rlim_max};
  const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &Small), 0);
  const QString Reason = SavePng(Noise, File);
  setrlimit(RLIMIT_FSIZE, &Limit);
  std::signal(SIGXFSZ, OldHandler);
  EXPECT_FALSE(Reason.isEmpty());
  EXPECT_EQ(QImage(File).convertToFormat(QImage::Format_RGB32), Before);
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"picture.png"});

  const QString Pipe = Dir.filePath("pipe");
  ASSERT_EQ(mkfifo(QFile::encodeName(Pipe).constData(), 0600), 0);
  const int Reader = open(QFile::encodeName(Pipe).constData(), O_RDONLY | O_NONBLOCK);  // a reader lets the write open
  ASSERT_GE(Reader, 0);
  ASSERT_EQ(SavePng(Before, Pipe), QString());
  QByteArray Bytes(4096, '\0');
  const ssize_t Got = read(Reader, Bytes.data(), static_cast<size_t>(Bytes.size()));  // the pipe holds far more
  close(Reader);
  ASSERT_GT(Got, 0);
  Bytes.resize(Got);
  EXPECT_EQ(QImage::fromData(Bytes).convertToFormat(QImage::Format_RGB32), Before);
  EXPECT_FALSE(QFileInfo(Pipe).isFile());

  // With nobody reading, the save fails at once instead of waiting for a reader. (Should
  // it wait, a reader comes after 3 s, so that the fault fails the test and hangs nothing.)
  const QByteArray Unread = QFile::encodeName(Dir.filePath("unread"));
  ASSERT_EQ(mkfifo(Unread.constData(), 0600), 0);
  std::atomic<bool> Returned = false;
  std::thread Rescue([&] {
    for (int I = 0; I < 300 && !Returned; ++I) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (Returned) return;
    const int Late = open(Unread.constData(), O_RDONLY | O_NONBLOCK);
    while (!Returned) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    close(Late);
  });
  const QString Why = SavePng(Before, QFile::decodeName(Unread));
  Returned = true;
  Rescue.join();
  EXPECT_EQ(Why, QString::fromLocal8Bit(std::strerror(ENXIO)));
}

// A new image is made where a view can share it, so the first view moves no pixel; a
// view onto a view copies only the rows it shows; a size no image can have gives none.
TEST(BitmapView, ANewImageIsViewedInPlaceAndImpossibleSizesGiveNoImage) {
  TBitmap Whole(30, 20);
  ClearWhite(Whole);
  const uchar* Pixels = Whole.Image().constBits();
  TBitmap View;
  View.View(Whole, QRect(10, 12, 20, 8));  // reaches the whole's last pixel
  EXPECT_EQ(Whole.Image().constBits(), Pixels);
  View.Canvas()->SetPixel(19, 7, clRed);
  EXPECT_EQ(Whole.Canvas()->Pixel(29, 19), clRed);
  TBitmap Inner;
  Inner.View(View, QRect(15, 5, 5, 3));
  EXPECT_EQ(Inner.Canvas()->Pixel(4, 2), clRed);
  EXPECT_EQ(Inner.Canvas()->Pixel(0, 0), clWhite);

  for (const QSize Impossible : {QSize(INT_MAX, 2), QSize(70'000'000, 1),
                                 QSize(INT_MAX, INT_MAX),
                                 QSize(-5, 4), QSize(4, 0)}) {
    Whole.SetSize(Impossible.width(), Impossible.height());
    EXPECT_TRUE(Whole.Image().isNull());
    View.View(Whole, QRect(0, 0, 2, 2));  // pixels of its own, as for any part beyond the whole
    EXPECT_EQ(View.Width(), 2);
  }
}

// A view draws into its part of the whole and nowhere else; copies of either image
// taken elsewhere keep their pixels once the view is placed again, and a view outlives
// the whole's pixels it was made on.
TEST(BitmapView, DrawsIntoItsPartOnlyAndCopiesHeldElsewhereKeepTheirPixels) {
  TBitmap Whole(20, 10);
  ClearWhite(Whole);
  TBitmap View;
  const QRect Part(5, 2, 8, 6);
  View.View(Whole, Part);
  ASSERT_TRUE(View.Views(Whole, Part));
  View.Canvas()->Pen()->SetColor(clRed);
  View.Canvas()->MoveTo(-10, 3);
  View.Canvas()->LineTo(30, 3);  // clipped to the view, not to the whole
  EXPECT_EQ(PixelsOf(Whole, clRed), Block(5, 5, 12, 5));

  const QImage HeldView = View.Image(), HeldWhole = Whole.Image();
  const QImage ViewBefore = HeldView.copy(), WholeBefore = HeldWhole.copy();
  View.View(Whole, Part);
  EXPECT_TRUE(View.Views(Whole, Part));
  View.Canvas()->SetPixel(0, 0, clBlue);
  EXPECT_EQ(Whole.Canvas()->Pixel(5, 2), clBlue);
  EXPECT_EQ(HeldView, ViewBefore);
  EXPECT_EQ(HeldWhole, WholeBefore);

  // Drawing on a view whose image is held elsewhere detaches it from the whole.
  const QImage Held = View.Image();
  View.Canvas()->SetPixel(1, 0, clLime);
  EXPECT_FALSE(View.Views(Whole, Part));
  EXPECT_EQ(Whole.Canvas()->Pixel(6, 2), clWhite);

  View.View(Whole, Part);
  Whole.SetSize(3, 3);
  EXPECT_FALSE(View.Views(Whole, Part));
  EXPECT_EQ(View.Canvas()->Pixel(0, 0), clBlue);  // the old pixels live on in the view
  View.View(Whole, Part);  // a part beyond the whole: pixels of its own
  EXPECT_EQ(View.Width(), 8);
  EXPECT_FALSE(View.Views(Whole, Part));
}
