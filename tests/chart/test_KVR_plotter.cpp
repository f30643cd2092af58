// The chart: transforms, the display list, rendering and sharing.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <climits>
#include <cmath>
#include <iterator>
#include <memory>
#include <set>
#include <utility>

#include "tests/chart/ChartFixture.h"
#include "tests/SetterCases.h"
#include "toolkit/MessageBox.h"

namespace {

TEST(PlotterTransform, MapsTheProgramsRangesOntoTheChartArea) {
  TChartFixture F;
  int X, Y;
  F.Chart->WorldToPixel(1, -15, 11, X, Y);
  EXPECT_EQ(X, 40);
  EXPECT_EQ(Y, 1);
  F.Chart->WorldToPixel(1, 15, -11, X, Y);
  EXPECT_EQ(X, 353);
  EXPECT_EQ(Y, 281 - 40);
  F.Chart->WorldToPixel(1, 0, 0, X, Y);
  EXPECT_EQ(X, 196);  // 196.5, ties to even
  F.Chart->WorldToPixel(1, 1e12, -1e300, X, Y);
  EXPECT_EQ(X, 2147483647);
  EXPECT_EQ(Y, 2147483647);
  double WX, WY;
  F.Chart->PixelToWorld(1, 40, 1, WX, WY);
  EXPECT_NEAR(WX, -15, 1e-12);
  EXPECT_NEAR(WY, 11, 1e-12);
}

TEST(PlotterTransform, LogarithmicAxesSendNonPositiveValuesToAnEdge) {
  TChartFixture F;
  F.Chart->Scale1X()->SetRangeLow(1);
  F.Chart->Scale1X()->SetRangeHigh(1000);
  F.Chart->Scale1X()->SetLogarithmic(true);  // a chart made at run time accepts it
  int X, Y;
  F.Chart->WorldToPixel(1, 10, 0, X, Y);
  EXPECT_EQ(X, 144);  // a third of the way: 40 + 313 / 3 = 144.33
  F.Chart->WorldToPixel(1, 0, 0, X, Y);
  EXPECT_EQ(X, 0);
}

TEST(PlotterTransform, UnmappableRangesKeepThePreviousTransform) {
  TChartFixture F;
  F.Chart->ApplyLayerRange(1, 3, 3, -11, 11);  // zero width, past the setters' rules
  int X, Y;
  F.Chart->WorldToPixel(1, 0, 0, X, Y);
  EXPECT_EQ(X, 196);
  F.Chart->ScaleX(1)->SetLogarithmic(true);
  F.Chart->ApplyLayerRange(1, -1, 10, -11, 11);
  F.Chart->WorldToPixel(1, 0, 0, X, Y);
  EXPECT_GE(X, 0);
}

TEST(PlotterItems, StoreGrowsByAllocSizeAndDrawsInOrder) {
  TChartFixture F;
  F.Chart->ClearItems();
  EXPECT_EQ(F.Chart->ItemCapacity(), 0);
  for (int I = 0; I < 1000; ++I) F.Chart->AddMark(0, 0, 0);
  F.Chart->SetDataColor(clRed);
  F.Chart->AddMark(0, 0, 0);  // the 1001st, drawn last, on top
  EXPECT_EQ(F.Chart->ItemCount(), 1001);
  EXPECT_EQ(F.Chart->ItemCapacity(), 2000);
  EXPECT_EQ(sizeof(TChartItem), 48u);
  F.Chart->Redisplay();
  EXPECT_EQ(F.Area(196 - 40, 121 - 1), clRed);
  F.Chart->ClearItems();
  EXPECT_EQ(F.Chart->ItemCapacity(), 0);
}

// The block underneath is reserved in larger steps and kept over a clear; what the
// chart reports is still the specified growth, and the items survive every move.
TEST(PlotterItems, CapacityReportsAllocSizeStepsWhateverIsReserved) {
  TChartFixture F;
  F.Chart->SetAllocSize(1);
  for (int Round = 0; Round < 2; ++Round) {
    F.Chart->ClearItems();
    for (int I = 0; I < 5000; ++I) {
      F.Chart->AddMark(I, -I, 1);
      ASSERT_EQ(F.Chart->ItemCapacity(), I + 1);
    }
    F.Chart->SetAllocSize(300);
    F.Chart->AddLine(1, 2, 3, 4);
    EXPECT_EQ(F.Chart->ItemCapacity(), 5300);
    F.Chart->SetAllocSize(1);
    for (int I = 0; I < 5000; I += 997) EXPECT_EQ(F.Chart->Item(I).Y1, -I);
    EXPECT_EQ(F.Chart->Item(5000).X2, 3);
  }
}

TEST(PlotterItems, ColourIsTakenWhenAnItemIsAppended) {
  TChartFixture F;
  F.Chart->SetDataColor(clBlue);
  F.Chart->AddMark(-5, 0, 9);
  F.Chart->SetDataColor(clRed);
  F.Chart->AddMark(5, 0, 9);
  F.Chart->SetDataColor(clLime);
  F.Chart->Redisplay();
  EXPECT_EQ(F.Chart->Item(0).Color, clBlue);
  EXPECT_EQ(F.Chart->Item(1).Color, clRed);
  EXPECT_TRUE(F.AreaPixels(clLime).empty());
  EXPECT_EQ(F.AreaPixels(clBlue).size(), 49u);
}

TEST(PlotterItems, LinesAndFarPoints) {
  TChartFixture F;
  F.Chart->SetDataColor(clRed);
  F.Chart->AddLine(1, 1, 1, 1);  // both ends on one pixel: exactly that pixel
  F.Chart->AddMark(1e12, 0, 9);  // far off: drawn at pixel 30000, unseen
  F.Chart->AddMark(std::nan(""), 0, 9);
  F.Chart->AddLine(0, std::nan(""), 1, 1);
  F.Chart->Redisplay();
  int X, Y;
  F.Chart->WorldToPixel(1, 1, 1, X, Y);
  EXPECT_EQ(F.AreaPixels(clRed), TPixelSet({{X - 40, Y - 1}}));
}

// Area-image pixels of the world point (X, Y).
static QPoint AreaPixel(TChartFixture& F, double X, double Y) {
  int PX, PY;
  F.Chart->WorldToPixel(1, X, Y, PX, PY);
  return {PX - 40, PY - 1};
}

TEST(PlotterItems, RectanglesCoverTheHalfOpenBoxOutlinedAndFilledAtTheirOpacity) {
  TChartFixture F;
  F.Chart->SetDataColor(clRed);
  F.Chart->AddRectangle(5, 2, -5, -2, 0);  // corners in any order
  F.Chart->Redisplay();
  const QPoint A = AreaPixel(F, -5, 2), B = AreaPixel(F, 5, -2);
  const TPixelSet Box = Block(A.x(), A.y(), B.x() - 1, B.y() - 1);
  const TPixelSet Inside = Block(A.x() + 1, A.y() + 1, B.x() - 2, B.y() - 2);
  TPixelSet Ring;
  std::set_difference(Box.begin(), Box.end(), Inside.begin(), Inside.end(), std::inserter(Ring, Ring.end()));
  EXPECT_EQ(F.AreaPixels(clRed), Ring);  // opacity 0: the outline only

  F.Chart->ClearItems();
  F.Chart->AddRectangle(-5, 2, 5, -2, 255);
  F.Chart->Redisplay();
  EXPECT_EQ(F.AreaPixels(clRed), Box);

  // Translucent: a mark beneath shows through, darkened; the outline stays opaque.
  F.Chart->ClearItems();
  F.Chart->SetDataColor(clBlack);
  F.Chart->AddMark(0, 0, 9);
  F.Chart->SetDataColor(clRed);
  F.Chart->AddRectangle(-5, 2, 5, -2, 64);
  F.Chart->AddRectangle(std::nan(""), 2, 5, -2, 255);  // no pixel
  F.Chart->Redisplay();
  EXPECT_EQ(F.AreaPixels(clRed), Ring);
  const QPoint Centre = AreaPixel(F, 0, 0);
  EXPECT_EQ(F.Area(Centre.x(), Centre.y()), TColor(0x000040));
  EXPECT_EQ(F.Area(A.x() + 1, A.y() + 1), TColor(0xBFBFFF));
  EXPECT_EQ(F.AreaPixels(TColor(0xBFBFFF)).size() + F.AreaPixels(TColor(0x000040)).size(), Inside.size());
}

TEST(PlotterItems, ClearWithoutRedisplayKeepsTheShownPicture) {
  TChartFixture F;
  F.Chart->SetDataColor(clRed);
  F.Chart->AddMark(0, 0, 9);
  F.Chart->Redisplay();
  EXPECT_EQ(F.Shown(196, 120), clRed);
  F.Chart->ClearItems();
  EXPECT_EQ(F.Shown(196, 120), clRed);
  F.Chart->Redisplay();
  EXPECT_EQ(F.Shown(196, 120), clWhite);
  EXPECT_EQ(F.Shown(40, 1), clBlack);  // the chart frame
}

TEST(PlotterItems, WithoutAutoRedrawRedisplayPaintsEverything) {
  TChartFixture F;
  F.Chart->SetAutoRedraw(false);
  F.Chart->SetDataColor(clRed);
  F.Chart->AddMark(0, 0, 9);
  F.Chart->Redisplay();
  EXPECT_EQ(FromQRgb(F.Chart->FullImage()->Image().pixel(196, 120)), clRed);
}

TEST(PlotterSharing, RefusalsAreShownAndChangeNothing) {
  QStringList Shown;
  const TMessageBoxHook Previous = SetMessageBoxHook([&](const QString& T) { Shown << T; });
  TPlotter A, B, C, D, E, G;
  A.SetUseDataOf(&A);
  B.SetUseDataOf(&A);
  A.SetUseDataOf(&C);  // A has a user
  for (TPlotter* P : {&C, &D, &E}) P->SetUseDataOf(&A);
  G.SetUseDataOf(&A);  // a fifth user
  SetMessageBoxHook(Previous);
  EXPECT_EQ(Shown, (QStringList{"Plotter: Cannot share data with myself",
                                "Plotter: Cannot use foreign data. Other Plotters are using my own data.",
                                "Plotter: Max. number of data shares exceeded"}));
  EXPECT_EQ(A.DataUserCount(), 4);
  EXPECT_EQ(G.UseDataOf(), nullptr);
}

TEST(PlotterSharing, OneListForTheWholeGroupOneLevelDeep) {
  TChartFixture A, B;
  TPlotter C;
  B.Chart->SetUseDataOf(A.Chart);
  C.SetUseDataOf(B.Chart);  // a user of a user joins the owner
  EXPECT_EQ(C.UseDataOf(), A.Chart);
  A.Chart->SetDataColor(clRed);
  A.Chart->AddMark(0, 0, 9);
  A.Chart->Redisplay();
  EXPECT_EQ(B.Chart->ItemCount(), 1);
  EXPECT_EQ(B.Shown(196, 120), clRed);
  B.Chart->AddMark(5, 5, 9);
  EXPECT_EQ(A.Chart->ItemCount(), 2);
  EXPECT_EQ(C.ItemCount(), 2);
  // Leaving keeps the last list, but as a list of its own.
  B.Chart->SetUseDataOf(nullptr);
  EXPECT_EQ(A.Chart->DataUserCount(), 1);
  A.Chart->AddMark(1, 1, 9);
  EXPECT_EQ(B.Chart->ItemCount(), 2);
  EXPECT_EQ(A.Chart->ItemCount(), 3);
}

TEST(PlotterProps, RangeRules) {
  TPlotter P;
  TScaleProps* X = P.Scale2X();
  X->SetRangeLow(5);
  EXPECT_EQ(X->RangeLow(), 5);
  EXPECT_EQ(X->RangeHigh(), 1);
  X->SetRangeHigh(15);
  EXPECT_EQ(X->RangeHigh(), 15);
  TScaleProps* Y = P.Scale2Y();
  Y->SetRangeLow(1);
  EXPECT_EQ(Y->RangeLow(), 1);
  EXPECT_EQ(Y->RangeHigh(), 1 + 1e-10);
  Y->SetMinRange(4);
  EXPECT_NEAR(Y->RangeLow(), -1, 1e-9);
  EXPECT_NEAR(Y->RangeHigh(), 3, 1e-9);
  Y->SetDecPlaces(20);
  EXPECT_EQ(Y->DecPlaces(), 12);
  Y->SetDecPlaces(-10);
  EXPECT_EQ(Y->DecPlaces(), -3);
  Y->SetLabelType(ftTime);
  EXPECT_EQ(Y->DecPlaces(), 4);
}

TEST(PlotterProps, LogarithmicIsRefusedOnceTheChartIsLoaded) {
  TPlotter Runtime;
  Runtime.Scale1X()->SetRangeLow(-1);
  Runtime.Scale1X()->SetLogarithmic(true);
  EXPECT_TRUE(Runtime.Scale1X()->Logarithmic());
  TPlotter Loaded;
  Loaded.Include(csLoading);
  Loaded.Loaded();
  Loaded.Scale1X()->SetRangeLow(-1);
  Loaded.Scale1X()->SetLogarithmic(true);
  EXPECT_FALSE(Loaded.Scale1X()->Logarithmic());
}

TEST(PlotterJoints, ErrorsAndFollowing) {
  TPlotter P;
  TJointLayers* J = P.JointLayers();
  J->SetControlledBy(0, 3, 2);
  EXPECT_EQ(J->ControlledBy(0, 3), 2);
  auto Message = [&](int Layer, int Destination) {
    try {
      J->SetControlledBy(0, Layer, Destination);
    } catch (const EKVRPlotterError& E) {
      return std::string(E.what());
    }
    return std::string("no error");
  };
  J->SetControlledBy(0, 5, 2);
  EXPECT_EQ(Message(2, 6), "Layer 2 is joined by other layers (3, 5)");
  EXPECT_EQ(Message(4, 3), "Destination layer 3 is already joined");
  EXPECT_EQ(Message(1, 17), "Destination layer 17 is out of range");
  EXPECT_EQ(J->ControlledBy(0, 1), 1);
  P.Scale2X()->SetRangeLow(-7);
  P.Scale2X()->SetRangeHigh(9);
  EXPECT_EQ(P.ScaleX(3)->RangeLow(), -7);
  EXPECT_EQ(P.ScaleX(3)->RangeHigh(), 9);
  EXPECT_EQ(P.ScaleY(3)->RangeHigh(), 1);  // the vertical range is not joined
}

TEST(PlotterBackground, FileNamesAndAMissingPicture) {
  TChartFixture F;
  TBakGndImg* B = F.Chart->BackGroundImg();
  B->SetName("/some/dir/missing.bmp");
  EXPECT_EQ(B->Name(), "");  // cut to missing.bmp, then cleared when it failed to load
  B->SetIncludePath(true);
  B->SetName("C:\\pics\\x.bmp");
  EXPECT_EQ(B->Name(), "");
  EXPECT_EQ(FileNamePart("C:\\pics\\x.bmp"), "x.bmp");
  EXPECT_EQ(F.Area(10, 10), clWhite);
}

TEST(PlotterBackground, PictureAndArea) {
  TChartFixture F;
  QTemporaryDir Dir;
  QImage Pic(4, 4, QImage::Format_RGB32);
  Pic.fill(ToQRgb(clYellow));
  const QString Name = Dir.filePath("back.png");
  ASSERT_TRUE(Pic.save(Name));
  TBakGndImg* B = F.Chart->BackGroundImg();
  B->SetIncludePath(true);
  B->SetFillMode(bfTile);
  B->SetName(Name);
  EXPECT_EQ(F.Area(100, 100), clYellow);
  EXPECT_EQ(B->Name(), Name);
  B->SetName(QString());
  B->SetAreaMode(bamRect);  // -1..1 both ways in the middle of the chart
  int X, Y;
  F.Chart->WorldToPixel(1, 0, 0, X, Y);
  EXPECT_EQ(F.Area(X - 40, Y - 1), 0xDDDDDD);
  EXPECT_EQ(F.Area(10, 10), clWhite);
}

// The picture is read when its name changes: a file rewritten under the same name keeps
// the picture read before; another name, or the name set again after a failure, is read.
TEST(PlotterBackground, ThePictureIsReadWhenItsNameChanges) {
  TChartFixture F;
  QTemporaryDir Dir;
  auto Save = [&](const QString& File, TColor Color) {
    QImage Pic(4, 4, QImage::Format_RGB32);
    Pic.fill(ToQRgb(Color));
    const QString Name = Dir.filePath(File);
    EXPECT_TRUE(Pic.save(Name));
    return Name;
  };
  TBakGndImg* B = F.Chart->BackGroundImg();
  B->SetIncludePath(true);
  B->SetFillMode(bfTile);
  const QString First = Save("first.png", clYellow);
  B->SetName(First);
  EXPECT_EQ(F.Area(100, 100), clYellow);
  Save("first.png", clBlue);
  F.Chart->Paint();
  EXPECT_EQ(F.Area(100, 100), clYellow);
  B->SetName(Save("second.png", clLime));
  EXPECT_EQ(F.Area(100, 100), clLime);
  B->SetName(Dir.filePath("missing.png"));
  EXPECT_EQ(B->Name(), "");
  EXPECT_EQ(F.Area(100, 100), clWhite);
  B->SetName(First);
  EXPECT_EQ(F.Area(100, 100), clBlue);
}

TEST(PlotterGrid, LinesOnTheScaleTicks) {
  TChartFixture F;
  F.Chart->SetGridColor(clRed);
  F.Chart->SetGridStyle(gsVertLines);
  // Minor ticks every 2 from -14 to 14: one vertical line on each.
  for (int V = -14; V <= 14; V += 2) {
    int X, Y;
    F.Chart->WorldToPixel(1, V, 0, X, Y);
    EXPECT_EQ(F.Area(X - 40, 100), clRed) << V;
  }
  int X, Y;
  F.Chart->WorldToPixel(1, -15, 0, X, Y);
  EXPECT_EQ(F.Area(X - 40 + 1, 100), clWhite);
  F.Chart->SetGridStyle(gsHorizLines);
  F.Chart->SetGridDy(5);
  F.Chart->WorldToPixel(1, 0, -10, X, Y);
  EXPECT_EQ(F.Area(100, Y - 1), clRed);
}

TEST(PlotterLayout, TwoAxesOnEachSide) {
  TPlotter P;
  P.SetStandardLayout(pll_X2Both_Y2Both);
  EXPECT_EQ(P.MarginLeft(), 50);
  EXPECT_EQ(P.MarginTop(), 48);
  EXPECT_EQ(P.Scale1X()->ScaleLocation(), slBottom);
  EXPECT_EQ(P.Scale2X()->ScaleLocation(), slTop);
  EXPECT_EQ(P.Scale1Y()->ScaleLocation(), slLeft);
  EXPECT_EQ(P.Scale2Y()->ScaleLocation(), slRight);
  EXPECT_TRUE(P.Scale2X()->Visible() && P.Scale2Y()->Visible());
  EXPECT_FALSE(P.Scale3X()->Visible() || P.Scale4Y()->Visible() || P.ScaleX(9)->Visible());
  EXPECT_EQ(P.Scale3Y()->CaptionPosY(), -23);
  EXPECT_EQ(P.Scale2X()->ScaleType(), sctXB);
  EXPECT_EQ(P.ScaleOf(0, 2)->ScaleType(), sctXB);
}

TEST(PlotterFrame, MinimumSizeShadowAndCaption) {
  TChartFixture F;
  F.Chart->SetBounds(0, 0, 10, 10);
  EXPECT_EQ(F.Chart->width(), 40 + 8 + 80);
  EXPECT_EQ(F.Chart->height(), 1 + 40 + 20);
  F.Chart->SetBounds(0, 0, 361, 281);
  const QImage& Full = F.Chart->FullImage()->Image();
  EXPECT_EQ(FromQRgb(Full.pixel(0, 0)), ColorToRGB(clBtnFace));  // SW = 0: no border
  F.Chart->SetShadowWidth(5);
  EXPECT_EQ(FromQRgb(Full.pixel(0, 0)), clBlack);
  EXPECT_EQ(FromQRgb(Full.pixel(360, 280)), ColorToRGB(clGrayText));
  F.Chart->SetShadowWidth(0);
  F.Chart->SetMarginTop(30);
  F.Chart->SetCaption("WWW");
  // Anchored at the chart area's right edge, right-justified, 16 pixels above the area.
  int Right = -1;
  for (int Y = 14; Y < 30; ++Y)
    for (int X = 250; X < 361; ++X)
      if (FromQRgb(Full.pixel(X, Y)) != ColorToRGB(clBtnFace)) Right = std::max(Right, X);
  EXPECT_GE(Right, 361 - 8 - 3);
  EXPECT_LE(Right, 361 - 8);  // antialiased ink may touch the anchor column
}

TEST(PlotterFrame, TheProgramsChartAtAGlance) {
  TChartFixture F;
  F.Chart->SetDataColor(clBlack);
  F.Chart->AddMark(0, 0, 12);
  F.Chart->Redisplay();
  F.Chart->Paint();
  auto Full = [&](int X, int Y) { return FromQRgb(F.Chart->FullImage()->Image().pixel(X, Y)); };
  // Chart frame corners, the x axis under the area with a tick, the y axis left of it.
  EXPECT_EQ(Full(40, 1), clBlack);
  EXPECT_EQ(Full(353, 241), clBlack);
  EXPECT_EQ(Full(196, 241 + 6), clBlack);   // major tick at 0, 7 long, downwards
  EXPECT_EQ(Full(196, 241 + 7), ColorToRGB(clBtnFace));
  EXPECT_EQ(Full(40 - 5, 121), clBlack);    // major tick at y = 0, 6 long, leftwards
  EXPECT_EQ(Full(196 - 3, 121 - 3), clBlack);  // the mark's corner
  EXPECT_EQ(Full(196, 121), clWhite);
  EXPECT_EQ(F.Chart->ScaleOf(0, 1)->NumTicks(), 15);
}

TEST(PlotterCrossHair, DrawnOnTheWayToTheScreen) {
  TChartFixture F;
  TCrossHair* C = F.Chart->CrossHair(1);
  C->SetColor(clRed);
  C->SetMode(chBoth);
  EXPECT_EQ(F.Shown(100, 121), clRed);
  EXPECT_EQ(F.Shown(196, 50), clRed);
  EXPECT_EQ(F.Shown(40, 121), clBlack);  // stops inside the frame
}

// On a reversed axis the grid lines follow the ticks all the same: as many lines, each
// on the mirror image of an unreversed one.
// Grid lines at the ticks (step 0) lie on the very pixels of their ticks, also where a
// tick falls exactly between two pixels, at every size of the chart.
TEST(PlotterGrid, LinesLieOnTheirTicksAtEveryWidth) {
  TChartFixture F;
  F.Chart->SetGridColor(clRed);
  F.Chart->SetGridStyle(gsLines);
  std::set<int> TickX, TickY;
  F.Chart->OnScaleTickDrawn = [&](QObject* Sender, TCanvas*&, TScaleType, double, int X, int Y) {
    if (Sender == F.Chart->ScaleOf(0, 1)) TickX.insert(X);
    if (Sender == F.Chart->ScaleOf(1, 1)) TickY.insert(Y);
  };
  auto Red = [&](int X, int Y) { return F.Shown(X, Y) == clRed; };
  const std::pair<double, double> Ranges[] = {{-4.75, 1.75}, {0, 6.5}, {-1.25, 2.25}, {2.5, -4}};
  int Mismatches = 0;
  for (const auto& [Low, High] : Ranges)
    for (int Size = 100; Size <= 600; ++Size) {
      F.Chart->SetBounds(0, 0, Size, Size);
      F.Chart->ApplyLayerRange(1, Low, High, Low, High);
      TickX.clear(), TickY.clear();
      F.Chart->Paint();
      const TChartArea A = F.Chart->ChartArea();
      int Lines = 0;
      for (int X = A.Left + 1; X < A.Right; ++X) {
        bool Column = true;
        for (int Y = A.Top + 1; Y < A.Bottom && Column; ++Y) Column = Red(X, Y);
        Lines += Column;
        if (Column && !TickX.count(X)) ++Mismatches, ADD_FAILURE() << "column " << X << " at size " << Size << ", range " << Low;
      }
      for (int Y = A.Top + 1; Y < A.Bottom; ++Y) {
        bool Row = true;
        for (int X = A.Left + 1; X < A.Right && Row; ++X) Row = Red(X, Y);
        Lines += Row;
        if (Row && !TickY.count(Y)) ++Mismatches, ADD_FAILURE() << "row " << Y << " at size " << Size << ", range " << Low;
      }
      ASSERT_GT(Lines, 4) << Size;
      ASSERT_LT(Mismatches, 10);  // enough to see the pattern
    }
}

// The named steps of a logarithmic grid: decades, then 1-2-5 times a power of ten.
TEST(PlotterGrid, NamedStepsOnALogarithmicAxis) {
  TChartFixture F;
  F.Chart->SetGridColor(clRed);
  F.Chart->SetGridStyle(gsVertLines);
  F.Chart->ApplyLayerRange(1, 1, 1000, -11, 11);
  F.Chart->Scale1X()->SetLogarithmic(true);
  auto LineAt = [&](double V) {
    int X, Y;
    F.Chart->WorldToPixel(1, V, 0, X, Y);
    return F.Area(X - 40, 100) == clRed;
  };
  F.Chart->SetGridDx(TGridStep::Decades);
  EXPECT_TRUE(LineAt(10) && LineAt(100));
  EXPECT_FALSE(LineAt(20) || LineAt(50));
  F.Chart->SetGridDx(TGridStep::OneTwoFive);
  EXPECT_TRUE(LineAt(20) && LineAt(50) && LineAt(200));
  EXPECT_FALSE(LineAt(30));
  F.Chart->SetGridDx(TGridStep::OneToNine - 1);  // below the last named step: ignored
  EXPECT_EQ(F.Chart->GridDx(), TGridStep::OneTwoFive);
}

TEST(PlotterGrid, ReversedAxesKeepEveryLine) {
  auto LinesCrossed = [](bool Reversed) {
    TChartFixture F;
    F.Chart->SetGridColor(clRed);
    F.Chart->SetGridStyle(gsLines);
    if (Reversed) F.Chart->ApplyLayerRange(1, 15, -15, 11, -11);
    F.Chart->Paint();
    int Columns = 0, Rows = 0;
    for (int X = 1; X < 313; ++X) Columns += F.Area(X, 50) == clRed && F.Area(X, 51) == clRed;
    for (int Y = 1; Y < 240; ++Y) Rows += F.Area(50, Y) == clRed && F.Area(51, Y) == clRed;
    return std::pair{Columns, Rows};
  };
  const auto [Columns, Rows] = LinesCrossed(false);
  EXPECT_GE(Columns, 14);
  EXPECT_GE(Rows, 20);
  EXPECT_EQ(LinesCrossed(true), std::pair(Columns, Rows));
}

// Far values, infinite ones included, are limited on the way to pixels: a line towards
// infinity runs to the area's edge.
TEST(PlotterItems, LinesWithAnInfiniteEndAreDrawnLikeFarOnes) {
  TChartFixture F;
  F.Chart->SetDataColor(clRed);
  F.Chart->AddLine(0, 0, INFINITY, 0);
  F.Chart->AddLine(0, 0, 0, -1e300);
  F.Chart->AddLine(0, 0, NAN, 5);  // no pixel for it
  F.Chart->Redisplay();
  int X, Y;
  F.Chart->WorldToPixel(1, 0, 0, X, Y);
  EXPECT_EQ(F.Area(312, Y - 1), clRed);
  EXPECT_EQ(F.Area(X - 40, 239), clRed);
  EXPECT_EQ(F.Area(X - 40 - 10, Y - 1), clWhite);
}

// A chart that leaves a group, or whose owner is destroyed, shows the list it shared
// until its own list changes; it never changes another chart's list, and leaving copies
// nothing.
TEST(PlotterSharing, LeavingAndTeardownShareNothingBehindTheScenes) {
  auto A = std::make_unique<TPlotter>();
  TPlotter B, C, D;
  for (TPlotter* P : {&B, &C, &D}) P->SetUseDataOf(A.get());
  A->AddMark(1, 1, 0);
  A->AddMark(2, 2, 0);
  const TChartItem* Shared = &A->Item(0);
  D.SetUseDataOf(nullptr);
  EXPECT_EQ(&D.Item(0), Shared);  // no copy
  A->AddMark(3, 3, 0);            // the group takes a list of its own
  EXPECT_EQ(D.ItemCount(), 2);
  EXPECT_EQ(B.ItemCount(), 3);
  A.reset();
  EXPECT_EQ(B.UseDataOf(), nullptr);
  B.ClearItems();
  EXPECT_EQ(C.ItemCount(), 3);
  C.AddMark(4, 4, 0);
  EXPECT_EQ(C.ItemCount(), 4);
  EXPECT_EQ(B.ItemCount(), 0);
  EXPECT_EQ(C.Item(3).X1, 4);
  EXPECT_THROW(C.Item(4), EKVRPlotterError);
  EXPECT_THROW(C.Item(-1), EKVRPlotterError);
}

// Setting a value a property already has neither notifies nor repaints.
TEST(PlotterProps, UnchangedValuesNotifyNothing) {
  TChartFixture F;
  int Renders = 0;
  F.Chart->OnScalesRendered = [&](QObject*, TCanvas*&, int, int) { ++Renders; };
  F.Chart->SetGridColor(F.Chart->GridColor());
  F.Chart->SetMarginLeft(F.Chart->MarginLeft());
  F.Chart->SetCaption(F.Chart->Caption());
  TScalePropsHoriz* X = F.Chart->Scale1X();
  X->SetRangeLow(X->RangeLow());
  X->SetScaleLocation(X->ScaleLocation());
  X->SetCaption(X->Caption());
  X->DateFormat()->SetTimeFormat(X->DateFormat()->TimeFormat());
  F.Chart->CrossHair(1)->SetColor(F.Chart->CrossHair(1)->Color());
  F.Chart->BackGroundImg()->SetAreaLeft(F.Chart->BackGroundImg()->AreaLeft());
  EXPECT_EQ(Renders, 0);
  F.Chart->SetGridColor(clRed);
  EXPECT_EQ(Renders, 1);
}

// Each published setter of the chart with the value it has: no repaint and no tick
// reported; with another, a repaint. StandardLayout acts on an equal value too (see its
// setter); PaintSuppressed and the plain stores (DataColor, AutoRedraw, ...) never paint.
TEST(PlotterProps, EverySetterRepaintsOnlyOnAChange) {
  TChartFixture F;
  TPlotter* C = F.Chart;
  TPlotter Other;
  int Renders = 0, Ticks = 0;
  C->OnScalesRendered = [&Renders](QObject*, TCanvas*&, int, int) { ++Renders; };
  C->OnScaleTickDrawn = [&Ticks](QObject*, TCanvas*&, TScaleType, double, int, int) { ++Ticks; };
  ExpectChangesOnly(
      {SETTER_CASE(C, MarginLeft, 41), SETTER_CASE(C, MarginRight, 9), SETTER_CASE(C, MarginTop, 2),
       SETTER_CASE(C, MarginBottom, 41), SETTER_CASE(C, LRim, 42), SETTER_CASE(C, RRim, 10), SETTER_CASE(C, TRim, 3),
       SETTER_CASE(C, BRim, 42), SETTER_CASE(C, ShadowWidth, 4), SETTER_CASE(C, ShadowStyle, ssBox),
       SETTER_CASE(C, ShadowColor, clRed), SETTER_CASE(C, ShadowBakColor, clRed), SETTER_CASE(C, WindColor, clRed),
       SETTER_CASE(C, ChartColor, clRed), SETTER_CASE(C, ChartFrameColor, clRed), SETTER_CASE(C, GridStyle, gsLines),
       SETTER_CASE(C, GridColor, clRed), SETTER_CASE(C, GridDx, 5.0), SETTER_CASE(C, GridDy, 5.0),
       SETTER_CASE(C, Caption, QStringLiteral("c")), SETTER_CASE(C, CaptionPosX, 5), SETTER_CASE(C, CaptionPosY, 5),
       SETTER_CASE(C, CaptionAlignment, taCenter), SETTER_CASE(C, CaptionAnchorHoriz, cahChartLeft),
       SETTER_CASE(C, CaptionAnchorVert, cavChartBottom), SETTER_CASE(C, TextFontStyle, uint8_t{1}),
       SETTER_CASE(C, TextBkStyle, tbSolid), SETTER_CASE(C, TextBkColor, clRed),
       SETTER_CASE(C, TextAlignment, taLeftJustify), SETTER_CASE(C, Isometric, true),
       SETTER_CASE(C, UseDataOf, &Other)},
      [&](const std::function<void()>& Call) {
        Renders = Ticks = 0;
        Call();
        return Renders + Ticks;
      });
}

// The axis settings of a chart: each setter notifies only a change.
TEST(PlotterProps, EveryScalePropsSetterNotifiesOnlyAChange) {
  TScalePropsHoriz X;
  TScalePropsHoriz* P = &X;
  TDTLabel Other;
  Other.SetTimeFormat(tfAMPM);
  int Changes = 0;
  X.OnChange = [&Changes](QObject*) { ++Changes; };
  ExpectChangesOnly(
      {SETTER_CASE(P, Caption, QStringLiteral("c")), SETTER_CASE(P, CaptionPosX, 5), SETTER_CASE(P, CaptionPosY, 5),
       SETTER_CASE(P, CaptionAlignment, taLeftJustify), SETTER_CASE(P, CaptionAnchor, uaSclBotRgt),
       SETTER_CASE(P, ColorScale, clRed), SETTER_CASE(P, DateFormat, &Other), SETTER_CASE(P, DecPlaces, 3),
       SETTER_CASE(P, DecimalComma, true), SETTER_CASE(P, Font, QFont(QStringLiteral("Serif"), 13)),
       SETTER_CASE(P, RangeLow, 0.5), SETTER_CASE(P, RangeHigh, 50.0), SETTER_CASE(P, Logarithmic, true),
       SETTER_CASE(P, LabelType, ftTime), SETTER_CASE(P, MinTicks, 6), SETTER_CASE(P, MinRange, 1e-3),
       SETTER_CASE(P, ShortTicks, false), SETTER_CASE(P, ScaleInscript, QStringLiteral("i")),
       SETTER_CASE(P, ScalePos, 30), SETTER_CASE(P, UserTickText, QStringLiteral("u")), SETTER_CASE(P, Visible, true),
       SETTER_CASE(P, ScaleLocation, slTop)},
      [&Changes](const std::function<void()>& Call) {
        Changes = 0;
        Call();
        return Changes;
      });
}

// A copy draws where its source draws and reports the same side: every setting is copied.
TEST(PlotterProps, ACopyOfAxisSettingsEqualsItsSourceInEverySetting) {
  TScalePropsHoriz Source, Copy;
  ChangeEveryAxisSetting(Source);
  Source.DateFormat()->SetYearLength(ylYY);
  Source.SetFont(QFont(QStringLiteral("Serif"), 13));
  Source.SetMinRange(0.25);
  Source.SetScalePos(60);
  Source.SetScaleLocation(slTop);
  int Changes = 0;
  Copy.OnChange = [&Changes](QObject*) { ++Changes; };
  Copy.Assign(Source);
  EXPECT_GE(Changes, 1);
  EXPECT_TRUE(Copy.Settings() == Source.Settings());
  EXPECT_EQ(Copy.ScaleLocation(), slTop);
  EXPECT_EQ(Copy.ScaleType(), Source.ScaleType());
  EXPECT_EQ(Copy.Font(), Source.Font());
  EXPECT_EQ(Copy.MinRange(), 0.25);
  EXPECT_EQ(Copy.ScalePos(), 60);
  EXPECT_EQ(Copy.DateFormat()->YearLength(), ylYY);
  // On a chart, the copy's axis is drawn on the side it reports.
  TChartFixture F;
  F.Chart->Scale1X()->Assign(Source);
  EXPECT_EQ(F.Chart->ScaleOf(0, 1)->ScaleType(), F.Chart->Scale1X()->ScaleType());
  EXPECT_EQ(F.Chart->Scale1X()->ScaleLocation(), slTop);
}

TEST(PlotterProps, BackgroundAndJointSettersNotifyOnlyAChange) {
  TBakGndImg B;
  TBakGndImg* P = &B;
  int Changes = 0;
  B.OnChange = [&Changes](QObject*) { ++Changes; };
  const auto Count = [&Changes](const std::function<void()>& Call) {
    Changes = 0;
    Call();
    return Changes;
  };
  ExpectChangesOnly({SETTER_CASE(P, Name, QStringLiteral("a.bmp")), SETTER_CASE(P, FillMode, bfTile),
                     SETTER_CASE(P, AreaMode, bamRect), SETTER_CASE(P, AreaColor, clRed), SETTER_CASE(P, AreaLeft, -2.0),
                     SETTER_CASE(P, AreaRight, 2.0), SETTER_CASE(P, AreaTop, 2.0), SETTER_CASE(P, AreaBottom, -2.0)},
                    Count);
  TJointLayers J;
  J.OnChange = B.OnChange;
  EXPECT_GE(Count([&J] { J.SetControlledBy(0, 2, 1); }), 1);
  EXPECT_EQ(Count([&J] { J.SetControlledBy(0, 2, 1); }), 0);
  EXPECT_EQ(J.ControlledBy(0, 2), 1);
}

// Non-finite settings are refused everywhere, MinRange included.
TEST(PlotterProps, NonFiniteSettingsAreRefused) {
  TChartFixture F;
  TScaleProps* X = F.Chart->Scale1X();
  X->SetMinRange(INFINITY);
  X->SetMinRange(NAN);
  EXPECT_EQ(X->MinRange(), 1e-10);
  X->SetRangeLow(-INFINITY);
  X->SetRangeHigh(NAN);
  X->SetRangeHigh(1.7e308);
  X->SetMinRange(1e308);  // widening about the midpoint stays finite
  EXPECT_TRUE(std::isfinite(X->RangeLow()) && std::isfinite(X->RangeHigh()));
  X->SetMinRange(1e-10);
  X->SetRangeLow(-15);
  X->SetRangeHigh(15);
  F.Chart->ApplyLayerRange(1, 0, INFINITY, 0, 1);
  EXPECT_EQ(X->RangeHigh(), 15);
  F.Chart->SetGridDx(INFINITY);
  F.Chart->SetGridDx(NAN);
  EXPECT_EQ(F.Chart->GridDx(), 0);
  F.Chart->BackGroundImg()->SetAreaTop(NAN);
  EXPECT_EQ(F.Chart->BackGroundImg()->AreaTop(), 1);
  int PX, PY;
  F.Chart->WorldToPixel(1, 15, 0, PX, PY);
  EXPECT_EQ(PX, 353);
}

// An axis that cannot map its range logarithmically (an end <= 0) keeps its whole
// previous mapping, the kind of mapping included.
TEST(PlotterTransform, ALogarithmicAxisKeepsItsMappingForEndsAtOrBelowZero) {
  for (const bool LogFirst : {false, true}) {
    TChartFixture F;
    F.Chart->Scale1X()->SetRangeLow(LogFirst ? 1 : -5);
    F.Chart->Scale1X()->SetRangeHigh(1000);
    F.Chart->Scale1X()->SetLogarithmic(LogFirst);
    int Before, After, Y;
    F.Chart->WorldToPixel(1, 10, 0, Before, Y);
    if (LogFirst) F.Chart->ApplyLayerRange(1, -5, 1000, -11, 11);
    else F.Chart->Scale1X()->SetLogarithmic(true);  // accepted: the chart was made at run time
    F.Chart->WorldToPixel(1, 10, 0, After, Y);
    EXPECT_EQ(After, Before) << LogFirst;
    EXPECT_EQ(F.Chart->ScaleOf(0, 1)->ValueToPixel(10), Before) << LogFirst;
  }
}

}  // namespace

namespace {

TEST(PlotterItems, AChartThatWasNeverShownStillDrawsItsPictures) {
  TPlotter P;
  P.SetDataColor(clRed);
  P.AddMark(0.5, 0.5, 9);
  P.Redisplay();
  int X, Y;
  P.WorldToPixel(1, 0.5, 0.5, X, Y);
  EXPECT_EQ(P.ChartAreaImage()->Canvas()->Pixel(X - P.MarginLeft(), Y - P.MarginTop()), clRed);
  P.Paint();
  EXPECT_EQ(FromQRgb(P.FullImage()->Image().pixel(X, Y)), clRed);
  P.hide();  // hidden on purpose: nothing is painted
  P.SetDataColor(clBlue);
  P.AddMark(0.5, 0.5, 9);
  P.Paint();
  EXPECT_EQ(FromQRgb(P.FullImage()->Image().pixel(X, Y)), clRed);
}

// A margin below zero puts part of the chart area beyond the control's edge; that part is
// cut off, and the chart-area image holds only what the control shows, from its corner.
TEST(PlotterMargins, NegativeMarginsCutTheChartAreaOff) {
  TChartFixture F;
  F.Chart->AddLine(-15, -11, 15, 11);
  F.Chart->AddLine(-15, 0, 15, 11);
  F.Chart->SetMarginLeft(-30);
  F.Chart->SetMarginTop(-10);
  TBitmap* Area = F.Chart->ChartAreaImage();
  EXPECT_EQ(Area->Width(), F.Chart->width() - F.Chart->MarginRight() - F.Chart->ShadowWidth() + 1);
  EXPECT_EQ(Area->Height(), F.Chart->height() - F.Chart->MarginBottom() - F.Chart->ShadowWidth() + 1);
  int Compared = 0;
  for (int Y = 0; Y < Area->Height() - 1; ++Y)
    for (int X = 0; X < Area->Width() - 1; ++X, ++Compared)
      ASSERT_EQ(F.Shown(X, Y), Area->Canvas()->Pixel(X, Y)) << X << "," << Y;
  EXPECT_GT(Compared, 1000);
}

// Tiles keep their phase from the area's corner, even where that corner is off the control.
TEST(PlotterMargins, BackgroundTilesStartAtTheCutOffCorner) {
  TChartFixture F;
  QTemporaryDir Dir;
  QImage Pic(4, 4, QImage::Format_RGB32);
  Pic.fill(ToQRgb(clYellow));
  Pic.setPixel(0, 0, ToQRgb(clRed));
  const QString Name = Dir.filePath("tile.png");
  ASSERT_TRUE(Pic.save(Name));
  F.Chart->SetMarginLeft(-30);  // corner at (-30, -10): tiles begin at 2 mod 4 both ways
  F.Chart->SetMarginTop(-10);
  F.Chart->BackGroundImg()->SetIncludePath(true);
  F.Chart->BackGroundImg()->SetFillMode(bfTile);
  F.Chart->BackGroundImg()->SetName(Name);
  F.Chart->Paint();
  EXPECT_EQ(F.Shown(2, 2), clRed);
  EXPECT_EQ(F.Shown(102, 6), clRed);
  EXPECT_EQ(F.Shown(3, 2), clYellow);
  EXPECT_EQ(F.Shown(0, 0), clYellow);
}

// Margins near the limit below zero put the area's corner millions of pixels off the
// control: the image stays the control's size, and an item lands where the full-area
// mapping puts it.
TEST(PlotterMargins, HugeNegativeMarginsCostNoMoreThanTheControl) {
  TChartFixture F;
  F.Chart->SetDataColor(clRed);
  F.Chart->SetMarginLeft(-16000000);
  F.Chart->SetMarginTop(-16000000);
  const int W = F.Chart->width(), H = F.Chart->height();
  double WX, WY;
  F.Chart->PixelToWorld(1, W / 2, H / 2, WX, WY);
  F.Chart->AddMark(WX, WY, 9);
  F.Chart->Paint();
  TBitmap* Area = F.Chart->ChartAreaImage();
  EXPECT_LE(Area->Width(), W + 1);
  EXPECT_LE(Area->Height(), H + 1);
  int X, Y;
  F.Chart->WorldToPixel(1, WX, WY, X, Y);
  ASSERT_TRUE(X > 0 && X < W - 40 && Y > 0 && Y < H - 40) << X << "," << Y;
  EXPECT_EQ(Area->Canvas()->Pixel(X, Y), clRed);
  EXPECT_EQ(F.Shown(X, Y), clRed);
  EXPECT_EQ(F.Chart->FullImage()->Canvas()->Pixel(X, Y), clRed);
  // A picture stretched over the whole area shows its far corner's colour.
  QTemporaryDir Dir;
  QImage Pic(2, 2, QImage::Format_RGB32);
  Pic.fill(ToQRgb(clYellow));
  const QString Name = Dir.filePath("stretch.png");
  ASSERT_TRUE(Pic.save(Name));
  F.Chart->BackGroundImg()->SetIncludePath(true);
  F.Chart->BackGroundImg()->SetFillMode(bfStretch);
  F.Chart->BackGroundImg()->SetName(Name);
  F.Chart->Paint();
  EXPECT_EQ(F.Shown(5, 5), clYellow);
}

// Margins and layouts move the chart area inside the control; only SetBounds makes the
// control larger.
TEST(PlotterMargins, MarginsAndLayoutsKeepTheControlsSize) {
  QWidget Window;
  auto* Chart = new TPlotter(&Window);
  Chart->SetMarginLeft(5000000);
  EXPECT_EQ(Chart->width(), 280);
  Chart->SetMarginLeft(50);
  Chart->SetStandardLayout(pll_X1Bottom_Y4Left);  // left margin 200: 300 would be needed
  EXPECT_EQ(Chart->width(), 280);
  EXPECT_EQ(Chart->height(), 200);
  Chart->SetBounds(0, 0, 100, 50);  // too small for the margins: enlarged
  EXPECT_EQ(Chart->width(), 200 + 20 + 80);
  EXPECT_EQ(Chart->height(), 24 + 40 + 20);
  // Limited, so that sums stay ints.
  Chart->SetAutoRedraw(false);
  for (const int Margin : {INT_MAX, INT_MIN}) {
    Chart->SetMarginLeft(Margin);
    Chart->SetMarginRight(Margin);
    Chart->SetShadowWidth(32);
    EXPECT_EQ(Chart->width(), 300);
    EXPECT_EQ(Chart->MarginLeft(), Margin > 0 ? PixelLimit : -PixelLimit);
  }
}

}  // namespace

namespace {

// Whether the chart-area image holds, pixel for pixel, what the control shows in its box.
testing::AssertionResult AreaIsShown(TChartFixture& F) {
  TBitmap* Area = F.Chart->ChartAreaImage();
  const int L = std::max(F.Chart->MarginLeft(), 0), T = std::max(F.Chart->MarginTop(), 0);
  for (int Y = 0; Y < Area->Height() && T + Y < F.Chart->height(); ++Y)
    for (int X = 0; X < Area->Width() && L + X < F.Chart->width(); ++X)
      if (Area->Canvas()->Pixel(X, Y) != F.Shown(L + X, T + Y))
        return testing::AssertionFailure() << "differs at " << X << "," << Y;
  return testing::AssertionSuccess();
}

// The chart-area image lies in the picture the control shows: through paints, redraws,
// crosshairs drawn and removed, resizes, an area reaching the control's far edges and
// an empty one.
TEST(PlotterPicture, TheChartAreaImageIsWhatTheControlShowsInItsBox) {
  TChartFixture F;
  F.Chart->CrossHair(1)->SetColor(clRed);
  F.Chart->CrossHair(1)->SetMode(chBoth);
  F.Chart->AddLine(-15, -11, 15, 11);
  F.Chart->Paint();
  EXPECT_EQ(F.Shown(100, 121), clRed);
  EXPECT_TRUE(AreaIsShown(F));
  F.Chart->ClearItems();
  F.Chart->SetDataColor(clBlue);
  F.Chart->AddMark(5, 5, 9);
  F.Chart->Redisplay();
  EXPECT_TRUE(AreaIsShown(F));
  EXPECT_EQ(F.Area(40 + 1, 121 - 1), clRed);
  F.Chart->CrossHair(1)->SetMode(chOff);
  F.Chart->Redisplay();
  EXPECT_EQ(F.Shown(100, 121), clWhite);
  EXPECT_TRUE(AreaIsShown(F));
  F.Chart->SetBounds(112, 168, 400, 300);
  EXPECT_TRUE(AreaIsShown(F));
  F.Chart->SetMarginRight(0);  // the frame's right column lies just past the control
  F.Chart->AddLine(-15, 0, 15, 0);
  F.Chart->Redisplay();
  EXPECT_EQ(F.Shown(F.Chart->width() - 1, F.Chart->height() - 40), clBlack);  // the frame
  EXPECT_TRUE(AreaIsShown(F));
  F.Chart->SetMarginRight(8);
  F.Chart->resize(30, 30);  // smaller than the margins: no chart area at all
  F.Chart->Redisplay();
  EXPECT_EQ(F.Chart->ChartAreaImage()->Width(), 0);
  EXPECT_EQ(F.Chart->Surface().size(), QSize(30, 30));
  EXPECT_EQ(F.Shown(29, 29), ColorToRGB(clBtnFace));
}

// A copy of a picture taken elsewhere keeps its pixels while the chart draws on; one
// taken by a handler while the chart draws does not keep the drawing from the screen.
TEST(PlotterPicture, CopiesOfThePicturesKeepTheirPixels) {
  TChartFixture F;
  F.Chart->AddMark(0, 0, 9);
  F.Chart->Paint();
  const QImage Shown = F.Chart->Surface(), Area = F.Chart->ChartAreaImage()->Image();
  const QImage ShownBefore = Shown.copy(), AreaBefore = Area.copy();
  F.Chart->ClearItems();
  F.Chart->SetDataColor(clRed);
  F.Chart->AddMark(5, 5, 9);
  F.Chart->Redisplay();
  F.Chart->Paint();
  EXPECT_EQ(Shown, ShownBefore);
  EXPECT_EQ(Area, AreaBefore);
  EXPECT_TRUE(AreaIsShown(F));

  QImage Taken;
  F.Chart->OnDataRendered = [&](QObject*, TCanvas*& C, int, int) {
    Taken = *C->Target();
    C->SetPixel(10, 10, clLime);
  };
  F.Chart->Redisplay();
  EXPECT_EQ(F.Shown(40 + 10, 1 + 10), clLime);
  EXPECT_EQ(F.Shown(40, 1), clBlack);  // the frame, drawn after the handler
  EXPECT_NE(FromQRgb(Taken.pixel(10, 10)), clLime);
  EXPECT_TRUE(AreaIsShown(F));
  F.Chart->OnScalesRendered = [&](QObject*, TCanvas*& C, int, int) {
    Taken = *C->Target();
    C->SetPixel(2, 2, clLime);
  };
  F.Chart->Paint();
  EXPECT_EQ(F.Shown(2, 2), clLime);
  EXPECT_EQ(F.Shown(40 + 10, 1 + 10), clLime);
  EXPECT_TRUE(AreaIsShown(F));
}

}  // namespace
