// What screen readers find in the toolkit's windows and controls, beyond Qt's own
// answers: a top-level window reads as a window with its title, and a scroll bar as a
// slider whose value is spoken in the unit its owner gives (degrees, say).
#pragma once

// Installs the toolkit's accessibility factory; called once by InitToolkit.
void InstallAccessibility();
