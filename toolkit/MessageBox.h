// The desktop services the components use: the modal message box with an OK button (for
// information, or with the warning sign for a failure) and opening an address. Tests
// install hooks that capture the text instead.
#pragma once

#include <QString>
#include <functional>

using TMessageBoxHook = std::function<void(const QString& Text)>;

void ShowInformation(const QString& Text);
void ShowWarning(const QString& Text);
// Installs Hook (an empty hook restores the real box); returns the previous one.
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook Hook);

// Hands an address to the desktop's default handler ("open"). Tests install a hook that
// captures the address instead; an empty hook restores the desktop. The result is not
// examined: a failure is ignored.
using TOpenAddressHook = std::function<void(const QString& Address)>;
void OpenAddress(const QString& Address);
TOpenAddressHook SetOpenAddressHook(TOpenAddressHook Hook);
