// Where windows appear: fully on the available area of their screen (without the panels
// and docks of the desktop), moved but never resized.
#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

// The top-left corner of Frame moved the least so that Frame lies within Available; a
// frame wider or taller than the area keeps its left or top edge at the area's.
QPoint FitWithin(const QRect& Frame, const QRect& Available);
// Moves a window so that its frame lies on the available area of the screen it is on
// (the design position stays where it fits).
void KeepOnScreen(QWidget* Window);
// Moves a window so that its frame is centred on the available area of its screen (a
// dialog: of its owner's screen).
void CentreOnScreen(QWidget* Window);
