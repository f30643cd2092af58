#include "toolkit/StdCtrls.h"

#include <QKeyEvent>

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
