// Rotation as runs meet it: no run deletes the last good copy of a file, overwrites an archive of
// its own, or stays blocked by a name already taken.
#include <functional>

#include "BackupFixture.h"
#include "core/SettingsFiles.h"
#include "support/TestEnvironment.h"

namespace brisko::core::test {
namespace {

using RotationRunTest = BackupFixture;

TEST_F(RotationRunTest, NoRunDeletesTheLastGoodCopy) {
  struct Run {
    std::function<void(MainModel&)> before;
    BackupOutcome outcome;
    const char* logPart = "";  // part of the run's log entry
  };
  struct Case {
    const char* label;
    Keys keys;
    Keys common;
    std::vector<Run> runs;
    std::vector<std::string> files;  // the destination afterwards
  };
  using O = BackupOutcome;
  const auto set = [this](const char* key, const char* value) {
    return [=, this](MainModel& model) {
      ProjectIni().WriteString("Docs", key, value);
      model.LoadProject();
    };
  };
  const auto plant = [this](const char* name, std::string content) {
    return [=, this](MainModel&) { ::brisko::test::WriteFile(DestPath(name), content); };
  };
  const std::string emptyArchive = std::string("PK\x05\x06", 4) + std::string(18, '\0');
  const Case cases[] = {
      {"folders without files write no archive",
       {{"Store Number", "2"}, {"Whether store path in Zip", "1"}},
       {},
       {{{}, O::Succeeded},
        {[this](MainModel&) {
           for (const char* f : {"a.txt", "b.txt", "sub/c.txt"}) fs::remove(src / f);
         },
         O::NothingToStore, "No file was found"},
        {{}, O::NothingToStore}},
       {"Docs1.zip"}},
      {"a partly failed run deletes no archive",
       {{"Store Number", "2"}},
       {},
       {{{}, O::Succeeded},
        {{}, O::Succeeded},
        {[this](MainModel&) { WriteFile("sub/a.txt", "a second a.txt\n"); }, O::Incomplete,
         "kept outside the rotation"}},
       {"Docs1.zip", "Docs2.zip", "Docs3.zip"}},
      {"an only-newer chain stays until a full backup",
       {{"Store Number", "2"},
        {"isUseNew", "1"},
        {"isUseToday", "1"},
        {"NewDateTime", "2000-01-01 00:00:00"}},
       {},
       {{{}, O::Succeeded},
        {{}, O::Succeeded},
        {{}, O::Succeeded, "1 archive(s) kept beyond the last 2"},
        {{}, O::Succeeded, "2 archive(s) kept beyond the last 2"},
        {set("isUseNew", "0"), O::Succeeded}},
       {"Docs4.zip", "Docs5.zip"}},
      {"the counter goes past 1000",
       {{"Store Number", "3"}, {"Value", "998"}},
       {},
       {{{}, O::Succeeded}, {{}, O::Succeeded}, {{}, O::Succeeded}},
       {"Docs1000.zip", "Docs1001.zip", "Docs999.zip"}},
      {"the counter goes past 1000 with overwriting on",
       {{"Store Number", "3"}, {"Value", "998"}},
       {{"IsOverWrite", "1"}},
       {{{}, O::Succeeded}, {{}, O::Succeeded}, {{}, O::Succeeded}},
       {"Docs1000.zip", "Docs1001.zip", "Docs999.zip"}},
      {"an archive left under the next name by a crash is passed over",
       {},
       {},
       {{plant("Docs1.zip", emptyArchive), O::Succeeded, "Docs1.zip, already present, was kept"},
        {{}, O::Succeeded}},
       {"Docs1.zip", "Docs2.zip", "Docs3.zip"}},
      {"a foreign file under the next name is refused once",
       {},
       {},
       {{plant("Docs1.zip", "not an archive"), O::Interrupted,
         "exists,backup interripted  It was not written"},
        {{}, O::Succeeded}},
       {"Docs1.zip", "Docs2.zip"}},
      {"suffix None replaces its own archive, never a foreign one",
       {{"Suffix", "0"}},
       {},
       {{{}, O::Succeeded},
        {[this](MainModel&) { WriteFile("a.txt", "changed\n"); }, O::Succeeded},
        {plant("Docs.zip", "someone else's"), O::Interrupted, "Move or rename it"}},
       {"Docs.zip"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    SetUp();
    WriteOneProject(c.keys, c.common);
    auto model = StartModel();
    for (size_t i = 0; i < c.runs.size(); ++i) {
      const Run& run = c.runs[i];
      if (run.before) run.before(*model);
      EXPECT_EQ(model->RunBackup(), run.outcome) << "run " << i + 1;
      EXPECT_NE(LastLog("Information").find(run.logPart), std::string::npos)
          << "run " << i + 1 << ": " << LastLog("Information");
      if (run.outcome != O::Succeeded || !platform::kUnixModes) continue;
      const std::string written = IniFile(StoreNumberPath(dataDir)).ReadString("Docs", "Last Archive", "");
      EXPECT_TRUE(UnzipTestOk(written)) << written;
      EXPECT_EQ(PermissionBits(written), 0600u) << written;
    }
    EXPECT_EQ(DestFiles(), c.files);
  }
}

}  // namespace
}  // namespace brisko::core::test
