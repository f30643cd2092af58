// Types shared by the visual controls.
#pragma once

#include <QObject>
#include <QWidget>
#include <cstdint>
#include <functional>

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

using TMouseMoveEvent = std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;

// The published Visible of a control: true unless it was hidden on purpose. A control
// whose window has not been shown yet (or lies on one that has not) still counts as
// visible and paints its off-screen pictures.
inline bool VisibleProperty(const QWidget* Control) {
  return !Control->isHidden() || !Control->testAttribute(Qt::WA_WState_ExplicitShowHide);
}
