#include "app/AboutBox.h"

TFrmAbout::TFrmAbout(QWidget* Parent) : QDialog(Parent) {
  setObjectName(QStringLiteral("FrmAbout"));
  setWindowTitle(QStringLiteral("GL_About"));
  setFixedSize(543, 332);
}
