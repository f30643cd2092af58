// The text a readout shows for a value: 13 display formats, the decimal separator and
// the plus sign. A pure function; an empty result means the value cannot be shown.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

enum TDisplay : uint8_t {
  dtFloat, dtFixP, dtExp, dtHex, dtZeroInt, dtInt, dtDateTime, dtState, dtBin, dtOct, dtDeg, dtDegMin, dtDegMinSec
};

struct TReadoutFormat {
  TDisplay DisplayType = dtFixP;
  int Precision = 2;
  bool Comma = false;
  bool ForcePlusSign = false;
  QString StateText = QStringLiteral("undefined");
  QString DTFormat = QStringLiteral("mmm-dd, yyyy");
};

// Nothing when the value is out of the format's range (the overflow indicator shows).
std::optional<QString> FormatReadoutValue(double Value, const TReadoutFormat& Format);
