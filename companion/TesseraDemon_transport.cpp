#include "companion/TesseraDemon_transport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

bool IsThisUser(int64_t Uid) { return Uid == static_cast<int64_t>(::geteuid()); }

// The socket address of a path; none when the path does not fit.
std::optional<sockaddr_un> SocketAddress(const QString& Path) {
  const QByteArray Name = QFile::encodeName(Path);
  sockaddr_un Address{};
  if (Name.isEmpty() || static_cast<size_t>(Name.size()) >= sizeof Address.sun_path) return std::nullopt;
  Address.sun_family = AF_UNIX;
  std::copy(Name.begin(), Name.end(), Address.sun_path);
  return Address;
}

int NewSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

// Appends what Descriptor holds now to Into; false once the peer has closed or the
// connection failed.
bool ReadAvailable(int Descriptor, QByteArray& Into) {
  char Chunk[65536];
  for (;;) {
    const ssize_t N = ::recv(Descriptor, Chunk, sizeof Chunk, 0);
    if (N > 0) Into.append(Chunk, N);
    else if (N < 0 && errno == EINTR) continue;
    else return N < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

// Writes what Descriptor takes now from the front of Bytes; false when the connection failed.
bool WriteAvailable(int Descriptor, QByteArray& Bytes) {
  while (!Bytes.isEmpty()) {
    const ssize_t N = ::send(Descriptor, Bytes.constData(), static_cast<size_t>(Bytes.size()), MSG_NOSIGNAL);
    if (N > 0) Bytes.remove(0, N);
    else if (N < 0 && errno == EINTR) continue;
    else return N < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
  return true;
}

// Waits for Descriptor to become readable (or writable, with Writing), at most Ms.
void PollFor(int Descriptor, bool Writing, int Ms) {
  pollfd Watch{Descriptor, static_cast<short>(POLLIN | (Writing ? POLLOUT : 0)), 0};
  ::poll(&Watch, 1, Ms);
}

// The calling end of a connection: connects, writes, and waits for the answer while the
// program goes on serving its own windows.
class TLink {
public:
  // Connected only when this user's process serves Address.
  explicit TLink(const QString& Address) {
    const auto Target = SocketAddress(Address);
    if (!Target || (Descriptor_ = NewSocket()) < 0) return;
    QElapsedTimer Since;
    Since.start();
    // A full backlog answers EAGAIN: the peer is busy, so try again within the bound.
    int Result;
    while ((Result = ::connect(Descriptor_, reinterpret_cast<const sockaddr*>(&*Target), sizeof *Target)) != 0 &&
           (errno == EAGAIN || errno == EINTR) && Since.elapsed() < SendTimeoutMs)
      PollFor(Descriptor_, true, 10);
    Connected_ = Result == 0 && IsThisUser(PeerUid(Descriptor_));
  }
  ~TLink() {
    if (Descriptor_ >= 0) ::close(Descriptor_);
  }
  TLink(const TLink&) = delete;
  TLink& operator=(const TLink&) = delete;

  bool Connected() const { return Connected_; }

  // Sends Bytes and waits until Count bytes have come back, serving everything but user
  // input meanwhile, at most SendTimeoutMs after Since started.
  bool Exchange(const QByteArray& Bytes, qint64 Count, const QElapsedTimer& Since) {
    Out_ += Bytes;
    for (;;) {
      if (!WriteAvailable(Descriptor_, Out_)) return false;
      const bool Open = ReadAvailable(Descriptor_, In_);
      if (In_.size() >= Count) return true;
      const qint64 Left = SendTimeoutMs - Since.elapsed();
      if (!Open || Left <= 0) return false;
      Wait(static_cast<int>(Left));
    }
  }

  // The first Count bytes received (Exchange made sure they are there).
  QByteArray Take(qint64 Count) {
    const QByteArray Front = In_.left(Count);
    In_.remove(0, Count);
    return Front;
  }

private:
  void Wait(int Ms) {
    QEventLoop Loop;
    QTimer::singleShot(Ms, &Loop, &QEventLoop::quit);
    QSocketNotifier Readable(static_cast<qintptr>(Descriptor_), QSocketNotifier::Read);
    QObject::connect(&Readable, &QSocketNotifier::activated, &Loop, &QEventLoop::quit);
    std::optional<QSocketNotifier> Writable;
    if (!Out_.isEmpty()) {
      Writable.emplace(static_cast<qintptr>(Descriptor_), QSocketNotifier::Write);
      QObject::connect(&*Writable, &QSocketNotifier::activated, &Loop, &QEventLoop::quit);
    }
    // Once the program is asked to end, no event loop runs any more: wait on this
    // connection alone.
    if (Loop.exec(QEventLoop::ExcludeUserInputEvents) < 0) PollFor(Descriptor_, !Out_.isEmpty(), Ms);
  }

  int Descriptor_ = -1;
  bool Connected_ = false;
  QByteArray Out_, In_;  // still to write, received and not yet taken
};

}  // namespace

// A listening socket at an address in the runtime folder; its file goes with it.
class TListener {
public:
  // Listens at Path, readable and writable by this user only; OnConnection gets every
  // accepted connection's descriptor.
  TListener(const QString& Path, std::function<void(int)> OnConnection) {
    const auto Address = SocketAddress(Path);
    if (!Address || (Descriptor_ = NewSocket()) < 0) return;
    const QByteArray Name = QFile::encodeName(Path);
    const bool Bound = ::bind(Descriptor_, reinterpret_cast<const sockaddr*>(&*Address), sizeof *Address) == 0;
    if (!Bound || ::chmod(Name.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(Descriptor_, SOMAXCONN) != 0) {
      if (Bound) ::unlink(Name.constData());
      ::close(Descriptor_);
      Descriptor_ = -1;
      return;
    }
    File_ = Name;
    Notifier_ = std::make_unique<QSocketNotifier>(static_cast<qintptr>(Descriptor_), QSocketNotifier::Read);
    QObject::connect(Notifier_.get(), &QSocketNotifier::activated, [this, OnConnection = std::move(OnConnection)] {
      int Accepted;
      while ((Accepted = ::accept4(Descriptor_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) OnConnection(Accepted);
    });
  }
  ~TListener() {
    Notifier_.reset();
    if (Descriptor_ < 0) return;
    ::close(Descriptor_);
    ::unlink(File_.constData());
  }
  TListener(const TListener&) = delete;
  TListener& operator=(const TListener&) = delete;

  bool Listening() const { return Descriptor_ >= 0; }

private:
  int Descriptor_ = -1;
  QByteArray File_;
  std::unique_ptr<QSocketNotifier> Notifier_;
};

// An accepted connection and the bytes received on it, not yet handled; it goes (later)
// once closed.
class TConnection : public QObject {
public:
  TConnection(int Descriptor, QObject* Parent)
      : QObject(Parent), Descriptor_(Descriptor), Notifier_(static_cast<qintptr>(Descriptor), QSocketNotifier::Read) {}
  ~TConnection() override { ::close(Descriptor_); }

  int Descriptor() const { return Descriptor_; }
  QSocketNotifier& Notifier() { return Notifier_; }
  QByteArray Buffer;
  // Reads what has come; false once the peer has closed.
  bool Read() { return ReadAvailable(Descriptor_, Buffer); }
  // Answers are small and their reader waits for them: a full socket is waited out
  // within the bound.
  void Write(QByteArray Bytes) {
    QElapsedTimer Since;
    Since.start();
    while (WriteAvailable(Descriptor_, Bytes) && !Bytes.isEmpty() && Since.elapsed() < SendTimeoutMs)
      PollFor(Descriptor_, true, 10);
  }
  // The peer sees the end at once; the object goes once the event loop is back.
  void Close() {
    Notifier_.setEnabled(false);
    ::shutdown(Descriptor_, SHUT_RDWR);
    deleteLater();
  }

private:
  int Descriptor_;
  QSocketNotifier Notifier_;
};

namespace {

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
  // A handle is a non-zero number whose address nobody serves yet.
  for (int Try = 0; Try < 100 && Handle_ == 0; ++Try) {
    const THandle H = QRandomGenerator::global()->bounded(1u, 0xFFFFFFFFu);
    if (Exists(H)) continue;
    ::unlink(QFile::encodeName(AddressOf(H)).constData());
    Server_ = std::make_unique<TListener>(AddressOf(H), [this](int Descriptor) { Serve(Descriptor); });
    if (Server_->Listening()) Handle_ = H;
  }
  if (FindName.isEmpty()) return;
  // A live window at the find name keeps it; the file of one that is gone is taken over.
  if (TLink(AddressOf(FindName)).Connected()) return;
  ::unlink(QFile::encodeName(AddressOf(FindName)).constData());
  FindServer_ = std::make_unique<TListener>(AddressOf(FindName), [this](int Descriptor) { Serve(Descriptor); });
}

TMessageWindow::~TMessageWindow() = default;

bool TMessageWindow::Listening() const {
  return Handle_ != 0 && (FindName_.isEmpty() || (FindServer_ && FindServer_->Listening()));
}

void TMessageWindow::Serve(int Descriptor) {
  auto* Connection = new TConnection(Descriptor, this);
  // Another user's process gets nothing, not even the caption.
  if (!IsThisUser(PeerUid(Descriptor))) {
    Connection->Close();
    return;
  }
  connect(&Connection->Notifier(), &QSocketNotifier::activated, this, [this, Connection] { Receive(Connection); });
  Receive(Connection);
}

// Handles every complete frame buffered on the connection; a frame that cannot be read
// ends the connection, and the sender sees no acknowledgement. No more is read from the
// connection while one of its blocks is handled.
void TMessageWindow::Receive(TConnection* Connection) {
  QPointer<TConnection> Guard(Connection);
  const bool Open = Connection->Read();
  QByteArray& Buffer = Connection->Buffer;
  while (!Buffer.isEmpty()) {
    if (Buffer[0] == FrameFind) {
      Buffer.remove(0, 1);
      const QByteArray Caption = Caption_.toUtf8();
      Connection->Write(Uint32(Handle_) + Uint32(static_cast<uint32_t>(Caption.size())) + Caption);
      continue;
    }
    if (Buffer[0] != FrameBlock) return Connection->Close();
    if (Buffer.size() < 13) break;  // more to come
    TBlock Block;
    Block.Tag = static_cast<int32_t>(ReadUint32(Buffer, 1));
    Block.Sender = ReadUint32(Buffer, 5);
    const qint64 Length = ReadUint32(Buffer, 9);
    if (Length > MaxBlockSize) return Connection->Close();
    if (Buffer.size() < 13 + Length) break;
    Block.Data = Buffer.mid(13, Length);
    Block.SenderUid = static_cast<uint32_t>(PeerUid(Connection->Descriptor()));
    Buffer.remove(0, 13 + Length);
    Connection->Notifier().setEnabled(false);
    if (OnBlock) OnBlock(Block);  // may send, and so serve this window, nested
    if (!Guard) return;
    Connection->Notifier().setEnabled(true);
    Connection->Write(QByteArray(1, Acknowledged));
  }
  if (!Open) Connection->Close();
}

bool TMessageWindow::Send(THandle Target, int32_t Tag, const QByteArray& Data) {
  if (Target == 0 || Data.size() > MaxBlockSize) return false;
  TLink Link(AddressOf(Target));
  if (!Link.Connected()) return false;
  QByteArray Frame(1, FrameBlock);
  Frame += Uint32(static_cast<uint32_t>(Tag)) + Uint32(Handle_) + Uint32(static_cast<uint32_t>(Data.size())) + Data;
  QElapsedTimer Since;
  Since.start();
  // Writing is done once the receiver acknowledges; its replies are served meanwhile.
  return Link.Exchange(Frame, 1, Since) && Link.Take(1) == QByteArray(1, Acknowledged);
}

THandle TMessageWindow::FindWindow(const QString& FindName, const QString& Caption) {
  TLink Link(AddressOf(FindName));
  if (!Link.Connected()) return 0;
  QElapsedTimer Since;
  Since.start();
  if (!Link.Exchange(QByteArray(1, FrameFind), 8, Since)) return 0;
  const QByteArray Head = Link.Take(8);
  const THandle H = ReadUint32(Head, 0);
  const auto Length = static_cast<qint64>(ReadUint32(Head, 4));
  if (Length > 4096 || !Link.Exchange({}, Length, Since)) return 0;
  return QString::fromUtf8(Link.Take(Length)) == Caption ? H : 0;
}

bool TMessageWindow::Exists(THandle Handle) { return Handle != 0 && TLink(AddressOf(Handle)).Connected(); }
