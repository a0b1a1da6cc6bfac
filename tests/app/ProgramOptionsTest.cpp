// --help and --version of the three programs: exit 0, text on standard output, the build's version.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <sstream>
#include <vector>

#include "BackupFixture.h"
#include "BriskoVersion.h"

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
