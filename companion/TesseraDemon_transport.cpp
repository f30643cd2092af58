#include "companion/TesseraDemon_transport.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocalSocket>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Frames on a connection: a kind byte, then for a block the tag, the sender handle,
// the data length and the data (answered by one byte once handled), for a caption
// check nothing (answered by the handle and the caption).
enum : char { FrameBlock = 'B', FrameFind = 'F' };
constexpr char Acknowledged = 'A';
const QString WindowPrefix = QStringLiteral("MentoraWindow-");

QByteArray Uint32(uint32_t V) {
  QByteArray B(4, '\0');
  for (int I = 0; I < 4; ++I) B[I] = static_cast<char>((V >> (8 * I)) & 0xFF);
  return B;
}

uint32_t ReadUint32(const QByteArray& B, qsizetype At) {
  uint32_t V = 0;
  for (int I = 3; I >= 0; --I) V = (V << 8) | static_cast<uint8_t>(B[At + I]);
  return V;
}

// Waits for Bytes bytes on Socket, serving everything but user input meanwhile, at most
// SendTimeoutMs in all.
bool WaitForBytes(QLocalSocket& Socket, qint64 Bytes, const QElapsedTimer& Since) {
  while (Socket.bytesAvailable() < Bytes) {
    if (Socket.state() != QLocalSocket::ConnectedState && Socket.bytesAvailable() < Bytes) return false;
    const qint64 Left = SendTimeoutMs - Since.elapsed();
    if (Left <= 0) return false;
    QEventLoop Loop;
    QTimer::singleShot(Left, &Loop, &QEventLoop::quit);
    QObject::connect(&Socket, &QLocalSocket::readyRead, &Loop, &QEventLoop::quit);
    QObject::connect(&Socket, &QLocalSocket::disconnected, &Loop, &QEventLoop::quit);
    // Once the program is asked to end, no event loop runs any more: wait on this
    // socket alone.
    if (Loop.exec(QEventLoop::ExcludeUserInputEvents) < 0) Socket.waitForReadyRead(static_cast<int>(Left));
  }
  return true;
}

bool IsThisUser(int64_t Uid) { return Uid == static_cast<int64_t>(::geteuid()); }

// Connects to Address and keeps the connection only when this user's process serves it.
bool Connect(QLocalSocket& Socket, const QString& Address) {
  if (Address.isEmpty()) return false;
  Socket.connectToServer(Address);
  if (!Socket.waitForConnected(SendTimeoutMs)) return false;
  if (IsThisUser(PeerUid(Socket.socketDescriptor()))) return true;
  Socket.abort();
  return false;
}

QString FindRuntimeFolder() {
  const QString Xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!Xdg.isEmpty() && IsPrivateFolder(Xdg)) return Xdg;
  const QString Own = QDir::tempPath() + QStringLiteral("/swivel-%1").arg(::geteuid());
  ::mkdir(QFile::encodeName(Own).constData(), 0700);  // it may exist: checked next
  if (IsPrivateFolder(Own)) return Own;
  qWarning("No private runtime folder (%s is not this user's alone): the program runs without the companion link "
           "and without the single-instance check.",
           qPrintable(Own));
  return {};
}

}  // namespace

bool IsPrivateFolder(const QString& Path) {
  struct stat Info {};
  if (::lstat(QFile::encodeName(Path).constData(), &Info) != 0) return false;
  return S_ISDIR(Info.st_mode) && Info.st_uid == ::geteuid() && (Info.st_mode & 077) == 0;
}

QString RuntimeFolder() {
  static const QString Folder = FindRuntimeFolder();
  return Folder;
}

int64_t PeerUid(qintptr Descriptor) {
  struct ucred Peer {};
  socklen_t Size = sizeof Peer;
  if (Descriptor < 0 || ::getsockopt(static_cast<int>(Descriptor), SOL_SOCKET, SO_PEERCRED, &Peer, &Size) != 0) return -1;
  return Peer.uid;
}

QString TMessageWindow::AddressOf(THandle Handle) {
  return AddressOf(WindowPrefix + QStringLiteral("%1").arg(Handle, 8, 16, QLatin1Char('0')).toUpper());
}

QString TMessageWindow::AddressOf(const QString& Name) {
  const QString Folder = RuntimeFolder();
  return Folder.isEmpty() ? QString() : Folder + QLatin1Char('/') + Name;
}

TMessageWindow::TMessageWindow(const QString& FindName, const QString& Caption)
    : FindName_(FindName), Caption_(Caption) {
  if (RuntimeFolder().isEmpty()) return;
  Server_.setSocketOptions(QLocalServer::UserAccessOption);
  FindServer_.setSocketOptions(QLocalServer::UserAccessOption);
  // A handle is a non-zero number whose address nobody serves yet.
  for (int Try = 0; Try < 100 && !Server_.isListening(); ++Try) {
    const THandle H = QRandomGenerator::global()->bounded(1u, 0xFFFFFFFFu);
    if (Exists(H)) continue;
    QLocalServer::removeServer(AddressOf(H));
    if (Server_.listen(AddressOf(H))) Handle_ = H;
  }
  connect(&Server_, &QLocalServer::newConnection, this, [this] { Serve(Server_); });
  if (FindName.isEmpty()) return;
  // A live window at the find name keeps it; the file of one that is gone is taken over.
  QLocalSocket Live;
  if (Connect(Live, AddressOf(FindName))) return;
  QLocalServer::removeServer(AddressOf(FindName));
  FindServer_.listen(AddressOf(FindName));
  connect(&FindServer_, &QLocalServer::newConnection, this, [this] { Serve(FindServer_); });
}

TMessageWindow::~TMessageWindow() = default;

void TMessageWindow::Serve(QLocalServer& Server) {
  while (QLocalSocket* Socket = Server.nextPendingConnection()) {
    // Another user's process gets nothing, not even the caption.
    if (!IsThisUser(PeerUid(Socket->socketDescriptor()))) {
      Socket->abort();
      Socket->deleteLater();
      continue;
    }
    connect(Socket, &QLocalSocket::readyRead, this, [this, Socket] { Receive(Socket); });
    connect(Socket, &QLocalSocket::disconnected, Socket, &QObject::deleteLater);
    connect(Socket, &QObject::destroyed, this, [this, Socket] { Buffers_.erase(Socket); });
    if (Socket->bytesAvailable() > 0) Receive(Socket);
  }
}

// Handles every complete frame buffered on Socket; a frame that cannot be read ends the
// connection, and the sender sees no acknowledgement.
void TMessageWindow::Receive(QLocalSocket* Socket) {
  QPointer<QLocalSocket> Guard(Socket);
  QByteArray& Buffer = Buffers_[Socket];
  Buffer += Socket->readAll();
  while (!Buffer.isEmpty()) {
    if (Buffer[0] == FrameFind) {
      Buffer.remove(0, 1);
      const QByteArray Caption = Caption_.toUtf8();
      Socket->write(Uint32(Handle_) + Uint32(static_cast<uint32_t>(Caption.size())) + Caption);
      continue;
    }
    if (Buffer[0] != FrameBlock) break;
    if (Buffer.size() < 13) return;  // more to come
    TBlock Block;
    Block.Tag = static_cast<int32_t>(ReadUint32(Buffer, 1));
    Block.Sender = ReadUint32(Buffer, 5);
    const qint64 Length = ReadUint32(Buffer, 9);
    if (Length > MaxBlockSize) break;
    if (Buffer.size() < 13 + Length) return;
    Block.Data = Buffer.mid(13, Length);
    Block.SenderUid = static_cast<uint32_t>(PeerUid(Socket->socketDescriptor()));
    Buffer.remove(0, 13 + Length);
    if (OnBlock) OnBlock(Block);  // may send, and so serve this window, nested
    if (!Guard) return;
    Socket->write(QByteArray(1, Acknowledged));
    Socket->flush();
  }
  if (!Buffer.isEmpty()) {
    Buffers_.erase(Socket);
    Socket->abort();
  }
}

bool TMessageWindow::Send(THandle Target, int32_t Tag, const QByteArray& Data) {
  if (Target == 0 || Data.size() > MaxBlockSize) return false;
  QLocalSocket Socket;
  if (!Connect(Socket, AddressOf(Target))) return false;
  QByteArray Frame(1, FrameBlock);
  Frame += Uint32(static_cast<uint32_t>(Tag)) + Uint32(Handle_) + Uint32(static_cast<uint32_t>(Data.size())) + Data;
  Socket.write(Frame);
  QElapsedTimer Since;
  Since.start();
  // Writing is done once the receiver acknowledges; its replies are served meanwhile.
  const bool Done = WaitForBytes(Socket, 1, Since) && Socket.read(1) == QByteArray(1, Acknowledged);
  Socket.disconnectFromServer();
  return Done;
}

THandle TMessageWindow::FindWindow(const QString& FindName, const QString& Caption) {
  QLocalSocket Socket;
  if (!Connect(Socket, AddressOf(FindName))) return 0;
  Socket.write(QByteArray(1, FrameFind));
  QElapsedTimer Since;
  Since.start();
  if (!WaitForBytes(Socket, 8, Since)) return 0;
  const QByteArray Head = Socket.read(8);
  const THandle H = ReadUint32(Head, 0);
  const auto Length = static_cast<qint64>(ReadUint32(Head, 4));
  if (Length > 4096 || !WaitForBytes(Socket, Length, Since)) return 0;
  return QString::fromUtf8(Socket.read(Length)) == Caption ? H : 0;
}

bool TMessageWindow::Exists(THandle Handle) {
  if (Handle == 0) return false;
  QLocalSocket Socket;
  const bool Up = Connect(Socket, AddressOf(Handle));
  Socket.abort();
  return Up;
}
