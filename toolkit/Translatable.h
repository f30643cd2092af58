// The mark of an object whose published texts form translation reaches when another
// object holds it in a property (the settings of a chart's axis, say). Objects a window
// owns are reached through the ownership list and need no mark.
#pragma once

#include <QObject>

class TTranslatable {
public:
  virtual ~TTranslatable() = default;
};
Q_DECLARE_INTERFACE(TTranslatable, "swivel.TTranslatable")
