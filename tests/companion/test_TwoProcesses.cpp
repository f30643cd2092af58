// Two programs for real: single instance, parameters handed over through the server,
// the server's quit message, a crashed first instance, one server per suffix, orderly
// ends on signals and during start-up, and folders or locks another user prepared.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <cstring>
#include <functional>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "companion/TesseraDemon.h"

namespace {

// A process whose output lines can be awaited.
struct TProcess {
  QProcess P;
  explicit TProcess(const QString& Program, const QStringList& Args,
                    const QProcessEnvironment& Env = QProcessEnvironment::systemEnvironment()) {
    P.setProcessChannelMode(QProcess::SeparateChannels);
    P.setProcessEnvironment(Env);
    P.start(Program, Args);
    EXPECT_TRUE(P.waitForStarted(10000));
  }
  ~TProcess() {
    if (P.state() != QProcess::NotRunning) {
      P.kill();
      P.waitForFinished(5000);
    }
  }
  QByteArray Out;
  // Waits until a line containing Text has been printed.
  bool WaitFor(const QByteArray& Text, int Ms = 10000) {
    QElapsedTimer T;
    T.start();
    while (!Out.contains(Text) && T.elapsed() < Ms) {
      P.waitForReadyRead(100);
      Out += P.readAllStandardOutput();
      if (P.state() == QProcess::NotRunning) {
        Out += P.readAllStandardOutput();
        break;
      }
    }
    return Out.contains(Text);
  }
};

const QString Peer = QStringLiteral(PEER_BINARY);
const QString Server = QStringLiteral(SERVER_BINARY);

QString Suffix() { return QStringLiteral("t%1").arg(QRandomGenerator::global()->generate()); }

TEST(TwoPrograms, ASecondStartEndsAtOnce) {
  TProcess First(Peer, {"--ms", "8000"});
  ASSERT_TRUE(First.WaitFor("running"));
  TProcess Second(Peer, {"--ms", "8000"});
  EXPECT_TRUE(Second.WaitFor("ended: another instance runs"));
  EXPECT_TRUE(Second.P.waitForFinished(5000));
  EXPECT_EQ(Second.P.exitCode(), 0);
}

TEST(TwoPrograms, ACrashedFirstInstanceDoesNotBlockTheNext) {
  {
    TProcess First(Peer, {"--ms", "10000"});
    ASSERT_TRUE(First.WaitFor("running"));
    ::kill(static_cast<pid_t>(First.P.processId()), SIGKILL);
    First.P.waitForFinished(5000);
  }
  TProcess Next(Peer, {"--ms", "500"});
  EXPECT_TRUE(Next.WaitFor("running"));
}

TEST(TwoPrograms, TheServerHandsTheSecondStartsParametersToTheFirst) {
  const QString S = Suffix();
  TProcess Srv(Server, {"--suffix", S});
  ASSERT_TRUE(Srv.WaitFor("ready"));
  TProcess First(Peer, {"--server", "--ms", "8000", "/serverhandle=" + S});
  ASSERT_TRUE(First.WaitFor("running"));
  TProcess Second(Peer, {"--server", "--ms", "8000", "/serverhandle=" + S, "open", "this"});
  EXPECT_TRUE(Second.WaitFor("ended: another instance runs"));
  EXPECT_TRUE(First.WaitFor("params: "));
  EXPECT_TRUE(First.Out.contains("open this"));
}

TEST(TwoPrograms, AVetoedQuitKeepsTheProgramRunning) {
  const QString S = Suffix();
  TProcess Srv(Server, {"--suffix", S});
  ASSERT_TRUE(Srv.WaitFor("ready"));
  // The client runs for 6 s, long enough to outlive the quit message on a slow machine.
  TProcess Client(Peer, {"--server", "--veto", "--ms", "6000", "/serverhandle=" + S});
  ASSERT_TRUE(Client.WaitFor("running"));
  ::kill(static_cast<pid_t>(Srv.P.processId()), SIGTERM);
  EXPECT_TRUE(Client.WaitFor("quit serverdown=1 allowed=0"));
  EXPECT_EQ(Client.P.state(), QProcess::Running);
  EXPECT_TRUE(Client.P.waitForFinished(15000));
  EXPECT_EQ(Client.P.exitCode(), 0);
}

TEST(TwoPrograms, WithoutTheServerRunningServerModeFallsBackToLocalMode) {
  TProcess Client(Peer, {"--server", "--ms", "100", "/serverhandle=" + Suffix()});
  EXPECT_TRUE(Client.WaitFor("running"));
  EXPECT_FALSE(Client.Out.contains("server mode"));
  EXPECT_TRUE(Client.P.waitForFinished(10000));
  EXPECT_TRUE(Client.P.readAllStandardError().contains("Mentora server application is not running"));
}

const QString ServerClass = QStringLiteral("ThisIsTheMentoraServerComponentWindowClass");
const QString ServerCaption = QStringLiteral("ThisIsTheMentoraServerComponentWindow");

// The sockets and lock files in the runtime folder.
QStringList RuntimeEntries() {
  return QDir(RuntimeFolder()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

bool WaitUntil(const std::function<bool()>& Done, int Ms = 10000) {
  QElapsedTimer T;
  T.start();
  while (!Done() && T.elapsed() < Ms) QTest::qWait(20);
  return Done();
}

TEST(Server, ASecondServerOfTheSameSuffixIsRefusedAStaleOneTakenOver) {
  const QString S = Suffix();
  {
    // A socket file without a live server behind it, as a killed server leaves it.
    const QByteArray Path = QFile::encodeName(TMessageWindow::AddressOf(ServerClass + S));
    const int Fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un A{};
    A.sun_family = AF_UNIX;
    std::strncpy(A.sun_path, Path.constData(), sizeof A.sun_path - 1);
    ASSERT_EQ(::bind(Fd, reinterpret_cast<const sockaddr*>(&A), sizeof A), 0);
    ::close(Fd);
  }
  TProcess First(Server, {"--suffix", S});
  ASSERT_TRUE(First.WaitFor("ready"));
  const THandle Found = TMessageWindow::FindWindow(ServerClass + S, ServerCaption + S);
  EXPECT_NE(Found, 0u);
  TProcess Second(Server, {"--suffix", S});
  ASSERT_TRUE(Second.P.waitForFinished(10000));
  EXPECT_EQ(Second.P.exitCode(), 1);
  EXPECT_TRUE(Second.P.readAllStandardError().contains("cannot open its message window"));
  EXPECT_EQ(TMessageWindow::FindWindow(ServerClass + S, ServerCaption + S), Found);
}

TEST(Server, SigtermRemovesItsSockets) {
  const QStringList Before = RuntimeEntries();
  TProcess Srv(Server, {"--suffix", Suffix()});
  ASSERT_TRUE(Srv.WaitFor("ready"));
  EXPECT_GT(RuntimeEntries().size(), Before.size());
  ::kill(static_cast<pid_t>(Srv.P.processId()), SIGTERM);
  ASSERT_TRUE(Srv.P.waitForFinished(10000));
  EXPECT_EQ(Srv.P.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(Srv.P.exitCode(), 0);
  EXPECT_EQ(RuntimeEntries(), Before);
}

TEST(TwoPrograms, SigtermEndsAClientInOrder) {
  QTemporaryDir Dir;
  const QString Itl = Dir.filePath("peer.itl");
  const QStringList Before = RuntimeEntries();
  TProcess Client(Peer, {"--ms", "20000", "--itl", Itl});
  ASSERT_TRUE(Client.WaitFor("running"));
  ::kill(static_cast<pid_t>(Client.P.processId()), SIGTERM);
  ASSERT_TRUE(Client.P.waitForFinished(10000));
  EXPECT_EQ(Client.P.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(Client.P.exitCode(), 0);
  QFile Written(Itl);
  ASSERT_TRUE(Written.open(QIODevice::ReadOnly));
  EXPECT_EQ(Written.readAll(), QByteArray("[Collected]=Collected|$$\r\n"));
  EXPECT_EQ(RuntimeEntries(), Before);  // window socket and lock file are gone
}

// The quit message reaches the program while its start-up about box waits for the user:
// the box and the window close, and the program ends normally, its lock released.
TEST(TwoPrograms, AQuitDuringStartUpEndsTheProgramInOrder) {
  const QStringList Before = RuntimeEntries();
  TProcess Swivel(QStringLiteral(SWIVEL_BINARY), {});
  // The program keeps two windows: the companion client's and the one a second start
  // knocks at. Both are up once the second one's find name is.
  QStringList Windows;
  ASSERT_TRUE(WaitUntil([&] {
    Windows.clear();
    for (const QString& E : RuntimeEntries())
      if (E.startsWith(QLatin1String("MentoraWindow-")) && !Before.contains(E)) Windows << E;
    return Windows.size() == 2;
  }));
  TMessageWindow Sender;
  TMentoraMessageStream Quit(nullptr);
  Quit.MsgType = mtQuit;
  Quit.TimeStamp = TTimeStamp::Now();
  Quit.WriteValue<uint8_t>(1);
  for (const QString& Window : Windows)  // only the client's window acts on it
    Sender.Send(static_cast<THandle>(Window.mid(14).toUInt(nullptr, 16)), mtQuit, EncodeBlock(Quit));
  ASSERT_TRUE(Swivel.P.waitForFinished(20000));
  EXPECT_EQ(Swivel.P.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(Swivel.P.exitCode(), 0);
  EXPECT_FALSE(Swivel.P.readAllStandardError().contains("ERROR"));
  QStringList After = RuntimeEntries();
  After.removeAll(TMessageWindow::AddressOf(Sender.Handle()).section(QLatin1Char('/'), -1));
  EXPECT_EQ(After, Before);
}

// Without a usable private folder of its own, a program neither uses nor creates anything
// in a folder others can write: a runtime folder and a fallback folder prepared by another
// user, or a lock file of theirs, neither stop it nor are used.
TEST(OtherUsers, FoldersAndLocksTheyPreparedAreIgnored) {
  const struct passwd* Nobody = ::getpwnam("nobody");
  if (::geteuid() != 0 || !Nobody) GTEST_SKIP() << "needs root and a user \"nobody\" to act as another user";
  QTemporaryDir Tmp;
  const auto Chown = [&](const QString& Path) {
    return ::chown(QFile::encodeName(Path).constData(), Nobody->pw_uid, Nobody->pw_gid) == 0;
  };
  ASSERT_EQ(::chmod(QFile::encodeName(Tmp.path()).constData(), 01777), 0);
  const QString Theirs = Tmp.filePath("theirs"), Fallback = Tmp.filePath(QStringLiteral("swivel-%1").arg(::geteuid()));
  ASSERT_TRUE(QDir().mkdir(Theirs) && QDir().mkdir(Fallback));
  ASSERT_TRUE(Chown(Theirs) && Chown(Fallback));
  QFile Lock(Fallback + "/MN_companion_peer");
  ASSERT_TRUE(Lock.open(QIODevice::WriteOnly));
  Lock.close();
  ASSERT_TRUE(Chown(Lock.fileName()));
  QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
  Env.insert("XDG_RUNTIME_DIR", Theirs);
  Env.insert("TMPDIR", Tmp.path());
  TProcess First(Peer, {"--ms", "3000"}, Env), Second(Peer, {"--ms", "100"}, Env);
  EXPECT_TRUE(First.WaitFor("running"));
  EXPECT_TRUE(Second.WaitFor("running"));
  EXPECT_TRUE(QDir(Theirs).isEmpty());
  EXPECT_EQ(QDir(Fallback).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
            QStringList{"MN_companion_peer"});
}

// A runtime folder others may enter is not used; the program makes a private one in
// the temporary folder instead.
TEST(TwoPrograms, AnOpenRuntimeFolderIsReplacedByAPrivateOne) {
  QTemporaryDir Tmp, Open;
  ASSERT_EQ(::chmod(QFile::encodeName(Open.path()).constData(), 0755), 0);
  QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
  Env.insert("XDG_RUNTIME_DIR", Open.path());
  Env.insert("TMPDIR", Tmp.path());
  TProcess First(Peer, {"--ms", "8000"}, Env);
  ASSERT_TRUE(First.WaitFor("running"));
  TProcess Second(Peer, {"--ms", "100"}, Env);
  EXPECT_TRUE(Second.WaitFor("ended: another instance runs"));
  EXPECT_TRUE(QDir(Open.path()).isEmpty());
  const QString Own = Tmp.filePath(QStringLiteral("swivel-%1").arg(::geteuid()));
  EXPECT_TRUE(IsPrivateFolder(Own));
  EXPECT_TRUE(QFileInfo::exists(Own + "/MN_companion_peer"));
}

}  // namespace
