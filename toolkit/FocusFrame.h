// A visible keyboard focus for every control of a window, whatever the platform style
// draws: a frame in the palette's highlight colour just around the focused control.
#pragma once

#include <QFocusFrame>

class TFocusFrame : public QFocusFrame {
  Q_OBJECT

public:
  // Follows the focus among the controls of Window; owned by Window.
  explicit TFocusFrame(QWidget* Window);

protected:
  void paintEvent(QPaintEvent* Event) override;

private:
  void Follow(QWidget* Now);
  QWidget* Window_;
};
