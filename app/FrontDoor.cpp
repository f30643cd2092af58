#include "app/FrontDoor.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "companion/TesseraDemon_transport.h"

namespace {

constexpr int32_t KnockTag = 1;

// In the user's own runtime folder, so that only the same user's starts find it.
QString Address() {
  QString Folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (Folder.isEmpty()) Folder = QDir::tempPath();
  return Folder + QStringLiteral("/swivel-front-door");
}

}  // namespace

TFrontDoor::TFrontDoor(std::function<void()> OnKnock, QObject* Parent)
    : QObject(Parent), Door_(std::make_unique<TMessageWindow>(Address(), QCoreApplication::applicationName())) {
  Door_->OnBlock = [OnKnock = std::move(OnKnock)](const TBlock& Block) {
    if (Block.Tag == KnockTag) OnKnock();
  };
}

TFrontDoor::~TFrontDoor() = default;

bool TFrontDoor::Knock() {
  const THandle Running = TMessageWindow::FindWindow(Address(), QCoreApplication::applicationName());
  return Running != 0 && TMessageWindow().Send(Running, KnockTag, {});
}
