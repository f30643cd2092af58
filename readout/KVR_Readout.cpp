#include "readout/KVR_Readout.h"

#include <QAccessible>
#include <QMouseEvent>
#include <algorithm>

#include "readout/KVR_ReadoutAccessible.h"
#include "toolkit/Setter.h"

namespace {
// Text whose height sets the vertical placement of every text of the readout.
const QString HeightSample = QStringLiteral("(8g]}\u00DC\u00C4\u00A7");
}  // namespace

TReadout::TReadout(QWidget* Parent) : QWidget(Parent), Picture_(0, 0) {
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  setMouseTracking(true);
  resize(160, 28);
  static const bool FactoryInstalled = (QAccessible::installFactory(ReadoutAccessibleFactory), true);
  (void)FactoryInstalled;
  AnnounceTimer_.setSingleShot(true);
  AnnounceTimer_.setInterval(AnnounceIntervalMs);
  connect(&AnnounceTimer_, &QTimer::timeout, this, [this] {
    if (!AnnouncePending_) return;
    AnnouncePending_ = false;
    SendValueChange();
    AnnounceTimer_.start();
  });
}

template <class T>
void TReadout::Change(T& Field, const T& V) {
  StoreChanged(Field, V, [this] { Repaint(); });
}

// Draws the picture at once and has it copied to the screen.
void TReadout::Repaint() {
  Paint();
  update();
}

// A NaN never equals itself, so setting one always redraws the value.
void TReadout::SetValue(double V) { StoreChanged(Value_, V, [this] { RepaintValue(); }); }

// A new value changes only the label field; a value that shows as the text already there
// changes no pixel. The field is drawn over the picture as the last paint left it.
void TReadout::RepaintValue() {
  if (PictureStale_ || Empty_ || Picture_.Width() != width() || Picture_.Height() != height() ||
      !VisibleProperty(this)) {
    Repaint();
    return;
  }
  TCanvas* C = Picture_.Canvas();
  const TShownValue Shown = ShownValue(C);
  if (Shown.Text == DisplayText_) return;
  DrawValue(C, Shown);
  AnnounceChange();
  update(ValueField());
}

void TReadout::SetDisplayType(TDisplay V) { Change(Format_.DisplayType, V); }
void TReadout::SetPrecision(int V) {
  if (V >= 0) Change(Format_.Precision, std::min(V, 15));
}
void TReadout::SetComma(bool V) { Change(Format_.Comma, V); }
void TReadout::SetForcePlusSign(bool V) { Change(Format_.ForcePlusSign, V); }
void TReadout::SetEmpty(bool V) { Change(Empty_, V); }
void TReadout::SetOverflowIndicator(const QString& V) { Change(OverflowIndicator_, V); }
void TReadout::SetStateText(const QString& V) { Change(Format_.StateText, V); }
void TReadout::SetDTFormat(const QString& V) { Change(Format_.DTFormat, V); }
void TReadout::SetLeftText(const QString& V) { Change(LeftText_, V); }
void TReadout::SetRightText(const QString& V) { Change(RightText_, V); }
void TReadout::SetLeftTextAlignment(TAlignment V) { Change(LeftTextAlignment_, V); }
void TReadout::SetRightTextAlignment(TAlignment V) { Change(RightTextAlignment_, V); }
void TReadout::SetAlignment(TAlignment V) { Change(Alignment_, V); }
void TReadout::SetLeftSpace(int V) {
  if (V >= 0) Change(LeftSpace_, std::min(V, width()));
}
void TReadout::SetLabelWidth(int V) { Change(LabelWidth_, V); }
void TReadout::SetFrameStyle(TFrameStyle V) { Change(FrameStyle_, V); }
void TReadout::SetColorLabBakG(TColor V) { Change(ColorLabBakG_, V); }
void TReadout::SetColorLabText(TColor V) { Change(ColorLabText_, V); }
void TReadout::SetColorOutBakG(TColor V) { Change(ColorOutBakG_, V); }
void TReadout::SetColorOutText(TColor V) { Change(ColorOutText_, V); }

void TReadout::SetColorScheme(TColorScheme V) {
  StoreChanged(ColorScheme_, V, [this, V] {
    Frame_.Shadow = V == csSystem ? clBtnShadow : clGray;
    Frame_.Highlight = V == csSystem ? clBtnHighlight : clWhite;
    Repaint();
  });
}

void TReadout::Assign(const TReadout& S) {
  LeftSpace_ = S.LeftSpace_;
  Empty_ = S.Empty_;
  LabelWidth_ = S.LabelWidth_;
  Format_.Precision = S.Format_.Precision;
  LeftText_ = S.LeftText_;
  RightText_ = S.RightText_;
  FrameStyle_ = S.FrameStyle_;
  Alignment_ = S.Alignment_;
  RightTextAlignment_ = S.RightTextAlignment_;
  LeftTextAlignment_ = S.LeftTextAlignment_;
  OverflowIndicator_ = S.OverflowIndicator_;
  Value_ = S.Value_;
  Format_.StateText = S.Format_.StateText;
  ColorLabBakG_ = S.ColorLabBakG_;
  ColorLabText_ = S.ColorLabText_;
  ColorOutBakG_ = S.ColorOutBakG_;
  ColorOutText_ = S.ColorOutText_;
  Frame_ = S.Frame_;
  ColorScheme_ = S.ColorScheme_;
  Format_.DisplayType = S.Format_.DisplayType;
  Repaint();
}

void TReadout::paintEvent(QPaintEvent*) {
  if (Picture_.Width() != width() || Picture_.Height() != height() || PictureStale_) Paint();
  CopyToControl(this, Picture_.Image());
}

void TReadout::Loaded() {
  TComponentBase::Loaded();
  if (PictureStale_) Paint();
}

void TReadout::changeEvent(QEvent* Event) {
  if (Event->type() == QEvent::FontChange || Event->type() == QEvent::PaletteChange) PictureStale_ = true;
  QWidget::changeEvent(Event);
}

void TReadout::Paint() {
  // What changes while hidden shows when shown again; a window being loaded sets many
  // properties in a row, so its readouts draw once, when next asked to.
  if ((!VisibleProperty(this) && !HasState(csDesigning)) || HasState(csLoading)) {
    PictureStale_ = true;
    return;
  }
  PictureStale_ = false;
  Picture_.SetSize(width(), height());
  TCanvas* C = Picture_.Canvas();
  C->Font() = font();
  TextY_ = (height() - C->TextHeight(HeightSample)) / 2;
  C->Pen()->SetColor(ColorOutBakG_);
  C->Brush()->SetColor(ColorOutBakG_);
  C->Brush()->SetStyle(bsSolid);
  C->Rectangle(0, 0, width(), height());
  DrawSideTexts(C);
  DrawLabelFrame(C);
  const QString Shown = DisplayText_;
  if (Empty_) DisplayText_.clear();
  else DrawValue(C, ShownValue(C));
  if (DisplayText_ != Shown) AnnounceChange();
}

// The first change is told at once; changes within the interval after it are held back
// and only the last of them is told when it ends.
void TReadout::AnnounceChange() {
  if (AnnounceTimer_.isActive()) {
    AnnouncePending_ = true;
    return;
  }
  SendValueChange();
  AnnounceTimer_.start();
}

void TReadout::SendValueChange() {
  QAccessibleValueChangeEvent Event(this, DisplayText_);
  QAccessible::updateAccessibility(&Event);
  emit Announced(DisplayText_);
}

void TReadout::DrawSideTexts(TCanvas* C) {
  const int W = width(), L = LeftSpace_, LW = LabelWidth_;
  C->SetFontColor(ColorOutText_);
  const int LeftW = C->TextWidth(LeftText_);
  const int LeftX = LeftTextAlignment_ == taLeftJustify    ? 7
                    : LeftTextAlignment_ == taRightJustify ? L - LeftW - 5
                                                           : (L - LeftW) / 2;
  C->TextOut(LeftX, TextY_, LeftText_);
  const int RightW = C->TextWidth(RightText_);
  const int RightX = RightTextAlignment_ == taLeftJustify    ? L + LW + 7
                     : RightTextAlignment_ == taRightJustify ? W - RightW - 6
                                                             : (W - L - LW - RightW) / 2 + L + LW + 1;
  C->TextOut(RightX, TextY_, RightText_);
}

void TReadout::DrawLabelFrame(TCanvas* C) {
  const int H = height(), L = LeftSpace_, LW = LabelWidth_;
  C->Brush()->SetColor(ColorLabBakG_);
  if (FrameStyle_ == fsNone || FrameStyle_ == fsSimple) {
    C->Pen()->SetColor(FrameStyle_ == fsNone ? ColorLabBakG_ : Frame_.Shadow);
    C->Rectangle(L, 0, L + LW + 2, H);
    return;
  }
  struct TEdges {
    TColor Rect, TopLeft, BottomRight;
  };
  const TFrameColors& F = Frame_;
  const TEdges E = FrameStyle_ == fsLowered  ? TEdges{F.Shadow, F.Dark, F.Highlight}
                   : FrameStyle_ == fsRaised ? TEdges{F.Shadow, F.Highlight, F.Dark}
                   : FrameStyle_ == fsEmbossed ? TEdges{F.Highlight, F.Shadow, F.Shadow}
                                               : TEdges{F.Shadow, F.Highlight, F.Highlight};
  C->Pen()->SetColor(E.Rect);
  C->Rectangle(L, 0, L + LW + 2, H - 1);
  C->Pen()->SetColor(E.TopLeft);
  C->Polyline({{L + 1, H - 3}, {L + 1, 1}, {L + LW + 1, 1}});
  C->Pen()->SetColor(E.BottomRight);
  C->Polyline({{L + 1, H - 1}, {L + LW + 2, H - 1}, {L + LW + 2, 0}});
}

TReadout::TShownValue TReadout::ShownValue(TCanvas* C) {
  QString Text = FormatReadoutValue(Value_, Format_).value_or(OverflowIndicator_);
  if (OnBeforeDisplay) OnBeforeDisplay(this, Text);
  const int W = C->TextWidth(Text);
  if (W > LabelWidth_ - 6 && Format_.DisplayType != dtState)
    return {OverflowIndicator_, C->TextWidth(OverflowIndicator_)};
  return {Text, W};
}

QRect TReadout::ValueField() const {
  return QRect(QPoint(LeftSpace_ + 3, 2), QPoint(LeftSpace_ + LabelWidth_ - 2, height() - 4));
}

// The field is filled with its background first, so the text it held before goes.
void TReadout::DrawValue(TCanvas* C, const TShownValue& Shown) {
  const int L = LeftSpace_, LW = LabelWidth_, W = Shown.Width;
  const int X = Alignment_ == taLeftJustify ? L + 4 : Alignment_ == taRightJustify ? L + LW - W - 2 : L + 2 + (LW - W) / 2;
  C->Brush()->SetColor(ColorLabBakG_);
  C->SetFontColor(ColorLabText_);
  C->TextRect(ValueField(), X, TextY_, Shown.Text);
  DisplayText_ = Shown.Text;
}

void TReadout::mouseMoveEvent(QMouseEvent* Event) {
  const int X = Event->position().toPoint().x();
  MouseArea_ = X > LeftSpace_ + LabelWidth_ ? 2 : X > LeftSpace_ ? 1 : 0;
  if (OnMouseMove) OnMouseMove(this, Event->modifiers(), X, Event->position().toPoint().y());
  QWidget::mouseMoveEvent(Event);
}

void TReadout::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint()) && OnClick) OnClick(this);
  QWidget::mouseReleaseEvent(Event);
}
