// Restoring part of an archive, the overwrite question for many files, and the traps around the target.
#include <gtest/gtest.h>

#include "RestoreFixture.h"
#include "support/TestEnvironment.h"

namespace brisko::core::test {
namespace {

class RestoreSelectionTest : public RestoreFixture {
 protected:
  void SetUp() override {
    RestoreFixture::SetUp();
    WriteSource("c.txt", "gamma\n", LocalMomentToTime(2024, 3, 3, 9, 0, 0));
    WriteSource("sub/deep/d.txt", "delta\n", LocalMomentToTime(2024, 3, 4, 9, 0, 0));
    WriteSource("subway.txt", "not below sub/\n", LocalMomentToTime(2024, 3, 4, 9, 0, 0));
    ZipWithWriter("x.zip");
    reader.Options().sortMode = zip::EntryOrder::ByName;  // as the Restore tab reads it
    browser->SetDirectoryRestore(Target());
    Browse("x.zip");
  }
  std::vector<std::string> Restored() const {
    std::vector<std::string> out;
    if (!fs::exists(Target())) return out;
    for (const auto& e : fs::recursive_directory_iterator(Target()))
      if (e.is_regular_file()) out.push_back(fs::relative(e.path(), Target()).generic_string());
    std::sort(out.begin(), out.end());
    return out;
  }
};

TEST_F(RestoreSelectionTest, OnlyTheChosenFilesAndFolders) {
  struct Case {
    std::vector<std::string> selection;
    std::vector<std::string> restored;
  };
  const Case cases[] = {
      {{"a.txt", "c.txt", "sub/"}, {"a.txt", "c.txt", "sub/b.txt", "sub/deep/d.txt"}},
      {{"sub/deep/"}, {"sub/deep/d.txt"}},
      {{}, {"a.txt", "c.txt", "sub/b.txt", "sub/deep/d.txt", "subway.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.selection));
    fs::remove_all(Target());
    commands->selection = c.selection;
    const RestoreOutcome outcome = commands->Restore();
    EXPECT_EQ(outcome.status, RestoreStatus::Succeeds);
    EXPECT_EQ(Restored(), c.restored);
    EXPECT_EQ(outcome.chosen, static_cast<int>(c.restored.size()));
    const std::string count = std::to_string(c.restored.size());
    EXPECT_NE(LastLog("Information").find(count + " of " + count + " files restored"), std::string::npos);
  }
  EXPECT_NE(ui.CallsOf("Confirm")[0].text.find("Restore only:        '3 selected item(s)'"),
            std::string::npos);
}

TEST_F(RestoreSelectionTest, ABlankTargetIsRefused) {
  browser->SetDirectoryRestore("   ");
  EXPECT_EQ(commands->Restore().status, RestoreStatus::NotRun);
  ASSERT_EQ(ui.CallsOf("ShowMessage").size(), 1u);
  EXPECT_EQ(ui.CallsOf("ShowMessage")[0].text,
            "Please choose the folder to restore into (\"Extract to:\") first.");
  EXPECT_TRUE(ui.CallsOf("Confirm").empty());
  EXPECT_EQ(LogTotal(), 0);
  EXPECT_TRUE(Restored().empty());
}

TEST_F(RestoreSelectionTest, ConfirmationCountsTheFilesItMayReplace) {
  WriteFileAt(Target("a.txt"), "mine");
  WriteFileAt(Target("sub/b.txt"), "mine");
  struct Case {
    zip::OverwriteRule mode;
    bool warned;
  };
  for (const Case c : {Case{zip::OverwriteRule::Always, true}, Case{zip::OverwriteRule::Never, false}}) {
    ui.confirmAnswers = {false};
    commands->options.overwriteMode = c.mode;
    commands->Restore();
    EXPECT_EQ(ui.CallsOf("Confirm").back().text.find("\r\r2 existing file(s) there may be replaced") !=
                  std::string::npos,
              c.warned);
  }
  EXPECT_EQ(ReadFile(Target("a.txt")), "mine");
}

TEST_F(RestoreSelectionTest, OverwriteQuestionForManyFiles) {
  struct Case {
    const char* label;
    std::vector<OverwriteAnswer> answers;
    RestoreStatus status;
    int asked;
    std::vector<bool> replaced;  // a.txt, c.txt, sub/b.txt
    bool laterRestored;          // sub/deep/d.txt, which did not exist
  };
  const Case cases[] = {
      {"yes to all", {OverwriteAnswer::YesToAll}, RestoreStatus::Succeeds, 1, {true, true, true}, true},
      {"no to all",
       {OverwriteAnswer::No, OverwriteAnswer::NoToAll},
       RestoreStatus::Succeeds,
       2,
       {false, false, false},
       true},
      {"cancel",
       {OverwriteAnswer::Yes, OverwriteAnswer::Cancel},
       RestoreStatus::Interrupted,
       2,
       {true, false, false},
       false},
  };
  commands->options.overwriteMode = zip::OverwriteRule::Prompt;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(Target());
    for (const char* name : {"a.txt", "c.txt", "sub/b.txt"}) WriteFileAt(Target(name), "mine");
    ui.calls.clear();
    ui.restoreOverwriteAnswers = {c.answers.begin(), c.answers.end()};
    EXPECT_EQ(commands->Restore().status, c.status);
    const auto asked = ui.CallsOf("AskOverwrite");
    ASSERT_EQ(static_cast<int>(asked.size()), c.asked);
    EXPECT_EQ(asked[0].text, "Replace existing file " + Target("a.txt") + "?");
    const char* names[] = {"a.txt", "c.txt", "sub/b.txt"};
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(ReadFile(Target(names[i])) != "mine", c.replaced[i]) << names[i];
    EXPECT_EQ(fs::exists(Target("sub/deep/d.txt")), c.laterRestored);
  }
  EXPECT_EQ(LastLog("Status"), "Interrupt");
  EXPECT_NE(LastLog("Information").find("1 of 5 files restored; stopped by the user"), std::string::npos);
  EXPECT_EQ(TimedTexts().back(), "Restore stopped: 1 of 5 files restored");
}

TEST_F(RestoreSelectionTest, AlwaysReplacesAReadOnlyFile) {
  WriteFileAt(Target("a.txt"), "mine");
  platform::SetReadOnly(Target("a.txt"), true);
  commands->options.overwriteMode = zip::OverwriteRule::Always;
  commands->selection = {"a.txt"};
  EXPECT_EQ(commands->Restore().status, RestoreStatus::Succeeds);
  EXPECT_EQ(ReadFile(Target("a.txt")), ReadFile(Src("a.txt")));
}

// Names pick exactly the members they name (on POSIX, where case tells names apart), no file is lost
// when folders are left out, and the counts count files.
TEST_F(RestoreSelectionTest, NamesAreExactAndNoFileIsDroppedSilently) {
  BRISKO_POSIX_ONLY("names that differ only in case name two files on POSIX only");
  const std::string twins = Archives("twins.zip");
  {
    for (const char* name : {"d/Notes.txt", "Notes/README", "Photos/README"})
      WriteFileAt((root / "twins" / name).string(), name);
    WriteFileAt((root / "twins/d/NOTES.TXT").string(), "d/NOTES.TXT");
    zip::WriteOptions options;
    options.rootDir = (root / "twins").string();
    options.relativePaths = options.recurse = options.addDirEntriesOnRecurse = true;
    options.filesList = {(root / "twins").string() + "/*.*"};
    zip::WriteJob writer(std::move(options));
    writer.SetZipName(twins);
    writer.Run();
  }
  Browse("twins.zip");
  struct Case {
    const char* label;
    std::vector<std::string> selection;
    bool originalFolders;
    zip::OverwriteRule mode;
    std::vector<std::string> restored;  // files in the target afterwards, with their contents' names
    std::string information;
  };
  const Case cases[] = {
      {"a name leaves its case twin alone",
       {"d/Notes.txt"},
       true,
       zip::OverwriteRule::Always,
       {"d/NOTES.TXT=mine", "d/Notes.txt=d/Notes.txt"},
       "1 of 1 files restored"},
      {"folders are not counted as files",
       {},
       true,
       zip::OverwriteRule::Always,
       {"Notes/README=Notes/README", "Photos/README=Photos/README", "d/NOTES.TXT=d/NOTES.TXT",
        "d/Notes.txt=d/Notes.txt"},
       "4 of 4 files restored"},
      {"names that collide without their folders are renamed",
       {"Notes/", "Photos/"},
       false,
       zip::OverwriteRule::Always,
       {"README=Notes/README", "README (2)=Photos/README", "d/NOTES.TXT=mine"},
       "2 of 2 files restored, 1 file(s) renamed because their names collided without their folders, first: "
       "Photos/README as README (2)"},
      {"files kept are counted",
       {"d/"},
       true,
       zip::OverwriteRule::Never,
       {"d/NOTES.TXT=mine", "d/Notes.txt=d/Notes.txt"},
       "1 of 2 files restored, 1 existing file(s) kept, not replaced"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(Target());
    WriteFileAt(Target("d/NOTES.TXT"), "mine");
    commands->selection = c.selection;
    commands->options.useOriginalFolder = c.originalFolders;
    commands->options.overwriteMode = c.mode;
    EXPECT_EQ(commands->Restore().status, RestoreStatus::Succeeds);
    std::vector<std::string> restored;
    for (const std::string& rel : Restored()) restored.push_back(rel + "=" + ReadFile(Target(rel)));
    EXPECT_EQ(restored, c.restored);
    EXPECT_NE(LastLog("Information").find(c.information), std::string::npos) << LastLog("Information");
  }
}

}  // namespace
}  // namespace brisko::core::test
