// A collection: an ordered list of owned items, each an object with published
// properties of its own (so that form translation can reach their texts).
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class TCollectionItem : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString DisplayName READ DisplayName WRITE SetDisplayName)

public:
  using QObject::QObject;
  QString DisplayName() const { return DisplayName_; }
  void SetDisplayName(const QString& Value) { DisplayName_ = Value; }

private:
  QString DisplayName_;
};

class TCollection : public QObject {
  Q_OBJECT

public:
  using QObject::QObject;
  int Count() const { return static_cast<int>(Items_.size()); }
  TCollectionItem* Items(int Index) const {
    return Index >= 0 && Index < Count() ? Items_[static_cast<size_t>(Index)].get() : nullptr;
  }
  TCollectionItem* Add() { return Items_.emplace_back(std::make_unique<TCollectionItem>()).get(); }
  void Clear() { Items_.clear(); }

private:
  std::vector<std::unique_ptr<TCollectionItem>> Items_;
};
