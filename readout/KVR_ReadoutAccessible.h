// What a screen reader finds in a readout: a labelled value (the side texts as its name,
// the text shown as its value), focusable, announcing changes of the shown text.
#pragma once

class QObject;
class QAccessibleInterface;
class QString;

// The accessibility factory for readouts; installed once by the first readout.
QAccessibleInterface* ReadoutAccessibleFactory(const QString& ClassName, QObject* Object);
