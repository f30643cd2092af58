#include "companion/QuitRequest.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool Requested = false;
int SignalPipe[2] = {-1, -1};

// A signal handler may only write to the pipe; the main thread reads it.
void OnSignal(int) {
  const char Byte = 1;
  [[maybe_unused]] const ssize_t Written = ::write(SignalPipe[1], &Byte, 1);
}

}  // namespace

void RequestQuit() {
  Requested = true;
  QCoreApplication::exit(0);
}

bool QuitRequested() { return Requested; }

void QuitOnSignals() {
  if (SignalPipe[0] >= 0 || ::pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* Notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(Notifier, &QSocketNotifier::activated, [] {
    char Bytes[64];  // what is left over wakes the notifier again
    [[maybe_unused]] const ssize_t Read = ::read(SignalPipe[0], Bytes, sizeof Bytes);
    RequestQuit();
  });
  struct sigaction Action {};
  Action.sa_handler = OnSignal;
  sigemptyset(&Action.sa_mask);
  Action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &Action, nullptr);
  ::sigaction(SIGTERM, &Action, nullptr);
}
