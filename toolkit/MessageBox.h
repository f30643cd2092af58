// The modal information box with an OK button. Tests install a hook that captures the
// text instead of showing a box.
#pragma once

#include <QString>
#include <functional>

using TMessageBoxHook = std::function<void(const QString& Text)>;

void ShowInformation(const QString& Text);
// Installs Hook (an empty hook restores the real box); returns the previous one.
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook Hook);
