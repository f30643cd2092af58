#include "toolkit/Placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace {

QScreen* ScreenOf(const QWidget* Window) {
  QScreen* S = QGuiApplication::screenAt(Window->geometry().center());
  return S ? S : Window->screen();
}

// The frame a window has or, before the window manager has framed it, will have: a
// title bar and borders as wide as the style's own window frames.
QRect FrameOf(const QWidget* Window) {
  const QRect Frame = Window->frameGeometry();
  if (Frame.size() != Window->size()) return Frame;
  const int Border = Window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
  const int Title = Window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
  return {Window->pos(), Window->size() + QSize(2 * Border, Title + 2 * Border)};
}

}  // namespace

QPoint FitWithin(const QRect& Frame, const QRect& Available) {
  const int X = std::max(Available.left(), std::min(Frame.left(), Available.left() + Available.width() - Frame.width()));
  const int Y = std::max(Available.top(), std::min(Frame.top(), Available.top() + Available.height() - Frame.height()));
  return {X, Y};
}

void KeepOnScreen(QWidget* Window) {
  Window->move(FitWithin(FrameOf(Window), ScreenOf(Window)->availableGeometry()));
}

void CentreOnScreen(QWidget* Window) {
  // A dialog not yet shown has no position of its own: it opens on its owner's screen.
  const QWidget* Owner = Window->parentWidget() ? Window->parentWidget()->window() : Window;
  const QRect Available = ScreenOf(Owner)->availableGeometry();
  QRect Frame = FrameOf(Window);
  Frame.moveCenter(Available.center());
  Window->move(FitWithin(Frame, Available));
}
