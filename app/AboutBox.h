// The about box: the program's name, version and description in English or German, and
// two web links that highlight while hovered.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "toolkit/Component.h"

// A label that reports clicks and mouse moves, as the about box's links need; Enter and
// Space on a focused link count as a click.
class TLinkLabel : public QLabel {
  Q_OBJECT

public:
  using QLabel::QLabel;
  TNotifyEvent OnClick;
  TNotifyEvent OnMouseMove;

protected:
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
};

class TFrmAbout : public QDialog, public TComponentBase {
  Q_OBJECT

public:
  explicit TFrmAbout(QWidget* Parent = nullptr);

  QLabel* LblDescription;
  QFrame* Panel1;
  QLabel* LblName;
  QLabel* LblVersion;
  QLabel* LblAuthor;
  QLabel* LblCopyright;
  QFrame* Panel2;
  QLabel* LblWebSite;
  TLinkLabel* LblHomePage;
  TLinkLabel* LblSimus;
  QPushButton* BButOK;

  QString HomePage;  // the home-page address, set by the main window at start-up
  static const QString SimulationsPage;
  static const QString EnglishDescription, GermanDescription;

  // The texts of the about-box step: English, or German for the language "lggerman".
  void SetLanguage(const QString& Language);
  void LblHomePageClick();
  void LblSimusClick();
  // Link colours: red over a link, blue again over the panel around them.
  void LblHomePageMouseMove();
  void LblSimusMouseMove();
  void Panel2MouseMove();

protected:
  void showEvent(QShowEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  void Open(const QString& Address);
};
