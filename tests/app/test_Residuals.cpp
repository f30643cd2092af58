// The residuals' sums of squares over many clouds and angles (pure computation), and the
// overlays as the window draws them: pixel-exact squares at every magnification, and
// overlays that follow every turn, step and Reset.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <set>

#include "app/Residuals.h"
#include "app/uswivel.h"
#include "stats/KVR_math2.h"

namespace {

TEST(SumsOfSquares, MakeTheProgramsR2OverManyCloudsAndAngles) {
  TCurveFit Stats;
  std::mt19937_64 Random;
  for (uint64_t Seed = 1; Seed <= 500; ++Seed) {
    Random.seed(Seed);
    const TPointCloud Cloud = GenerateCloud(Random);
    for (int Position = 0; Position < 3600; Position += 71) {
      const TPointCloud Points = RotateCloud(Cloud, Position);
      Stats.ResetStats();
      for (const TDataPoint& P : Points) Stats.AddPair(P.X, P.Y);
      double K = 0, D = 0, Q = 0;
      Stats.CalcLinFit(K, D, Q);
      // Directly: the mean first, then each squared distance, in double.
      double Mean = 0, Residual = 0, Total = 0;
      for (const TDataPoint& P : Points) Mean += P.Y / 15;
      for (const TDataPoint& P : Points) {
        Residual += (P.Y - (K * P.X + D)) * (P.Y - (K * P.X + D));
        Total += (P.Y - Mean) * (P.Y - Mean);
      }
      const TSumsOfSquares Sums = SumsOfSquares(Points, K, D);
      ASSERT_NEAR(Sums.Residual, Residual, 1e-12 * Total) << Seed << " " << Position;
      ASSERT_NEAR(Sums.Total, Total, 1e-12 * Total) << Seed << " " << Position;
      ASSERT_NEAR(Sums.MeanY, Mean, 1e-12);
      ASSERT_NEAR(1 - Sums.Residual / Sums.Total, Q, 1e-12) << Seed << " " << Position;
    }
  }
}

// The window in English, from the dictionary of the source folder.
TStartMode English() {
  TStartMode Mode;
  Mode.DictionaryFile = QStringLiteral(SWIVEL_SOURCE_DIR "/swivel.itl");
  return Mode;
}

struct TOverlayForm {
  TForm1 Form{English()};
  TOverlayForm() {
    Form.SetSeed(5);
    Form.show();
  }
  TCustomPlotter& Chart() { return *Form.Plotter1; }
  std::vector<TChartItem> ItemsOfKind(uint8_t Kind) {
    std::vector<TChartItem> Items;
    for (int I = 0; I < Chart().ItemCount(); ++I)
      if (Chart().Item(I).ChartItemKind == Kind) Items.push_back(Chart().Item(I));
    return Items;
  }
  TColor Shown(int X, int Y) { return FromQRgb(Chart().Surface().pixel(X, Y)); }
  double Fitted(double X) {
    double K = 0, D = 0, Q = 0;
    Form.Stats->CalcLinFit(K, D, Q);
    return K * X + D;
  }
};

TEST(Overlays, OffAtStartThenFollowEveryTurnStepAndReset) {
  TOverlayForm S;
  EXPECT_EQ(S.Chart().ItemCount(), 16);  // the points and the red line only
  EXPECT_TRUE(S.Chart().Caption().isEmpty());
  S.Form.SetOverlays({true, true, true});
  EXPECT_TRUE(S.Form.ActResiduals->isChecked() && S.Form.ActSquares->isChecked() && S.Form.ActMeanSquares->isChecked());
  auto Check = [&] {
    // Each residual runs from a point down or up to the red line (y on x), in every step.
    const std::vector<TChartItem> Marks = S.ItemsOfKind(1);
    std::multiset<std::pair<double, double>> Residuals;
    for (const TChartItem& L : S.ItemsOfKind(2))
      if (L.X1 == L.X2) Residuals.insert({L.X1, L.Y1});
    ASSERT_EQ(Residuals.size(), 15u);
    for (const TChartItem& M : Marks) EXPECT_EQ(Residuals.count({M.X1, M.Y1}), 1u);
    for (const TChartItem& L : S.ItemsOfKind(2))
      if (L.X1 == L.X2) {
        EXPECT_NEAR(L.Y2, S.Fitted(L.X1), 1e-9);
      }
    EXPECT_EQ(S.ItemsOfKind(3).size(), 30u);
    // The caption's r² is the readout's.
    EXPECT_TRUE(S.Chart().Caption().endsWith(S.Form.RdoRxy->DisplayText())) << S.Chart().Caption().toStdString();
  };
  Check();
  S.Form.SBarRotate->SetPosition(1234);
  Check();
  for (int I = 0; I < 4; ++I) S.Form.BButNextClick(S.Form.BButNext);
  ASSERT_EQ(S.Form.LessonStep, 5);
  S.Form.SBarRotate->SetPosition(300);
  Check();
  const TPointCloud Before = S.Form.DataPoints;
  S.Form.BButResetClick(S.Form.BButReset);
  EXPECT_NE(Before[0].X, S.Form.DataPoints[0].X);
  Check();
  S.Form.SetOverlays({});
  EXPECT_EQ(S.Chart().ItemCount(), 16);
  EXPECT_TRUE(S.Chart().Caption().isEmpty());
}

// The caption is an equation a student can check: the quotient worked out from the two
// sums shown gives the r² shown, to its last digit, for any cloud at any angle.
TEST(Overlays, TheCaptionsSumsGiveItsR2) {
  TOverlayForm S;
  S.Form.SetOverlays({false, true, false});
  const QRegularExpression Caption(QStringLiteral("^SSres = (\\S+)   SStot = (\\S+)   1 − SSres/SStot = (\\S+)$"));
  for (int Cloud = 0; Cloud < 60; ++Cloud) {
    S.Form.BButResetClick(S.Form.BButReset);
    for (int Position = 0; Position < 3600; Position += 43) {
      S.Form.SBarRotate->SetPosition(Position);
      const QRegularExpressionMatch Parts = Caption.match(S.Chart().Caption());
      ASSERT_TRUE(Parts.hasMatch()) << S.Chart().Caption().toStdString();
      const double Residual = Parts.captured(1).toDouble(), Total = Parts.captured(2).toDouble();
      EXPECT_NEAR(1 - Residual / Total, Parts.captured(3).toDouble(), 1e-4) << S.Chart().Caption().toStdString();
    }
  }
}

// A turn draws the chart once: a new caption paints it whole, an unchanged one leaves
// the items to be drawn anew. Either way it shows what a whole paint shows.
TEST(Overlays, EachTurnShowsWhatAWholePaintShows) {
  TOverlayForm S;
  for (const TOverlays& O : {TOverlays{true, true, true}, TOverlays{}, TOverlays{false, true, false}}) {
    S.Form.SetOverlays(O);
    for (int Position : {10, 11, 900, 2700}) {
      S.Form.SBarRotate->SetPosition(Position);
      const QImage Shown = S.Chart().Surface().copy();
      S.Chart().Paint();
      EXPECT_EQ(S.Chart().Surface(), Shown) << Position;
    }
  }
}

// One point off a line through the others: its square stands alone above the line, on
// the left (where a rising line falls away from it), its side the residual's length in
// pixels at every magnification.
TEST(Overlays, SquaresStaySquareInPixelsAtEveryMagnification) {
  TOverlayForm S;
  for (int I = 0; I < 15; ++I) {
    const double X = I - 7;
    S.Form.DataPoints[static_cast<size_t>(I)] = {X, I == 7 ? 1.5 : 0.5 * X};
  }
  S.Form.SetOverlays({false, true, false});
  for (int Magnification : {0, 10, 20, 30, 40}) {
    S.Form.SBarMagnif->SetPosition(Magnification);
    int PX, PY, LX, LY;
    S.Chart().WorldToPixel(1, 0, 1.5, PX, PY);
    S.Chart().WorldToPixel(1, 0, S.Fitted(0), LX, LY);
    const int Side = LY - PY;
    ASSERT_GT(Side, 10) << Magnification;
    // The far column: outline from the point's row down to the row above the line.
    const int Far = PX - Side + 1;
    for (int Y = PY; Y < LY; ++Y) ASSERT_EQ(S.Shown(Far, Y), clRed) << Magnification << " " << Y;
    EXPECT_NE(S.Shown(Far, PY - 1), clRed);
    EXPECT_NE(S.Shown(Far, LY), clRed);
    EXPECT_NE(S.Shown(Far - 1, (PY + LY) / 2), clRed);
    // Across the middle: outline, a light inside, outline.
    const int Middle = (PY + LY) / 2;
    for (int X = Far + 1; X < PX; ++X) {
      const TColor C = S.Shown(X, Middle);
      ASSERT_TRUE(C != clRed && C != clWhite && (C & 0xFF) == 0xFF) << Magnification << " " << X;
    }
    EXPECT_EQ(S.Shown(PX, Middle), clRed);
    EXPECT_NE(S.Shown(PX + 1, Middle), clRed);
  }
}

TEST(Figure, CopyAndSaveGiveTheChartAtEachScaleWithoutNewShades) {
  TOverlayForm S;
  S.Form.SetOverlays({true, true, true});
  const QImage One = S.Form.Figure(1);
  ASSERT_EQ(One.size(), S.Chart().size());
  EXPECT_EQ(One, S.Chart().Surface().convertToFormat(One.format()));
  std::set<QRgb> Shades;
  for (int Y = 0; Y < One.height(); ++Y)
    for (int X = 0; X < One.width(); ++X) Shades.insert(One.pixel(X, Y));
  QTemporaryDir Dir;
  for (int Scale = 1; Scale <= 4; ++Scale) {
    const QString File = Dir.filePath(QStringLiteral("f%1.png").arg(Scale));
    QString Error;
    ASSERT_TRUE(S.Form.SaveFigureTo(File, Scale, Error)) << Error.toStdString();
    const QImage Saved(File);
    ASSERT_EQ(Saved.size(), S.Chart().size() * Scale);
    // Sharp: each pixel became a block of the same colour.
    for (int Y = 0; Y < Saved.height(); Y += 7)
      for (int X = 0; X < Saved.width(); X += 5) ASSERT_EQ(Saved.pixel(X, Y), One.pixel(X / Scale, Y / Scale));
  }
  QString Error;
  EXPECT_FALSE(S.Form.SaveFigureTo(Dir.filePath("no/such/folder/f.png"), 2, Error));
  EXPECT_TRUE(Error.contains(Dir.filePath("no/such/folder/f.png"))) << Error.toStdString();
  EXPECT_TRUE(Error.endsWith('\n' + QString::fromLocal8Bit(std::strerror(ENOENT)))) << Error.toStdString();  // and why
  S.Form.ActCopyFigure->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(One.format()), One);
}

// Answers Save figure's scale question with Scale, then hands its file dialog to AtFiles.
void AnswerSaveQuestions(const QString& Scale, std::function<void(QFileDialog&)> AtFiles) {
  QTimer::singleShot(0, [=] {
    auto* Choice = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(Choice);
    EXPECT_EQ(Choice->comboBoxItems().size(), 4);
    Choice->setTextValue(Scale);
    QTimer::singleShot(0, [=] {
      auto* Files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_TRUE(Files);
      AtFiles(*Files);
    });
    Choice->accept();
  });
}

// Save figure asks for the scale, then for the file; a file that cannot be written is
// reported in a box, in the window's language, with the system's reason.
TEST(Figure, SaveAsksForTheScaleAndTheFile) {
  TOverlayForm S;
  QTemporaryDir Dir;
  // Chooses File, then hands what comes next to Then.
  auto Answer = [](const QString& Scale, const QString& File, std::function<void()> Then = {}) {
    AnswerSaveQuestions(Scale, [=](QFileDialog& Files) {
      Files.selectFile(File);
      if (Then) QTimer::singleShot(0, Then);
      static_cast<QDialog&>(Files).accept();  // QFileDialog hides it
    });
  };
  Answer(QString::fromUtf8("3×"), Dir.filePath("figure"));
  S.Form.ActSaveFigure->trigger();
  EXPECT_EQ(QImage(Dir.filePath("figure.png")).size(), S.Chart().size() * 3);  // the suffix is added

  // A failure is told in a box with the warning sign, with the system's reason.
  QString Shown;
  QMessageBox::Icon Sign = QMessageBox::NoIcon;
  Answer(QString::fromUtf8("1×"), Dir.filePath("no/such/folder/figure.png"), [&] {
    auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_TRUE(Box);
    Shown = Box->text();
    Sign = Box->icon();
    Box->accept();
  });
  S.Form.ActSaveFigure->trigger();
  EXPECT_EQ(Sign, QMessageBox::Warning);
  QCoreApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), &S.Form);  // the keys come back to the window
  // (The file dialog takes a path into a missing folder as relative to its own.)
  EXPECT_TRUE(Shown.startsWith(QStringLiteral("The figure could not be saved to /"))) << Shown.toStdString();
  EXPECT_TRUE(Shown.endsWith("/no/such/folder/figure.png.\n" + QString::fromLocal8Bit(std::strerror(ENOENT))))
      << Shown.toStdString();
}

// The save dialog knows the files it lists by their names: it read each one to learn
// its type, and in /proc such a read may never return, which froze the program.
TEST(Figure, TheSaveDialogNeverReadsTheFilesItLists) {
  TOverlayForm S;
  QTemporaryDir Dir;
  const QString Unnamed = Dir.filePath("kmsg");  // a name that tells no type, so only reading it would
  QFile File(Unnamed);
  ASSERT_TRUE(File.open(QIODevice::WriteOnly));
  File.write("\x89PNG\r\n\x1a\n");  // the signature a picture starts with
  File.close();
  QString Type;
  AnswerSaveQuestions(QString::fromUtf8("1×"), [&](QFileDialog& Files) {
    Type = Files.iconProvider()->type(QFileInfo(Unnamed));
    Files.reject();
  });
  S.Form.ActSaveFigure->trigger();
  const QMimeDatabase Types;
  EXPECT_EQ(Type, Types.mimeTypeForName(QStringLiteral("application/octet-stream")).comment());
  ASSERT_EQ(Types.mimeTypeForFile(Unnamed).name(), "image/png");  // what reading it tells
}

}  // namespace
