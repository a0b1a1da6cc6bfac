// brisko-zip l: one line per entry in archive order, the comment last, exit codes.
#include <gtest/gtest.h>

#include <string>

#include "support/Commands.h"
#include "support/TestManifest.h"

namespace brisko::test {
namespace {

CommandResult RunList(const std::string& args) {
  return RunShell(ShellQuote(ProgramPath("brisko-zip")) + " l " + args + " 2>&1");
}

TEST(ZipCliList, ListsEntriesAndComment) {
  CommandResult r = RunList("'" + TestDataPath("interop", "iz30_comments.zip") + "'");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.rfind("0 34 34 2022-03-04 05:06:08 d35b67ed hello.txt\n"
                        "8 8595 19934 2022-03-04 05:06:08 4b67568e hamlet_part.txt\n",
                        0),
            0u)
      << r.out;
  EXPECT_NE(r.out.find("0 0 0 2022-03-04 05:06:08 00000000 docs/nested/\n"), std::string::npos);
  EXPECT_NE(r.out.find("Archive comment written by zip -z, line 1"), std::string::npos);
}

TEST(ZipCliList, ErrorsExitWithTwo) {
  struct Case {
    std::string args;
    std::string message;
  };
  const Case cases[] = {
      {"", "no archive given"},
      {"'" + TestDataPath("interop", "truncated_in_cd.zip") + "'", "Incomplete Zip File"},
      {"/nonexistent/none.zip", "none.zip"},
      {"-x a.zip", "unknown option"},
  };
  for (const Case& c : cases) {
    CommandResult r = RunList(c.args);
    EXPECT_EQ(r.exitCode, 2) << c.args;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << ": " << r.out;
  }
}

TEST(ZipCliList, RepairOptionSalvagesLocalEntries) {
  CommandResult r = RunList("-r '" + TestDataPath("interop", "truncated_in_data.zip") + "'");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find(" hamlet_part.txt\n"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace brisko::test
