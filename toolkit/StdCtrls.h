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
  // The step of an arrow key, and of Page Up/Down, a click in the trough and a wheel notch.
  int SmallChange() const { return singleStep(); }
  void SetSmallChange(int Value) { setSingleStep(Value); }
  int LargeChange() const { return pageStep(); }
  void SetLargeChange(int Value) { setPageStep(Value); }

  // What a screen reader says for a position: Position x Scale with Decimals decimals,
  // followed by Unit ("135.0°" for tenths of a degree). Plain positions by default.
  void SetSpokenValue(double Scale, int Decimals, const QString& Unit);
  double SpokenScale() const { return SpokenScale_; }
  // The number read out, as precise as it is said: 102 tenths are 10.2, not the
  // 10.200000000000001 that 102 x 0.1 makes.
  double SpokenNumber(int Position) const;
  QString SpokenValue() const;

  TNotifyEvent OnChange;

protected:
  // Arrows step by SmallChange, Page Up/Down by LargeChange, Home and End go to the ends.
  void keyPressEvent(QKeyEvent* Event) override;
  // A wheel notch moves LargeChange, wheel up towards the minimum; smaller deltas (touch
  // pads) add up to notches.
  void wheelEvent(QWheelEvent* Event) override;

private:
  void SetRangeChecked(int Min, int Max);
  int WheelRest_ = 0;  // the part of a notch not yet applied
  double SpokenScale_ = 1;
  int SpokenDecimals_ = 0;
  QString SpokenUnit_;
};

class TMemo : public QPlainTextEdit {
  Q_OBJECT
  Q_PROPERTY(TStrings* Lines READ Lines)

public:
  explicit TMemo(QWidget* Parent = nullptr);
  TStrings* Lines() const { return Lines_; }

protected:
  bool event(QEvent* E) override;

private:
  TStrings* Lines_;
};
