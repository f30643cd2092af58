// Start-up of the toolkit layer for the program and the tests.
#pragma once

// Maps the font families of the stored designs to installed ones and sets the
// application's name, and installs the toolkit's accessibility. Call once after the QApplication exists.
void InitToolkit();
// Whether a window can be shown: a display server is named, or Qt is told a platform.
bool DisplayAvailable();
