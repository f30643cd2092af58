#include "app/TextFit.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "readout/KVR_Readout.h"

namespace {

// Wrapped labels break at spaces and keep their line feeds; others keep only line feeds.
bool LabelFits(const QLabel& Label) {
  const QFontMetrics M(Label.font());
  const int Flags = static_cast<int>(Label.alignment()) | (Label.wordWrap() ? Qt::TextWordWrap : 0);
  const QRect Needed = M.boundingRect(QRect(0, 0, Label.width(), 1 << 20), Flags, Label.text());
  return Needed.width() <= Label.width() && Needed.height() <= Label.height();
}

bool ButtonFits(const QPushButton& Button) { return Button.sizeHint().width() <= Button.width(); }

bool ReadoutCaptionFits(const TReadout& Readout) { return CaptionSpace(Readout) <= Readout.LeftSpace(); }

QString Finding(const QObject& Control, const QString& Text) {
  return Control.objectName() + QStringLiteral(": ") + Text;
}

}  // namespace

// The caption is drawn right-justified 5 pixels before the value's frame; 2 more keep it
// off the control's left edge.
int CaptionSpace(const TReadout& Readout) {
  return QFontMetrics(Readout.font()).horizontalAdvance(Readout.LeftText()) + 7;
}

QStringList ClippedTexts(const QWidget* Root) {
  QList<const QWidget*> Controls = {Root};
  for (const QWidget* Child : Root->findChildren<const QWidget*>()) Controls << Child;
  QStringList Clipped;
  for (const QWidget* Control : Controls) {
    if (const auto* Label = qobject_cast<const QLabel*>(Control); Label && !LabelFits(*Label))
      Clipped << Finding(*Label, Label->text());
    else if (const auto* Button = qobject_cast<const QPushButton*>(Control); Button && !ButtonFits(*Button))
      Clipped << Finding(*Button, Button->text());
    else if (const auto* Readout = qobject_cast<const TReadout*>(Control); Readout && !ReadoutCaptionFits(*Readout))
      Clipped << Finding(*Readout, Readout->LeftText());
  }
  return Clipped;
}
