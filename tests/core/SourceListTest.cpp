// List entries, the list operations and the two dialogs that add to or remember patterns.
#include <gtest/gtest.h>

#include <functional>

#include "ScriptedInteraction.h"
#include "core/IniFile.h"
#include "core/ProjectStore.h"
#include "core/SettingsFiles.h"
#include "core/view/FolderTree.h"
#include "core/view/SelectByWildcard.h"
#include "core/view/SourceList.h"
#include "core/view/WildcardEditor.h"
#include "platform/Platform.h"
#include "support/Files.h"
#include "support/TempDir.h"

namespace brisko::core {
namespace {

using test::ScriptedInteraction;

// Builds a native path from '/'-separated parts.
std::string P(std::string text) {
  for (char& c : text)
    if (c == '/') c = platform::kPathDelim;
  return text;
}

TEST(SourceEntryKindTest, FileNamePartDecides) {
  struct Case {
    const char* entry;
    SourceEntryKind kind;
  } cases[] = {
      {"/data/report.doc", SourceEntryKind::File},
      {"/data/report<1>.doc", SourceEntryKind::Wildcard},
      {"/data/*.doc", SourceEntryKind::Wildcard},
      {"/data/a?c", SourceEntryKind::Wildcard},
      {"/data/x>y", SourceEntryKind::Wildcard},
      {"/data/", SourceEntryKind::Wildcard},         // empty pattern: a folder entry
      {"/da*ta/report.doc", SourceEntryKind::File},  // only the file-name part counts
      {"report.doc", SourceEntryKind::File},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifySourceEntry(P(c.entry)), c.kind) << c.entry;
}

TEST(SourceListTest, MoveUpAndDownFollowTheSelectionAndStopAtTheEnds) {
  SourceList list({"a", "b", "c"});
  EXPECT_FALSE(list.MoveUp()) << "nothing selected";
  list.Select(0);
  EXPECT_FALSE(list.MoveUp()) << "first entry";
  EXPECT_TRUE(list.MoveDown());
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(list.Selected(), 1);
  EXPECT_TRUE(list.MoveDown());
  EXPECT_EQ(list.Selected(), 2);
  EXPECT_FALSE(list.MoveDown()) << "last entry";
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_TRUE(list.MoveUp());
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(list.Selected(), 1);
}

TEST(SourceListTest, DeleteSelectedAsksForASelectionOnlyWhenThereAreEntries) {
  ScriptedInteraction ui;
  SourceList list;
  DeleteSelectedEntry(list, ui);
  EXPECT_TRUE(ui.calls.empty()) << "an empty list says nothing";

  list.Assign({"a", "b"});
  DeleteSelectedEntry(list, ui);
  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].kind, MessageKind::Information);
  EXPECT_EQ(ui.calls[0].text, "Please select a item by clicking");
  EXPECT_EQ(list.Count(), 2);

  list.Select(0);
  DeleteSelectedEntry(list, ui);
  EXPECT_EQ(list.Entries(), std::vector<std::string>{"b"});
  EXPECT_EQ(list.Selected(), SourceList::kNoSelection);
  EXPECT_EQ(ui.calls.size(), 1u);

  list.Clear();
  EXPECT_TRUE(list.Empty());
}

TEST(SourceListTest, AddByFileNameKeepsOrderDuplicatesAndSelection) {
  ScriptedInteraction ui;
  SourceList list({"first"});
  list.Select(0);
  ui.filesAnswers.push_back({P("/d/x.txt"), P("/d/y.txt")});
  ui.filesAnswers.push_back({P("/d/x.txt")});
  ui.filesAnswers.push_back({});  // cancelled
  EXPECT_TRUE(AddEntriesByFileName(list, ui));
  EXPECT_TRUE(AddEntriesByFileName(list, ui));
  EXPECT_FALSE(AddEntriesByFileName(list, ui));
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"first", P("/d/x.txt"), P("/d/y.txt"), P("/d/x.txt")}));
  EXPECT_EQ(list.Selected(), 0);
  EXPECT_EQ(ui.calls.at(0).caption, "Select files by filename");
}

class FakeTree : public FolderTree {
 public:
  std::string path;
  std::function<void()> handler;
  std::string SelectedFolderPath() const override { return path; }
  void SetSelectionChangedHandler(std::function<void()> h) override { handler = std::move(h); }
  void Choose(const std::string& p) {
    path = p;
    if (handler) handler();
  }
};

TEST(SelectByWildcardTest, ProposesStarDotStarOrTheFirstRememberedPattern) {
  SelectByWildcard none({});
  EXPECT_EQ(none.PatternText(), "*.*");
  EXPECT_TRUE(none.Choices().empty()) << "*.* is text, not a choice";

  SelectByWildcard some({"*.doc", "*.txt"});
  EXPECT_EQ(some.PatternText(), "*.doc");
  some.SetPatternText("*.typed");
  some.FillChoices({"*.xls"});  // after "Edit Wildcard" closed with OK
  EXPECT_EQ(some.PatternText(), "*.xls");
  EXPECT_EQ(some.Choices(), std::vector<std::string>{"*.xls"});
}

TEST(SelectByWildcardTest, ComposesFolderSeparatorAndTrimmedPattern) {
  struct Case {
    const char* folder;
    const char* pattern;
    const char* entry;
  } cases[] = {
      {"/data", " *.doc ", "/data/*.doc"},
      {"/data/", "*.doc", "/data/*.doc"},
      {"/data", "", "/data/"},  // empty pattern: the folder with a trailing separator
      {"/", "a?.txt", "/a?.txt"},
  };
  for (const Case& c : cases) {
    SelectByWildcard dialog({});
    dialog.SetFolderLabel(P(c.folder));
    dialog.SetPatternText(c.pattern);
    EXPECT_EQ(dialog.ComposeEntry(), P(c.entry)) << c.folder << " + " << c.pattern;
  }
  SelectByWildcard dialog({});
  dialog.SetFolderLabel(P("/data"));
  dialog.SetPatternText("");
  EXPECT_EQ(ClassifySourceEntry(dialog.ComposeEntry()), SourceEntryKind::Wildcard);
}

TEST(SelectByWildcardTest, FollowsTheTreeAndRefusesOkWithoutAFolder) {
  ScriptedInteraction ui;
  FakeTree tree;
  SelectByWildcard dialog({"*.doc"});
  dialog.AttachTree(tree);
  EXPECT_FALSE(dialog.Accept(ui)) << "nothing selected";
  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].kind, MessageKind::Warning);
  EXPECT_EQ(ui.calls[0].text, "Please select a folder!");

  tree.Choose(P("/home/me"));
  EXPECT_EQ(dialog.FolderLabel(), P("/home/me"));
  EXPECT_TRUE(dialog.Accept(ui));
  tree.Choose("");  // a virtual folder has no path
  EXPECT_FALSE(dialog.Accept(ui));
  tree.Choose(P("/home/me"));

  SourceList list({"x"});
  AddEntryByWildcard(list, dialog);
  EXPECT_EQ(list.Entries().back(), P("/home/me/*.doc"));
  EXPECT_EQ(list.Selected(), 1);
}

TEST(WildcardEditorTest, AddsTrimmedUniquePatternsAndEmptiesTheEdit) {
  WildcardEditor editor({"*.txt"});
  struct Step {
    const char* typed;
    bool added;
    const char* editAfter;
  } steps[] = {
      {"*.TXT", false, ""},  // same pattern in other case
      {"  *.doc ", true, ""},
      {"   ", false, "   "},  // blank: nothing happens
      {"", false, ""},
  };
  for (const Step& s : steps) {
    editor.SetEditText(s.typed);
    EXPECT_EQ(editor.AddWildcard(), s.added) << "'" << s.typed << "'";
    EXPECT_EQ(editor.EditText(), s.editAfter) << "'" << s.typed << "'";
  }
  EXPECT_EQ(editor.Patterns(), (std::vector<std::string>{"*.txt", "*.doc"}));
}

TEST(WildcardEditorTest, DeleteWithoutSelectionTellsTheUserEvenWhenEmpty) {
  ScriptedInteraction ui;
  WildcardEditor editor({});
  editor.DeleteSelected(ui);
  ASSERT_EQ(ui.CallsOf("ShowMessage").size(), 1u);
  EXPECT_EQ(ui.calls[0].text, "Please select a item by clicking");

  WildcardEditor full({"a", "b", "c"});
  full.List().Select(2);
  EXPECT_TRUE(full.MoveUp());
  full.DeleteSelected(ui);
  EXPECT_EQ(full.Patterns(), (std::vector<std::string>{"a", "b"}));
  full.DeleteAll();
  EXPECT_TRUE(full.Patterns().empty());
  EXPECT_EQ(ui.CallsOf("ShowMessage").size(), 1u);
}

TEST(WildcardEditorTest, OkWritesTheCountAndPatternsAndLeavesStaleKeys) {
  brisko::test::TempDir dir;
  WriteWildcards(dir.Dir(), {"*.a", "*.b", "*.c"});
  WildcardEditor editor(ReadWildcards(dir.Dir()));
  editor.List().Select(0);
  ScriptedInteraction ui;
  editor.DeleteSelected(ui);
  editor.Save(dir.Dir());
  IniFile ini(ProjectIniPath(dir.Dir()));
  EXPECT_EQ(ini.ReadInteger(kCommonSection, "Wildcard Total", 0), 2);
  EXPECT_EQ(ini.ReadString(kCommonSection, "Wildcard0", ""), "*.b");
  EXPECT_EQ(ini.ReadString(kCommonSection, "Wildcard2", ""), "*.c") << "stale key stays, unread";
  EXPECT_EQ(ReadWildcards(dir.Dir()), (std::vector<std::string>{"*.b", "*.c"}));
}

}  // namespace
}  // namespace brisko::core
