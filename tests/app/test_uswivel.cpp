// The main window driven as a learner would: rotation, fits, magnification, lesson.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "app/uswivel.h"

namespace {

// A shown main window with a seeded cloud.
struct TShownForm {
  TForm1 Form;
  explicit TShownForm(uint64_t Seed = 11) {
    Form.SetSeed(Seed);
    Form.show();
  }
  std::vector<TDataPoint> Marks() const {
    std::vector<TDataPoint> M;
    for (int I = 0; I < Form.Plotter1->ItemCount(); ++I)
      if (Form.Plotter1->Item(I).ChartItemKind == ikMark) M.push_back({Form.Plotter1->Item(I).X1, Form.Plotter1->Item(I).Y1});
    return M;
  }
  double R2() const { return Form.RdoRxy->Value(); }
  void Rotate(int Position) { Form.SBarRotate->SetPosition(Position); }
  // A cloud stretched along y = x, so that the fit is good at 0 and poor at 450.
  void UseDiagonalCloud() {
    for (int I = 0; I < TForm1::PointCount; ++I) {
      const double T = I - 7.0, Across = (I % 3 - 1) * 0.3;
      Form.DataPoints[static_cast<size_t>(I)] = {T + Across, T - Across};
    }
    Form.UpdateDisplay();
  }
};

TEST(MainWindow, StartsAtStepOneWithFifteenPointsAndTheRedLine) {
  TShownForm S;
  EXPECT_EQ(S.Form.LessonStep, 1);
  EXPECT_EQ(S.Marks().size(), 15u);
  ASSERT_EQ(S.Form.Plotter1->ItemCount(), 16);
  const TChartItem& Line = S.Form.Plotter1->Item(15);
  EXPECT_EQ(Line.Color, clRed);
  EXPECT_EQ(Line.X1, -15);  // across the whole x range, whatever the data
  EXPECT_EQ(Line.X2, 15);
  for (const TDataPoint& P : S.Form.DataPoints) {
    EXPECT_GE(P.X, -5);
    EXPECT_LT(P.X, 5);
    EXPECT_GE(P.Y - P.X, -2);
    EXPECT_LT(P.Y - P.X, 2);
  }
  EXPECT_EQ(S.Form.RdoRxy->DisplayText(), QString::number(S.R2(), 'f', 4));
}

TEST(MainWindow, RotationTurnsTheCloudClockwise) {
  TShownForm S;
  const auto Original = S.Marks();
  for (size_t I = 0; I < Original.size(); ++I) {
    EXPECT_EQ(Original[I].X, S.Form.DataPoints[I].X);
    EXPECT_EQ(Original[I].Y, S.Form.DataPoints[I].Y);
  }
  const double R2 = S.R2();
  S.Rotate(1800);
  auto Turned = S.Marks();
  for (size_t I = 0; I < Turned.size(); ++I) {
    EXPECT_NEAR(Turned[I].X, -Original[I].X, 1e-12);
    EXPECT_NEAR(Turned[I].Y, -Original[I].Y, 1e-12);
  }
  EXPECT_NEAR(S.R2(), R2, 1e-12);
  S.Rotate(900);
  Turned = S.Marks();
  for (size_t I = 0; I < Turned.size(); ++I) {
    EXPECT_NEAR(Turned[I].X, Original[I].Y, 1e-12);
    EXPECT_NEAR(Turned[I].Y, -Original[I].X, 1e-12);
  }
}

TEST(MainWindow, GoodnessOfFitRepeatsEveryHalfTurn) {
  TShownForm S;
  S.UseDiagonalCloud();
  for (int P : {0, 300, 450, 900, 1350}) {
    S.Rotate(P);
    const double A = S.R2();
    S.Rotate(P + 1800);
    EXPECT_NEAR(S.R2(), A, 1e-9) << P;
  }
  S.Rotate(450);
  EXPECT_LT(S.R2(), 0.05);
  S.Rotate(1350);
  EXPECT_LT(S.R2(), 0.05);
  S.Rotate(0);
  EXPECT_GT(S.R2(), 0.95);
  S.Rotate(900);
  EXPECT_GT(S.R2(), 0.95);
}

TEST(MainWindow, DraggingRedrawsEveryPosition) {
  TShownForm S;
  int Redraws = 0;
  S.Form.Plotter1->OnDataRendered = [&](QObject*, TCanvas*&, int, int) { ++Redraws; };
  TScrollBar* Bar = S.Form.SBarRotate;
  for (int I = 0; I < 3; ++I) QTest::keyClick(Bar, Qt::Key_Right);
  EXPECT_EQ(Bar->Position(), 3);
  // Dragging the thumb reports every position it passes.
  Bar->setSliderDown(true);
  for (int P = 10; P <= 50; P += 10) Bar->setSliderPosition(P);
  Bar->setSliderDown(false);
  EXPECT_EQ(Redraws, 3 + 5);
  Bar->SetPosition(50);  // no change, no redraw
  EXPECT_EQ(Redraws, 8);
}

TEST(MainWindow, MagnificationChangesOnlyTheYRange) {
  TShownForm S;
  const auto Marks = S.Marks();
  const double R2 = S.R2();
  TScaleProps* Y = S.Form.Plotter1->Scale1Y();
  S.Form.SBarMagnif->SetPosition(0);
  EXPECT_NEAR(Y->RangeLow(), -2.2, 1e-12);
  EXPECT_NEAR(Y->RangeHigh(), 2.2, 1e-12);
  S.Form.SBarMagnif->SetPosition(48);
  EXPECT_NEAR(Y->RangeLow(), -55, 1e-12);
  EXPECT_NEAR(Y->RangeHigh(), 55, 1e-12);
  S.Form.SBarMagnif->SetPosition(40);
  EXPECT_EQ(Y->RangeLow(), -11);
  EXPECT_EQ(Y->RangeHigh(), 11);
  EXPECT_EQ(S.R2(), R2);
  EXPECT_EQ(S.Marks().size(), Marks.size());
  EXPECT_EQ(S.Marks()[3].Y, Marks[3].Y);
}

// What step 4 tells the learner: the bar stretches the picture, never the line or r².
TEST(MainWindow, MagnificationLeavesTheLineAndTheReadoutAsTheyAre) {
  for (uint64_t Seed : {1, 2, 3, 42}) {
    TShownForm S(Seed);
    for (int I = 0; I < 3; ++I) QTest::mouseClick(S.Form.BButNext, Qt::LeftButton);
    auto Line = [&] { return S.Form.Plotter1->Item(TForm1::PointCount); };
    const TChartItem Before = Line();
    const QString Readout = S.Form.RdoRxy->DisplayText();
    for (int P : {0, 20, 48}) {
      S.Form.SBarMagnif->SetPosition(P);
      S.Rotate(MagnifyRange.Min);  // a turn away and back draws the line anew
      S.Rotate(MagnifyRange.Start);
      EXPECT_EQ(Line().Y1, Before.Y1) << Seed << " " << P;
      EXPECT_EQ(Line().Y2, Before.Y2) << Seed << " " << P;
      EXPECT_EQ(S.Form.RdoRxy->DisplayText(), Readout) << Seed << " " << P;
    }
  }
}

TEST(MainWindow, TheAngleBesideTheRotateBarFollowsEveryTurn) {
  TShownForm S;
  TForm1& F = S.Form;
  EXPECT_EQ(F.RdoAngle->DisplayText(), QString("0.0\u00B0"));
  S.Rotate(1234);
  EXPECT_EQ(F.RdoAngle->DisplayText(), QString("123.4\u00B0"));
  EXPECT_EQ(F.RdoAngle->Value(), 123.4);
  QTest::keyClick(F.SBarRotate, Qt::Key_Right);
  EXPECT_EQ(F.RdoAngle->DisplayText(), QString("123.5\u00B0"));
  QTest::mouseClick(F.BButNext, Qt::LeftButton);
  EXPECT_EQ(F.RdoAngle->DisplayText(), QString("135.0\u00B0"));
  S.Rotate(3600);  // clamped to the step's end
  EXPECT_EQ(F.RdoAngle->DisplayText(), QString("160.0\u00B0"));
  // Inside the window, left of the bar, clear of the labels.
  const QRect Angle = F.RdoAngle->geometry();
  EXPECT_TRUE(F.rect().contains(Angle));
  EXPECT_LT(Angle.right(), F.SBarRotate->x());
  EXPECT_GE(Angle.bottom(), F.SBarRotate->geometry().center().y());
  for (QWidget* Other : {static_cast<QWidget*>(F.LblMagnif), static_cast<QWidget*>(F.Label2)})
    EXPECT_FALSE(Angle.intersects(Other->geometry())) << Other->objectName().toStdString();
}

TEST(MainWindow, LessonStepsNarrowTheRotationAndResetStartsAgain) {
  TShownForm S;
  TForm1& F = S.Form;
  int Redraws = 0;
  F.Plotter1->OnDataRendered = [&](QObject*, TCanvas*&, int, int) { ++Redraws; };
  QTest::mouseClick(F.BButNext, Qt::LeftButton);
  EXPECT_EQ(F.LessonStep, 2);
  EXPECT_EQ(F.SBarRotate->Min(), 1100);
  EXPECT_EQ(F.SBarRotate->Position(), 1350);
  EXPECT_EQ(Redraws, 2);  // clamped to 1100, then moved to 1350
  QTest::mouseClick(F.BButNext, Qt::LeftButton);
  QTest::mouseClick(F.BButNext, Qt::LeftButton);
  EXPECT_EQ(F.LessonStep, 4);
  EXPECT_FALSE(F.SBarMagnif->isHidden());
  F.SBarMagnif->SetPosition(10);
  QTest::mouseClick(F.BButNext, Qt::LeftButton);
  EXPECT_EQ(F.LessonStep, 5);
  EXPECT_FALSE(F.BButNext->isEnabled());
  EXPECT_TRUE(F.SBarMagnif->isHidden());
  EXPECT_EQ(F.Plotter1->Scale1Y()->RangeHigh(), 11);
  EXPECT_FALSE(F.LblExplainColors->isHidden());
  ASSERT_EQ(F.Plotter1->ItemCount(), 17);
  EXPECT_EQ(F.Plotter1->Item(16).Color, clBlue);
  const auto Before = S.Marks();
  QTest::mouseClick(F.BButReset, Qt::LeftButton);
  EXPECT_EQ(F.LessonStep, 1);
  EXPECT_TRUE(F.BButNext->isEnabled());
  EXPECT_TRUE(F.LblExplainColors->isHidden());
  EXPECT_NE(S.Marks()[0].X, Before[0].X);
  EXPECT_EQ(F.Plotter1->ItemCount(), 16);
}

TEST(MainWindow, TheWindowShowsItsPartsWhereTheDesignPutsThem) {
  TShownForm S;
  const QImage Window = S.Form.grab().toImage();
  EXPECT_EQ(Window.size(), QSize(495, 511));
  auto At = [&](int X, int Y) { return FromQRgb(Window.pixel(X, Y)); };
  EXPECT_EQ(At(112 + 40, 168 + 1), clBlack);  // the chart area's top-left corner
  EXPECT_EQ(At(112 + 353, 168 + 241), clBlack);
  EXPECT_EQ(At(112 + 200, 168 + 60), clWhite);
  EXPECT_EQ(At(251 + 132 + 40, 142 + 3), clWhite);  // inside the readout's field
}

TEST(MainWindow, OkAndTheCloseBoxEndTheMessageLoop) {
  for (bool ByOk : {true, false}) {
    TShownForm S;
    QTimer::singleShot(0, &S.Form, [&] {
      if (ByOk) QTest::mouseClick(S.Form.BButOK, Qt::LeftButton);
      else S.Form.close();
    });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });  // a hang fails, not blocks
    EXPECT_EQ(QApplication::exec(), 0) << ByOk;
    EXPECT_FALSE(S.Form.isVisible());
  }
}

}  // namespace

namespace {

TEST(MainWindow, OpensFullyOnTheAvailableScreenWithoutBeingResized) {
  TShownForm S;
  const QRect Available = S.Form.screen()->availableGeometry();
  EXPECT_TRUE(Available.contains(S.Form.frameGeometry()));
  EXPECT_EQ(S.Form.size(), QSize(495, 511));
}

}  // namespace

namespace {

TEST(SecondStart, BringsTheRunningWindowBackToTheFront) {
  TShownForm S;
  S.Form.showMinimized();
  ASSERT_TRUE(S.Form.isMinimized());
  EXPECT_TRUE(TFrontDoor::Knock());  // what a second start does before it ends
  QCoreApplication::processEvents();
  EXPECT_FALSE(S.Form.isMinimized());
  EXPECT_TRUE(S.Form.isVisible());
}

TEST(SecondStart, WithoutARunningInstanceNobodyAnswers) { EXPECT_FALSE(TFrontDoor::Knock()); }

}  // namespace
