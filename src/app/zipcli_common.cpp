// Argument handling and stopping shared by the brisko-zip commands.
#include <csignal>
#include <string>

#include "app/ZipCli.h"
#include "platform/StopSignals.h"

namespace brisko::app {

namespace {
volatile std::sig_atomic_t gStopSignal = 0;

void OnStopSignal(int) {
  gStopSignal = 1;
}
}  // namespace

void StopOnSignals() {
  platform::OnStopSignals(OnStopSignal);
}

bool StopSignalled() {
  return gStopSignal != 0;
}

std::string TakeArchiveOperand(const std::string& arg, std::string& archive) {
  if (arg.size() > 1 && arg[0] == '-') return "unknown option " + arg;
  if (!archive.empty()) return "only one archive";
  archive = arg;
  return {};
}

}  // namespace brisko::app
