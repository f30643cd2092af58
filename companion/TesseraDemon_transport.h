// The message transport between programs of the family: every program's hidden window
// is a local socket server named after its 32-bit window handle. A synchronous send
// connects, writes the block and waits, serving its own window meanwhile, until the
// receiver has handled it, so replies arrive before the send returns.
#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <unordered_map>

class QLocalSocket;

// A bound on every wait for a peer: a hung or vanished peer delivers nothing.
constexpr int SendTimeoutMs = 3000;
// Blocks beyond this size are refused on both sides.
constexpr int64_t MaxBlockSize = 64 * 1024 * 1024;

using THandle = uint32_t;

// One received copy-data block: tag, extra argument and data.
struct TBlock {
  int32_t Tag = 0;
  THandle Sender = 0;
  QByteArray Data;
};

class TMessageWindow : public QObject {
  Q_OBJECT

public:
  // Listens at the address of a new unique handle; FindName, when given, is a second
  // address that answers a caption check (how a server window is found).
  TMessageWindow(const QString& FindName = QString(), const QString& Caption = QString());
  ~TMessageWindow() override;

  THandle Handle() const { return Handle_; }
  bool Listening() const { return Server_.isListening(); }

  // Sends a block to the window Target and waits until it is handled; false when
  // nothing was delivered.
  bool Send(THandle Target, int32_t Tag, const QByteArray& Data);

  std::function<void(const TBlock& Block)> OnBlock;

  static QString AddressOf(THandle Handle);
  // The handle of the window found by address and caption, or 0.
  static THandle FindWindow(const QString& FindName, const QString& Caption);
  // Whether a window with this handle exists.
  static bool Exists(THandle Handle);

private:
  void Serve(QLocalServer& Server);
  void Receive(QLocalSocket* Socket);

  THandle Handle_ = 0;
  QString Caption_;
  QLocalServer Server_, FindServer_;
  std::unordered_map<QLocalSocket*, QByteArray> Buffers_;  // bytes received, not yet handled
};
