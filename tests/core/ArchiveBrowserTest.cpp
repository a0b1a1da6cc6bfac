// The Restore tab's archive list, its sorts, the contents grid, the popup menu and the target proposal.
#include <gtest/gtest.h>

#include "RestoreFixture.h"
#include "core/view/RestoreTarget.h"
#include "platform/PathRules.h"
#include "zip/format/ZipErrors.h"

namespace brisko::core::test {
namespace {

class ArchiveBrowserTest : public RestoreFixture {
 protected:
  // A file named .zip that holds no archive (it lists with no entries): size and time as given.
  void Blob(const std::string& name, size_t bytes, std::time_t mtime) {
    WriteFileAt(Archives(name), std::string(bytes, '\0'), mtime);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const auto& r : browser->Archives()) out.push_back(r.name);
    return out;
  }
};

TEST_F(ArchiveBrowserTest, RowsLabelsAndContents) {
  std::string small = ZipWithCli("small.zip");
  ASSERT_LT(fs::file_size(small), 1024u);
  platform::SetLastWriteTime(small, LocalMomentToTime(2024, 4, 1, 0, 0, 0));
  Browse();
  ASSERT_EQ(browser->Archives().size(), 1u);
  const ArchiveRow& row = browser->Archives()[0];
  EXPECT_EQ(row.name, "small.zip");
  EXPECT_EQ(row.sizeKb, "0");
  EXPECT_EQ(row.date, "2024-04-01");  // midnight shows the date alone
  EXPECT_EQ(browser->ArchiveCountLabel(), "(Total 1 files)");
  // Selecting happened through the sort: the contents are those of row 0.
  EXPECT_EQ(browser->CurrentRow(), 0);
  ASSERT_EQ(browser->Contents().size(), 2u);
  EXPECT_EQ(browser->ContentsCountLabel(), "(Total 2 files)");
  EXPECT_EQ(browser->Contents()[0].name, "a.txt");
  EXPECT_EQ(browser->Contents()[0].sizeKb, "1");  // at least 1
  EXPECT_EQ(browser->Contents()[0].date, "2024-03-01 10:00:00");
  EXPECT_EQ(browser->Contents()[1].name, "b.txt");
  EXPECT_EQ(browser->Contents()[1].path, std::string("sub") + platform::kPathDelim);
  EXPECT_EQ(browser->ArchivePath("small.zip"), Archives("small.zip"));
}

TEST_F(ArchiveBrowserTest, EmptyFolderAndOnlyOtherFiles) {
  WriteFileAt(Archives("notes.txt"), "x");
  Browse();
  EXPECT_FALSE(browser->HasArchives());
  EXPECT_EQ(browser->ArchiveCountLabel(), "(Total 0 files)");
  EXPECT_EQ(browser->ContentsCountLabel(), "(Total 0 files)");
  EXPECT_EQ(browser->CurrentName(), "");
  browser->SetDirectoryView((root / "missing").string());
  EXPECT_EQ(browser->ArchiveCountLabel(), "(Total 0 files)");
}

TEST_F(ArchiveBrowserTest, SortBySizeIsNumeric) {
  Blob("a20.zip", 20 * 1024, LocalMomentToTime(2024, 1, 1, 8, 0, 0));
  Blob("b100.zip", 100 * 1024, LocalMomentToTime(2024, 1, 2, 8, 0, 0));
  Blob("c3.zip", 3 * 1024, LocalMomentToTime(2024, 1, 3, 8, 0, 0));
  Browse();
  browser->ChooseSortItem(kSortTagBySize);
  browser->ChooseSortItem(kSortTagAscending);
  EXPECT_EQ(Names(), (std::vector<std::string>{"c3.zip", "a20.zip", "b100.zip"}));
  EXPECT_EQ(browser->Archives()[2].sizeKb, "100");
  browser->ChooseSortItem(kSortTagDescending);
  EXPECT_EQ(Names(), (std::vector<std::string>{"b100.zip", "a20.zip", "c3.zip"}));
  EXPECT_EQ(model->Settings().byField, 1);
  EXPECT_EQ(model->Settings().sort, 1);
}

TEST_F(ArchiveBrowserTest, SortByDateDescendingShowsNewestContents) {
  Blob("old.zip", 10, LocalMomentToTime(2023, 1, 1, 8, 0, 0));
  std::string fresh = ZipWithCli("new.zip");
  platform::SetLastWriteTime(fresh, LocalMomentToTime(2024, 6, 1, 8, 0, 0));
  Blob("mid.zip", 10, LocalMomentToTime(2023, 6, 1, 8, 0, 0));
  model->Settings().byField = 2;
  model->Settings().sort = 1;
  Browse();
  EXPECT_EQ(Names(), (std::vector<std::string>{"new.zip", "mid.zip", "old.zip"}));
  EXPECT_EQ(browser->CurrentRow(), 0);
  EXPECT_EQ(browser->Contents().size(), 2u);
  browser->ChooseSortItem(kSortTagAscending);
  EXPECT_EQ(Names(), (std::vector<std::string>{"old.zip", "mid.zip", "new.zip"}));
  EXPECT_TRUE(browser->Contents().empty());  // old.zip holds no archive
}

TEST_F(ArchiveBrowserTest, SortByNameUsesCharacterCodes) {
  // Capitals before small letters; names that differ only in case would be one file on Windows.
  for (const char* n : {"b.zip", "A.zip", "c.zip", "B2.zip"})
    Blob(n, 10, LocalMomentToTime(2024, 1, 1, 8, 0, 0));
  model->Settings().byField = 0;
  Browse();
  EXPECT_EQ(Names(), (std::vector<std::string>{"A.zip", "B2.zip", "b.zip", "c.zip"}));
}

TEST_F(ArchiveBrowserTest, PopupMenuItemsAndChecks) {
  auto visible = [&](const std::string& item) {
    for (const auto& m : browser->PopupMenu())
      if (m.name == item) return m.visible;
    ADD_FAILURE() << item;
    return false;
  };
  Browse();
  for (const char* hidden : {"menuspe", "OpenZipFile1", "MenuCopy", "menuDelete", "menuRestore"})
    EXPECT_FALSE(visible(hidden)) << hidden;
  EXPECT_TRUE(visible("Sort1"));
  EXPECT_TRUE(visible("PupMenuByname"));
  Blob("x.zip", 10, LocalMomentToTime(2024, 1, 1, 8, 0, 0));
  Browse();
  for (const char* shown : {"menuspe", "OpenZipFile1", "MenuCopy", "menuDelete", "menuRestore"})
    EXPECT_TRUE(visible(shown)) << shown;
  browser->ChooseSortItem(kSortTagByName);
  int checked = 0;
  for (const auto& m : browser->PopupMenu()) {
    if (m.checked) ++checked;
    if (m.name == "PupMenuByname") {
      EXPECT_TRUE(m.checked);
    }
    if (m.name == "PopupmenuAsc") {
      EXPECT_TRUE(m.checked);
    }
    if (m.name == "PupmenuBysize") {
      EXPECT_EQ(m.tag, 200);
    }
  }
  EXPECT_EQ(checked, 2);
}

TEST_F(ArchiveBrowserTest, DamagedArchiveKeepsListAndContents) {
  ZipWithCli("good.zip");
  // An end record that promises one entry where there is none, and no local header to repair from.
  std::string eocd("PK\x05\x06\0\0\0\0\x01\0\x01\0\x2e\0\0\0\0\0\0\0\0\0", 22);
  WriteFileAt(Archives("zz_bad.zip"), std::string(64, 'x') + eocd, LocalMomentToTime(2020, 1, 1, 8, 0, 0));
  model->Settings().byField = 0;
  Browse();
  ASSERT_EQ(browser->Contents().size(), 2u);  // good.zip, row 0
  EXPECT_THROW(browser->SelectRow(1), zip::BadArchiveError);
  EXPECT_EQ(browser->Contents().size(), 2u);
  // Listing with the damaged archive first still fills the list and its label.
  EXPECT_THROW(browser->ChooseSortItem(kSortTagDescending), zip::BadArchiveError);
  EXPECT_EQ(browser->Archives()[0].name, "zz_bad.zip");
  EXPECT_EQ(browser->Contents().size(), 2u);
  EXPECT_THROW(browser->Refresh(), zip::BadArchiveError);
  EXPECT_EQ(browser->ArchiveCountLabel(), "(Total 2 files)");
}

TEST_F(ArchiveBrowserTest, EnterRestoreTab) {
  ZipWithCli("x.zip");
  ProjectForm form;
  form.saveFolder = Archives();
  form.backupList = {Src("docs/*.txt")};
  form.storePaths = false;
  browser->EnterRestoreTab(form);
  EXPECT_EQ(browser->Archives().size(), 1u);
  EXPECT_EQ(browser->DirectoryRestore(), Src("docs/"));
  form.storePaths = true;
  browser->EnterRestoreTab(form);
  const std::string root = platform::PathRoot(Src("docs"));  // "/", or the drive's root on Windows
  EXPECT_EQ(browser->DirectoryRestore(), root);

  // A target the user chose stays; the newest archive is selected whatever the list's order.
  ZipWithCli("y.zip");
  platform::SetLastWriteTime(Archives("x.zip"), std::time(nullptr) + 60);
  model->Settings().byField = 0;
  browser->SetDirectoryRestore("/home/u/restored");
  browser->EnterRestoreTab(form);
  EXPECT_EQ(browser->DirectoryRestore(), "/home/u/restored");
  EXPECT_EQ(browser->CurrentName(), "x.zip");
  browser->SetDirectoryRestore(" ");
  browser->EnterRestoreTab(form);
  EXPECT_EQ(browser->DirectoryRestore(), root);
}

TEST(RestoreTarget, Proposals) {
  struct Case {
    std::vector<std::string> sources;
    bool storePaths;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {{"/home/u/docs/a.txt", "/other/b.txt"}, false, "/home/u/docs/"},
      {{"/home/u/docs/a.txt"}, true, "/"},
      {{" /home/u/docs/ "}, false, "/home/u/docs/"},
      {{}, true, std::nullopt},
      {{"a.txt"}, false, std::nullopt},
      {{"rel/a.txt"}, true, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProposeRestoreTarget(c.sources, c.storePaths), c.expected)
        << (c.sources.empty() ? "(none)" : c.sources[0]) << " " << c.storePaths;
  }
}

}  // namespace
}  // namespace brisko::core::test
