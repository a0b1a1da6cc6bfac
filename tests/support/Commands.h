// Running the built programs and the Linux tools the tests compare against.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace brisko::test {

struct CommandResult {
  int exitCode = -1;  // -1 when the command did not run or did not exit normally
  std::string out;    // standard output
};

// Runs a command line through the POSIX shell and captures its standard output. Where there is no
// such shell (Windows) nothing runs; tests that need one skip first (BRISKO_SKIP_WITHOUT_POSIX_SHELL).
CommandResult RunShell(const std::string& command);

// Runs a command line with standard error joined to standard output; returns the exit code and,
// when out is given, the output.
int Shell(const std::string& command, std::string* out = nullptr);

// The lines of a command's output, without their line ends (a last empty line is not one).
std::vector<std::string> Lines(const std::string& text);

// s as one shell word.
std::string ShellQuote(std::string_view s);

// True when the shell finds the named tool.
bool HaveTool(const std::string& name);

// The path of a program this build made (brisko-zip, brisko-backup, ...).
std::string ProgramPath(const std::string& name);

// Python's zipfile as the reference reader: checks every CRC, compares each file member with
// sourceRoot/name when sourceRoot is given, and prints one line per member:
// name, method, flags, crc, compressed size, size, internal attributes; then "COMMENT <text>".
int PythonZipCheck(const std::string& archive, const std::string& password, const std::string& sourceRoot,
                   std::string* out);

}  // namespace brisko::test

// Skips the running test where Linux tools run through a POSIX shell are not at hand.
#define BRISKO_SKIP_WITHOUT_POSIX_SHELL()                                                  \
  do {                                                                                     \
    if (::brisko::platform::kWindows) GTEST_SKIP() << "runs Linux tools in a POSIX shell"; \
  } while (0)

// Skips the running test unless the named tool is installed.
#define BRISKO_REQUIRE_TOOL(name)                                                       \
  do {                                                                                  \
    BRISKO_SKIP_WITHOUT_POSIX_SHELL();                                                  \
    if (!::brisko::test::HaveTool(name)) GTEST_SKIP() << (name) << " is not installed"; \
  } while (0)
