// Project commands: edit state, save, cancel, rename, copy, delete, add, and what they store.
#include <gtest/gtest.h>

#include "ScriptedInteraction.h"
#include "core/IniFile.h"
#include "core/ManualClock.h"
#include "core/ProjectList.h"
#include "core/ProjectStore.h"
#include "core/SettingsFiles.h"
#include "core/view/MainModel.h"
#include "core/view/ProjectCommands.h"
#include "core/view/ProjectFormStore.h"
#include "platform/Platform.h"
#include "support/Files.h"
#include "support/TempDir.h"

namespace brisko::core {
namespace {

using namespace brisko::test;
using test::ScriptedInteraction;

class ProjectCommandsTest : public ::testing::Test {
 protected:
  TempDir dir;
  ManualClock clock{*TryEncodeDate(2024, 3, 5) + *TryEncodeTime(14, 7, 9)};
  ScriptedInteraction ui;
  MainModel model{dir.Dir(), clock, ui};
  ProjectCommands commands{model};

  // Stores a valid project with a password, and lists the names given.
  void Store(const std::string& name, int packLevel = 6, std::vector<std::string> backup = {"/data/*.txt"}) {
    ProjectForm form;
    form.prefix = name;
    form.saveFolder = std::string(1, platform::kPathDelim) + "backups" + platform::kPathDelim;
    form.fileName = form.saveFolder + name + "1.zip";
    form.backupList = std::move(backup);
    form.usePassword = true;
    form.password = form.passwordConfirm = "pw-" + name;
    form.packLevel = packLevel;
    core::SaveProject(dir.Dir(), name, form);
  }
  void List(const std::vector<std::string>& names) { WriteProjectList(dir.Dir(), names); }

  IniFile Ini() const { return IniFile(ProjectIniPath(dir.Dir())); }
  IniFile Rings() const { return IniFile(StoreNumberPath(dir.Dir())); }
  std::string IniText() const { return Ini().Load().Serialize(); }
  std::string RingText() const { return Rings().Load().Serialize(); }

  void StoreRing(const std::string& name) {
    Rings().Update([&](IniDocument& d) {
      d.WriteInteger(name, "Max", 3);
      d.WriteInteger(name, "Head", 2);
      d.WriteString(name, "N1", "/backups/a1.zip");
      d.WriteString(name, "N2", "/backups/a2.zip");
    });
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& c : ui.CallsOf("ShowMessage")) out.push_back(c.text);
    return out;
  }
};

TEST_F(ProjectCommandsTest, EditWithNoProjectDoesNothing) {
  model.LoadSettings();
  EXPECT_FALSE(commands.EditProject());
  EXPECT_FALSE(model.Editing());
}

TEST_F(ProjectCommandsTest, EditSaveAndCancelMoveBetweenTheStates) {
  Store("Docs", 4);
  List({"Docs"});
  model.LoadSettings();
  ASSERT_EQ(model.Form().packLevel, 4);

  EXPECT_FALSE(commands.SaveProject()) << "browse state";
  EXPECT_FALSE(commands.Cancel()) << "browse state";
  ASSERT_TRUE(commands.EditProject());
  EXPECT_TRUE(model.Editing());
  EXPECT_TRUE(model.Enabling().spSave);
  EXPECT_FALSE(model.Enabling().spNew);
  EXPECT_FALSE(commands.AddProject()) << "Add is a browse-state command";
  EXPECT_FALSE(commands.DeleteProject());
  EXPECT_TRUE(ui.CallsOf("RunAddProjectWizard").empty());

  // Cancel drops the change.
  model.Form().packLevel = 9;
  ASSERT_TRUE(commands.Cancel());
  EXPECT_FALSE(model.Editing());
  EXPECT_EQ(model.Form().packLevel, 4);

  // A failed check keeps the edit state and stores nothing.
  ASSERT_TRUE(commands.EditProject());
  model.Form().packLevel = 9;
  model.Form().backupList.clear();
  const std::string before = IniText();
  EXPECT_FALSE(commands.SaveProject());
  EXPECT_EQ(Messages(), std::vector<std::string>{"Please select files to backup"});
  EXPECT_TRUE(model.Editing());
  EXPECT_EQ(IniText(), before);

  model.Form().backupList = {"/other/*.doc"};
  EXPECT_TRUE(commands.SaveProject());
  EXPECT_FALSE(model.Editing());
  const Project stored = ReadProject(dir.Dir(), "Docs");
  EXPECT_EQ(stored.packLevel, 9);
  EXPECT_EQ(stored.backupList, std::vector<std::string>{"/other/*.doc"});
}

TEST_F(ProjectCommandsTest, RenameRefusesOtherProjectsNamesAndIgnoresItsOwn) {
  Store("Docs");
  Store("Mail");
  List({"Docs", "Mail"});
  StoreRing("Docs");
  model.LoadSettings();
  model.SelectProject(0);
  const std::string ini = IniText();
  const std::string rings = RingText();

  ui.nameAnswers = {std::string(" DOCS "), std::string("mail"), std::nullopt, std::string("common")};
  EXPECT_FALSE(commands.RenameProject());
  EXPECT_TRUE(Messages().empty()) << "own name in other case: no message";
  EXPECT_FALSE(commands.RenameProject());
  EXPECT_EQ(Messages(), std::vector<std::string>{"Project Name exists,Rename fail!"});
  EXPECT_FALSE(commands.RenameProject()) << "cancelled";
  EXPECT_FALSE(commands.RenameProject()) << "the settings section";
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_EQ(IniText(), ini);
  EXPECT_EQ(RingText(), rings);
  EXPECT_EQ(model.Projects(), (std::vector<std::string>{"Docs", "Mail"}));
  EXPECT_EQ(ui.calls.at(0).caption, "Rename Project");
  EXPECT_EQ(ui.calls.at(0).text, "Docs");
}

TEST_F(ProjectCommandsTest, RenameMovesSettingsPasswordListEntryAndRing) {
  Store("Alpha");
  Store("Docs");
  List({"Alpha", "Docs"});
  StoreRing("Docs");
  model.LoadSettings();
  model.SelectProject(1);

  ui.nameAnswers = {std::string("  Zed  ")};
  ASSERT_TRUE(commands.RenameProject());
  EXPECT_FALSE(model.Editing());
  EXPECT_EQ(model.Projects(), (std::vector<std::string>{"Alpha", "Zed"}));
  EXPECT_EQ(model.SelectedName(), "Zed");
  EXPECT_EQ(ReadProjectList(dir.Dir()), (std::vector<std::string>{"Alpha", "Zed"}));

  IniFile ini = Ini();
  EXPECT_FALSE(ini.SectionExists("Docs"));
  const Project renamed = ReadProject(dir.Dir(), "Zed");
  EXPECT_EQ(renamed.password, "pw-Docs") << "encoded again under the new name";
  EXPECT_EQ(renamed.backupList, std::vector<std::string>{"/data/*.txt"});

  IniFile rings = Rings();
  EXPECT_FALSE(rings.SectionExists("Docs"));
  EXPECT_EQ(rings.ReadInteger("Zed", "Max", 0), 3);
  EXPECT_EQ(rings.ReadInteger("Zed", "Head", 0), 2);
  EXPECT_EQ(rings.ReadString("Zed", "N2", ""), "/backups/a2.zip");

  // A later reload under the new name shows the same password.
  model.SelectProject(1);
  EXPECT_EQ(model.Form().password, "pw-Docs");
  EXPECT_EQ(model.Form().passwordConfirm, "pw-Docs");
}

TEST_F(ProjectCommandsTest, RenameOrCopyOfAProjectThatFailsItsChecksChangesNothingStored) {
  Store("Docs", 6, {});  // no files to back up: fails the checks
  List({"Docs"});
  StoreRing("Docs");
  model.LoadSettings();
  const std::string ini = IniText();
  const std::string rings = RingText();

  ui.nameAnswers = {std::string("Renamed"), std::string("Copied")};
  EXPECT_FALSE(commands.RenameProject());
  EXPECT_FALSE(commands.CopyProject());
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Please select files to backup", "Please select files to backup"}));
  EXPECT_EQ(IniText(), ini) << "the old section and the list stay as they were";
  EXPECT_EQ(RingText(), rings);
  EXPECT_EQ(model.Projects(), std::vector<std::string>{"Docs"});
  EXPECT_EQ(model.SelectedName(), "Docs");
}

TEST_F(ProjectCommandsTest, CopyCreatesASortedSelectedProjectWithTheSameSettings) {
  Store("Docs", 3);
  Store("Mail");
  List({"Docs", "Mail"});
  StoreRing("Docs");
  model.LoadSettings();
  model.SelectProject(0);
  const Project source = ReadProject(dir.Dir(), "Docs");

  ui.nameAnswers = {std::string("Copy of Docs")};
  ASSERT_TRUE(commands.CopyProject());
  EXPECT_EQ(ui.calls.at(0).caption, "Copy Project");
  EXPECT_EQ(ui.calls.at(0).text, "Copy of Docs");
  EXPECT_EQ(model.Projects(), (std::vector<std::string>{"Copy of Docs", "Docs", "Mail"}));
  EXPECT_EQ(model.Selected(), 0);
  EXPECT_EQ(ReadProjectList(dir.Dir()), model.Projects());

  const Project copy = ReadProject(dir.Dir(), "Copy of Docs");
  EXPECT_EQ(copy.password, "pw-Docs");
  EXPECT_EQ(copy.packLevel, 3);
  EXPECT_EQ(copy.backupList, source.backupList);
  EXPECT_EQ(copy.prefix, "Copy of Docs");  // never the archive names of the source
  EXPECT_FALSE(Rings().SectionExists("Copy of Docs"));
  EXPECT_EQ(ReadProject(dir.Dir(), "Docs").password, "pw-Docs");
}

TEST_F(ProjectCommandsTest, CopyInTheEditStateWritesTheEditsOnlyToTheCopy) {
  Store("Docs", 3);
  List({"Docs"});
  model.LoadSettings();
  ASSERT_TRUE(commands.EditProject());
  model.Form().packLevel = 8;
  model.Form().prefix = "Chosen";

  ui.nameAnswers = {std::string("Docs 2")};
  ASSERT_TRUE(commands.CopyProject());
  EXPECT_FALSE(model.Editing());
  EXPECT_EQ(ReadProject(dir.Dir(), "Docs 2").packLevel, 8);
  EXPECT_EQ(ReadProject(dir.Dir(), "Docs 2").prefix, "Chosen");  // a prefix the user typed stays
  EXPECT_EQ(ReadProject(dir.Dir(), "Docs").packLevel, 3);
  EXPECT_EQ(model.SelectedName(), "Docs 2");
}

TEST_F(ProjectCommandsTest, DeleteAnsweredNoChangesNothing) {
  Store("Docs");
  List({"Docs"});
  model.LoadSettings();
  const std::string ini = IniText();
  ui.confirmAnswers = {false};
  EXPECT_FALSE(commands.DeleteProject());
  ASSERT_EQ(ui.CallsOf("Confirm").size(), 1u);
  EXPECT_EQ(ui.calls[0].text, "Do you want to delete 'Docs' project?\rIts archives are kept.");
  EXPECT_EQ(ui.calls[0].kind, MessageKind::Warning);
  EXPECT_EQ(IniText(), ini);
}

TEST_F(ProjectCommandsTest, DeletingTheLastProjectEmptiesOnlyNameAndListFields) {
  Store("Docs", 2);
  List({"Docs"});
  StoreRing("Docs");
  model.LoadSettings();
  ASSERT_FALSE(model.Form().backupList.empty());

  ASSERT_TRUE(commands.DeleteProject());
  EXPECT_TRUE(model.Projects().empty());
  EXPECT_EQ(model.Selected(), -1);
  EXPECT_EQ(model.Form().prefix, "");
  EXPECT_EQ(model.Form().fileName, "");
  EXPECT_TRUE(model.Form().backupList.empty());
  EXPECT_TRUE(model.Form().excludeList.empty());
  EXPECT_EQ(model.Form().packLevel, 2) << "other controls keep the deleted project's values";
  EXPECT_TRUE(model.Form().usePassword);

  EXPECT_EQ(Ini().ReadInteger(kCommonSection, "Project Count", -1), 0);
  EXPECT_FALSE(Ini().SectionExists("Docs"));
  EXPECT_FALSE(Rings().SectionExists("Docs"));
  EXPECT_FALSE(commands.DeleteProject()) << "empty list";
  EXPECT_EQ(ui.CallsOf("Confirm").size(), 1u);
}

TEST_F(ProjectCommandsTest, DeleteSelectsAndLoadsTheFirstRemainingProject) {
  Store("Alpha", 1);
  Store("Beta", 2);
  Store("Gamma", 3);
  List({"Alpha", "Beta", "Gamma"});
  model.LoadSettings();
  model.SelectProject(1);
  ASSERT_TRUE(commands.DeleteProject());
  EXPECT_EQ(model.Projects(), (std::vector<std::string>{"Alpha", "Gamma"}));
  EXPECT_EQ(model.Selected(), 0);
  EXPECT_EQ(model.Form().packLevel, 1);
  EXPECT_EQ(ReadProjectList(dir.Dir()), model.Projects());
}

TEST_F(ProjectCommandsTest, AddAfterRenameKeepsTheRenamedProjectAndSelectsTheNewOne) {
  Store("Docs", 5);
  List({"Docs"});
  model.LoadSettings();
  ui.nameAnswers = {std::string("Papers")};
  ASSERT_TRUE(commands.RenameProject());

  ui.onWizard = [this] {
    ProjectWizard w = commands.NewWizard();
    w.SetName("Music");
    w.Next(ui);
    w.BackupList().Append("/music/*.mp3");
    while (w.Next(ui) == ProjectWizard::NextResult::Advanced) {
    }
  };
  ui.wizardAnswers = {true, false};
  ASSERT_TRUE(commands.AddProject());
  EXPECT_EQ(model.Projects(), (std::vector<std::string>{"Music", "Papers"})) << "the selector stays sorted";
  EXPECT_EQ(model.SelectedName(), "Music");
  EXPECT_EQ(ReadProject(dir.Dir(), "Papers").packLevel, 5);

  ui.onWizard = nullptr;
  EXPECT_FALSE(commands.AddProject()) << "wizard cancelled";
  EXPECT_EQ(model.Projects().size(), 2u);
}

TEST_F(ProjectCommandsTest, ChosenSaveFolderRecomposesTheFileName) {
  Store("Docs");
  List({"Docs"});
  model.LoadSettings();
  const std::string folder = std::string(1, platform::kPathDelim) + "elsewhere";
  ui.folderAnswers = {folder, std::nullopt};
  EXPECT_FALSE(commands.ChooseSaveFolder()) << "browse state";
  ASSERT_TRUE(commands.EditProject());
  EXPECT_TRUE(commands.ChooseSaveFolder());
  EXPECT_EQ(model.Form().fileName, folder + platform::kPathDelim + "Docs1.zip");
  EXPECT_FALSE(commands.ChooseSaveFolder()) << "cancelled";
  EXPECT_EQ(model.Form().fileName, folder + platform::kPathDelim + "Docs1.zip");
  EXPECT_EQ(ui.CallsOf("PickFolder").at(0).caption, "Please select directory");
}

TEST(ProjectNameDialogTest, BlankNameIsRefusedWithAWarning) {
  ScriptedInteraction ui;
  EXPECT_TRUE(ProjectCommands::NameDialogAccepts(" x ", ui));
  EXPECT_FALSE(ProjectCommands::NameDialogAccepts("   ", ui));
  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].kind, MessageKind::Warning);
  EXPECT_EQ(ui.calls[0].text, "Please enter project name");
}

}  // namespace
}  // namespace brisko::core
