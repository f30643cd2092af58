#include "app/FrontDoor.h"

#include <QCoreApplication>

#include "companion/TesseraDemon_transport.h"

namespace {

constexpr int32_t KnockTag = 1;

// The transport puts every name in the user's private runtime folder and checks the
// peer's user, so only the same user's starts find the door.
const QString Address = QStringLiteral("swivel-front-door");

}  // namespace

TFrontDoor::TFrontDoor(std::function<void()> OnKnock, QObject* Parent)
    : QObject(Parent), Door_(std::make_unique<TMessageWindow>(Address, QCoreApplication::applicationName())) {
  Door_->OnBlock = [OnKnock = std::move(OnKnock)](const TBlock& Block) {
    if (Block.Tag == KnockTag) OnKnock();
  };
}

TFrontDoor::~TFrontDoor() = default;

bool TFrontDoor::Knock() {
  const THandle Running = TMessageWindow::FindWindow(Address, QCoreApplication::applicationName());
  return Running != 0 && TMessageWindow().Send(Running, KnockTag, {});
}
