// The terminal the command-line programs write to.
#include "platform/Console.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdlib>
#endif

namespace brisko::platform {

#ifdef _WIN32

namespace {
UINT savedOutputCodePage = 0;
}  // namespace

void UseUtf8Console() {
  // The code page belongs to the console, which the shell that started us shares: set it back.
  savedOutputCodePage = ::GetConsoleOutputCP();
  if (savedOutputCodePage == 0 || savedOutputCodePage == CP_UTF8) return;
  if (!::SetConsoleOutputCP(CP_UTF8)) return;
  std::atexit([] { ::SetConsoleOutputCP(savedOutputCodePage); });
}

#else

void UseUtf8Console() {}

#endif

}  // namespace brisko::platform
