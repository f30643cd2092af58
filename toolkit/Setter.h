// The setter discipline of every published property: a setter normalises the value
// (clamps it, or refuses it before it gets here), then StoreChanged compares it with the
// stored one, stores it and runs the change hook (a notification, a recalibration, a
// repaint) only when they differ. Setting a property to the value it has does nothing.
#pragma once

#include <utility>

// Whether Value was new. A NaN never equals itself, so it always counts as a change.
template <class T, class THook>
bool StoreChanged(T& Field, const T& Value, THook&& Changed) {
  if (Field == Value) return false;
  Field = Value;
  std::forward<THook>(Changed)();
  return true;
}
