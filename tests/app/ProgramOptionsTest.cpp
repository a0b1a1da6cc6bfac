// --help and --version of the three programs: exit 0, text on standard output, the build's version.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <sstream>
#include <vector>

#include "BackupFixture.h"
#include "BriskoVersion.h"
#include "support/TempDir.h"

namespace brisko::core::test {
namespace {

TEST(ProgramOptionsTest, HelpAndVersionAnswerWithoutWork) {
  struct Case {
    const char* program;
    const char* option;
    std::string expected;
  };
  std::vector<Case> cases = {
      {"brisko-zip", "--version", std::string("brisko-zip ") + BRISKO_VERSION + "\n"},
      {"brisko-backup", "--version", std::string("brisko-backup ") + BRISKO_VERSION + "\n"},
      {"brisko-zip", "--help", "brisko-zip --help | --version"},
      {"brisko-backup", "--help", "brisko-backup --help | --version"},
  };
#ifdef BRISKO_GUI_BUILT
  cases.push_back(
      {"brisko-zip-backup", "--version", std::string("brisko-zip-backup ") + BRISKO_VERSION + "\n"});
  cases.push_back({"brisko-zip-backup", "--help", "usage: brisko-zip-backup"});
#endif
  for (const auto& c : cases) {
    // No display: the desktop program must answer before it needs one.
    auto [code, out] =
        RunShell("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= " + ShellQuote(ProgramPath(c.program)) +
                 " " + c.option + " 2>/dev/null");
    EXPECT_EQ(code, 0) << c.program << " " << c.option;
    EXPECT_NE(out.find(c.expected), std::string::npos) << c.program << " " << c.option << ": " << out;
  }
}

// The command lines as the man pages give them: options anywhere, the last of two that contradict each
// other winning, values that begin with "-", "--" before operands, and usage errors that exit with 2
// (brisko-zip naming the problem).
TEST(ProgramOptionsTest, CommandLines) {
  struct Case {
    const char* program;
    const char* args;
    int code;
    const char* output;
  };
  const Case cases[] = {
      {"brisko-zip", "a -r -u -f new.zip f.txt", 1, "nothing to add"},  // freshen: nothing new
      {"brisko-zip", "a -f -u new.zip f.txt", 0, ""},
      {"brisko-zip", "a -9 -P -secret -x '*.log' -z note -- z.zip -r f.txt", 1, "-r: no such file"},
      {"brisko-zip", "t -P -secret z.zip", 0, ""},
      {"brisko-zip", "x -o never -P -secret -d out z.zip f.txt", 0, ""},
      {"brisko-zip", "a -q z.zip f.txt", 2, "brisko-zip: unknown option -q"},
      {"brisko-zip", "a z.zip f.txt -P", 2, "brisko-zip: option -P needs a value"},
      {"brisko-zip", "a --threads 1x z.zip f.txt", 2, "--threads takes a number"},
      {"brisko-zip", "a --aes z.zip f.txt", 2, "--aes needs a password (-P)"},
      {"brisko-zip", "a z.zip", 2, "an archive and at least one entry are needed"},
      {"brisko-zip", "x -o sometimes z.zip", 2,
       "brisko-zip x: -o takes prompt, always, never, newer or older"},
      {"brisko-zip", "x z.zip f.txt -d", 2, "brisko-zip x: -d needs a folder"},
      {"brisko-zip", "t z.zip -5", 2, "brisko-zip t: unknown option -5"},
      {"brisko-zip", "l z.zip other.zip", 2, "brisko-zip l: only one archive"},
      {"brisko-zip", "nope", 2, "brisko-zip: unknown command 'nope'"},
      {"brisko-backup", "--config-dir . verify --password -secret z.zip", 0, "member(s) verified"},
      {"brisko-backup", "--config-dir . verify z.zip --password", 2, "usage: brisko-backup"},
      {"brisko-backup", "--config-dir . daemon --tick 0", 2, "daemon [--tick SECONDS]"},
      {"brisko-backup", "--config-dir . restore z.zip --to", 2, "usage: brisko-backup"},
      {"brisko-backup", "--config-dir . restore z.zip --overwrite sometimes --to out", 2,
       "usage: brisko-backup"},
      {"brisko-backup", "--config-dir . restore --flat -x z.zip --to out", 2, "usage: brisko-backup"},
  };
  brisko::test::TempDir dir;
  dir.Write("f.txt", "text\n");
  for (const Case& c : cases) {
    auto [code, out] = RunShell("cd " + ShellQuote(dir.Path()) + " && " + ShellQuote(ProgramPath(c.program)) +
                                " " + c.args + " 2>&1 </dev/null");
    EXPECT_EQ(code, c.code) << c.program << " " << c.args << ": " << out;
    EXPECT_NE(out.find(c.output), std::string::npos) << c.program << " " << c.args << ": " << out;
  }
}

// Scripts read the exit codes of brisko-zip in the README or in its man page: both say the same.
TEST(ProgramOptionsTest, ReadmeAndManPageGiveTheSameExitCodes) {
  const fs::path top = fs::path(BRISKO_TESTDATA_DIR).parent_path().parent_path();
  std::map<std::string, std::string> man, readme;
  std::istringstream manText(ReadFile((top / "docs/man/brisko-zip.1").string()));
  std::string line, code;
  bool inStatus = false;
  while (std::getline(manText, line)) {
    if (line.rfind(".SH", 0) == 0) inStatus = line == ".SH EXIT STATUS";
    if (!inStatus || line == ".TP" || line.rfind(".SH", 0) == 0) continue;
    if (line.rfind(".B ", 0) == 0) {
      code = line.substr(3);
    } else {
      man[code] += (man[code].empty() ? "" : " ") + line;
    }
  }
  std::istringstream readmeText(ReadFile((top / "README.md").string()));
  while (std::getline(readmeText, line)) {
    const size_t bar = line.find("| ");
    if (bar == std::string::npos || line.size() < bar + 6 ||
        !std::isdigit(static_cast<unsigned char>(line[bar + 2])))
      continue;
    const size_t second = line.find(" | ", bar + 2);
    readme[line.substr(bar + 2, second - bar - 2)] = line.substr(second + 3, line.size() - second - 5);
  }
  EXPECT_EQ(man.size(), 3u);
  EXPECT_EQ(readme, man);
}

}  // namespace
}  // namespace brisko::core::test
