// Round trip of a request and its reply (QueryValue) against mentora-server: median and
// 99th percentile over 1,000 requests. Run from the build tree of the bench preset.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "companion/TesseraDemon.h"

int main(int argc, char** argv) {
  QCoreApplication App(argc, argv);
  const QString Suffix = QStringLiteral("bench%1").arg(QCoreApplication::applicationPid());
  QProcess Server;
  Server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../server/mentora-server"),
               {QStringLiteral("--suffix"), Suffix});
  if (!Server.waitForReadyRead(10000)) {
    std::fprintf(stderr, "mentora-server did not start\n");
    return 1;
  }
  TComponent Owner;
  auto* Client = new TtsrDemonClient(&Owner);
  Client->ServerEntity->Handle = TMessageWindow::FindWindow(
      QStringLiteral("ThisIsTheMentoraServerComponentWindowClass") + Suffix,
      QStringLiteral("ThisIsTheMentoraServerComponentWindow") + Suffix);
  std::vector<double> Micros;
  for (int I = 0; I < 1000; ++I) {
    QElapsedTimer T;
    T.start();
    Client->QueryValue("some/value");
    Micros.push_back(T.nsecsElapsed() / 1000.0);
  }
  std::sort(Micros.begin(), Micros.end());
  std::printf("QueryValue round trip over 1000 requests: median %.1f us, p99 %.1f us\n", Micros[500], Micros[989]);
  Server.terminate();
  Server.waitForFinished(5000);
  return 0;
}
