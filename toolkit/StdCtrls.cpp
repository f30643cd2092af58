#include "toolkit/StdCtrls.h"

#include <QKeyEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

TScrollBar::TScrollBar(Qt::Orientation Orientation, QWidget* Parent) : QScrollBar(Orientation, Parent) {
  setSingleStep(1);
  setPageStep(1);
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QScrollBar::valueChanged, this, [this] {
    if (OnChange) OnChange(this);
  });
}

void TScrollBar::keyPressEvent(QKeyEvent* Event) {
  switch (Event->key()) {
    case Qt::Key_Left: case Qt::Key_Up: SetPosition(Position() - singleStep()); break;
    case Qt::Key_Right: case Qt::Key_Down: SetPosition(Position() + singleStep()); break;
    case Qt::Key_PageUp: SetPosition(Position() - pageStep()); break;
    case Qt::Key_PageDown: SetPosition(Position() + pageStep()); break;
    case Qt::Key_Home: SetPosition(Min()); break;
    case Qt::Key_End: SetPosition(Max()); break;
    default: QScrollBar::keyPressEvent(Event); return;
  }
  Event->accept();
}

void TScrollBar::wheelEvent(QWheelEvent* Event) {
  const QPoint Delta = Event->angleDelta();
  const long long Total = WheelRest_ + static_cast<long long>(Delta.y() != 0 ? Delta.y() : Delta.x());
  const long long Notches = Total / QWheelEvent::DefaultDeltasPerStep;
  WheelRest_ = static_cast<int>(Total - Notches * QWheelEvent::DefaultDeltasPerStep);
  if (Notches != 0) SetPosition(static_cast<int>(std::clamp<long long>(Position() - Notches * pageStep(), Min(), Max())));
  Event->accept();
}

void TScrollBar::SetSpokenValue(double Scale, int Decimals, const QString& Unit) {
  if (!(Scale > 0) || !std::isfinite(Scale) || Decimals < 0) return;
  SpokenScale_ = Scale;
  SpokenDecimals_ = Decimals;
  SpokenUnit_ = Unit;
}

double TScrollBar::SpokenNumber(int Position) const {
  return QString::number(Position * SpokenScale_, 'f', SpokenDecimals_).toDouble();
}

QString TScrollBar::SpokenValue() const {
  return QString::number(SpokenNumber(Position()), 'f', SpokenDecimals_) + SpokenUnit_;
}

void TScrollBar::SetRangeChecked(int Min, int Max) {
  if (Max < Min) throw EInvalidOperation("Scrollbar property out of range");
  setRange(Min, Max);
}

void TScrollBar::SetMin(int Value) { SetRangeChecked(Value, maximum()); }
void TScrollBar::SetMax(int Value) { SetRangeChecked(minimum(), Value); }
void TScrollBar::SetPosition(int Value) { setValue(Value); }

TMemo::TMemo(QWidget* Parent) : QPlainTextEdit(Parent), Lines_(new TStrings(this)) {
  Lines_->OnChange = [this](QObject*) { setPlainText(Lines_->Lines().join(QLatin1Char('\n'))); };
}

// A read-only text does not claim the copy key by itself, so a window's own Copy would
// take it away from a reader who selected text here.
bool TMemo::event(QEvent* E) {
  if (E->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(E)->matches(QKeySequence::Copy) &&
      textCursor().hasSelection()) {
    E->accept();
    return true;
  }
  return QPlainTextEdit::event(E);
}
