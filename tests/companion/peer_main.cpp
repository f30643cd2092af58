// A program of the family for the two-process tests: one companion client, its events
// printed on stdout, ended after a given time.
//   companion_peer [--server] [--multi] [--veto] [--ms N] [--itl FILE] [/serverhandle=S] [args...]
// --itl FILE: collects missing keys and writes them to FILE at the end.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "companion/QuitRequest.h"
#include "companion/TesseraDemon.h"

int main(int argc, char** argv) {
  QCoreApplication App(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("companion_peer"));
  const QStringList Args = App.arguments();
  int Ms = 3000;
  QString ItlFile;
  for (int I = 1; I + 1 < Args.size(); ++I) {
    if (Args[I] == QLatin1String("--ms")) Ms = Args[I + 1].toInt();
    if (Args[I] == QLatin1String("--itl")) ItlFile = Args[I + 1];
  }
  QuitOnSignals();
  auto Say = [](const QString& Text) {
    std::printf("%s\n", Text.toUtf8().constData());
    std::fflush(stdout);
  };
  TComponent Owner;
  auto* Client = new TtsrDemonClient(&Owner);
  Client->SetUseTesseraServer(Args.contains(QLatin1String("--server")));
  Client->SetMultiStart(Args.contains(QLatin1String("--multi")));
  if (!ItlFile.isEmpty()) {
    Client->SetAutoCreateItlFile(true);
    Client->Dictionary()->SetOutputFileName(ItlFile);
  }
  Client->OnParamsChange = [&](QObject*) { Say(QStringLiteral("params: ") + Client->Params.join(QLatin1Char(' '))); };
  const bool Veto = Args.contains(QLatin1String("--veto"));
  Client->OnQuitMsgReceived = [&](QObject*, bool ServerDown, bool& AllowQuit) {
    AllowQuit = !Veto;
    Say(QStringLiteral("quit serverdown=%1 allowed=%2").arg(ServerDown).arg(AllowQuit));
  };
  try {
    Client->Loaded();
  } catch (const EMentora& E) {
    Say(QStringLiteral("error: ") + QString::fromStdString(E.what()));
    return 3;
  }
  // The orderly end of every run, as the program's.
  const auto End = [Client](int Code) {
    Client->Shutdown();
    return Code;
  };
  if (Client->EndRequested()) {
    Say(QStringLiteral("ended: another instance runs"));
    return End(0);
  }
  if (QuitRequested()) return End(0);
  Say(Client->UseTesseraServer() ? QStringLiteral("running in server mode") : QStringLiteral("running"));
  if (!ItlFile.isEmpty()) Client->GetText(QStringLiteral("Collected"));
  QTimer::singleShot(Ms, &App, &QCoreApplication::quit);
  return End(App.exec());
}
