// brisko-zip l: one line per entry in archive order, the comment last, exit codes.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "TestManifest.h"

namespace brisko::zip {
namespace {

struct RunResult {
  int exitCode = -1;
  std::string out;
};

RunResult RunList(const std::string& args) {
  std::string cmd = "'" + std::string(BRISKO_BINARY_DIR) + "/src/app/brisko-zip' l " + args + " 2>&1";
  RunResult r;
  FILE* pipe = popen(cmd.c_str(), "r");
  if (!pipe) return r;
  std::array<char, 4096> buf{};
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) r.out.append(buf.data(), n);
  int status = pclose(pipe);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(ZipCliList, ListsEntriesAndComment) {
  RunResult r = RunList("'" + test::TestDataPath("interop", "iz30_comments.zip") + "'");
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
      {"'" + test::TestDataPath("interop", "truncated_in_cd.zip") + "'", "Incomplete Zip File"},
      {"/nonexistent/none.zip", "none.zip"},
      {"-x a.zip", "unknown option"},
  };
  for (const Case& c : cases) {
    RunResult r = RunList(c.args);
    EXPECT_EQ(r.exitCode, 2) << c.args;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << ": " << r.out;
  }
}

TEST(ZipCliList, RepairOptionSalvagesLocalEntries) {
  RunResult r = RunList("-r '" + test::TestDataPath("interop", "truncated_in_data.zip") + "'");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find(" hamlet_part.txt\n"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace brisko::zip
