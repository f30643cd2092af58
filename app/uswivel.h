// The main window: a cloud of 15 points that the learner turns with a scroll bar, the
// least-squares lines through it, the goodness of fit, and the lesson steps.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <random>

#include "app/AboutBox.h"
#include "app/FrontDoor.h"
#include "app/PointCloud.h"
#include "app/Residuals.h"
#include "chart/KVR_plotter.h"
#include "companion/TesseraDemon.h"
#include "readout/KVR_Readout.h"
#include "stats/KVR_math2.h"
#include "toolkit/StdCtrls.h"

// How the program was started.
struct TStartMode {
  // A scripted run (snapshot, report): no modal box and no single-instance check.
  bool Scripted = false;
  // The ITL file to load instead of the one beside the program (another language).
  QString DictionaryFile;
};

class TForm1 : public QWidget, public TComponentBase {
  Q_OBJECT

public:
  static constexpr int PointCount = std::tuple_size_v<TPointCloud>;

  explicit TForm1(const TStartMode& Mode = TStartMode(), QWidget* Parent = nullptr);

  // The design's components, in creation order.
  QFrame* Panel1;
  QPushButton* BButOK;
  QPushButton* BButReset;
  QPushButton* BButNext;
  QPushButton* BButAbout;
  TMemo* Memo1;
  TReadout* RdoRxy;
  QLabel* LblExplainColors;
  TPlotter* Plotter1;
  TScrollBar* SBarMagnif;
  QLabel* LblMagnif;
  QLabel* Label2;
  TScrollBar* SBarRotate;
  // The rotate bar's angle in degrees, beside the bar.
  TReadout* RdoAngle;
  TCurveFit* Stats;
  TCurveFit* StatsInverse;
  // The chart's menu: the overlays, and the figure for the clipboard or a file.
  QMenu* PopupMenu1;
  QAction* ActResiduals;
  QAction* ActSquares;
  QAction* ActMeanSquares;
  QAction* ActCopyFigure;
  QAction* ActSaveFigure;
  TtsrDemonClient* clidemon;
  // The about box, created by the program entry after this window.
  TFrmAbout* FrmAbout = nullptr;

  int LessonStep = 0;
  TPointCloud DataPoints{};

  void GenerateData();
  void UpdateDisplay();

  void FormShow();
  void SBarRotateChange(QObject* Sender);
  void SBarMagnifChange(QObject* Sender);
  void BButOKClick(QObject* Sender);
  void BButNextClick(QObject* Sender);
  void BButResetClick(QObject* Sender);
  void BButAboutClick(QObject* Sender);
  void clidemonParamsChange(QObject* Sender);
  // Restores the window if minimised, raises and activates it.
  void ComeToFront();
  // The first steps of the start-up sequence, from the dictionary.
  void ApplicationIconStep();
  void AboutBoxStep();
  void DecimalCommaStep();
  void FitReadoutCaption();

  const TOverlays& Overlays() const { return Overlays_; }
  void SetOverlays(const TOverlays& V);
  // Opens the chart's menu at Pos (global); by keyboard, with its first entry chosen.
  void PopupChartMenu(const QPoint& Pos, bool ByKeyboard);
  // The chart as shown, Scale (1 to 4) device pixels to a pixel, enlarged as a screen
  // of that device pixel ratio shows it: every line stays sharp.
  QImage Figure(int Scale) const;
  void CopyFigure();
  // Asks for the scale and the file name, then saves; a failure is shown in a box.
  void SaveFigure();
  // The figure at Scale as a PNG file; false, with the reason in Error, when it cannot
  // be written.
  bool SaveFigureTo(const QString& FileName, int Scale, QString& Error) const;

  // Seeds the generator with Seed at start-up instead of the clock.
  void SetSeed(uint64_t Seed) { Seed_ = Seed; }

protected:
  void showEvent(QShowEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;

private:
  void NameForAssistiveTools();
  void CreateComponents();
  void ApplyDesign();
  void ApplyChartDesign();
  void ShowExplanation(const QString& Key);
  void NarrowRotation(const TRotateRange& Range);
  void HideMagnification();
  void CreateChartMenu();
  QString ShowOverlays(const TPointCloud& Points, double Slope, double Intercept);
  QString Translated(const char* Key) const { return clidemon->GetText(QLatin1String(Key)); }

  TOverlays Overlays_;
  TStartMode Mode_;
  std::optional<uint64_t> Seed_;
  std::mt19937_64 Random_;
  bool Shown_ = false;
  // Where a second start knocks (the running instance of an interactive start only).
  std::unique_ptr<TFrontDoor> FrontDoor_;
};
