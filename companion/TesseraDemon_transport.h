// The message transport between programs of the family: every program's hidden window
// is a local socket server named after its 32-bit window handle. A synchronous send
// connects, writes the block and waits, serving its own window meanwhile, until the
// receiver has handled it, so replies arrive before the send returns.
// Only programs of one user talk to each other: the sockets live in that user's private
// runtime folder, and both ends of every connection check the other's credentials.
// Plain sockets watched by the event loop: the link needs no network library, which
// would cost every start of the program its loading.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class TListener;
class TConnection;

// A bound on every wait for a peer: a hung or vanished peer delivers nothing.
constexpr int SendTimeoutMs = 3000;
// Blocks beyond this size are refused on both sides.
constexpr int64_t MaxBlockSize = 64 * 1024 * 1024;

using THandle = uint32_t;

// One received copy-data block: tag, extra argument and data, and the user id of the
// process that sent it (all ones when unknown).
struct TBlock {
  int32_t Tag = 0;
  THandle Sender = 0;
  QByteArray Data;
  uint32_t SenderUid = UINT32_MAX;
};

// The folder of this user's sockets and lock files: $XDG_RUNTIME_DIR when it is a folder
// of this user closed to everyone else, otherwise "swivel-<uid>" in the temporary folder,
// created with mode 0700 and verified the same way (owner, mode, not a symbolic link).
// Empty when neither can be used. Decided once per process.
QString RuntimeFolder();
// Whether Path is a real folder owned by this user that no one else may enter or change.
bool IsPrivateFolder(const QString& Path);
// The user id of the process at the other end of a connected local socket, or -1.
int64_t PeerUid(qintptr Descriptor);

class TMessageWindow : public QObject {
  Q_OBJECT

public:
  // Listens at the address of a new unique handle; FindName, when given, is a second
  // address that answers a caption check (how a server window is found).
  TMessageWindow(const QString& FindName = QString(), const QString& Caption = QString());
  ~TMessageWindow() override;

  THandle Handle() const { return Handle_; }
  // Whether the window listens at its handle and, when it has one, at its find name (a
  // find name that a live window of this user serves already is not taken over).
  bool Listening() const;

  // Sends a block to the window Target and waits until it is handled; false when
  // nothing was delivered.
  bool Send(THandle Target, int32_t Tag, const QByteArray& Data);

  std::function<void(const TBlock& Block)> OnBlock;

  // The socket path of a handle or a find name in the runtime folder (empty without one).
  static QString AddressOf(THandle Handle);
  static QString AddressOf(const QString& Name);
  // The handle of the window found by address and caption, or 0.
  static THandle FindWindow(const QString& FindName, const QString& Caption);
  // Whether a window with this handle exists.
  static bool Exists(THandle Handle);

private:
  void Serve(int Descriptor);
  void Receive(TConnection* Connection);

  THandle Handle_ = 0;
  QString FindName_, Caption_;
  std::unique_ptr<TListener> Server_, FindServer_;
};
