// The companion-server link: the message stream and entity record exchanged between
// programs of the family, and the companion client component that owns the dictionary,
// keeps the program to one instance and answers requests for texts, folders, files and
// parameters, through the server or locally.
#pragma once

#include <QLockFile>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <memory>
#include <stdexcept>

#include "companion/TesseraDemon_transport.h"
#include "i18n/Glossator.h"
#include "toolkit/Component.h"
#include "toolkit/Stream.h"

class EMentora : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

enum TMentoraMessageType : int32_t {
  mtQuit = 4096, mtReply, mtRegister, mtUnregister, mtFindEntity, mtParams, mtExecute, mtGetStream,
  mtMapFileName, mtQueryValue, mtGetDirectory
};

class TtsrCustomDemon;
class TMentoraMessageStream;

struct TTimeStamp {
  int32_t Time = 0;  // milliseconds since local midnight
  int32_t Date = 0;  // days since 0001-01-01 as day 1
  bool operator==(const TTimeStamp&) const = default;
  static TTimeStamp Now();
};

// One program taking part: its hidden window, its single-instance marker, file and title.
class TEntity {
public:
  explicit TEntity(TtsrCustomDemon* Demon) : Demon_(Demon) {}

  TtsrCustomDemon* Demon() const { return Demon_; }
  THandle Handle = 0;
  uint32_t MutexHandle = 0;
  // Empty texts are looked up through the client first.
  std::string FileName();
  std::string Title();
  void SetFileName(const std::string& V) { FileName_ = V; }
  void SetTitle(const std::string& V) { Title_ = V; }

  void Refresh();
  void Assign(const TEntity* Source);
  void WriteTo(TStream& Stream);
  void ReadFrom(TStream& Stream);  // raises EReadError when the record is cut short
  bool IsValid() const;
  std::string MutexName();

private:
  TtsrCustomDemon* Demon_;
  std::string FileName_, Title_;
};

// A typed message: its bytes are the content.
class TMentoraMessageStream : public TMemoryStream {
public:
  explicit TMentoraMessageStream(TtsrCustomDemon* Demon);

  TTimeStamp TimeStamp;
  std::unique_ptr<TEntity> SenderEntity;
  TtsrCustomDemon* Demon;
  int32_t MsgType = 0;

  void WriteString(const std::string& Text);
  std::string ReadString();
  void Send(TEntity* Target, TMentoraMessageStream* Reply = nullptr);
  void Assign(const TMentoraMessageStream& Source);
};

using TGotAMessageEvent = std::function<void(QObject* Sender, TMentoraMessageStream* Msg)>;
using TOnQuitMsgReceived = std::function<void(QObject* Sender, bool ServerDown, bool& AllowQuit)>;

class TtsrCustomDemon : public TComponent {
  Q_OBJECT
  Q_PROPERTY(bool AutoTranslate READ AutoTranslate WRITE SetAutoTranslate)
  Q_PROPERTY(bool AutoCreateItlFile READ AutoCreateItlFile WRITE SetAutoCreateItlFile)
  Q_PROPERTY(bool MultiStart READ MultiStart WRITE SetMultiStart)
  Q_PROPERTY(bool UseTesseraServer READ UseTesseraServer WRITE SetUseTesseraServer)

public:
  explicit TtsrCustomDemon(QObject* Owner = nullptr);
  ~TtsrCustomDemon() override;

  TGlossator* Dictionary() const { return Dictionary_.get(); }
  bool AutoTranslate() const { return AutoTranslate_; }
  void SetAutoTranslate(bool V) { AutoTranslate_ = V; }
  bool AutoCreateItlFile() const { return Dictionary_->AutoCreateItlFile(); }
  void SetAutoCreateItlFile(bool V) { Dictionary_->SetAutoCreateItlFile(V); }
  bool MultiStart() const { return MultiStart_; }
  void SetMultiStart(bool V) { MultiStart_ = V; }
  bool UseTesseraServer() const { return UseTesseraServer_; }
  void SetUseTesseraServer(bool V) { UseTesseraServer_ = V; }

  // The server's window: looked up once, when first needed (see LookUpServer).
  std::unique_ptr<TEntity> ServerEntity;
  TGotAMessageEvent OnGotAMessage;
  TOnQuitMsgReceived OnQuitMsgReceived;
  // Replies not yet claimed by a request: at most MaxQueuedReplies, MaxBlockSize bytes in all.
  static constexpr size_t MaxQueuedReplies = 16;
  std::deque<std::unique_ptr<TMentoraMessageStream>> ReplyQueue;
  QStringList Params;
  TNotifyEvent OnParamsChange;
  std::unique_ptr<TEntity> LocalEntity;
  bool ServerDown = false;

  // Takes over the message (sets it to null) when it keeps it.
  virtual void HandleMessage(std::unique_ptr<TMentoraMessageStream>& Message);
  virtual QString GetWindowClassName() const = 0;
  virtual QString GetWindowName() const = 0;
  virtual std::unique_ptr<TEntity> FindEntityByName(const std::string& Title) = 0;
  virtual std::unique_ptr<TEntity> FindEntityByHandle(THandle Handle) = 0;
  virtual int Execute(const std::string& Command, const std::string& Parameters, bool Wait, int32_t Mode) = 0;
  virtual std::unique_ptr<TMemoryStream> GetStream(const std::string& Name) = 0;
  virtual std::string MapFileName(const std::string& FileName) = 0;
  virtual std::string QueryValue(const std::string& Name) = 0;
  virtual std::string GetDirectory(const std::string& Name) = 0;

  // Both true when a reply to Message arrived (and was copied to Reply, when given).
  bool SendTo(TEntity* Target, TMentoraMessageStream* Message, TMentoraMessageStream* Reply);
  bool Transmit(TEntity* Target, TMentoraMessageStream* Message, TMentoraMessageStream* Reply);
  std::unique_ptr<TMentoraMessageStream> FindReply(const TTimeStamp& Stamp);
  // A block as it arrives at the hidden window.
  void Receive(const TBlock& Block);

  QString ParamStr(int Index) const;
  int ParamCount() const { return static_cast<int>(Params.size()) - 1; }
  // A second instance was found: the program is to end without showing a window.
  bool EndRequested() const { return EndRequested_; }

  void Loaded() override;

protected:
  // Completes construction once the class's names are known (they are virtual).
  void CreateWindow();
  void CheckSingleInstance();
  void CollectParams();
  // Looks the server's window up the first time it is needed (registering, a request,
  // the unregister at the end), not while the program starts: in local mode a slow or
  // absent server never holds up the first frame. A handle set from outside stands.
  void LookUpServer();
  void QueueReply(std::unique_ptr<TMentoraMessageStream> Reply);
  std::unique_ptr<TMessageWindow> Window_;
  std::unique_ptr<QLockFile> Mutex_;
  std::unique_ptr<TGlossator> Dictionary_;
  bool AutoTranslate_ = true, MultiStart_ = false, UseTesseraServer_ = true;
  bool EndRequested_ = false;
  bool ServerLookedUp_ = false;
};

class TtsrDemonClient : public TtsrCustomDemon {
  Q_OBJECT

public:
  explicit TtsrDemonClient(QObject* Owner = nullptr);
  // Releases the window, the class name and, last, the single-instance lock; it sends
  // and writes nothing: that is Shutdown's.
  ~TtsrDemonClient() override;
  // The orderly end of a run, called once before destruction: unregisters from the
  // server and writes the collected ITL file; a failure is reported on stderr.
  void Shutdown();

  QString GetText(const QString& Key) { return Dictionary_->Translate(Key); }
  // In local mode, the ITL file to load instead of the one beside the program (another
  // language of it).
  void SetDictionaryFile(const QString& FileName) { DictionaryFile_ = FileName; }

  QString GetWindowClassName() const override;
  QString GetWindowName() const override;
  std::unique_ptr<TEntity> FindEntityByName(const std::string& Title) override;
  std::unique_ptr<TEntity> FindEntityByHandle(THandle Handle) override;
  int Execute(const std::string& Command, const std::string& Parameters, bool Wait, int32_t Mode) override;
  std::unique_ptr<TMemoryStream> GetStream(const std::string& Name) override;
  std::string MapFileName(const std::string& FileName) override;
  std::string QueryValue(const std::string& Name) override;
  std::string GetDirectory(const std::string& Name) override;

  void Loaded() override;

private:
  // Server mode ends with a message on stderr: no server, or no readable answer.
  void FallBackToLocalMode(const char* Reason);
  void ConnectToServer();
  void LoadDictionary();
  // Sends a request of Type with Content and returns the reply's content.
  std::unique_ptr<TMentoraMessageStream> Request(int32_t Type, const std::function<void(TMentoraMessageStream&)>& Content);
  std::unique_ptr<TEntity> FindEntity(const std::function<void(TMentoraMessageStream&)>& Content);
  QString DictionaryFile_;
  bool ShutDown_ = false;
};

// The suffix of the server to talk to: the machine-wide setting "ViewerHandle", else the
// last "/serverhandle=" argument (any letter case), lower-cased.
QString ServerHandleSuffix(const QStringList& Arguments);

// The parameters of a command line: every argument but those that begin, in exactly
// this letter case, with "/serverhandle=".
QStringList ParamsOf(const QStringList& Arguments);

// Texts on a stream: a 32-bit length, then the bytes; a length <= 0 reads as empty, and
// one beyond the stream's end raises EReadError.
void WriteString(TStream& Stream, const std::string& Text);
std::string ReadString(TStream& Stream);

// The block of a message: Time, Date, then the content.
QByteArray EncodeBlock(TMentoraMessageStream& Message);
// The message of a received block, or null when the block is shorter than its header.
std::unique_ptr<TMentoraMessageStream> DecodeBlock(const TBlock& Block, TtsrCustomDemon* Demon);
