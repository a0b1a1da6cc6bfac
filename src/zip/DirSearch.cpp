// Directory walk for wildcard entries: one listing per level, filtered in memory.
#include "zip/DirSearch.h"

#include <filesystem>
#include <system_error>

#include "platform/FsPath.h"
#include "zip/WildMatch.h"
#include "zip/ZipPaths.h"

namespace brisko::zip {

namespace fs = std::filesystem;

DirSearch::DirSearch(const std::string& folder, bool recurse, const std::string& mask, bool links)
    : mask_(mask), recurse_(recurse), links_(links) {
  Open(IncludeTrailingDelim(folder));
}

void DirSearch::Open(const std::string& folder) {
  DirSearchEntry data;
  data.folder = folder;
  std::error_code ec;
  fs::directory_iterator it(platform::FsPath(folder), ec);
  if (!ec) {
    for (; it != fs::directory_iterator(); it.increment(ec)) {
      if (ec) break;
      DirSearchEntry::Entry entry;
      entry.name = platform::Utf8Of(it->path().filename());
      std::error_code tec;
      fs::file_status link = it->symlink_status(tec);
      if (tec) continue;
      if (fs::is_directory(link)) {
        entry.kind = DirSearchEntry::Kind::Directory;
      } else if (fs::is_symlink(link) && links_) {
        entry.kind = DirSearchEntry::Kind::File;
      } else if (fs::is_symlink(link)) {
        fs::file_status target = it->status(tec);
        entry.kind =
            (!tec && fs::is_regular_file(target)) ? DirSearchEntry::Kind::File : DirSearchEntry::Kind::Other;
      } else {
        entry.kind = fs::is_regular_file(link) ? DirSearchEntry::Kind::File : DirSearchEntry::Kind::Other;
      }
      data.entries.push_back(std::move(entry));
    }
  }
  if (ec) unlistable_.push_back(folder);
  // The listing is complete in memory, so no handle stays open however deep the walk goes.
  stack_.push_back(std::move(data));
}

std::string DirSearch::Next(uint64_t& size) {
  size = 0;
  while (!stack_.empty()) {
    DirSearchEntry& top = stack_.back();
    if (top.Exhausted()) {
      stack_.pop_back();
      continue;
    }
    const DirSearchEntry::Entry& entry = top.entries[top.index++];
    if (entry.kind == DirSearchEntry::Kind::Directory) {
      if (!recurse_ || entry.name.empty()) continue;
      std::string path = top.folder + entry.name + kPathDelim;
      Open(path);  // may reallocate the stack; top is not used after this
      return path;
    }
    if (entry.kind != DirSearchEntry::Kind::File) continue;
    // A name without an extension is tested with a "." appended, so "*." selects such files.
    std::string testName = entry.name;
    if (testName.find('.') == std::string::npos) testName += '.';
    if (!WildMatch(mask_, testName)) continue;
    std::string path = top.folder + entry.name;
    std::error_code ec;
    if (links_ && fs::is_symlink(fs::symlink_status(platform::FsPath(path), ec))) return path;
    auto bytes = fs::file_size(platform::FsPath(path), ec);
    size = ec ? 0 : static_cast<uint64_t>(bytes);
    return path;
  }
  return {};
}

}  // namespace brisko::zip
