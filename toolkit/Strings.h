// A list of strings as an object of its own, so that form translation can reach it
// through an object-valued property and replace its lines one by one.
#pragma once

#include <QObject>
#include <QStringList>

#include "toolkit/Component.h"

class TStrings : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Text READ Text WRITE SetText)

public:
  explicit TStrings(QObject* Parent = nullptr) : QObject(Parent) {}

  int Count() const { return static_cast<int>(Lines_.size()); }
  QString Strings(int Index) const;  // empty outside the list
  void SetStrings(int Index, const QString& Value);  // ignored outside the list
  int Add(const QString& Value);
  void Clear();
  // All lines, each ended by a line break.
  QString Text() const;
  void SetText(const QString& Value);
  const QStringList& Lines() const { return Lines_; }

  TNotifyEvent OnChange;

private:
  void Changed();
  QStringList Lines_;
};
