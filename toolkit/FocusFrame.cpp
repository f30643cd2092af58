#include "toolkit/FocusFrame.h"

#include <QApplication>
#include <QPainter>

TFocusFrame::TFocusFrame(QWidget* Window) : QFocusFrame(Window), Window_(Window) {
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* Now) { Follow(Now); });
}

// A frame is drawn only around a control of this frame's window, so that each window
// keeps its own.
void TFocusFrame::Follow(QWidget* Now) {
  setWidget(Now && Now != Window_ && Now->window() == Window_ ? Now : nullptr);
}

// The frame fills the ring between the control and the frame's own edge (the style's
// focus-frame margin, which Qt keeps free of the control).
void TFocusFrame::paintEvent(QPaintEvent*) {
  if (!widget()) return;
  const QRect Control(widget()->mapTo(parentWidget(), QPoint(0, 0)) - pos(), widget()->size());
  QPainter P(this);
  for (const QRect& R : QRegion(rect()) - QRegion(Control)) P.fillRect(R, palette().color(QPalette::Highlight));
}
