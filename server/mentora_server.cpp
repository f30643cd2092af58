// mentora-server: a stand-in for the companion server, so that the client's server mode
// can be started and tested for real. It serves one folder of files, answers values
// from an INI file, keeps the table of registered programs, starts programs, and tells
// every registered program to quit when it is stopped.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <cstdio>
#include <unistd.h>
#include <vector>

#include "companion/QuitRequest.h"
#include "companion/TesseraDemon.h"

namespace {

struct TRegistered {
  THandle Handle;
  uint32_t MutexHandle;
  std::string FileName, Title;
};

class TMentoraServer {
public:
  TMentoraServer(const QString& Suffix, const QString& Folder, const QString& IniFile)
      : Window_(QStringLiteral("ThisIsTheMentoraServerComponentWindowClass") + Suffix,
                QStringLiteral("ThisIsTheMentoraServerComponentWindow") + Suffix),
        Folder_(QDir(Folder).absolutePath() + QLatin1Char('/')),
        Values_(IniFile, QSettings::IniFormat) {
    Window_.OnBlock = [this](const TBlock& Block) { Handle(Block); };
  }

  bool Listening() const { return Window_.Listening(); }

  // Tells every registered program that the server goes down.
  void QuitAll() {
    for (const TRegistered& R : Registered_) {
      TMentoraMessageStream Quit(nullptr);
      Quit.MsgType = mtQuit;
      Quit.TimeStamp = TTimeStamp::Now();
      Quit.WriteValue<uint8_t>(1);
      Window_.Send(R.Handle, mtQuit, EncodeBlock(Quit));
    }
  }

private:
  void Handle(const TBlock& Block) {
    const std::unique_ptr<TMentoraMessageStream> Request = DecodeBlock(Block, nullptr);
    if (!Request) return;
    TMentoraMessageStream Reply(nullptr);
    try {
      if (!Answer(*Request, Block, Reply)) return;
    } catch (const EStreamError&) {
      return;  // a request too short for its layout gets no reply
    }
    Reply.MsgType = mtReply;
    Reply.TimeStamp = Request->TimeStamp;
    Window_.Send(Block.Sender, mtReply, EncodeBlock(Reply));
  }

  // Writes the reply content; false for messages that are not answered.
  bool Answer(TMentoraMessageStream& Q, const TBlock& Block, TMentoraMessageStream& R) {
    switch (Q.MsgType) {
      case mtRegister:
      case mtUnregister: {
        TEntity E(nullptr);
        E.ReadFrom(Q);
        std::erase_if(Registered_, [&](const TRegistered& X) { return X.Handle == E.Handle; });
        if (Q.MsgType == mtRegister) Registered_.push_back({E.Handle, E.MutexHandle, E.FileName(), E.Title()});
        return false;
      }
      case mtFindEntity: {
        const uint8_t Kind = Q.ReadValue<uint8_t>();
        const THandle ByHandle = Kind == 1 ? Q.ReadValue<uint32_t>() : 0;
        const std::string ByTitle = Kind == 2 ? Q.ReadString() : std::string();
        for (const TRegistered& X : Registered_)
          if ((Kind == 1 && X.Handle == ByHandle) || (Kind == 2 && X.Title == ByTitle)) {
            TEntity E(nullptr);
            E.Handle = X.Handle;
            E.MutexHandle = X.MutexHandle;
            E.SetFileName(X.FileName);
            E.SetTitle(X.Title);
            E.WriteTo(R);
            break;
          }
        return true;
      }
      case mtExecute: {
        const QString Command = QString::fromStdString(Q.ReadString());
        const QStringList Arguments = QProcess::splitCommand(QString::fromStdString(Q.ReadString()));
        Q.ReadValue<uint8_t>();
        Q.ReadValue<int32_t>();
        // Programs run as the server's user, so only for that user's programs.
        qint64 Pid = 0;
        if (Block.SenderUid != ::geteuid() || !QProcess::startDetached(Command, Arguments, QString(), &Pid)) Pid = 0;
        R.WriteValue<uint32_t>(static_cast<uint32_t>(Pid));
        return true;
      }
      case mtGetStream: {
        // Only files of the served folder, whatever path is asked for.
        QFile File(Folder_ + QFileInfo(QString::fromStdString(Q.ReadString())).fileName());
        const bool Found = File.open(QIODevice::ReadOnly);
        R.WriteValue<uint8_t>(Found ? 1 : 0);
        if (Found) {
          const QByteArray Bytes = File.readAll();
          R.WriteBuffer(Bytes.constData(), static_cast<int>(Bytes.size()));
        }
        return true;
      }
      case mtMapFileName:
        R.WriteString((Folder_ + QFileInfo(QString::fromStdString(Q.ReadString())).fileName()).toStdString());
        return true;
      case mtQueryValue:
        R.WriteString(Values_.value(QString::fromStdString(Q.ReadString())).toString().toStdString());
        return true;
      case mtGetDirectory: {
        const std::string Name = Q.ReadString();
        R.WriteString(Name == "TesseraWorkArea" || Name == "TesseraHomeDir" ? Folder_.toStdString() : std::string());
        return true;
      }
      default:
        return false;
    }
  }

  TMessageWindow Window_;
  QString Folder_;
  QSettings Values_;
  std::vector<TRegistered> Registered_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication App(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("mentora-server"));
  QCommandLineParser Parser;
  Parser.setApplicationDescription(
      QStringLiteral("A stand-in companion server: serves the files of one folder, values of an INI file and the\n"
                     "table of registered programs to the programs of the family. SIGINT or SIGTERM stops it and\n"
                     "tells every registered program that the server went down. It refuses to start while a server\n"
                     "with the same suffix runs for this user."));
  Parser.addHelpOption();
  Parser.addOption({QStringLiteral("suffix"), QStringLiteral("Server suffix, as in /serverhandle=<suffix>."),
                    QStringLiteral("suffix")});
  Parser.addOption({QStringLiteral("folder"), QStringLiteral("Folder served (default: the current one)."),
                    QStringLiteral("folder"), QStringLiteral(".")});
  Parser.addOption({QStringLiteral("values"), QStringLiteral("INI file answering value queries."),
                    QStringLiteral("file"), QStringLiteral("mentora.ini")});
  Parser.process(App);
  TMentoraServer Server(Parser.value(QStringLiteral("suffix")), Parser.value(QStringLiteral("folder")),
                        Parser.value(QStringLiteral("values")));
  if (!Server.Listening()) {
    std::fprintf(stderr, "mentora-server: cannot open its message window (is a server with this suffix running?)\n");
    return 1;
  }
  QuitOnSignals();
  std::fprintf(stdout, "mentora-server: ready\n");
  std::fflush(stdout);
  App.exec();
  Server.QuitAll();
  return 0;  // the window's sockets go with it
}
