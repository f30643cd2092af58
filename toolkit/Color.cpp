#include "toolkit/Color.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

struct TPaletteRole {
  QPalette::ColorGroup Group;
  QPalette::ColorRole Role;
};

// System colour index -> palette entry; indices without a close Qt counterpart fall
// back to the window background.
TPaletteRole PaletteRoleOf(int Index) {
  using P = QPalette;
  switch (Index) {
    case 2: case 13: return {P::Active, P::Highlight};
    case 5: return {P::Active, P::Base};
    case 6: case 21: return {P::Active, P::Shadow};
    case 7: return {P::Active, P::WindowText};
    case 8: return {P::Active, P::Text};
    case 9: case 14: return {P::Active, P::HighlightedText};
    case 15: return {P::Active, P::Button};
    case 16: return {P::Active, P::Dark};
    case 17: return {P::Disabled, P::Text};
    case 18: return {P::Active, P::ButtonText};
    case 20: return {P::Active, P::Light};
    case 22: return {P::Active, P::Midlight};
    case 23: return {P::Active, P::ToolTipText};
    case 24: return {P::Active, P::ToolTipBase};
    default: return {P::Active, P::Window};
  }
}

}  // namespace

TColor SystemColorToRGB(TColor Color) {
  const TPaletteRole Entry = PaletteRoleOf(Color & 0xFF);
  return FromQRgb(QGuiApplication::palette().color(Entry.Group, Entry.Role).rgb());
}
