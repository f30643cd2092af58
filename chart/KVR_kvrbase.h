// The base unit of the component library: the enumerations several controls share, the
// exception base, the data-mark shapes (DrawMark) and the bevelled frame (DrawFrame).
#pragma once

#include <cstdint>
#include <stdexcept>

#include "toolkit/Canvas.h"

enum TFrameStyle : uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
enum TColorScheme : uint8_t { csBWG, csSystem };
enum TFigType : uint8_t { ftNoFigs, ftNum, ftTime, ftDateTime, ftUserText };
enum TScaleType : uint8_t { sctXB, sctXT, sctYL, sctYR };
enum TCrossHMode : uint8_t { chOff, chHoriz, chVert, chBoth };
enum TTimeFormat : uint8_t { tfHHMMSS, tfHHhMM, tfAMPM };
enum TYearLength : uint8_t { ylNone, ylYY, ylYYYY };
enum TDateOrder : uint8_t { doMMDDYY, doDDMMYY, doYYMMDD };
enum TDateForTime : uint8_t { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };
enum TTxtLblAttachMode : uint8_t { tlamNone, tlamXOnly, tlamYOnly, tlamBoth };
enum TTxtLblMode : uint8_t { tlOff, tlsimple, tlBox, tlUnderline, tlShadow };
enum TVerticalAlignment : uint8_t { vaTop, vaCenter, vaBottom };

class EKVRError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Draws the data mark MarkType centred on (X, Y) with the canvas's pen: types 0..47 are
// shapes, 48..255 the character of that code. Eight pattern shapes are stamped on the
// screen and drawn as lines on a printer canvas.
void DrawMark(TCanvas* Canvas, uint8_t MarkType, int X, int Y);

// The frame colours of a bevelled frame; silver is fixed.
struct TFrameColors {
  TColor Dark = clBlack;
  TColor Shadow = clGray;
  TColor Highlight = clWhite;
};

// Draws a frame of Style on the inclusive rectangle Left..Right, Top..Bottom with a
// 1-pixel solid pen; the pen is restored afterwards.
void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
               const TFrameColors& Colors);
