// The settings an axis has wherever it is kept, held once: a stand-alone scale (TScale)
// and the chart's axis properties (TScaleProps) both inherit them, copy them whole in
// Assign, and the chart hands a property object's settings to its scale in one step.
// The fields carry the member style of the classes that inherit them.
#pragma once

#include <QString>

#include "kvrbase/KVR_kvrbase.h"

enum TScaleUnitAnchor : uint8_t { uaSclTopLft, uaSclCenter, uaSclBotRgt };

struct TScaleSettings {
  TScaleType ScaleType_ = sctXB;
  double RangeLow_ = 0, RangeHigh_ = 1;
  bool Logarithmic_ = false;
  TFigType LabelType_ = ftNum;
  int DecPlaces_ = -2, MinTicks_ = 3;
  bool ShortTicks_ = true, DecimalComma_ = false;
  QString Caption_, ScaleInscript_, UserTickText_;
  int CaptionPosX_ = 0, CaptionPosY_ = 0;
  TAlignment CaptionAlignment_ = taCenter;
  TScaleUnitAnchor CaptionAnchor_ = uaSclTopLft;
  TColor ColorScale_ = clBlack;
  bool Visible_ = false;

  bool operator==(const TScaleSettings&) const = default;

  // A logarithmic axis needs positive ends and cannot show calendar values. Whoever
  // applies a stored design accepts Logarithmic := true whatever the range.
  bool LogarithmicAllowed() const { return RangeLow_ >= 1e-100 && RangeHigh_ >= 1e-100 && LabelType_ != ftDateTime; }
  // A new label type with what it implies: calendar values are never logarithmic, and
  // times get four decimals.
  void TakeLabelType(TFigType V) {
    LabelType_ = V;
    if (V == ftDateTime) Logarithmic_ = false;
    if (V == ftTime) DecPlaces_ = 4;
  }
};
