// Commands of the brisko-zip tool: each zipcli_*.cpp file registers its command here.
#pragma once

#include <string>

namespace brisko::app {

// One command: brisko-zip NAME ARGS... ; Run gets argc/argv starting at the command name and returns
// the exit code (0 success, 1 command failed, 2 usage error or unreadable archive).
struct CliCommand {
  const char* name;
  const char* usage;  // one line, e.g. "l ARCHIVE"
  int (*run)(int argc, char** argv);
  const char* help = nullptr;  // lines that --help prints below the usage, each indented
};

// Adds a command to the table; use as `static const bool registered = RegisterCommand({...});`.
bool RegisterCommand(const CliCommand& command);

// Takes a word that is none of the command's options as its one archive operand. Returns "" when
// taken, otherwise the usage error to report ("unknown option -q", "only one archive").
std::string TakeArchiveOperand(const std::string& arg, std::string& archive);

// Catches SIGINT and SIGTERM from here on; StopSignalled tells whether one came.
void StopOnSignals();
bool StopSignalled();

// An observer of the engine that SIGINT and SIGTERM stop as a cancel does: an archive being written
// is removed, and the command fails with the cancel message. The engine asks between blocks of work,
// also while a large member is being deflated.
template <typename Observer>
class SignalStoppedObserver : public Observer {
 public:
  SignalStoppedObserver() { StopOnSignals(); }
  bool CancelRequested() override { return StopSignalled(); }
};

}  // namespace brisko::app
