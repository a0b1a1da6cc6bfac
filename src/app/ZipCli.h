// Commands of the brisko-zip tool: each zipcli_*.cpp file registers its command here.
#pragma once

#include <string>

namespace brisko::zip {
class ZipReader;
}

namespace brisko::app {

// One command: brisko-zip NAME ARGS... ; Run gets argc/argv starting at the command name and returns
// the exit code (0 success, 1 command failed, 2 usage error or unreadable archive).
struct CliCommand {
  const char* name;
  const char* usage;  // one line, e.g. "l ARCHIVE"
  int (*run)(int argc, char** argv);
};

// Adds a command to the table; use as `static const bool registered = RegisterCommand({...});`.
bool RegisterCommand(const CliCommand& command);

// Takes a word that is none of the command's options as its one archive operand. Returns "" when
// taken, otherwise the usage error to report ("unknown option -q", "only one archive").
std::string TakeArchiveOperand(const std::string& arg, std::string& archive);

// A member name or comment made safe to print on a terminal: control characters (C0, DEL and the
// UTF-8 forms of C1) become \xNN escapes; with keepLines, line feeds and tabs stay as they are.
std::string TerminalSafe(const std::string& text, bool keepLines = false);

// Lets SIGINT and SIGTERM stop the work of `worker` as a cancel does: an archive being written is
// removed, and the command fails with the cancel message.
void StopOnSignals(zip::ZipReader& worker);

}  // namespace brisko::app
