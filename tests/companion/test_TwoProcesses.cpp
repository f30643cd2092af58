// Two programs for real: single instance, parameters handed over through the server,
// the server's quit message, and a crashed first instance.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QElapsedTimer>
#include <QThread>
#include <csignal>

namespace {

// A process whose output lines can be awaited.
struct TProcess {
  QProcess P;
  explicit TProcess(const QString& Program, const QStringList& Args) {
    P.setProcessChannelMode(QProcess::SeparateChannels);
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

TEST(TwoPrograms, WithoutTheServerRunningServerModeFails) {
  TProcess Client(Peer, {"--server", "/serverhandle=" + Suffix()});
  EXPECT_TRUE(Client.WaitFor("error: Mentora server application is not running"));
}

}  // namespace
