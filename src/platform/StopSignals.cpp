// Installing the stop handler.
#include "platform/StopSignals.h"

#include <csignal>

namespace brisko::platform {

void OnStopSignals(void (*handler)(int)) {
#ifdef _WIN32
  std::signal(SIGINT, handler);
  std::signal(SIGTERM, handler);
#else
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = SA_RESTART;  // interrupted reads and writes resume instead of failing
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);  // the terminal closed: stop as cleanly as on Ctrl+C
#endif
}

}  // namespace brisko::platform
