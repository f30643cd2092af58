// A second start of the program brings the running one to the front: the running
// instance listens at a per-user address of its own, and a second start, which ends
// without a window, knocks there first. Built on the companion transport's public
// interface (TMessageWindow); the single-instance check itself stays the companion's.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

class TMessageWindow;

class TFrontDoor : public QObject {
  Q_OBJECT

public:
  // Listens for knocks and calls OnKnock for each.
  explicit TFrontDoor(std::function<void()> OnKnock, QObject* Parent = nullptr);
  ~TFrontDoor() override;

  // Asks the running instance to come to the front; false when none answered.
  static bool Knock();

private:
  std::unique_ptr<TMessageWindow> Door_;
};
