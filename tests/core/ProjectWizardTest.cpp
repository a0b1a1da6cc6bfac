// The add-project wizard: page flow, checks with their messages, file name, and what Finish writes.
#include <gtest/gtest.h>

#include "ScriptedInteraction.h"
#include "core/DataDir.h"
#include "core/IniFile.h"
#include "core/ManualClock.h"
#include "core/ProjectList.h"
#include "core/ProjectStore.h"
#include "core/SettingsFiles.h"
#include "core/view/ProjectWizard.h"
#include "core/view/TypedPath.h"
#include "platform/Platform.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "support/TestEnvironment.h"

namespace brisko::core {
namespace {

using namespace brisko::test;
using test::ScriptedInteraction;

DateTime Moment(int y, int mo, int d, int h, int mi, int s) {
  return *TryEncodeDate(y, mo, d) + *TryEncodeTime(h, mi, s);
}

class ProjectWizardTest : public ::testing::Test {
 protected:
  TempDir dir;
  ManualClock clock{Moment(2024, 12, 7, 4, 39, 29)};
  ScriptedInteraction ui;

  ProjectWizard Make(std::vector<std::string> projects = {}, GlobalSettings settings = {}) {
    return ProjectWizard(dir.Dir(), std::move(projects), settings, clock);
  }

  // Walks a wizard with valid input to its last page.
  void ToLastPage(ProjectWizard& w, const std::string& name) {
    w.SetName(name);
    ASSERT_EQ(w.Next(ui), ProjectWizard::NextResult::Advanced);
    w.BackupList().Append(Source());
    while (w.Page() < ProjectWizard::kPageCount - 1)
      ASSERT_EQ(w.Next(ui), ProjectWizard::NextResult::Advanced);
  }

  IniFile Ini() const { return IniFile(ProjectIniPath(dir.Dir())); }
  // A source entry whose folder exists.
  std::string Source() const { return dir.Dir() + "*.txt"; }
};

TEST_F(ProjectWizardTest, CaptionsAndButtonsFollowThePage) {
  ProjectWizard w = Make();
  EXPECT_EQ(w.Caption(), "Add project wizard - Step 1 of 6");
  EXPECT_FALSE(w.BackEnabled());
  EXPECT_STREQ(w.NextCaption(), "Next");
  EXPECT_EQ(w.HelpContext(), 301);

  ToLastPage(w, "Docs");
  EXPECT_EQ(w.Caption(), "Add project wizard - Step 6 of 6");
  EXPECT_STREQ(w.NextCaption(), "Finish");
  EXPECT_EQ(w.HelpContext(), 306);
  w.Back();
  EXPECT_STREQ(w.NextCaption(), "Next");
  EXPECT_EQ(w.Caption(), "Add project wizard - Step 5 of 6");
  while (w.Page() > 1) w.Back();
  EXPECT_TRUE(w.BackEnabled());
  w.Back();
  EXPECT_FALSE(w.BackEnabled());
  w.Back();
  EXPECT_EQ(w.Page(), 0);
  EXPECT_TRUE(ui.calls.empty()) << "Back checks nothing";
}

TEST_F(ProjectWizardTest, EachPageCheckStopsWithItsMessage) {
  struct Case {
    const char* label;
    int page;
    std::function<void(ProjectWizard&)> spoil;
    std::string message;  // empty: the page passes
  } cases[] = {
      {"blank name", 0, [](ProjectWizard& w) { w.SetName("   "); }, "Please input a new project name!"},
      {"name in other case", 0, [](ProjectWizard& w) { w.SetName(" docs "); },
       "Project 'docs' exists,please input another name!"},
      {"settings section name", 0, [](ProjectWizard& w) { w.SetName("common"); },
       "Project 'common' exists,please input another name!"},
      {"empty backup list", 1, [](ProjectWizard& w) { w.BackupList().Clear(); },
       "Please select files to backup"},
      {"no exclude needed", 2, [](ProjectWizard& w) { w.ExcludeList().Clear(); }, ""},
      {"blank prefix", 3, [](ProjectWizard& w) { w.SetPrefix("  "); },
       "Please enter the prefix of backup filename"},
      {"passwords differ", 4,
       [](ProjectWizard& w) {
         w.Form().usePassword = true;
         w.Form().password = "abc";
         w.Form().passwordConfirm = "abd";
       },
       "Confirm password is not matching"},
      {"passwords differ only in blanks", 4,
       [](ProjectWizard& w) {
         w.Form().usePassword = true;
         w.Form().password = " abc";
         w.Form().passwordConfirm = "abc ";
       },
       ""},
      {"both passwords empty", 4, [](ProjectWizard& w) { w.Form().usePassword = true; }, ""},
      {"differing passwords while unchecked", 4,
       [](ProjectWizard& w) {
         w.Form().password = "a";
         w.Form().passwordConfirm = "b";
       },
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ProjectWizard w = Make({"Docs", "Mail"});
    ui.calls.clear();
    w.SetName("New");
    w.BackupList().Append(Source());
    while (w.Page() < c.page) ASSERT_EQ(w.Next(ui), ProjectWizard::NextResult::Advanced);
    c.spoil(w);
    if (c.message.empty()) {
      EXPECT_EQ(w.Next(ui), ProjectWizard::NextResult::Advanced);
      EXPECT_TRUE(ui.calls.empty());
    } else {
      EXPECT_EQ(w.Next(ui), ProjectWizard::NextResult::Stayed);
      EXPECT_EQ(w.Page(), c.page);
      ASSERT_EQ(ui.calls.size(), 1u);
      EXPECT_EQ(ui.calls[0].kind, MessageKind::Error);
      EXPECT_EQ(ui.calls[0].text, c.message);
    }
  }
}

TEST_F(ProjectWizardTest, PrefixDefaultsToTheTrimmedNameAndComposesTheFileName) {
  const std::string home = DefaultSaveFolder();
  {
    ProjectWizard w = Make();
    EXPECT_EQ(w.FileName(), "");
    w.SetName("  Docs ");
    w.Next(ui);
    EXPECT_EQ(w.Form().prefix, "Docs");
    EXPECT_EQ(w.FileName(), home + "Docs1.zip");
    w.SetPrefix("Other");
    w.SetName("Changed");  // going back to page 0 and on again keeps a typed prefix
    w.Back();
    w.Next(ui);
    EXPECT_EQ(w.Form().prefix, "Other");
  }
  GlobalSettings padded;
  padded.isAppend0 = true;
  padded.width = 3;
  ProjectWizard w = Make({}, padded);
  w.SetName("Docs");
  w.Next(ui);
  EXPECT_EQ(w.FileName(), home + "Docs001.zip");
  w.SetSuffixNumber(1234);
  EXPECT_EQ(w.FileName(), home + "Docs1234.zip");
  w.ChooseSuffix(SuffixKind::Date);
  EXPECT_EQ(w.FileName(), home + "Docs2024-12-07_04h39m29s.zip");
  w.ChooseSuffix(SuffixKind::None);
  EXPECT_EQ(w.FileName(), home + "Docs.zip");
  EXPECT_FALSE(w.Form().CounterFieldsEnabled());
}

TEST_F(ProjectWizardTest, SaveFolderIsTakenOnlyWhileANameIsGiven) {
  ProjectWizard w = Make();
  const std::string folder = std::string(1, platform::kPathDelim) + "backups";
  ui.folderAnswers = {folder, folder, std::nullopt};
  EXPECT_FALSE(w.PickSaveFolder(ui)) << "blank name";
  EXPECT_EQ(w.SaveFolder(), DefaultSaveFolder());
  w.SetName("Docs");
  w.SetPrefix("Docs");
  EXPECT_TRUE(w.PickSaveFolder(ui));
  EXPECT_EQ(w.FileName(), folder + platform::kPathDelim + "Docs1.zip");
  EXPECT_FALSE(w.PickSaveFolder(ui)) << "cancelled";
  EXPECT_EQ(w.SaveFolder(), folder);
  EXPECT_EQ(ui.calls.at(0).caption, "Please select directory");
}

TEST_F(ProjectWizardTest, SubfolderLabelFollowsTheBox) {
  ProjectWizard w = Make();
  EXPECT_STREQ(w.SubfolderLabel(), "Subdirectories are included");
  w.Form().includeSubfolders = false;
  EXPECT_STREQ(w.SubfolderLabel(), "Subdirectories are not included");
}

TEST_F(ProjectWizardTest, FinishWritesTheTrimmedProjectAndTheNextListEntry) {
  std::vector<std::string> five = {"A", "B", "C", "D", "E"};
  WriteProjectList(dir.Dir(), five);
  ProjectWizard w = Make(five);
  ToLastPage(w, "  New Project  ");
  w.Form().usePassword = true;
  w.Form().password = w.Form().passwordConfirm = "s#cret";
  w.Form().useComment = true;
  w.Form().comment = " note ";
  ASSERT_EQ(w.Next(ui), ProjectWizard::NextResult::Finished);

  IniFile ini = Ini();
  EXPECT_EQ(ini.ReadInteger(kCommonSection, "Project Count", 0), 6);
  EXPECT_EQ(ini.ReadString(kCommonSection, "Count5", ""), "New Project");
  EXPECT_EQ(ini.ReadString(kCommonSection, "Last Project", ""), "New Project");
  const std::string text = ini.Load().Serialize();
  EXPECT_NE(text.find("[New Project]"), std::string::npos);
  EXPECT_EQ(text.find("[ "), std::string::npos) << text;

  const Project p = ReadProject(dir.Dir(), "New Project");
  EXPECT_EQ(p.prefix, "New Project");
  EXPECT_EQ(p.backupList, std::vector<std::string>{Source()});
  EXPECT_EQ(p.password, "s#cret");
  EXPECT_NE(ini.ReadString("New Project", "Password", ""), "s#cret") << "never stored in clear";
  EXPECT_EQ(p.savePath, DefaultSaveFolder());
  EXPECT_EQ(p.packLevel, 6);
  EXPECT_EQ(p.storeNumber, 50);
  EXPECT_TRUE(p.includeSubfolders);
  EXPECT_TRUE(p.storePaths);
  EXPECT_EQ(p.scheduleMode, ScheduleMode::None);
  EXPECT_EQ(p.newDateTime, "1980-01-01 00:00:00");
}

TEST_F(ProjectWizardTest, CheckedPasswordBoxWithEmptyPasswordStoresNoPassword) {
  ProjectWizard w = Make();
  ToLastPage(w, "Docs");
  w.Form().usePassword = true;
  w.Back();
  ASSERT_EQ(w.Next(ui), ProjectWizard::NextResult::Advanced);
  ASSERT_EQ(w.Next(ui), ProjectWizard::NextResult::Finished);
  IniFile ini = Ini();
  EXPECT_TRUE(ini.ReadBool("Docs", "Whether password Project", false));
  EXPECT_EQ(ini.ReadString("Docs", "Password", "x"), "");
}

TEST_F(ProjectWizardTest, FinishKeepsEveryListedProjectWhenTheStoredListHasGaps) {
  IniFile ini = Ini();
  ini.WriteInteger(kCommonSection, "Project Count", 3);
  ini.WriteString(kCommonSection, "Count0", "A");
  ini.WriteString(kCommonSection, "Count1", "");
  ini.WriteString(kCommonSection, "Count2", "C");
  const std::vector<std::string> listed = ReadProjectList(dir.Dir());
  ASSERT_EQ(listed, (std::vector<std::string>{"A", "C"}));

  ProjectWizard w = Make(listed);
  ToLastPage(w, "New");
  ASSERT_EQ(w.Next(ui), ProjectWizard::NextResult::Finished);
  EXPECT_EQ(ReadProjectList(dir.Dir()), (std::vector<std::string>{"A", "C", "New"}));
}

TEST_F(ProjectWizardTest, TypedHomeFolderIsExpanded) {
  BRISKO_POSIX_ONLY("a leading ~ names the home folder");
  const struct {
    const char* typed;
    const char* expanded;
  } cases[] = {{"~", "/h"}, {"~/a/b", "/h/a/b"}, {"~user/a", "~user/a"}, {"a/~", "a/~"}, {"", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(ExpandHome(c.typed, "/h"), c.expanded) << c.typed;
    EXPECT_EQ(ExpandHome(c.typed, "/h/"), c.expanded) << c.typed << " (home with separator)";
  }
  ProjectWizard w = Make();
  w.SetName("Docs");
  ASSERT_EQ(w.Next(ui), ProjectWizard::NextResult::Advanced);
  w.BackupList().Append("~");
  ASSERT_EQ(w.Next(ui), ProjectWizard::NextResult::Advanced);
  EXPECT_EQ(w.BackupList().At(0), platform::HomeDir());
  EXPECT_TRUE(ui.calls.empty()) << "the home folder exists";
}

TEST_F(ProjectWizardTest, MissingSourceOrDestinationIsAskedAbout) {
  const std::string missing = dir.Path("gone/*.txt");
  const std::string folder = dir.Path("new/deeper");
  for (const bool answer : {false, true}) {
    SCOPED_TRACE(answer ? "Yes" : "No");
    ProjectWizard w = Make();
    ui.calls.clear();
    ui.confirmAnswers = {answer, answer};
    w.SetName("Docs");
    ASSERT_EQ(w.Next(ui), ProjectWizard::NextResult::Advanced);
    w.BackupList().Append(Source());
    w.BackupList().Append(missing);
    const auto expected = answer ? ProjectWizard::NextResult::Advanced : ProjectWizard::NextResult::Stayed;
    EXPECT_EQ(w.Next(ui), expected);
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_NE(ui.calls[0].text.find(missing), std::string::npos) << ui.calls[0].text;
    EXPECT_EQ(ui.calls[0].text.find(Source()), std::string::npos) << "only the missing one is named";
    if (!answer) continue;
    ASSERT_EQ(w.Next(ui), ProjectWizard::NextResult::Advanced);
    w.SetFileName(folder + "/Docs1.zip");
    ui.confirmAnswers = {false, true};
    EXPECT_EQ(w.Next(ui), ProjectWizard::NextResult::Stayed) << "not created";
    EXPECT_FALSE(platform::StatFile(folder).exists);
    EXPECT_EQ(w.Next(ui), ProjectWizard::NextResult::Advanced);
    EXPECT_TRUE(platform::StatFile(folder).isDirectory);
    EXPECT_EQ(ui.calls.back().text, "The folder '" + folder + "' does not exist. Create it?");
  }
}

}  // namespace
}  // namespace brisko::core
