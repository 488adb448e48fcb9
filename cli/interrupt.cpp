#include "interrupt.h"

#include <csignal>

#include <signal.h>

namespace velmora::cli {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) { g_interrupted = 1; }

}  // namespace

void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a blocking read of standard input returns with EINTR so
  // that the command notices the cancel. SA_RESETHAND: the second Ctrl-C
  // gets the default action.
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
}

bool Interrupted() { return g_interrupted != 0; }

}  // namespace velmora::cli
