// brisko-backup run on the folders of a BackupFixture, as a user runs it.
#pragma once

#include <string>

#include "BackupFixture.h"

namespace brisko::core::test {

class BackupCliFixture : public BackupFixture {
 protected:
  // Runs the program on the test's data folder with stdinText piped in; returns the exit code, standard
  // output in out and standard error in err.
  int Cli(const std::string& args, std::string* out = nullptr, std::string* err = nullptr,
          const std::string& stdinText = "") {
    const std::string errFile = (root / "stderr.txt").string();
    const CommandResult r =
        RunShell("printf '%s' " + ShellQuote(stdinText) + " | " + ShellQuote(Program()) + " --config-dir " +
                 ShellQuote(data.string()) + " " + args + " 2>" + ShellQuote(errFile));
    if (out) *out = r.out;
    if (err) *err = ReadFile(errFile);
    return r.exitCode;
  }
  static std::string Program() { return ProgramPath("brisko-backup"); }
};

}  // namespace brisko::core::test
