#include "app/AboutBox.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>

#include "toolkit/Color.h"
#include "toolkit/FocusFrame.h"
#include "toolkit/Placement.h"
#include "toolkit/MessageBox.h"

const QString TFrmAbout::SimulationsPage = QStringLiteral("https://example.org/simulations");
const QString TFrmAbout::EnglishDescription = QStringLiteral(
    "This program shows the effects of uncorrelated data on linear regression models. It was written by "
    "the Swivel teaching-software group for learners of statistics. It is used in various electronic "
    "textbooks.");
const QString TFrmAbout::GermanDescription = QStringLiteral(
    "Dieses Programm zeigt den Einfluss unkorrelierter Daten auf die lineare Regression. Es wurde von der "
    "Lehrsoftware-Gruppe Swivel geschrieben und wird in verschiedenen interaktiven elektronischen "
    "Lehrbüchern verwendet.");

namespace {

QFont ArialFont(int PixelSize, bool Bold = false, bool Italic = false) {
  QFont F(QStringLiteral("Arial"));
  F.setPixelSize(PixelSize);
  F.setBold(Bold);
  F.setItalic(Italic);
  return F;
}

QLabel* MakeLabel(QWidget* Parent, const QRect& Bounds, Qt::Alignment Align, const QString& Text = QString()) {
  auto* L = new QLabel(Text, Parent);
  L->setGeometry(Bounds);
  L->setAlignment(Align);
  return L;
}

// A panel with a raised inner and a lowered outer bevel.
QFrame* MakePanel(QWidget* Parent, const QRect& Bounds) {
  auto* P = new QFrame(Parent);
  P->setGeometry(Bounds);
  P->setFrameStyle(QFrame::Box | QFrame::Sunken);
  P->setLineWidth(1);
  P->setMidLineWidth(1);
  return P;
}

void SetTextColor(QWidget* W, TColor Color) {
  QPalette P = W->palette();
  P.setColor(QPalette::WindowText, QColor(ToQRgb(Color)));
  W->setPalette(P);
}

}  // namespace

void TLinkLabel::mouseReleaseEvent(QMouseEvent* Event) {
  QLabel::mouseReleaseEvent(Event);
  if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint()) && OnClick) OnClick(this);
}

void TLinkLabel::mouseMoveEvent(QMouseEvent* Event) {
  QLabel::mouseMoveEvent(Event);
  if (OnMouseMove) OnMouseMove(this);
}

void TLinkLabel::keyPressEvent(QKeyEvent* Event) {
  const int Key = Event->key();
  if ((Key == Qt::Key_Return || Key == Qt::Key_Enter || Key == Qt::Key_Space) && OnClick) {
    OnClick(this);
    Event->accept();
    return;
  }
  QLabel::keyPressEvent(Event);
}

TFrmAbout::TFrmAbout(QWidget* Parent) : QDialog(Parent) {
  setObjectName(QStringLiteral("FrmAbout"));
  setWindowTitle(QStringLiteral("GL_About"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/swivel.svg")));
  setFixedSize(543, 332);
  setFont(ArialFont(13));
  SetTextColor(this, clBlack);

  LblDescription = MakeLabel(this, {8, 152, 529, 65}, Qt::AlignHCenter | Qt::AlignTop);
  LblDescription->setWordWrap(true);
  LblDescription->setFont(ArialFont(13));
  SetTextColor(LblDescription, clMaroon);
  Panel1 = MakePanel(this, {8, 10, 529, 127});
  LblName = MakeLabel(Panel1, {8, 12, 513, 34}, Qt::AlignHCenter | Qt::AlignTop);
  LblName->setFont(ArialFont(30, true, true));
  SetTextColor(LblName, clMaroon);
  LblVersion = MakeLabel(Panel1, {8, 50, 513, 16}, Qt::AlignHCenter | Qt::AlignTop);
  LblAuthor = MakeLabel(Panel1, {8, 74, 513, 16}, Qt::AlignHCenter | Qt::AlignTop);
  LblCopyright = MakeLabel(Panel1, {8, 100, 513, 16}, Qt::AlignHCenter | Qt::AlignTop,
                           QStringLiteral("© 2026 the Swivel developers, free software under the MIT licence"));
  Panel2 = MakePanel(this, {8, 224, 529, 65});
  Panel2->setMouseTracking(true);
  Panel2->installEventFilter(this);
  LblWebSite = MakeLabel(Panel2, {8, 8, 137, 49}, Qt::AlignRight | Qt::AlignTop);
  LblWebSite->setWordWrap(true);
  QFont LinkFont(QStringLiteral("Courier New"));
  LinkFont.setPixelSize(13);
  LinkFont.setBold(true);
  LinkFont.setUnderline(true);
  LblHomePage = new TLinkLabel(QStringLiteral("GL_HomePage"), Panel2);
  LblSimus = new TLinkLabel(SimulationsPage, Panel2);
  for (TLinkLabel* Link : {LblHomePage, LblSimus}) {
    Link->setFont(LinkFont);
    Link->setCursor(Qt::PointingHandCursor);
    Link->setMouseTracking(true);
    Link->setFocusPolicy(Qt::StrongFocus);
    SetTextColor(Link, clBlue);
  }
  LblHomePage->setGeometry(152, 12, 369, 16);
  LblSimus->setGeometry(152, 36, 369, 16);
  LblHomePage->hide();
  LblHomePage->OnClick = [this](QObject*) { LblHomePageClick(); };
  LblSimus->OnClick = [this](QObject*) { LblSimusClick(); };
  LblHomePage->OnMouseMove = [this](QObject*) { LblHomePageMouseMove(); };
  LblSimus->OnMouseMove = [this](QObject*) { LblSimusMouseMove(); };
  BButOK = new QPushButton(QIcon(QStringLiteral(":/icons/ok.svg")), QStringLiteral("GL_OK"), this);
  BButOK->setGeometry(424, 296, 113, 33);
  BButOK->setDefault(true);
  connect(BButOK, &QPushButton::clicked, this, &QDialog::accept);
  new TFocusFrame(this);

  const std::initializer_list<std::pair<QObject*, const char*>> Named = {
      {LblDescription, "LblDescription"}, {Panel1, "Panel1"},       {LblName, "LblName"},
      {LblVersion, "LblVersion"},         {LblAuthor, "LblAuthor"}, {LblCopyright, "LblCopyright"},
      {Panel2, "Panel2"},                 {LblWebSite, "LblWebSite"}, {LblHomePage, "LblHomePage"},
      {LblSimus, "LblSimus"},             {BButOK, "BButOK"}};
  for (const auto& [Object, Name] : Named) {
    Object->setObjectName(QLatin1String(Name));
    InsertComponent(Object);
  }
}

void TFrmAbout::SetLanguage(const QString& Language) {
  const bool German = Language == QLatin1String("lggerman");
  LblWebSite->setText(German ? QStringLiteral("Mehr Informationen finden Sie auf folgenden Webseiten:")
                             : QStringLiteral("More information can be found at the following Web sites:"));
  LblDescription->setText(German ? GermanDescription : EnglishDescription);
}

void TFrmAbout::showEvent(QShowEvent* Event) {
  QDialog::showEvent(Event);
  CentreOnScreen(this);
  LblHomePage->show();
  BButOK->setFocus();  // Enter closes the box at once; Tab reaches the links
}

void TFrmAbout::Open(const QString& Address) {
  const QCursor Remembered = cursor();
  setCursor(Qt::BusyCursor);
  QApplication::processEvents();
  OpenAddress(Address);
  setCursor(Remembered);
}

void TFrmAbout::LblHomePageClick() { Open(HomePage); }
void TFrmAbout::LblSimusClick() { Open(SimulationsPage); }

void TFrmAbout::LblHomePageMouseMove() { SetTextColor(LblHomePage, clRed); }
void TFrmAbout::LblSimusMouseMove() { SetTextColor(LblSimus, clRed); }
void TFrmAbout::Panel2MouseMove() {
  SetTextColor(LblHomePage, clBlue);
  SetTextColor(LblSimus, clBlue);
}

bool TFrmAbout::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == Panel2 && Event->type() == QEvent::MouseMove) Panel2MouseMove();
  return QDialog::eventFilter(Watched, Event);
}
