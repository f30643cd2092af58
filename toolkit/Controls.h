// Types shared by the visual controls.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

using TMouseMoveEvent = std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;
