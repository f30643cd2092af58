#include "app/uswivel.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMimeDatabase>
#include <QScopeGuard>
#include <QTime>
#include <algorithm>
#include <cmath>

#include "app/TextFit.h"
#include "readout/KVR_ReadoutFormat.h"

#include "toolkit/Bitmap.h"
#include "toolkit/FocusFrame.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Placement.h"

// The glyphs and the icon are compiled into this library; a static library must ask for
// its resources to be linked in.
static void InitResources() { Q_INIT_RESOURCE(swivel); }

namespace {

QFont DesignFont(int PixelSize, bool Bold = false) {
  QFont F(QStringLiteral("MS Sans Serif"));
  F.setPixelSize(PixelSize);
  F.setBold(Bold);
  return F;
}

// The save dialog tells files apart by their names alone. Qt's own provider reads the
// first bytes of each file it lists to learn its type, on the window's thread, and the
// read of a file such as /proc/kmsg never returns: typing /proc/ froze the program.
class TFileTypesByName : public QFileIconProvider {
public:
  QIcon icon(const QFileInfo& Info) const override {
    if (!Info.isFile()) return QFileIconProvider::icon(Info);
    return QIcon::fromTheme(ByName(Info).iconName(), QFileIconProvider::icon(File));
  }
  QString type(const QFileInfo& Info) const override {
    if (!Info.isFile()) return QFileIconProvider::type(Info);
    const QMimeType Type = ByName(Info);
    return Type.comment().isEmpty() ? Type.name() : Type.comment();
  }

private:
  QMimeType ByName(const QFileInfo& Info) const { return Types_.mimeTypeForFile(Info, QMimeDatabase::MatchExtension); }
  QMimeDatabase Types_;
};

QPushButton* MakeButton(QWidget* Parent, const QString& Caption, const QIcon& Glyph, int Left) {
  auto* B = new QPushButton(Glyph, Caption, Parent);
  B->setGeometry(Left, 4, 113, 29);
  return B;
}

// The dictionary's own text of Key, or nothing when it holds none.
std::optional<QString> OwnText(TGlossator* D, const char* Key) {
  const std::vector<std::string>& Keys = D->Keys();
  if (std::find(Keys.begin(), Keys.end(), AsciiLower(Key)) == Keys.end()) return std::nullopt;
  return D->Translate(QLatin1String(Key));
}

// The overlays' colours: the residuals belong to the red line; the mean's squares
// stand apart in green. The squares' insides are light enough for the points to show.
constexpr TColor ResidualColor = clRed, MeanColor = clGreen;
constexpr uint8_t SquareOpacity = 40;

}  // namespace

// A fixed window with a system menu and a minimise box only.
TForm1::TForm1(const TStartMode& Mode, QWidget* Parent)
    : QWidget(Parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      Mode_(Mode) {
  InitResources();
  setObjectName(QStringLiteral("Form1"));
  Include(csLoading);
  // The design font before the controls: each is then laid out once, in it.
  setFont(DesignFont(13));
  CreateComponents();
  ApplyDesign();
  NotifyLoaded();
  NameForAssistiveTools();
  CreateChartMenu();
  if (Mode_.Scripted) return;
  if (clidemon->EndRequested()) TFrontDoor::Knock();  // this start ends; the running one comes forward
  else FrontDoor_ = std::make_unique<TFrontDoor>([this] { ComeToFront(); });
}

// Names for screen readers, in the dictionary's language: each scroll bar is named by
// its label, the memo and the chart by keys of their own. (Buttons and labels read
// their captions; the readout its caption, with the value it shows as its value.)
void TForm1::NameForAssistiveTools() {
  SBarRotate->setAccessibleName(Label2->text());
  SBarMagnif->setAccessibleName(LblMagnif->text());
  Memo1->setAccessibleName(clidemon->GetText(QStringLiteral("Explanation")));
  Plotter1->setAccessibleName(clidemon->GetText(QStringLiteral("Chart")));
}

// Enter on a focused button presses it, as Space does. The Menu key and Shift+F10 open
// the chart's menu from every control but the memo, which keeps its own keys: the chart
// takes no focus, and a keyboard user on a button would not find the menu otherwise.
void TForm1::keyPressEvent(QKeyEvent* Event) {
  auto* Button = qobject_cast<QPushButton*>(focusWidget());
  if (Button && (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter)) {
    Button->click();
    return;
  }
  const bool MenuKey =
      Event->key() == Qt::Key_Menu || (Event->key() == Qt::Key_F10 && Event->modifiers() == Qt::ShiftModifier);
  if (MenuKey && focusWidget() != Memo1) {
    PopupChartMenu(Plotter1->mapToGlobal(Plotter1->rect().center()), true);
    return;
  }
  QWidget::keyPressEvent(Event);
}

void TForm1::CreateComponents() {
  Panel1 = new QFrame(this);
  BButOK = MakeButton(Panel1, QStringLiteral("GL_OK"), QIcon(QStringLiteral(":/icons/ok.svg")), 8);
  BButReset = MakeButton(Panel1, QStringLiteral("GL_Reset"), QIcon(QStringLiteral(":/icons/reset.svg")), 128);
  QIcon NextGlyph(QStringLiteral(":/icons/next.svg"));
  NextGlyph.addFile(QStringLiteral(":/icons/next_disabled.svg"), QSize(), QIcon::Disabled);
  BButNext = MakeButton(Panel1, QStringLiteral("GL_Next"), NextGlyph, 248);
  BButAbout = MakeButton(Panel1, QStringLiteral("GL_About"), QIcon(QStringLiteral(":/icons/about.svg")), 368);
  Memo1 = new TMemo(this);
  RdoRxy = new TReadout(this);
  LblExplainColors = new QLabel(this);
  Plotter1 = new TPlotter(this);
  SBarMagnif = new TScrollBar(Qt::Vertical, this);
  LblMagnif = new QLabel(this);
  Label2 = new QLabel(this);
  SBarRotate = new TScrollBar(Qt::Horizontal, this);
  RdoAngle = new TReadout(this);
  Stats = new TCurveFit(this);
  StatsInverse = new TCurveFit(this);
  PopupMenu1 = new QMenu(this);
  clidemon = new TtsrDemonClient(this);
  const std::initializer_list<std::pair<QObject*, const char*>> Named = {
      {Panel1, "Panel1"}, {BButOK, "BButOK"}, {BButReset, "BButReset"}, {BButNext, "BButNext"},
      {BButAbout, "BButAbout"}, {Memo1, "Memo1"}, {RdoRxy, "RdoRxy"}, {LblExplainColors, "LblExplainColors"},
      {Plotter1, "Plotter1"}, {SBarMagnif, "SBarMagnif"}, {LblMagnif, "LblMagnif"}, {Label2, "Label2"},
      {SBarRotate, "SBarRotate"}, {RdoAngle, "RdoAngle"}, {Stats, "Stats"}, {StatsInverse, "StatsInverse"}, {PopupMenu1, "PopupMenu1"},
      {clidemon, "clidemon"}};
  for (const auto& [Object, Name] : Named) {
    Object->setObjectName(QLatin1String(Name));
    if (!AsComponent(Object) || !dynamic_cast<TComponent*>(Object)) InsertComponent(Object);
  }
}

// Captions and names from the dictionary, like every other text of the window. Copy and
// Save answer their keys anywhere in the window, the menu closed.
void TForm1::CreateChartMenu() {
  PopupMenu1->setAccessibleName(Translated("Chart menu"));
  auto Add = [this](const char* Key, bool Checkable) {
    QAction* A = PopupMenu1->addAction(Translated(Key));
    A->setCheckable(Checkable);
    return A;
  };
  ActResiduals = Add("Residuals", true);
  ActSquares = Add("Squares of residuals", true);
  ActMeanSquares = Add("Squares around the mean", true);
  PopupMenu1->addSeparator();
  ActCopyFigure = Add("Copy figure", false);
  ActSaveFigure = Add("Save figure", false);
  ActCopyFigure->setShortcut(QKeySequence::Copy);
  ActSaveFigure->setShortcut(QKeySequence::Save);
  addAction(ActCopyFigure);
  addAction(ActSaveFigure);
  for (QAction* A : {ActResiduals, ActSquares, ActMeanSquares})
    connect(A, &QAction::triggered, this, [this] {
      SetOverlays({ActResiduals->isChecked(), ActSquares->isChecked(), ActMeanSquares->isChecked()});
    });
  connect(ActCopyFigure, &QAction::triggered, this, [this] { CopyFigure(); });
  connect(ActSaveFigure, &QAction::triggered, this, [this] { SaveFigure(); });
  // A scroll bar's own menu (scroll here, top, bottom) would open instead of the chart's
  // from the Menu key, which some platforms also send as a context-menu request.
  for (TScrollBar* Bar : {SBarRotate, SBarMagnif}) Bar->setContextMenuPolicy(Qt::NoContextMenu);
  Plotter1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Plotter1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& Pos) { PopupChartMenu(Plotter1->mapToGlobal(Pos), false); });
}

void TForm1::PopupChartMenu(const QPoint& Pos, bool ByKeyboard) {
  PopupMenu1->popup(Pos);
  if (ByKeyboard) PopupMenu1->setActiveAction(ActResiduals);
}

void TForm1::ApplyDesign() {
  setWindowTitle(QStringLiteral("GL_Regression and Rotated Data"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/swivel.svg")));
  setFixedSize(495, 511);
  move(310, 162);
  setAutoFillBackground(true);

  Panel1->setGeometry(0, 0, 495, 37);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  // The design's tab order: the rotate bar, then the readout (so that a screen-reader
  // user can hear it), the magnification bar, the buttons Reset, OK, About, Next; last
  // the memo, whose text the arrow keys scroll.
  setTabOrder(SBarRotate, RdoRxy);
  setTabOrder(RdoRxy, SBarMagnif);
  setTabOrder(SBarMagnif, BButReset);
  setTabOrder(BButReset, BButOK);
  setTabOrder(BButOK, BButAbout);
  setTabOrder(BButAbout, BButNext);
  setTabOrder(BButNext, Memo1);
  // A click on a button (or on the chart) leaves the keyboard focus where it was, most
  // often on the rotate bar; Tab still reaches every button.
  for (QPushButton* B : {BButOK, BButReset, BButNext, BButAbout}) {
    B->setAutoDefault(false);
    B->setFocusPolicy(Qt::TabFocus);
  }
  new TFocusFrame(this);
  connect(BButOK, &QPushButton::clicked, this, [this] { BButOKClick(BButOK); });
  connect(BButNext, &QPushButton::clicked, this, [this] { BButNextClick(BButNext); });
  connect(BButReset, &QPushButton::clicked, this, [this] { BButResetClick(BButReset); });
  connect(BButAbout, &QPushButton::clicked, this, [this] { BButAboutClick(BButAbout); });

  Memo1->setGeometry(0, 37, 495, 92);
  Memo1->setReadOnly(true);
  Memo1->setContextMenuPolicy(Qt::NoContextMenu);  // no edit menu
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  Memo1->Lines()->Add(QStringLiteral("GL_Explain_1"));

  RdoRxy->setGeometry(251, 142, 217, 25);
  RdoRxy->SetLeftText(QStringLiteral("GL_goodness of fit"));
  RdoRxy->SetLeftTextAlignment(taRightJustify);
  RdoRxy->SetLeftSpace(132);
  RdoRxy->SetLabelWidth(80);
  RdoRxy->SetDisplayType(dtFixP);
  RdoRxy->SetPrecision(4);
  RdoRxy->SetAlignment(taCenter);
  RdoRxy->SetFrameStyle(fsLowered);
  RdoRxy->SetColorScheme(csSystem);
  RdoRxy->SetColorLabBakG(clWhite);
  RdoRxy->SetColorLabText(clBlack);
  RdoRxy->SetColorOutText(clBlack);
  RdoRxy->SetColorOutBakG(clBtnFace);
  RdoRxy->setFont(DesignFont(13, true));
  RdoRxy->setFocusPolicy(Qt::TabFocus);

  LblExplainColors->setGeometry(8, 184, 89, 105);
  LblExplainColors->setText(QStringLiteral("GL_ExplainColors"));
  LblExplainColors->setAlignment(Qt::AlignRight | Qt::AlignTop);
  LblExplainColors->setWordWrap(true);
  LblExplainColors->hide();

  ApplyChartDesign();

  SBarMagnif->setGeometry(49, 168, 16, 249);
  SBarMagnif->SetMax(48);
  SBarMagnif->SetPosition(40);
  SBarMagnif->SetLargeChange(6);
  SBarMagnif->hide();
  SBarMagnif->OnChange = [this](QObject* Sender) { SBarMagnifChange(Sender); };

  LblMagnif->setGeometry(0, 424, 113, 32);
  LblMagnif->setText(QStringLiteral("GL_Magnification of y-axis"));
  LblMagnif->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  LblMagnif->setWordWrap(true);
  LblMagnif->hide();

  Label2->setGeometry(144, 460, 321, 16);
  Label2->setText(QStringLiteral("GL_rotate the data by using this scrollbar"));

  SBarRotate->setGeometry(144, 480, 321, 17);
  SBarRotate->SetMax(3600);
  SBarRotate->SetPosition(0);
  SBarRotate->SetLargeChange(50);  // 5 degrees: 135 degrees are 27 pages away
  SBarRotate->SetSpokenValue(0.1, 1, QStringLiteral("\u00B0"));
  SBarRotate->OnChange = [this](QObject* Sender) { SBarRotateChange(Sender); };

  // Left of the rotate bar, in the free corner below the magnification label, in the
  // style of the goodness-of-fit readout.
  RdoAngle->setGeometry(8, 476, 132, 25);
  RdoAngle->SetLeftText(QStringLiteral("GL_angle"));
  RdoAngle->SetLeftTextAlignment(taRightJustify);
  RdoAngle->SetLeftSpace(60);
  RdoAngle->SetLabelWidth(64);
  RdoAngle->SetDisplayType(dtDeg);
  RdoAngle->SetPrecision(1);
  RdoAngle->SetAlignment(taCenter);
  RdoAngle->SetFrameStyle(fsLowered);
  RdoAngle->SetColorScheme(csSystem);
  RdoAngle->SetColorLabBakG(clWhite);
  RdoAngle->SetColorLabText(clBlack);
  RdoAngle->SetColorOutText(clBlack);
  RdoAngle->SetColorOutBakG(clBtnFace);
  RdoAngle->setFont(DesignFont(13, true));

  clidemon->SetAutoTranslate(true);
  clidemon->SetAutoCreateItlFile(false);
  clidemon->SetMultiStart(Mode_.Scripted);  // a scripted run may go beside a running one
  clidemon->SetUseTesseraServer(false);
  clidemon->SetDictionaryFile(Mode_.DictionaryFile);
  clidemon->OnParamsChange = [this](QObject* Sender) { clidemonParamsChange(Sender); };
}

void TForm1::ApplyChartDesign() {
  TPlotter* P = Plotter1;
  P->SetBounds(112, 168, 361, 281);
  P->SetMarginLeft(40);
  P->SetMarginRight(8);
  P->SetMarginTop(1);
  P->SetMarginBottom(40);
  P->SetShadowStyle(ssFlying);
  P->SetShadowColor(clGrayText);
  P->SetShadowBakColor(clBtnFace);
  // The caption (the sums of squares, while squares are shown) goes below the x axis's
  // numbers, centred on the chart area.
  P->SetCaptionAnchorHoriz(cahChartCenter);
  P->SetCaptionAnchorVert(cavControlBottom);
  P->SetCaptionPosX(0);
  P->SetCaptionPosY(-17);
  P->SetCaptionAlignment(taCenter);
  P->SetGridStyle(gsNone);
  P->SetMouseAction(maNone);
  P->setFocusPolicy(Qt::NoFocus);  // the chart answers no keys here
  P->SetMouseCursorFixed(false);
  P->SetAllocSize(1000);
  P->SetAutoRedraw(true);
  P->SetIsometric(false);
  P->SetClassDefault(0);
  P->SetTextBkStyle(tbClear);
  P->SetTextBkColor(clWhite);
  P->SetTextAlignment(taCenter);
  P->SetTextFontStyle(0);
  P->BackGroundImg()->SetAreaMode(bamNone);
  P->BackGroundImg()->SetAreaColor(0xDDDDDD);
  P->BackGroundImg()->SetFillMode(bfStretch);
  struct TAxis {
    TScaleProps* Props;
    double Low, High;
    int CaptionY;
    TAlignment Alignment;
    TScaleUnitAnchor Anchor;
  };
  for (const TAxis& A : {TAxis{P->Scale1X(), -15, 15, 22, taCenter, uaSclCenter},
                         TAxis{P->Scale1Y(), -11, 11, -16, taLeftJustify, uaSclTopLft}}) {
    A.Props->SetRangeLow(A.Low);
    A.Props->SetRangeHigh(A.High);
    A.Props->SetLabelType(ftNum);
    A.Props->SetShortTicks(true);
    A.Props->SetMinTicks(3);
    A.Props->SetDecPlaces(-2);
    A.Props->SetCaptionPosX(0);
    A.Props->SetCaptionPosY(A.CaptionY);
    A.Props->SetCaptionAlignment(A.Alignment);
    A.Props->SetCaptionAnchor(A.Anchor);
    A.Props->SetColorScale(clBlack);
    A.Props->SetFont(DesignFont(13));
    A.Props->SetMinRange(1e-10);
    A.Props->SetLogarithmic(false);
    A.Props->SetVisible(true);
  }
  for (int I = 1; I <= 4; ++I) {
    TCrossHair* C = P->CrossHair(I);
    C->SetMode(chOff);
    C->SetColor(clBlack);
    C->SetLineType(psSolid);
    C->SetLineWid(1);
    C->SetLayer(I);
  }
}

// --- the simulation ------------------------------------------------------------------

void TForm1::GenerateData() { DataPoints = GenerateCloud(Random_); }

// The overlays go first, beneath the points and the lines. A new caption repaints the
// whole chart, so it is set once every item is in; only an unchanged one leaves the
// items to be drawn anew on their own.
void TForm1::UpdateDisplay() {
  Stats->ResetStats();
  StatsInverse->ResetStats();
  Plotter1->ClearItems();
  RdoAngle->SetValue(DegreesOf(SBarRotate->Position()));
  const TPointCloud Points = RotateCloud(DataPoints, SBarRotate->Position());
  for (const TDataPoint& P : Points) {
    Stats->AddPair(P.X, P.Y);
    StatsInverse->AddPair(P.Y, P.X);
  }
  double K = 0, D = 0, Q = 0;
  bool Fitted = true;
  try {
    Stats->CalcLinFit(K, D, Q);
  } catch (const EKVRMath2Error&) {
    Fitted = false;  // no line through a cloud whose x are all equal
  }
  const QString Caption = Fitted ? ShowOverlays(Points, K, D) : QString();
  Plotter1->SetDataColor(clBlack);
  for (const TDataPoint& P : Points) Plotter1->AddMark(P.X, P.Y, 12);
  if (Fitted) {
    Plotter1->SetDataColor(clRed);
    const double XL = Plotter1->Scale1X()->RangeLow(), XH = Plotter1->Scale1X()->RangeHigh();
    Plotter1->AddLine(XL, K * XL + D, XH, K * XH + D);
  }
  RdoRxy->SetValue(Fitted ? Q : std::nan(""));
  if (LessonStep == 5) {
    try {
      StatsInverse->CalcLinFit(K, D, Q);
      Plotter1->SetDataColor(clBlue);
      const double YL = Plotter1->Scale1Y()->RangeLow(), YH = Plotter1->Scale1Y()->RangeHigh();
      Plotter1->AddLine(K * YL + D, YL, K * YH + D, YH);
    } catch (const EKVRMath2Error&) {
    }
  }
  if (Caption == Plotter1->Caption()) Plotter1->Redisplay();
  else Plotter1->SetCaption(Caption);
}

// While squares are shown, the chart's caption gives their sums and how r² follows
// from them, in the readout's number format; the caption to show is returned.
QString TForm1::ShowOverlays(const TPointCloud& Points, double Slope, double Intercept) {
  Plotter1->UpdateTransform();  // the squares are measured in pixels of the current ranges
  const TSumsOfSquares Sums = SumsOfSquares(Points, Slope, Intercept);
  if (Overlays_.MeanSquares) {
    Plotter1->SetDataColor(MeanColor);
    const double XL = Plotter1->Scale1X()->RangeLow(), XH = Plotter1->Scale1X()->RangeHigh();
    Plotter1->AddLine(XL, Sums.MeanY, XH, Sums.MeanY);
    AddSquares(*Plotter1, Points, 0, Sums.MeanY, MeanColor, SquareOpacity);
  }
  if (Overlays_.Squares) AddSquares(*Plotter1, Points, Slope, Intercept, ResidualColor, SquareOpacity);
  if (Overlays_.Residuals) {
    Plotter1->SetDataColor(ResidualColor);
    AddResiduals(*Plotter1, Points, Slope, Intercept);
  }
  if (!Overlays_.Squares && !Overlays_.MeanSquares) return QString();
  // The sums with as many decimals as r², so that a reader who works the quotient out
  // from the two shown arrives at the r² shown (to its last digit).
  auto Number = [this](double V) {
    return FormatReadoutValue(V, TReadoutFormat{dtFixP, RdoRxy->Precision(), RdoRxy->Comma()})
        .value_or(QStringLiteral("?"));
  };
  return Translated("Sums of squares")
      .arg(Number(Sums.Residual), Number(Sums.Total), Number(1 - Sums.Residual / Sums.Total));
}

void TForm1::SetOverlays(const TOverlays& V) {
  ActResiduals->setChecked(V.Residuals);
  ActSquares->setChecked(V.Squares);
  ActMeanSquares->setChecked(V.MeanSquares);
  if (V == Overlays_) return;
  Overlays_ = V;
  UpdateDisplay();
}

QImage TForm1::Figure(int Scale) const {
  QImage Picture = FractionalScaled(Plotter1->Surface(), std::clamp(Scale, 1, 4));
  Picture.setDevicePixelRatio(1);
  return Picture;
}

void TForm1::CopyFigure() { QGuiApplication::clipboard()->setImage(Figure(1)); }

bool TForm1::SaveFigureTo(const QString& FileName, int Scale, QString& Error) const {
  const QString Reason = SavePng(Figure(Scale), FileName);
  if (Reason.isEmpty()) return true;
  Error = Translated("Figure not saved").arg(FileName) + QLatin1Char('\n') + Reason;
  return false;
}

void TForm1::SaveFigure() {
  // The window takes the keys back however the dialogs end: a window manager may hand
  // them to a dialog that has just closed (the file dialog, after its question).
  const auto TakeBackTheKeys = qScopeGuard([this] { activateWindow(); });
  const QStringList Scales{QStringLiteral("1×"), QStringLiteral("2×"), QStringLiteral("3×"), QStringLiteral("4×")};
  bool Chosen = false;
  const QString Scale =
      QInputDialog::getItem(this, Translated("Save the figure"), Translated("Figure scale"), Scales, 0, false, &Chosen);
  if (!Chosen) return;
  TFileTypesByName Types;
  QFileDialog Dialog(this, Translated("Save the figure"), QStringLiteral("swivel.png"),
                     Translated("PNG image") + QStringLiteral(" (*.png)"));
  Dialog.setAcceptMode(QFileDialog::AcceptSave);
  Dialog.setDefaultSuffix(QStringLiteral("png"));
  Dialog.setIconProvider(&Types);
  if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return;
  QString Error;
  if (!SaveFigureTo(Dialog.selectedFiles().first(), static_cast<int>(Scales.indexOf(Scale)) + 1, Error))
    ShowWarning(Error);
}

// --- handlers ----------------------------------------------------------------------

void TForm1::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  if (Shown_) return;
  Shown_ = true;
  KeepOnScreen(this);  // a small or magnified screen would cut the design position off
  FormShow();
}

void TForm1::FormShow() {
  ApplicationIconStep();
  AboutBoxStep();
  DecimalCommaStep();
  FitReadoutCaption();
  LessonStep = 1;
  Random_.seed(Seed_.value_or(static_cast<uint64_t>(QTime::currentTime().msecsSinceStartOfDay())));
  GenerateData();
  UpdateDisplay();
  SBarRotate->setFocus();
}

void TForm1::SBarRotateChange(QObject*) { UpdateDisplay(); }

// The squares are measured in pixels, so they are drawn anew for the new y range.
void TForm1::SBarMagnifChange(QObject*) {
  const double T = (50 - SBarMagnif->Position()) / 10.0;
  Plotter1->Scale1Y()->SetRangeLow(-11 / T);
  Plotter1->Scale1Y()->SetRangeHigh(11 / T);
  if (Overlays_.Squares || Overlays_.MeanSquares) UpdateDisplay();
}

void TForm1::BButOKClick(QObject*) { close(); }

void TForm1::ShowExplanation(const QString& Key) {
  Memo1->Lines()->Clear();
  Memo1->Lines()->SetText(clidemon->GetText(Key));
}

// An icon named in the dictionary replaces the program's own, when its file is there.
void TForm1::ApplicationIconStep() {
  TGlossator* D = clidemon->Dictionary();
  const QString Name = D->Translate(QStringLiteral("AppIconName"));
  const QString Folder = QString::fromStdString(clidemon->GetDirectory("TesseraWorkArea"));
  if (Name == QLatin1String("AppIconName")) return;
  if (clidemon->UseTesseraServer()) {
    try {
      if (const std::unique_ptr<TMemoryStream> Icon = clidemon->GetStream(Name.toStdString()); Icon && Icon->Size() > 0) {
        QFile File(Folder + Name);
        if (File.open(QIODevice::WriteOnly)) File.write(Icon->Memory(), Icon->Size());
      }
    } catch (const std::exception&) {
      // No server answer: the step is skipped.
    }
  }
  if (!QFileInfo::exists(Folder + Name)) return;
  const QIcon Icon(Folder + Name);
  QApplication::setWindowIcon(Icon);
  setWindowIcon(Icon);
}

void TForm1::AboutBoxStep() {
  if (!FrmAbout) return;
  TGlossator* D = clidemon->Dictionary();
  FrmAbout->LblName->setText(D->Translate(QStringLiteral("Swivel")));
  FrmAbout->LblVersion->setText(QStringLiteral("Version 1.0"));
  FrmAbout->HomePage = D->Translate(QStringLiteral("HomePageURL"));
  const QString Language = QString::fromStdString(AsciiLower(D->Translate(QStringLiteral("$dlglanguage$")).toStdString()));
  D->TranslateComponent(FrmAbout);
  FrmAbout->SetLanguage(Language);
  // A dictionary of a language beyond English and German brings these texts along.
  if (const auto Text = OwnText(D, "AboutDescription")) FrmAbout->LblDescription->setText(*Text);
  if (const auto Text = OwnText(D, "AboutMoreInformation")) FrmAbout->LblWebSite->setText(*Text);
  if (const auto Text = OwnText(D, "AboutCopyright")) FrmAbout->LblCopyright->setText(*Text);
  if (!Mode_.Scripted) FrmAbout->exec();
}

// Languages that write 2,5 say so in their dictionary: "[$decimalcomma$]=yes".
void TForm1::DecimalCommaStep() {
  const QString Value = clidemon->Dictionary()->Translate(QStringLiteral("$decimalcomma$"));
  const bool Comma = Value.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
  RdoRxy->SetComma(Comma);
  RdoAngle->SetComma(Comma);
  Plotter1->Scale1X()->SetDecimalComma(Comma);
  Plotter1->Scale1Y()->SetDecimalComma(Comma);
}

// A caption longer than the design's widens the readout to the left, into the free space
// beside the memo's lower edge; the value keeps its place.
void TForm1::FitReadoutCaption() {
  const int Grow = std::clamp(CaptionSpace(*RdoRxy) - RdoRxy->LeftSpace(), 0, RdoRxy->x() - 8);
  RdoRxy->setGeometry(RdoRxy->geometry().adjusted(-Grow, 0, 0, 0));
  RdoRxy->SetLeftSpace(RdoRxy->LeftSpace() + Grow);
}

void TForm1::BButAboutClick(QObject*) {
  if (!FrmAbout) return;
  clidemon->Dictionary()->TranslateComponent(FrmAbout);
  FrmAbout->exec();
}

void TForm1::clidemonParamsChange(QObject*) { ComeToFront(); }

void TForm1::ComeToFront() {
  showNormal();
  raise();
  activateWindow();
}

void TForm1::NarrowRotation(const TRotateRange& Range) {
  SBarRotate->SetMin(Range.Min);
  SBarRotate->SetMax(Range.Max);
  SBarRotate->SetPosition(Range.Start);
}

void TForm1::BButNextClick(QObject*) {
  LessonStep = std::min(LessonStep + 1, 5);
  // Minimum before maximum: every new minimum lies below the maximum in force.
  switch (LessonStep) {
    case 1:
      LblExplainColors->hide();
      SBarRotate->SetPosition(0);
      SBarRotate->SetMin(0);
      SBarRotate->SetMax(3600);
      HideMagnification();
      BButNext->setEnabled(true);
      ShowExplanation(QStringLiteral("ExPlain_1"));
      break;
    case 2:
    case 3:
      NarrowRotation(LessonStep == 2 ? UprightRange : FlatRange);
      HideMagnification();
      ShowExplanation(QStringLiteral("ExPlain_%1").arg(LessonStep));
      break;
    case 4:
      NarrowRotation(MagnifyRange);
      SBarMagnif->show();
      LblMagnif->show();
      ShowExplanation(QStringLiteral("ExPlain_4"));
      BButNext->setEnabled(true);
      break;
    default:
      // Next is about to go: the focus moves to the rotate bar, which the last step's
      // text asks the learner to use, not on down the chain.
      if (BButNext->hasFocus()) SBarRotate->setFocus();
      LblExplainColors->show();
      SBarRotate->SetMin(0);
      SBarRotate->SetMax(3600);
      SBarMagnif->SetPosition(40);
      HideMagnification();
      ShowExplanation(QStringLiteral("ExPlain_5"));
      BButNext->setEnabled(false);
      SBarRotate->SetPosition(0);
      break;
  }
}

// The magnification bar goes; a focus on it moves to the rotate bar, which every step's
// text asks the learner to use, not on down the chain to a button.
void TForm1::HideMagnification() {
  if (SBarMagnif->hasFocus()) SBarRotate->setFocus();
  SBarMagnif->hide();
  LblMagnif->hide();
}

void TForm1::BButResetClick(QObject*) {
  Plotter1->Scale1Y()->SetRangeLow(-11);
  Plotter1->Scale1Y()->SetRangeHigh(11);
  SBarMagnif->SetPosition(40);
  SBarRotate->SetPosition(0);
  SBarRotate->SetMin(0);
  SBarRotate->SetMax(3600);
  GenerateData();
  LessonStep = 0;
  BButNextClick(BButNext);
  UpdateDisplay();
}
