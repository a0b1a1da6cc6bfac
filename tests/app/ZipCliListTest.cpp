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

TEST(ZipCliList, ListsEntriesTotalsAndComment) {
  const std::string archive = "'" + TestDataPath("interop", "iz30_comments.zip") + "'";
  CommandResult r = RunList(archive);
  EXPECT_EQ(r.exitCode, 0);
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_GE(lines.size(), 11u) << r.out;
  EXPECT_EQ(lines[0],
            "      Size  Compressed  Ratio  Method     Encryption  Mode        Modified             CRC-32   "
            " Name");
  EXPECT_EQ(
      lines[3],
      "     19934        8595    56%  Deflate    -           -rw-r--r--  2022-03-04 05:06:08  4b67568e  "
      "hamlet_part.txt");
  EXPECT_EQ(lines[5],
            "         0           0     0%  Stored     -           drwxr-xr-x  2022-03-04 05:06:08  "
            "00000000  docs/");
  EXPECT_EQ(lines[9].substr(0, 29), "     20548        8667    57%");
  EXPECT_NE(lines[9].find("6 member(s)"), std::string::npos);
  EXPECT_EQ(lines[10].rfind("Archive comment written by zip -z, line 1", 0), 0u);

  // Names alone for scripts; the encryption and the time of the extended timestamp, not the DOS one.
  r = RunList("-1 " + archive);
  EXPECT_EQ(r.out.rfind("hello.txt\nhamlet_part.txt\nempty.dat\ndocs/\n", 0), 0u) << r.out;
  r = RunList("'" + TestDataPath("interop", "7z_zipcrypto.zip") + "'");
  EXPECT_NE(r.out.find("  Deflate    ZipCrypto   -rw-r--r--  "), std::string::npos) << r.out;
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
