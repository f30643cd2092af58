// Whether a control shows its whole text in its own font and size: the measure a
// translated caption has to pass. Pure measuring; nothing is drawn or changed.
#pragma once

#include <QStringList>

class QWidget;

// The texts under Root (Root included) that a control would clip, each as
// "ObjectName: text". Labels (one line, or wrapped within their height), push buttons
// (text beside their icon) and the caption left of a readout's value are measured.
QStringList ClippedTexts(const QWidget* Root);

class TReadout;
// The space left of the value that shows the readout's caption whole.
int CaptionSpace(const TReadout& Readout);
