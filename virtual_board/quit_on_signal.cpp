#include "virtual_board/quit_on_signal.h"

#include <QCoreApplication>

#if defined(Q_OS_UNIX)
#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <csignal>
#endif

namespace pendra2::virtual_board {

#if defined(Q_OS_UNIX)
namespace {

// Written to by the handler, the only thing a signal handler may safely do here.
int signalPipe[2] = {-1, -1};  // NOLINT: the handler can reach nothing else

extern "C" void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto n = ::write(signalPipe[0], &byte, 1);
}

}  // namespace

void QuitOnSignal(QCoreApplication& app) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}
#else
void QuitOnSignal(QCoreApplication&) {}
#endif

}  // namespace pendra2::virtual_board
