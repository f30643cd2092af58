// The about box: the program's name, version and description, and two web links.
#pragma once

#include <QDialog>

#include "toolkit/Component.h"

class TFrmAbout : public QDialog, public TComponentBase {
  Q_OBJECT

public:
  explicit TFrmAbout(QWidget* Parent = nullptr);
};
