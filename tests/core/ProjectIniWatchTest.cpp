// The daemon reloads project.ini after hand edits, also those made while its own runs were writing.
#include <gtest/gtest.h>

#include "core/ProjectIniWatch.h"
#include "support/Files.h"
#include "support/TempDir.h"

namespace brisko::core {
namespace {

using namespace brisko::test;

const char* const kIni = "[Docs]\r\nValue=3\r\nNewDateTime=46000\r\nPrefix=Docs\r\n";

TEST(ProjectIniWatchTest, ReportsEditsButNotTheRunsOwnWrites) {
  struct Case {
    const char* label;
    const char* duringRuns;  // the file after a tick's runs
    bool reloadNext;
  } cases[] = {
      {"no change", kIni, false},
      {"runs advanced counter and moment", "[Docs]\nValue=4\nNewDateTime=46001.5\nPrefix=Docs\n", false},
      {"hand edit during the runs", "[Docs]\r\nValue=4\r\nNewDateTime=46000\r\nPrefix=Other\r\n", true},
      {"project added during the runs", "[Docs]\r\nValue=3\r\nPrefix=Docs\r\n[New]\r\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    const std::string ini = dir.Path("project.ini");
    WriteFile(ini, kIni);
    ProjectIniWatch watch(ini);
    EXPECT_FALSE(watch.TakeChange());
    watch.BeforeRuns();
    WriteFile(ini, c.duringRuns);
    watch.AfterRuns();
    EXPECT_EQ(watch.TakeChange(), c.reloadNext);
    EXPECT_FALSE(watch.TakeChange()) << "a change is reported once";
  }
}

TEST(ProjectIniWatchTest, EditBetweenTicksWithinTheSameSecondIsSeen) {
  TempDir dir;
  const std::string ini = dir.Path("project.ini");
  WriteFile(ini, kIni);
  ProjectIniWatch watch(ini);
  WriteFile(ini, "[Docs]\r\nValue=3\r\nPrefix=Renamed\r\n");
  EXPECT_TRUE(watch.TakeChange());
}

}  // namespace
}  // namespace brisko::core
