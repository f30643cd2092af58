// Who may talk to whom: the private runtime folder, user-only sockets, and the peer
// credentials both ends check. The two-user cases run a child process as "nobody" and
// need root; they are skipped otherwise.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <functional>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "companion/TesseraDemon.h"

namespace {

const QString ServerClass = QStringLiteral("ThisIsTheMentoraServerComponentWindowClass");
const QString ServerCaption = QStringLiteral("ThisIsTheMentoraServerComponentWindow");

struct passwd* Nobody() { return ::getpwnam("nobody"); }

bool CanRunAsNobody() { return ::geteuid() == 0 && Nobody() != nullptr; }

#define REQUIRE_SECOND_USER()                                                                   \
  if (!CanRunAsNobody()) GTEST_SKIP() << "needs root and a user \"nobody\" to act as another user"

mode_t ModeOf(const QString& Path) {
  struct stat Info {};
  return ::lstat(QFile::encodeName(Path).constData(), &Info) == 0 ? Info.st_mode : 0;
}

void SetMode(const QString& Path, mode_t Mode) { ASSERT_EQ(::chmod(QFile::encodeName(Path).constData(), Mode), 0); }

sockaddr_un SocketAddress(const QByteArray& Path) {
  sockaddr_un A{};
  A.sun_family = AF_UNIX;
  std::strncpy(A.sun_path, Path.constData(), sizeof A.sun_path - 1);
  return A;
}

// Another user's process: Body runs in a child as "nobody" (only system calls: the
// parent has threads), while this process goes on serving its windows.
class TOtherUser {
public:
  explicit TOtherUser(const std::function<int()>& Body) {
    const struct passwd* N = Nobody();
    const uid_t Uid = N->pw_uid;
    const gid_t Gid = N->pw_gid;
    Pid_ = ::fork();
    if (Pid_ != 0) return;
    if (::syscall(SYS_setgroups, 0, nullptr) != 0 || ::syscall(SYS_setresgid, Gid, Gid, Gid) != 0 ||
        ::syscall(SYS_setresuid, Uid, Uid, Uid) != 0)
      ::_exit(99);
    ::_exit(Body());
  }
  ~TOtherUser() {
    if (Pid_ <= 0 || Finished_) return;
    ::kill(Pid_, SIGKILL);
    ::waitpid(Pid_, nullptr, 0);
  }
  // The child's exit code once it ends (events are served meanwhile), -1 after 10 s.
  int Wait() {
    QElapsedTimer T;
    T.start();
    int Status = 0;
    while (T.elapsed() < 10000) {
      if (::waitpid(Pid_, &Status, WNOHANG) == Pid_) {
        Finished_ = true;
        return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
      }
      QTest::qWait(10);
    }
    return -1;
  }

private:
  pid_t Pid_ = -1;
  bool Finished_ = false;
};

// What a connection attempt of the child found.
enum : int { Refused = 10, Dropped = 11, Acknowledged = 12 };

// Connects to Path and sends one block frame; how the other end answered.
int ConnectAndSend(const QByteArray& Path, const QByteArray& Frame) {
  const int Fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const sockaddr_un A = SocketAddress(Path);
  if (::connect(Fd, reinterpret_cast<const sockaddr*>(&A), sizeof A) != 0) return Refused;
  // A hang-up that comes before the frame is written is a drop too, not a SIGPIPE.
  if (::send(Fd, Frame.constData(), static_cast<size_t>(Frame.size()), MSG_NOSIGNAL) != Frame.size()) return Dropped;
  pollfd P{Fd, POLLIN, 0};
  char Answer = 0;
  if (::poll(&P, 1, 5000) != 1 || ::read(Fd, &Answer, 1) != 1) return Dropped;
  return Answer == 'A' ? Acknowledged : Dropped;
}

QByteArray BlockFrame() {
  QByteArray Frame("B");
  Frame += QByteArray("\x0a\x10\x00\x00", 4) + QByteArray(4, '\0') + QByteArray("\x08\x00\x00\x00", 4);
  return Frame + QByteArray(8, '\0');  // a query-value block with its time stamp only
}

TEST(RuntimeFolder, IsThisUsersAloneAndSocketsAreUserOnly) {
  const QString Folder = RuntimeFolder();
  ASSERT_FALSE(Folder.isEmpty());
  EXPECT_TRUE(IsPrivateFolder(Folder));
  const mode_t Old = ::umask(0);
  TMessageWindow Window(ServerClass + QStringLiteral("x"), ServerCaption);
  ::umask(Old);
  ASSERT_TRUE(Window.Listening());
  const QString Address = TMessageWindow::AddressOf(Window.Handle());
  EXPECT_EQ(QFileInfo(Address).absolutePath(), Folder);
  EXPECT_EQ(ModeOf(Address) & 077, 0u);
  EXPECT_EQ(ModeOf(TMessageWindow::AddressOf(ServerClass + QStringLiteral("x"))) & 077, 0u);
}

TEST(RuntimeFolder, OnlyARealFolderOfThisUserClosedToOthersIsPrivate) {
  QTemporaryDir Dir;
  const QString Open = Dir.filePath("open"), Closed = Dir.filePath("closed"), Link = Dir.filePath("link");
  ASSERT_TRUE(QDir().mkdir(Open) && QDir().mkdir(Closed));
  SetMode(Open, 0755);
  SetMode(Closed, 0700);
  ASSERT_TRUE(QFile::link(Closed, Link));
  EXPECT_TRUE(IsPrivateFolder(Closed));
  EXPECT_FALSE(IsPrivateFolder(Open));
  EXPECT_FALSE(IsPrivateFolder(Link));
  EXPECT_FALSE(IsPrivateFolder(Dir.filePath("missing")));
  QFile Plain(Dir.filePath("file"));
  ASSERT_TRUE(Plain.open(QIODevice::WriteOnly));
  Plain.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  EXPECT_FALSE(IsPrivateFolder(Plain.fileName()));
}

TEST(OtherUsers, CannotReachAWindowEvenUnderUmaskZero) {
  REQUIRE_SECOND_USER();
  const mode_t Old = ::umask(0);
  TMessageWindow Window;
  ::umask(Old);
  int Blocks = 0;
  Window.OnBlock = [&](const TBlock&) { ++Blocks; };
  const QByteArray Path = QFile::encodeName(TMessageWindow::AddressOf(Window.Handle()));
  const QByteArray Frame = BlockFrame();
  TOtherUser Other([&] { return ConnectAndSend(Path, Frame); });
  EXPECT_EQ(Other.Wait(), Refused);
  EXPECT_EQ(Blocks, 0);
}

// Even where the folder and the socket were opened to everyone, the window hangs up on
// another user's process before reading a byte.
TEST(OtherUsers, AreHungUpOnByTheirCredentials) {
  REQUIRE_SECOND_USER();
  TMessageWindow Window;
  int Blocks = 0;
  Window.OnBlock = [&](const TBlock&) { ++Blocks; };
  const QString Address = TMessageWindow::AddressOf(Window.Handle());
  SetMode(RuntimeFolder(), 0777);
  SetMode(Address, 0777);
  const QByteArray Path = QFile::encodeName(Address), Frame = BlockFrame();
  TOtherUser Other([&] { return ConnectAndSend(Path, Frame); });
  const int Found = Other.Wait();
  SetMode(RuntimeFolder(), 0700);
  EXPECT_EQ(Found, Dropped);
  EXPECT_EQ(Blocks, 0);
  // This user's own sender still gets through.
  TMessageWindow Sender;
  EXPECT_TRUE(Sender.Send(Window.Handle(), mtQueryValue, QByteArray(8, '\0')));
  EXPECT_EQ(Blocks, 1);
}

// Another user's process serving the server's find name, caption and all: it is not
// taken for the server, and a client in server mode goes on in local mode.
int ServeAsImpostor(const QByteArray& Path, const QByteArray& Answer) {
  const int Fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const sockaddr_un A = SocketAddress(Path);
  if (::bind(Fd, reinterpret_cast<const sockaddr*>(&A), sizeof A) != 0 || ::listen(Fd, 8) != 0) return 1;
  for (int Served = 0; Served < 100; ++Served) {
    const int Peer = ::accept(Fd, nullptr, nullptr);
    char Kind = 0;
    if (Peer >= 0 && ::read(Peer, &Kind, 1) == 1 && Kind == 'F')
      [[maybe_unused]] const ssize_t W = ::write(Peer, Answer.constData(), static_cast<size_t>(Answer.size()));
    ::close(Peer);
  }
  return 0;
}

TEST(OtherUsers, CannotPoseAsTheServer) {
  REQUIRE_SECOND_USER();
  const QString Address = TMessageWindow::AddressOf(ServerClass);
  const QByteArray Caption = ServerCaption.toUtf8();
  QByteArray Answer("\x34\x12\x00\x00", 4);
  Answer += QByteArray(1, static_cast<char>(Caption.size())) + QByteArray(3, '\0') + Caption;
  SetMode(RuntimeFolder(), 0777);
  const QByteArray Path = QFile::encodeName(Address);
  TOtherUser Impostor([&] { return ServeAsImpostor(Path, Answer); });
  QElapsedTimer T;
  T.start();
  while (!QFileInfo::exists(Address) && T.elapsed() < 5000) QTest::qWait(10);
  SetMode(RuntimeFolder(), 0700);
  ASSERT_TRUE(QFileInfo::exists(Address));
  EXPECT_EQ(TMessageWindow::FindWindow(ServerClass, ServerCaption), 0u);
  TComponent Owner;
  auto* Client = new TtsrDemonClient(&Owner);
  Client->SetMultiStart(true);
  EXPECT_EQ(Client->ServerEntity->Handle, 0u);
  EXPECT_NO_THROW(Client->Loaded());
  EXPECT_FALSE(Client->UseTesseraServer());
  EXPECT_EQ(Client->GetText("Reset"), "Reset");
}

}  // namespace
