// The daemon reloads project.ini after hand edits, also those made while its own runs were writing.
#include <gtest/gtest.h>

#include "StoreTestDir.h"
#include "core/ProjectIniWatch.h"

namespace brisko::core {
namespace {

using testing::StoreTestDir;

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
    StoreTestDir dir;
    const std::string ini = dir.File("project.ini");
    StoreTestDir::Write(ini, kIni);
    ProjectIniWatch watch(ini);
    EXPECT_FALSE(watch.TakeChange());
    watch.BeforeRuns();
    StoreTestDir::Write(ini, c.duringRuns);
    watch.AfterRuns();
    EXPECT_EQ(watch.TakeChange(), c.reloadNext);
    EXPECT_FALSE(watch.TakeChange()) << "a change is reported once";
  }
}

TEST(ProjectIniWatchTest, EditBetweenTicksWithinTheSameSecondIsSeen) {
  StoreTestDir dir;
  const std::string ini = dir.File("project.ini");
  StoreTestDir::Write(ini, kIni);
  ProjectIniWatch watch(ini);
  StoreTestDir::Write(ini, "[Docs]\r\nValue=3\r\nPrefix=Renamed\r\n");
  EXPECT_TRUE(watch.TakeChange());
}

}  // namespace
}  // namespace brisko::core
