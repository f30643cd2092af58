#include "companion/TesseraDemon.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <set>

#include "companion/QuitRequest.h"

namespace {

const QString ClientWindowClass = QStringLiteral("ThisIsTheMentoraClientComponentWindowClass");
const QString ServerWindowClass = QStringLiteral("ThisIsTheMentoraServerComponentWindowClass");
const QString ServerWindowCaption = QStringLiteral("ThisIsTheMentoraServerComponentWindow");

// Window classes registered in this process: a class name can be registered once.
std::set<QString>& RegisteredClasses() {
  static std::set<QString> Classes;
  return Classes;
}

void RegisterWindowClass(const QString& Name) {
  if (!RegisteredClasses().insert(Name).second) throw EMentora("Class already exists.");
}

std::string ToStd(const QString& S) { return S.toStdString(); }

}  // namespace

// --- time stamps, entities, messages ------------------------------------------------

TTimeStamp TTimeStamp::Now() {
  const QDateTime Now = QDateTime::currentDateTime();
  return {Now.time().msecsSinceStartOfDay(),
          static_cast<int32_t>(Now.date().toJulianDay() - QDate(1, 1, 1).toJulianDay() + 1)};
}

std::string TEntity::FileName() {
  if (FileName_.empty()) Refresh();
  return FileName_;
}

std::string TEntity::Title() {
  if (Title_.empty()) Refresh();
  return Title_;
}

void TEntity::Refresh() {
  if (!Demon_) return;
  if (const std::unique_ptr<TEntity> Found = Demon_->FindEntityByHandle(Handle)) Assign(Found.get());
}

void TEntity::Assign(const TEntity* Source) {
  if (!Source) return;
  Handle = Source->Handle;
  MutexHandle = Source->MutexHandle;
  FileName_ = Source->FileName_;
  Title_ = Source->Title_;
}

void TEntity::WriteTo(TStream& Stream) {
  Stream.WriteValue<uint32_t>(Handle);
  Stream.WriteValue<uint32_t>(MutexHandle);
  ::WriteString(Stream, FileName());
  ::WriteString(Stream, Title());
}

void TEntity::ReadFrom(TStream& Stream) {
  Handle = Stream.ReadValue<uint32_t>();
  MutexHandle = Stream.ReadValue<uint32_t>();
  FileName_ = ::ReadString(Stream);
  Title_ = ::ReadString(Stream);
}

bool TEntity::IsValid() const { return TMessageWindow::Exists(Handle); }

std::string TEntity::MutexName() {
  std::string Name = FileName();
  const size_t Cut = Name.find_last_of("\\:/");
  Name = Cut == std::string::npos ? Name : Name.substr(Cut + 1);
  std::replace(Name.begin(), Name.end(), '\\', '_');
  return "MN_" + Name;
}

TMentoraMessageStream::TMentoraMessageStream(TtsrCustomDemon* Demon)
    : SenderEntity(std::make_unique<TEntity>(Demon)), Demon(Demon) {}

void WriteString(TStream& Stream, const std::string& Text) {
  Stream.WriteValue<int32_t>(static_cast<int32_t>(Text.size()));
  Stream.WriteBuffer(Text.data(), static_cast<int>(Text.size()));
}

std::string ReadString(TStream& Stream) {
  const int32_t Length = Stream.ReadValue<int32_t>();
  if (Length <= 0) return {};
  if (Length > Stream.Size() - Stream.Position()) throw EReadError();  // never allocate what is not there
  std::string Text(static_cast<size_t>(Length), '\0');
  Stream.ReadBuffer(Text.data(), Length);
  return Text;
}

void TMentoraMessageStream::WriteString(const std::string& Text) { ::WriteString(*this, Text); }
std::string TMentoraMessageStream::ReadString() { return ::ReadString(*this); }

void TMentoraMessageStream::Send(TEntity* Target, TMentoraMessageStream* Reply) {
  if (Demon) Demon->SendTo(Target, this, Reply);
}

void TMentoraMessageStream::Assign(const TMentoraMessageStream& Source) {
  TimeStamp = Source.TimeStamp;
  SenderEntity->Assign(Source.SenderEntity.get());
  MsgType = Source.MsgType;
  const int64_t Keep = Position();
  SetSize(0);
  WriteBuffer(Source.Memory(), static_cast<int>(Source.Size()));
  SetPosition(Keep);
}

QByteArray EncodeBlock(TMentoraMessageStream& Message) {
  QByteArray Block(8, '\0');
  std::memcpy(Block.data(), &Message.TimeStamp.Time, 4);
  std::memcpy(Block.data() + 4, &Message.TimeStamp.Date, 4);
  return Block + QByteArray(Message.Memory(), static_cast<qsizetype>(Message.Size()));
}

std::unique_ptr<TMentoraMessageStream> DecodeBlock(const TBlock& Block, TtsrCustomDemon* Demon) {
  if (Block.Data.size() < 8) return nullptr;  // no time stamp: not a message
  auto Message = std::make_unique<TMentoraMessageStream>(Demon);
  Message->MsgType = Block.Tag;
  std::memcpy(&Message->TimeStamp.Time, Block.Data.constData(), 4);
  std::memcpy(&Message->TimeStamp.Date, Block.Data.constData() + 4, 4);
  Message->WriteBuffer(Block.Data.constData() + 8, static_cast<int>(Block.Data.size() - 8));
  Message->SetPosition(0);
  Message->SenderEntity->Handle = Block.Sender;
  return Message;
}

QString ServerHandleSuffix(const QStringList& Arguments) {
  QSettings Registry(QSettings::SystemScope, QStringLiteral("Kestel"), QStringLiteral("tessera"));
  const QString Stored = Registry.value(QStringLiteral("demon/ViewerHandle")).toString();
  if (!Stored.isEmpty() && Stored != QLatin1String("00000000")) return Stored;
  QString Suffix;
  for (int I = 1; I < Arguments.size(); ++I) {
    const QString Lower = QString::fromStdString(AsciiLower(Arguments[I].toStdString()));
    if (Lower.startsWith(QLatin1String("/serverhandle="))) Suffix = Lower.mid(14);
  }
  return Suffix;
}

// --- the client component -------------------------------------------------------------

TtsrCustomDemon::TtsrCustomDemon(QObject* Owner)
    : TComponent(Owner), ServerEntity(std::make_unique<TEntity>(this)), LocalEntity(std::make_unique<TEntity>(this)),
      Dictionary_(std::make_unique<TGlossator>("")) {
  CollectParams();
}

void TtsrCustomDemon::LookUpServer() {
  if (ServerLookedUp_) return;
  ServerLookedUp_ = true;
  if (ServerEntity->Handle != 0) return;
  const QString Suffix = ServerHandleSuffix(QCoreApplication::arguments());
  ServerEntity->Handle = TMessageWindow::FindWindow(ServerWindowClass + Suffix, ServerWindowCaption + Suffix);
}

TtsrCustomDemon::~TtsrCustomDemon() = default;

// Without a window of its own (no private runtime folder) the client works locally:
// it neither sends nor receives.
void TtsrCustomDemon::CreateWindow() {
  RegisterWindowClass(GetWindowClassName());
  Window_ = std::make_unique<TMessageWindow>();
  if (!Window_->Listening()) {
    Window_.reset();
    return;
  }
  LocalEntity->SetTitle(ToStd(QCoreApplication::applicationName()));
  LocalEntity->SetFileName(ToStd(QCoreApplication::applicationFilePath()));
  LocalEntity->Handle = Window_->Handle();
  Window_->OnBlock = [this](const TBlock& Block) { Receive(Block); };
}

QStringList ParamsOf(const QStringList& Arguments) {
  QStringList Params;
  for (const QString& A : Arguments)
    if (!A.startsWith(QLatin1String("/serverhandle="))) Params << A;
  return Params;
}

void TtsrCustomDemon::CollectParams() { Params = ParamsOf(QCoreApplication::arguments()); }

QString TtsrCustomDemon::ParamStr(int Index) const {
  if (Index == 0) return QCoreApplication::applicationFilePath();
  if (Index < 1 || Index > ParamCount()) throw EMentora("Illegal \"ParamStr\" parameter: " + std::to_string(Index));
  return Params[Index];
}

bool TtsrCustomDemon::SendTo(TEntity* Target, TMentoraMessageStream* Message, TMentoraMessageStream* Reply) {
  Message->TimeStamp = TTimeStamp::Now();
  return Transmit(Target, Message, Reply);
}

bool TtsrCustomDemon::Transmit(TEntity* Target, TMentoraMessageStream* Message, TMentoraMessageStream* Reply) {
  Message->Demon = this;
  if (Reply) Reply->Demon = this;
  if (!Window_ || !Target) return false;  // no hidden window of our own: nothing is sent
  if (Message->Size() + 8 > INT32_MAX) return false;
  Window_->Send(Target->Handle, Message->MsgType, EncodeBlock(*Message));
  const std::unique_ptr<TMentoraMessageStream> Found = FindReply(Message->TimeStamp);
  if (Found && Reply) Reply->Assign(*Found);
  return Found != nullptr;
}

std::unique_ptr<TMentoraMessageStream> TtsrCustomDemon::FindReply(const TTimeStamp& Stamp) {
  for (auto It = ReplyQueue.begin(); It != ReplyQueue.end(); ++It)
    if ((*It)->TimeStamp == Stamp) {
      std::unique_ptr<TMentoraMessageStream> Found = std::move(*It);
      ReplyQueue.erase(It);
      return Found;
    }
  return nullptr;
}

void TtsrCustomDemon::Receive(const TBlock& Block) {
  std::unique_ptr<TMentoraMessageStream> Message = DecodeBlock(Block, this);
  if (!Message) return;
  try {
    HandleMessage(Message);
  } catch (const EStreamError&) {
    // A message too short for its layout is dropped.
  }
}

void TtsrCustomDemon::HandleMessage(std::unique_ptr<TMentoraMessageStream>& Message) {
  switch (Message->MsgType) {
    case mtQuit: {
      ServerDown = Message->ReadValue<uint8_t>() != 0;
      bool AllowQuit = true;
      if (OnQuitMsgReceived) OnQuitMsgReceived(this, ServerDown, AllowQuit);
      if (AllowQuit) RequestQuit();
      break;
    }
    case mtReply: QueueReply(std::move(Message)); break;
    case mtParams: {
      const std::string Content(Message->Memory(), static_cast<size_t>(Message->Size()));
      QString Text = QString::fromStdString(Content.substr(0, Content.find('\0')));
      Text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
      Params = Text.split(QLatin1Char('\n'));
      if (!Params.isEmpty() && Params.last().isEmpty()) Params.removeLast();
      if (OnParamsChange) OnParamsChange(this);
      break;
    }
    default:
      if (OnGotAMessage) OnGotAMessage(this, Message.get());
      break;
  }
}

// A reply is looked for right after its request was sent, so only the latest few can
// still be waited for; older ones, and any beyond one block's size in all, are dropped.
void TtsrCustomDemon::QueueReply(std::unique_ptr<TMentoraMessageStream> Reply) {
  ReplyQueue.push_back(std::move(Reply));
  int64_t Bytes = 0;
  for (const auto& R : ReplyQueue) Bytes += R->Size();
  while (ReplyQueue.size() > MaxQueuedReplies || Bytes > MaxBlockSize) {
    Bytes -= ReplyQueue.front()->Size();
    ReplyQueue.pop_front();
  }
}

void TtsrCustomDemon::Loaded() {
  if (!MultiStart_) CheckSingleInstance();
  TComponent::Loaded();
}

// The marker of a running instance is a lock file named after the program in the user's
// private runtime folder; a lock left by an instance that crashed is taken over. Without
// that folder the check is skipped: a lock where others can write could be blocked by them.
void TtsrCustomDemon::CheckSingleInstance() {
  const QString Folder = RuntimeFolder();
  if (Folder.isEmpty()) return;
  auto Lock = std::make_unique<QLockFile>(Folder + QLatin1Char('/') + QString::fromStdString(LocalEntity->MutexName()));
  if (Lock->tryLock(0)) {
    Mutex_ = std::move(Lock);
    LocalEntity->MutexHandle = 1;
    return;
  }
  if (std::unique_ptr<TEntity> Running = FindEntityByName(ToStd(QCoreApplication::applicationName()))) {
    TMentoraMessageStream Message(this);
    Message.MsgType = mtParams;
    for (const QString& P : Params) {
      const std::string Line = ToStd(P) + "\r\n";
      Message.WriteBuffer(Line.data(), static_cast<int>(Line.size()));
    }
    SendTo(Running.get(), &Message, nullptr);
  }
  EndRequested_ = true;
}

TtsrDemonClient::TtsrDemonClient(QObject* Owner) : TtsrCustomDemon(Owner) {
  CreateWindow();
}

void TtsrDemonClient::Shutdown() {
  if (ShutDown_) return;
  ShutDown_ = true;
  if (!ServerDown) {
    LookUpServer();
    TMentoraMessageStream Message(this);
    Message.MsgType = mtUnregister;
    LocalEntity->WriteTo(Message);
    SendTo(ServerEntity.get(), &Message, nullptr);
  }
  if (const QString Error = Dictionary_->Close(); !Error.isEmpty()) qWarning("%s", qPrintable(Error));
}

TtsrDemonClient::~TtsrDemonClient() {
  ReplyQueue.clear();
  Window_.reset();
  RegisteredClasses().erase(GetWindowClassName());
  // The lock goes last: a new instance starts only once this one is done.
  Mutex_.reset();
  LocalEntity->MutexHandle = 0;
}

QString TtsrDemonClient::GetWindowClassName() const { return ClientWindowClass; }
QString TtsrDemonClient::GetWindowName() const { return QString(); }

void TtsrDemonClient::Loaded() {
  ConnectToServer();
  LoadDictionary();
  TtsrCustomDemon::Loaded();
}

void TtsrDemonClient::FallBackToLocalMode(const char* Reason) {
  qWarning("%s: %s goes on in local mode.", Reason, qPrintable(QCoreApplication::applicationName()));
  UseTesseraServer_ = false;
  ServerEntity->Handle = 0;
}

void TtsrDemonClient::ConnectToServer() {
  if (!UseTesseraServer_) return;
  LookUpServer();
  if (ServerEntity->Handle == 0) return FallBackToLocalMode("Mentora server application is not running");
  TMentoraMessageStream Message(this);
  Message.MsgType = mtRegister;
  LocalEntity->WriteTo(Message);
  SendTo(ServerEntity.get(), &Message, nullptr);
}

void TtsrDemonClient::LoadDictionary() {
  std::unique_ptr<TStream> Stream;
  if (UseTesseraServer_) {
    try {
      Stream = GetStream(ToStd(ItlFileName(QString::fromStdString(MapFileName(ToStd(ParamStr(0)))), true)));
    } catch (const EStreamError&) {
      FallBackToLocalMode("The companion server's answer cannot be read");
    }
  }
  if (!UseTesseraServer_) {
    try {
      const QString File = DictionaryFile_.isEmpty() ? ItlFileName(ParamStr(0), true) : DictionaryFile_;
      Stream = std::make_unique<TFileStream>(File, fmOpenRead);
    } catch (const EFOpenError&) {
      // No dictionary: every caption shows its key.
    }
  }
  if (Stream) Dictionary_->LoadFromStream(Stream.get());
  if (AutoTranslate_) Dictionary_->TranslateComponent(Owner());
}

std::unique_ptr<TMentoraMessageStream> TtsrDemonClient::Request(int32_t Type,
                                                                const std::function<void(TMentoraMessageStream&)>& Content) {
  LookUpServer();
  TMentoraMessageStream Message(this);
  Message.MsgType = Type;
  Content(Message);
  auto Reply = std::make_unique<TMentoraMessageStream>(this);
  if (!SendTo(ServerEntity.get(), &Message, Reply.get()) && UseTesseraServer_)
    FallBackToLocalMode("The companion server does not answer");
  Reply->SetPosition(0);
  return Reply;
}

std::unique_ptr<TEntity> TtsrDemonClient::FindEntity(const std::function<void(TMentoraMessageStream&)>& Content) {
  const auto Reply = Request(mtFindEntity, Content);
  if (Reply->Size() == 0) return nullptr;
  auto Found = std::make_unique<TEntity>(this);
  try {
    Found->ReadFrom(*Reply);
  } catch (const EStreamError&) {
    return nullptr;  // a cut record names nobody
  }
  return Found;
}

std::unique_ptr<TEntity> TtsrDemonClient::FindEntityByName(const std::string& Title) {
  return FindEntity([&](TMentoraMessageStream& M) {
    M.WriteValue<uint8_t>(2);
    M.WriteString(Title);
  });
}

std::unique_ptr<TEntity> TtsrDemonClient::FindEntityByHandle(THandle Handle) {
  return FindEntity([&](TMentoraMessageStream& M) {
    M.WriteValue<uint8_t>(1);
    M.WriteValue<uint32_t>(Handle);
  });
}

// On this platform the server starts the program; the client sees only its process id.
// Waiting polls until that process has ended; its exit code is not visible to a process
// that is not its parent, so a finished wait answers 0.
int TtsrDemonClient::Execute(const std::string& Command, const std::string& Parameters, bool Wait, int32_t Mode) {
  const auto Reply = Request(mtExecute, [&](TMentoraMessageStream& M) {
    M.WriteString(Command);
    M.WriteString(Parameters);
    M.WriteValue<uint8_t>(Wait ? 1 : 0);
    M.WriteValue<int32_t>(Mode);
  });
  const auto Pid = Reply->ReadValue<uint32_t>();
  if (Pid == 0) throw EMentora("Could not execute \"" + Command + ".\"");
  if (!Wait) return static_cast<int>(Pid);
  // A process of another user answers EPERM: it is there all the same.
  const auto Alive = [Pid] { return ::kill(static_cast<pid_t>(Pid), 0) == 0 || errno == EPERM; };
  if (!Alive()) throw EMentora("Could not execute \"" + Command + ".\"");
  while (Alive()) QThread::msleep(50);
  return 0;
}

std::unique_ptr<TMemoryStream> TtsrDemonClient::GetStream(const std::string& Name) {
  const auto Reply = Request(mtGetStream, [&](TMentoraMessageStream& M) { M.WriteString(Name); });
  if (Reply->ReadValue<uint8_t>() == 0) return nullptr;
  auto Stream = std::make_unique<TMemoryStream>();
  Stream->CopyFrom(*Reply, Reply->Size() - Reply->Position());
  Stream->SetPosition(0);
  return Stream;
}

std::string TtsrDemonClient::MapFileName(const std::string& FileName) {
  return Request(mtMapFileName, [&](TMentoraMessageStream& M) { M.WriteString(FileName); })->ReadString();
}

std::string TtsrDemonClient::QueryValue(const std::string& Name) {
  return Request(mtQueryValue, [&](TMentoraMessageStream& M) { M.WriteString(Name); })->ReadString();
}

std::string TtsrDemonClient::GetDirectory(const std::string& Name) {
  if (UseTesseraServer_) {
    const auto Reply = Request(mtGetDirectory, [&](TMentoraMessageStream& M) { M.WriteString(Name); });
    if (UseTesseraServer_) return Reply->ReadString();
  }
  if (Name != "TesseraWorkArea" && Name != "TesseraHomeDir") return {};
  std::string Folder = ToStd(QFileInfo(ParamStr(0)).absolutePath());
  if (!Folder.empty() && Folder.back() != '\\' && Folder.back() != '/') Folder += '/';
  return Folder;
}
