// The archive folder browser of the Restore tab.
#include "core/view/ArchiveBrowser.h"

#include <exception>
#include <utility>

#include "core/DateTimeValue.h"
#include "core/TextUtil.h"
#include "core/view/RestoreTarget.h"
#include "find/FinderError.h"
#include "platform/DosDateTime.h"
#include "platform/Platform.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::core {

namespace {

std::string TotalLabel(size_t n) {
  return "(Total " + std::to_string(n) + " files)";
}

std::string DosDateText(uint32_t dos) {
  platform::DateTime value = 0;
  if (!platform::DosDateTimeToDateTime(dos, value)) return {};
  return DateTimeToStr(value);
}

}  // namespace

ArchiveBrowser::ArchiveBrowser(GlobalSettings& settings, zip::ArchiveDirectory& archive)
    : settings_(settings), archive_(archive) {
  // The window's initial "C:\" is the user's home folder here.
  directoryView_ = platform::HomeDir();
  directoryRestore_ = platform::HomeDir();
  finder_.SetFilename("*.zip");
  finder_.subfolders = false;
  archive_.Options().sortMode = zip::EntryOrder::ByName;
}

void ArchiveBrowser::Changed() {
  if (OnChanged) OnChanged();
}

void ArchiveBrowser::SetDirectoryRestore(const std::string& folder) {
  directoryRestore_ = folder;
  targetChosen_ = !TrimBlanks(folder).empty();
}

int ArchiveBrowser::NewestRow() const {
  int newest = -1;
  for (size_t i = 0; i < archives_.size(); ++i)
    if (newest < 0 || archives_[i].dateTime > archives_[static_cast<size_t>(newest)].dateTime)
      newest = static_cast<int>(i);
  return newest;
}

void ArchiveBrowser::SetDirectoryView(const std::string& folder) {
  directoryView_ = folder;
  Refresh();
}

void ArchiveBrowser::EnterRestoreTab(const ProjectForm& project) {
  directoryView_ = project.saveFolder;
  std::exception_ptr error;
  try {
    Refresh();
    // After a mistake, the latest backup is the one wanted most often; listed once, not twice.
    if (NewestRow() != current_) SelectRow(NewestRow());
  } catch (...) {
    error = std::current_exception();
  }
  // What the user chose stays; only a target nobody typed follows the project.
  if (!targetChosen_) {
    if (auto target = ProposeRestoreTarget(project.backupList, project.storePaths))
      directoryRestore_ = *target;
  }
  Changed();
  if (error) std::rethrow_exception(error);
}

void ArchiveBrowser::Refresh() {
  std::vector<ArchiveRow> found;
  bool searchable = true;
  try {
    finder_.SetLocation(directoryView_);
  } catch (const find::FinderError&) {
    searchable = false;  // a folder name with wildcard characters cannot be searched
  }
  if (searchable) {
    finder_.onFound = [&found](find::FindFile&, const std::string&, find::FoundFile& rec) {
      ArchiveRow row;
      row.name = rec.name;
      row.bytes = rec.size;
      row.sizeKb = std::to_string(rec.size / 1024);
      platform::DateTime value = 0;
      if (platform::DosDateTimeToDateTime(rec.time, value)) row.dateTime = value;
      row.date = DosDateText(rec.time);
      found.push_back(std::move(row));
    };
    finder_.Execute();
    finder_.onFound = nullptr;
  }

  archives_ = std::move(found);
  current_ = selFirst_ = selLast_ = -1;
  std::exception_ptr error;
  if (archives_.empty()) {
    ClearContents();
  } else {
    try {
      SortList();
    } catch (...) {
      error = std::current_exception();
    }
  }
  archiveLabel_ = TotalLabel(archives_.size());
  Changed();
  if (error) std::rethrow_exception(error);
}

std::string ArchiveBrowser::ArchivePath(const std::string& name) const {
  std::string folder = TrimBlanks(directoryView_);
  if (!folder.empty() && folder.back() != platform::kPathDelim) folder += platform::kPathDelim;
  return folder + TrimBlanks(name);
}

void ArchiveBrowser::TrimDirectoryView() {
  directoryView_ = TrimBlanks(directoryView_);
}

std::string ArchiveBrowser::CurrentName() const {
  if (current_ < 0 || current_ >= static_cast<int>(archives_.size())) return {};
  return TrimBlanks(archives_[static_cast<size_t>(current_)].name);
}

void ArchiveBrowser::SelectRow(int row) {
  if (row < 0 || row >= static_cast<int>(archives_.size())) return;
  current_ = selFirst_ = selLast_ = row;
  Changed();
  ListContents(archives_[static_cast<size_t>(row)].name);
}

void ArchiveBrowser::SelectRange(int first, int last) {
  int n = static_cast<int>(archives_.size());
  if (n == 0) return;
  if (first > last) std::swap(first, last);
  selFirst_ = first < 0 ? 0 : first;
  selLast_ = last >= n ? n - 1 : last;
  Changed();
}

void ArchiveBrowser::ClearContents() {
  contents_.clear();
  contentsLabel_ = TotalLabel(0);
  ++listing_;
}

void ArchiveBrowser::ListContents(const std::string& name) {
  std::string n = TrimBlanks(name);
  if (n.empty()) return;
  directoryView_ = TrimBlanks(directoryView_);
  ListContentsOf(n);
  Changed();
}

void ArchiveBrowser::ListContentsOf(const std::string& name) {
  archive_.SetZipName(ArchivePath(name));
  archive_.ReadDirectory();  // a damaged archive throws here and the grid keeps what it showed
  std::vector<ContentsRow> rows;
  int count = archive_.EntryCount();
  rows.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    ContentsRow row;
    row.name = archive_.EntryName(i);
    uint64_t kb = archive_.EntrySize(i) / 1024;
    row.sizeKb = std::to_string(kb < 1 ? 1 : kb);
    row.path = archive_.EntryPath(i);
    row.storedName = archive_.Entry(i).FullName();
    row.date = DateTimeToStr(archive_.EntryDateTime(i));
    rows.push_back(std::move(row));
  }
  contents_ = std::move(rows);
  contentsLabel_ = TotalLabel(contents_.size());
  ++listing_;
}

bool ArchiveBrowser::After(const ArchiveRow& r, const ArchiveRow& q) const {
  switch (settings_.byField) {
    case 0:
      return r.name > q.name;  // by character code, case-sensitive
    case 1:
      return r.bytes > q.bytes;  // by the number, so 100 KB comes after 20 KB
    default:
      return r.dateTime > q.dateTime;
  }
}

void ArchiveBrowser::SortList() {
  if (archives_.empty() || TrimBlanks(archives_.front().name).empty()) return;
  const bool descending = SortDescending();
  for (size_t q = archives_.size() - 1; q >= 1; --q) {
    for (size_t r = 0; r < q; ++r) {
      bool after = After(archives_[r], archives_[q]);
      if (descending ? !after : after) std::swap(archives_[r], archives_[q]);
    }
  }
  SelectRow(0);
}

void ArchiveBrowser::ChooseSortItem(int tag) {
  switch (tag) {
    case kSortTagByName:
      settings_.byField = 0;
      break;
    case kSortTagBySize:
      settings_.byField = 1;
      break;
    case kSortTagByDate:
      settings_.byField = 2;
      break;
    case kSortTagAscending:
      settings_.sort = 0;
      break;
    case kSortTagDescending:
      settings_.sort = 1;
      break;
    default:
      return;
  }
  Changed();
  SortList();
}

std::vector<PopupMenuItem> ArchiveBrowser::PopupMenu() const {
  const bool files = HasArchives();
  const int column = settings_.byField;
  return {
      {"Sort1", "Files Sort", 0, true, false},
      {"PupMenuByname", "By name", kSortTagByName, true, column == 0},
      {"PupmenuBysize", "By size", kSortTagBySize, true, column == 1},
      {"PupMenuBydate", "By date", kSortTagByDate, true, column != 0 && column != 1},
      {"PopupmenuAsc", "Ascending", kSortTagAscending, true, !SortDescending()},
      {"PopupmenuDesc", "Descending", kSortTagDescending, true, SortDescending()},
      {"menuspe", "-", 0, files, false},
      {"OpenZipFile1", "Open Zip File...", 0, files, false},
      {"MenuCopy", "Copy the Zip File to...", 0, files, false},
      {"menuDelete", "Delete Zip Files Selected...", 0, files, false},
      {"N5", "-", 0, true, false},
      {"menuRestore", "Restore Zip File Selected to...", 0, files, false},
      {"menuTest", "Test Zip File...", 0, files, false},
  };
}

}  // namespace brisko::core
