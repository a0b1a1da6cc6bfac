// The Restore tab's folder of archives: the archive list, its sort, and the contents of one archive.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/GlobalSettings.h"
#include "core/view/ProjectForm.h"
#include "find/FindFile.h"

namespace brisko::zip {
class ArchiveDirectory;
}

namespace brisko::core {

// One row of the archive list ("Filename", "Size(KB)", "Date"), with the values the texts came from.
struct ArchiveRow {
  std::string name;
  std::string sizeKb;  // bytes / 1024, remainder dropped
  std::string date;    // "yyyy-mm-dd HH:mm:ss", the date alone at midnight
  uint64_t bytes = 0;
  double dateTime = 0;
};

// One row of the contents grid ("Filename", "Size(KB)", "Path", "Date").
struct ContentsRow {
  std::string name;
  std::string sizeKb;  // at least 1
  std::string path;
  std::string date;
  std::string storedName;  // the member's name in the archive, folder part included
};

// One item of the archive list's popup menu.
struct PopupMenuItem {
  std::string name;     // "Sort1", "PupMenuByname", ..., "menuRestore"
  std::string caption;  // "-" for a separator
  int tag = 0;
  bool visible = true;
  bool checked = false;
};

inline constexpr int kSortTagByName = 100;
inline constexpr int kSortTagBySize = 200;
inline constexpr int kSortTagByDate = 300;
inline constexpr int kSortTagAscending = 400;
inline constexpr int kSortTagDescending = 500;

class ArchiveBrowser {
 public:
  // The sort column and direction live in settings ("By Field", "Sort"); the archive is the one the
  // restore commands use too. Both must outlive the browser.
  ArchiveBrowser(GlobalSettings& settings, zip::ArchiveDirectory& archive);

  // ---- Folder and target ----
  const std::string& DirectoryView() const { return directoryView_; }
  // Sets the folder text and lists its archives again (even when the text is unchanged).
  void SetDirectoryView(const std::string& folder);
  const std::string& DirectoryRestore() const { return directoryRestore_; }
  // The user's choice of target; a blank one lets the next proposal through again.
  void SetDirectoryRestore(const std::string& folder);

  // Entering the Restore tab: browse the project's save folder, select the newest archive and, unless
  // the user chose a target, propose one from the project's first source item. An error listing the first
  // archive's contents is thrown after all else is done.
  void EnterRestoreTab(const ProjectForm& project);

  // Lists the archives of DirectoryView ("*.zip", no subfolders) and sorts them, which selects row 0
  // and lists its contents. A damaged archive's error is thrown after the list and labels are set.
  void Refresh();

  // ---- Archive list ----
  const std::vector<ArchiveRow>& Archives() const { return archives_; }
  bool HasArchives() const { return !archives_.empty(); }
  // "(Total N files)".
  std::string ArchiveCountLabel() const { return archiveLabel_; }
  // The row with the cursor (-1: none) and the range selected with Shift+click.
  int CurrentRow() const { return current_; }
  int SelectionFirst() const { return selFirst_; }
  int SelectionLast() const { return selLast_; }
  // Moves the cursor to one row (also the selection) and lists its contents; throws the engine's
  // error for a damaged archive, leaving the contents as they were.
  void SelectRow(int row);
  // Extends the selection (Shift+click) from the current row to `row` without listing anything.
  void SelectRange(int first, int last);
  // Folder + separator (unless the folder ends in one) + name, with the folder text trimmed.
  std::string ArchivePath(const std::string& name) const;
  // Trims the folder text and writes it back, without listing again.
  void TrimDirectoryView();
  // Name of the current row, trimmed; "" when there is none.
  std::string CurrentName() const;

  // ---- Contents of the archive last listed ----
  const std::vector<ContentsRow>& Contents() const { return contents_; }
  std::string ContentsCountLabel() const { return contentsLabel_; }
  // Changes whenever the contents are listed anew.
  int ContentsListing() const { return listing_; }
  // Shows the entries of archive `name` of the folder; nothing for an empty name.
  void ListContents(const std::string& name);

  // ---- Sort ----
  int SortColumn() const { return settings_.byField; }
  bool SortDescending() const { return settings_.sort == 1; }
  // Sorts the archive list by the current column and direction, then selects row 0 and lists it.
  void SortList();
  // A sort item of the popup menu: tags 100/200/300 choose the column, 400/500 the direction.
  void ChooseSortItem(int tag);
  // The popup menu as it opens: the file commands are hidden while the list is empty.
  std::vector<PopupMenuItem> PopupMenu() const;

  // Called after every change the window shows.
  std::function<void()> OnChanged;

 private:
  void ListContentsOf(const std::string& name);
  void ClearContents();
  void Changed();
  bool After(const ArchiveRow& r, const ArchiveRow& q) const;
  // The row of the archive with the latest date; -1 for an empty list.
  int NewestRow() const;

  GlobalSettings& settings_;
  zip::ArchiveDirectory& archive_;
  find::FindFile finder_;
  std::string directoryView_;
  std::string directoryRestore_;
  std::vector<ArchiveRow> archives_;
  std::vector<ContentsRow> contents_;
  std::string archiveLabel_ = "(Total 0 files)";
  std::string contentsLabel_ = "(Total 0 files)";
  int current_ = -1;
  int selFirst_ = -1;
  int selLast_ = -1;
  bool targetChosen_ = false;
  int listing_ = 0;
};

}  // namespace brisko::core
