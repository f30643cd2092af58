// Standard controls where Qt's own behave differently from what the stored designs
// expect: a scroll bar with range checks and a change event that fires only on real
// change, and a read-only memo whose lines are a string-list object.
#pragma once

#include <QPlainTextEdit>
#include <QScrollBar>
#include <stdexcept>

#include "toolkit/Component.h"
#include "toolkit/Strings.h"

class EInvalidOperation : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class TScrollBar : public QScrollBar {
  Q_OBJECT

public:
  explicit TScrollBar(Qt::Orientation Orientation, QWidget* Parent = nullptr);

  int Min() const { return minimum(); }
  int Max() const { return maximum(); }
  int Position() const { return value(); }
  // Each clamps the position into the range; the change event fires only when the
  // position moves. A maximum below the minimum raises EInvalidOperation.
  void SetMin(int Value);
  void SetMax(int Value);
  void SetPosition(int Value);

  TNotifyEvent OnChange;

protected:
  // Arrows step by 1, Page Up/Down by a page, Home and End go to the ends.
  void keyPressEvent(QKeyEvent* Event) override;

private:
  void SetRangeChecked(int Min, int Max);
};

class TMemo : public QPlainTextEdit {
  Q_OBJECT
  Q_PROPERTY(TStrings* Lines READ Lines)

public:
  explicit TMemo(QWidget* Parent = nullptr);
  TStrings* Lines() const { return Lines_; }

private:
  TStrings* Lines_;
};
