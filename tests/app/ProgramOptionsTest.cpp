// --help and --version of the three programs: exit 0, text on standard output, the build's version.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace brisko::core::test
