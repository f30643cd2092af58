// The component model: an owner that keeps its components in creation order, a name,
// a tag and the loading/designing/destroying state. Non-visual components are
// TComponent (a QObject whose parent is the owner); visual controls are QWidgets that
// carry the same state by deriving from TComponentBase as well.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

enum TComponentStateFlag : uint8_t { csLoading = 1, csDesigning = 2, csDestroying = 4 };
using TComponentState = uint8_t;  // a set of TComponentStateFlag

using TNotifyEvent = std::function<void(QObject* Sender)>;

class TComponentBase {
public:
  TComponentBase() = default;
  TComponentBase(const TComponentBase&) = delete;
  TComponentBase& operator=(const TComponentBase&) = delete;
  virtual ~TComponentBase() = default;

  TComponentState ComponentState() const { return State_; }
  bool HasState(TComponentStateFlag Flag) const { return (State_ & Flag) != 0; }
  void Include(TComponentStateFlag Flag) { State_ |= Flag; }
  void Exclude(TComponentStateFlag Flag) { State_ &= ~Flag; }

  // Sent once the stored design of the owning window has been applied.
  virtual void Loaded() { Exclude(csLoading); }

  // The components this one owns, in creation order (destroyed ones drop out).
  int ComponentCount() const;
  QObject* Components(int Index) const;
  // Registers Component as owned; it inherits the owner's loading state.
  void InsertComponent(QObject* Component);

  // Sends Loaded() to every owned component in creation order, then to the owner.
  void NotifyLoaded();

private:
  void Prune() const;
  TComponentState State_ = 0;
  mutable std::vector<QPointer<QObject>> Components_;
};

TComponentBase* AsComponent(QObject* Object);

class TComponent : public QObject, public TComponentBase {
  Q_OBJECT
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
  explicit TComponent(QObject* Owner = nullptr);
  ~TComponent() override;

  QObject* Owner() const { return parent(); }
  QString Name() const { return objectName(); }
  void SetName(const QString& Value) { setObjectName(Value); }
  int Tag() const { return Tag_; }
  void SetTag(int Value) { Tag_ = Value; }

private:
  int Tag_ = 0;
};
