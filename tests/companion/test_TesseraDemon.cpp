// The message layouts, the client's local answers, replies from a peer, and malformed
// blocks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>
#include <random>

#include "companion/TesseraDemon.h"

namespace {

QByteArray Bytes(const TMemoryStream& S) { return QByteArray(S.Memory(), static_cast<qsizetype>(S.Size())); }

// A local-mode client (no server, several instances allowed).
struct TLocalClient {
  TComponent Owner;
  TtsrDemonClient* Client = new TtsrDemonClient(&Owner);
  TLocalClient() {
    Client->SetUseTesseraServer(false);
    Client->SetMultiStart(true);
  }
};

// A peer window that answers every request with the given reply content.
struct TAnsweringPeer {
  TMessageWindow Window;
  QByteArray Content;
  int Requests = 0;
  TAnsweringPeer() {
    Window.OnBlock = [this](const TBlock& Block) {
      ++Requests;
      const auto Request = DecodeBlock(Block, nullptr);
      if (!Request) return;
      TMentoraMessageStream Reply(nullptr);
      Reply.MsgType = mtReply;
      Reply.TimeStamp = Request->TimeStamp;
      Reply.WriteBuffer(Content.constData(), static_cast<int>(Content.size()));
      Window.Send(Block.Sender, mtReply, EncodeBlock(Reply));
    };
  }
};

TEST(MessageLayout, TextsEntitiesAndBlocks) {
  TMentoraMessageStream M(nullptr);
  M.WriteString("abc");
  EXPECT_EQ(Bytes(M), QByteArray("\x03\x00\x00\x00" "abc", 7));
  TMentoraMessageStream Empty(nullptr);
  Empty.WriteString("");
  EXPECT_EQ(Bytes(Empty), QByteArray(4, '\0'));
  TMentoraMessageStream Record(nullptr);
  TEntity E(nullptr);
  E.WriteTo(Record);
  EXPECT_EQ(Record.Size(), 16);
  TMentoraMessageStream NoContent(nullptr);
  NoContent.TimeStamp = {1234, 739000};
  const QByteArray Block = EncodeBlock(NoContent);
  EXPECT_EQ(Block.size(), 8);
  const auto Back = DecodeBlock({mtQuit, 7, Block}, nullptr);
  ASSERT_TRUE(Back);
  EXPECT_EQ(Back->Size(), 0);
  EXPECT_EQ(Back->TimeStamp, NoContent.TimeStamp);
  EXPECT_EQ(Back->SenderEntity->Handle, 7u);
  EXPECT_FALSE(DecodeBlock({mtQuit, 7, QByteArray(7, 'x')}, nullptr));
}

TEST(MessageLayout, EntityRoundTripAndMutexName) {
  TEntity E(nullptr);
  E.Handle = 0x01020304;
  E.MutexHandle = 9;
  E.SetFileName("C:\\apps\\swivel.exe");
  E.SetTitle("Swivel");
  TMemoryStream S;
  E.WriteTo(S);
  S.SetPosition(0);
  TEntity F(nullptr);
  F.ReadFrom(S);
  EXPECT_EQ(F.Handle, 0x01020304u);
  EXPECT_EQ(F.Title(), "Swivel");
  EXPECT_EQ(F.MutexName(), "MN_swivel.exe");
  // A record cut short cannot be read.
  TMemoryStream Cut;
  Cut.WriteBuffer(S.Memory(), 12);
  Cut.SetPosition(0);
  EXPECT_THROW(F.ReadFrom(Cut), EReadError);
  TMentoraMessageStream Huge(nullptr);
  Huge.WriteValue<int32_t>(0x7FFFFFFF);
  Huge.SetPosition(0);
  EXPECT_THROW(Huge.ReadString(), EReadError);
}

TEST(MessageLayout, TimeStampDayNumbers) {
  const TTimeStamp Now = TTimeStamp::Now();
  EXPECT_EQ(QDate(1899, 12, 30).toJulianDay() - QDate(1, 1, 1).toJulianDay() + 1, 693594);
  EXPECT_GT(Now.Date, 739000);
  EXPECT_LT(Now.Time, 86400000);
}

TEST(Client, ParametersAndServerSuffix) {
  EXPECT_EQ(ParamsOf({"/prog", "a", "/serverhandle=x1", "/ServerHandle=Y2"}), (QStringList{"/prog", "a", "/ServerHandle=Y2"}));
  EXPECT_EQ(ServerHandleSuffix({"/prog", "/serverhandle=x1", "/ServerHandle=Y2"}), "y2");
  EXPECT_EQ(ServerHandleSuffix({"/prog"}), "");
  TLocalClient L;
  EXPECT_EQ(L.Client->ParamStr(0), QCoreApplication::applicationFilePath());
  L.Client->Params = {"first", "second"};
  EXPECT_EQ(L.Client->ParamCount(), 1);
  EXPECT_EQ(L.Client->ParamStr(1), "second");
  EXPECT_EQ(L.Client->ParamStr(0), QCoreApplication::applicationFilePath());
  try {
    L.Client->ParamStr(2);
    FAIL();
  } catch (const EMentora& E) {
    EXPECT_STREQ(E.what(), "Illegal \"ParamStr\" parameter: 2");
  }
}

TEST(Client, LocalFoldersAndTexts) {
  TLocalClient L;
  const std::string Folder = QCoreApplication::applicationDirPath().toStdString() + "/";
  EXPECT_EQ(L.Client->GetDirectory("TesseraWorkArea"), Folder);
  EXPECT_EQ(L.Client->GetDirectory("TesseraHomeDir"), Folder);
  EXPECT_EQ(L.Client->GetDirectory("tesseraworkarea"), "");
  EXPECT_EQ(L.Client->GetDirectory("Other"), "");
  L.Client->Loaded();  // no ITL file beside the test program: the keys show themselves
  EXPECT_EQ(L.Client->GetText("ExPlain_1"), "ExPlain_1");
}

TEST(Client, ASecondClientInOneProgramFails) {
  TLocalClient A;
  try {
    TtsrDemonClient B;
    FAIL();
  } catch (const EMentora& E) {
    EXPECT_STREQ(E.what(), "Class already exists.");
  }
}

TEST(Client, WithoutAServerLookupsFindNobody) {
  TLocalClient L;
  EXPECT_EQ(L.Client->FindEntityByName("nobody"), nullptr);
  EXPECT_EQ(L.Client->FindEntityByHandle(42), nullptr);
  EXPECT_THROW(L.Client->QueryValue("x"), EReadError);  // an empty reply cannot be read
}

TEST(Client, RepliesFromAPeer) {
  TLocalClient L;
  TAnsweringPeer Peer;
  L.Client->ServerEntity->Handle = Peer.Window.Handle();
  L.Client->SetUseTesseraServer(true);
  Peer.Content = QByteArray(1, '\0');  // only the found flag 0
  EXPECT_EQ(L.Client->GetStream("swivel.itl"), nullptr);
  Peer.Content = QByteArray("\x01" "hello", 6);
  const auto Stream = L.Client->GetStream("swivel.itl");
  ASSERT_TRUE(Stream);
  EXPECT_EQ(QByteArray(Stream->Memory(), 5), "hello");
  Peer.Content = QByteArray();
  EXPECT_EQ(L.Client->FindEntityByHandle(1), nullptr);
  Peer.Content = QByteArray("\x04\x00\x00\x00" "/tmp", 8);
  EXPECT_EQ(L.Client->GetDirectory("TesseraWorkArea"), "/tmp");
  EXPECT_EQ(L.Client->MapFileName("a"), "/tmp");
  EXPECT_EQ(Peer.Requests, 5);
  EXPECT_TRUE(L.Client->ReplyQueue.empty());
}

// Starting in local mode asks no server anything; the server's window is looked up at
// the end, for the unregister, so a server that came up meanwhile still gets it.
TEST(Client, TheServerIsLookedUpWhenFirstNeeded) {
  TLocalClient L;
  L.Client->Loaded();
  EXPECT_EQ(L.Client->ServerEntity->Handle, 0u);
  TMessageWindow Server(QStringLiteral("ThisIsTheMentoraServerComponentWindowClass"),
                        QStringLiteral("ThisIsTheMentoraServerComponentWindow"));
  ASSERT_TRUE(Server.Listening());
  std::vector<int32_t> Tags;
  Server.OnBlock = [&](const TBlock& Block) { Tags.push_back(Block.Tag); };
  L.Client->Shutdown();
  EXPECT_EQ(L.Client->ServerEntity->Handle, Server.Handle());
  EXPECT_EQ(Tags, std::vector<int32_t>{mtUnregister});
}

TEST(Client, MessagesItDoesNotClaim) {
  TLocalClient L;
  int Unknown = 0;
  L.Client->OnGotAMessage = [&](QObject*, TMentoraMessageStream* M) { Unknown += M->MsgType == mtExecute; };
  L.Client->Receive({mtExecute, 1, QByteArray(8, '\0')});
  EXPECT_EQ(Unknown, 1);
  // A reply that matches no request stays queued until the client goes.
  L.Client->Receive({mtReply, 1, QByteArray("\x01\x00\x00\x00\x02\x00\x00\x00xyz", 11)});
  EXPECT_EQ(L.Client->ReplyQueue.size(), 1u);
  // Unclaimed replies are bounded in number and in bytes; the newest stay.
  for (int I = 0; I < 40; ++I) L.Client->Receive({mtReply, 1, QByteArray(8, static_cast<char>(I))});
  EXPECT_EQ(L.Client->ReplyQueue.size(), TtsrCustomDemon::MaxQueuedReplies);
  EXPECT_EQ(L.Client->ReplyQueue.back()->TimeStamp.Time, 0x27272727);
  const QByteArray Big(MaxBlockSize / 2, 'x');
  for (int I = 0; I < 4; ++I) L.Client->Receive({mtReply, 1, Big});
  EXPECT_EQ(L.Client->ReplyQueue.size(), 2u);
  L.Client->ReplyQueue.clear();
  int Changes = 0;
  L.Client->OnParamsChange = [&](QObject*) { ++Changes; };
  L.Client->Receive({mtParams, 1, QByteArray(8, '\0') + "/other/prog\r\none\rtwo\nthree"});
  EXPECT_EQ(L.Client->Params, (QStringList{"/other/prog", "one", "two", "three"}));
  EXPECT_EQ(Changes, 1);
  bool Asked = false;
  L.Client->OnQuitMsgReceived = [&](QObject*, bool Down, bool& Allow) {
    Asked = Down;
    Allow = false;
  };
  L.Client->Receive({mtQuit, 1, QByteArray(8, '\0') + QByteArray(1, '\1')});
  EXPECT_TRUE(Asked);
  EXPECT_TRUE(L.Client->ServerDown);
  L.Client->Receive({mtQuit, 1, QByteArray(8, '\0')});  // no flag byte: dropped
}

TEST(Client, MalformedBlocksAreDropped) {
  TLocalClient L;
  std::mt19937 Gen(77);
  for (int I = 0; I < 2000; ++I) {
    QByteArray Data(static_cast<qsizetype>(Gen() % 40), '\0');
    for (char& C : Data) C = static_cast<char>(Gen());
    const int32_t Tag = static_cast<int32_t>(4096 + Gen() % 12);
    L.Client->OnQuitMsgReceived = [](QObject*, bool, bool& Allow) { Allow = false; };
    L.Client->Receive({Tag, static_cast<THandle>(Gen()), Data});
  }
  SUCCEED();
}

}  // namespace

namespace {

// Raw bytes at a window's address: frames that cannot be read end the connection, and
// the window goes on serving.
TEST(Transport, GarbageOnTheWireIsDropped) {
  TMessageWindow Window;
  int Blocks = 0;
  Window.OnBlock = [&](const TBlock&) { ++Blocks; };
  std::mt19937 Gen(5);
  const QByteArray Frames[] = {QByteArray("Bxxxx\xff\xff\xff\xff\xff\xff\xff\x7f", 13),  // length beyond the limit
                               QByteArray("Z"), QByteArray("B\x01\x00\x00\x00")};           // unknown kind, cut short
  for (int Round = 0; Round < 40; ++Round) {
    QLocalSocket Socket;
    Socket.connectToServer(TMessageWindow::AddressOf(Window.Handle()));
    ASSERT_TRUE(Socket.waitForConnected(2000));
    QByteArray Bytes = Round < 3 ? Frames[Round] : QByteArray(static_cast<qsizetype>(Gen() % 64), '\0');
    if (Round >= 3)
      for (char& C : Bytes) C = static_cast<char>(Gen());
    Socket.write(Bytes);
    Socket.waitForBytesWritten(1000);
    QTest::qWait(5);
    Socket.abort();
  }
  // A proper block still gets through afterwards.
  TMessageWindow Sender;
  EXPECT_TRUE(Sender.Send(Window.Handle(), mtQueryValue, QByteArray(8, '\0')));
  EXPECT_GE(Blocks, 1);
}

// A block far beyond what a socket buffers, between two windows of one program: it
// arrives whole, and the receiver's reply, sent while it handles the block, is served
// before the send returns. A window that is gone leaves no address behind.
TEST(Transport, BigBlocksAndNestedRepliesWithinOneProgram) {
  TMessageWindow Sender;
  QByteArray Received, Replies;
  THandle Gone = 0;
  {
    TMessageWindow Receiver;
    Gone = Receiver.Handle();
    Receiver.OnBlock = [&](const TBlock& Block) {
      Received = Block.Data;
      EXPECT_TRUE(Receiver.Send(Block.Sender, mtReply, "reply"));
    };
    Sender.OnBlock = [&](const TBlock& Block) { Replies += Block.Data; };
    QByteArray Big(8 * 1024 * 1024, '\0');
    for (qsizetype I = 0; I < Big.size(); ++I) Big[I] = static_cast<char>(I * 7 + I / 251);
    ASSERT_TRUE(Sender.Send(Receiver.Handle(), mtParams, Big));
    EXPECT_EQ(Received, Big);
    EXPECT_EQ(Replies, "reply");
    EXPECT_TRUE(TMessageWindow::Exists(Gone));
  }
  EXPECT_FALSE(TMessageWindow::Exists(Gone));
  EXPECT_FALSE(QFileInfo::exists(TMessageWindow::AddressOf(Gone)));
  EXPECT_FALSE(Sender.Send(Gone, mtParams, {}));
}

// A peer that takes the connection but never answers is waited out within the bound;
// one that hangs up before its answer is complete delivers nothing at once.
TEST(Transport, SilentAndVanishingPeersDeliverNothing) {
  QLocalServer Silent;
  ASSERT_TRUE(Silent.listen(TMessageWindow::AddressOf(QStringLiteral("silent-peer"))));
  EXPECT_EQ(TMessageWindow::FindWindow(QStringLiteral("silent-peer"), QString()), 0u);
  QLocalServer Vanishing;
  const THandle Handle = 0x5EED1234;
  ASSERT_TRUE(Vanishing.listen(TMessageWindow::AddressOf(Handle)));
  QObject::connect(&Vanishing, &QLocalServer::newConnection, [&] {
    QLocalSocket* Peer = Vanishing.nextPendingConnection();
    Peer->write("\x01\x02\x03");  // half of a caption answer, never an acknowledgement
    Peer->flush();
    Peer->disconnectFromServer();
  });
  TMessageWindow Sender;
  EXPECT_FALSE(Sender.Send(Handle, mtParams, "x"));
  EXPECT_EQ(TMessageWindow::FindWindow(TMessageWindow::AddressOf(Handle).section(QLatin1Char('/'), -1), QString()), 0u);
}

}  // namespace
