// Windows folder listing of the walk, on FindFirstFileExW with the long-path form of long folders.
#include "platform/DirectoryWalker.h"

#ifdef _WIN32
#include <algorithm>
#include <system_error>

#include "platform/DirectoryWalkerLevel.h"
#include "platform/WideText.h"

namespace brisko::platform {

namespace {

DirectoryItem ItemOf(const WIN32_FIND_DATAW& data) {
  DirectoryItem item;
  item.name = Narrow(data.cFileName);
  item.attributes = AttributesFromWindows(data.dwFileAttributes);
  const bool reparse = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  item.isSymlink = reparse && data.dwReserved0 == IO_REPARSE_TAG_SYMLINK;
  // Junctions are not followed either: they could loop. Other reparse points (cloud placeholders,
  // deduplicated files) are what their attributes say.
  const bool link = item.isSymlink || (reparse && data.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
  const bool isDir = (item.attributes & kAttrDirectory) != 0;
  item.targetType = isDir                                                  ? EntryType::Directory
                    : (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0 ? EntryType::Special
                                                                           : EntryType::Regular;
  item.type = link ? EntryType::Symlink : item.targetType;
  item.size = isDir ? 0 : (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  item.created = TimeFromFileTime(data.ftCreationTime);
  item.lastWrite = TimeFromFileTime(data.ftLastWriteTime);
  item.lastAccess = TimeFromFileTime(data.ftLastAccessTime);
  item.identity.size = item.size;
  item.identity.modifiedNs = NanosecondsFromFileTime(data.ftLastWriteTime);
  FileStat& status = item.status;
  status.exists = true;
  status.isDirectory = isDir;
  status.isRegular = !isDir && (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0;
  status.size = item.size;
  status.lastWrite = item.lastWrite;
  status.lastWriteNanos = NanosOfFileTime(data.ftLastWriteTime);
  status.attributes = item.attributes;
  status.identity = item.identity;
  item.linkStatus = status;
  item.linkStatus.isSymlink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  return item;
}

std::string ReasonOf(DWORD error) {
  return std::system_category().message(static_cast<int>(error));
}

}  // namespace

DirectoryWalker::Level::~Level() = default;

std::unique_ptr<DirectoryWalker::Level> DirectoryWalker::Open(const Level*, const std::string&,
                                                              const std::string& folder) {
  auto level = std::make_unique<Level>();
  level->folder = folder;
  WIN32_FIND_DATAW data{};
  // WidePath gives a long folder the "\\?\" form: no depth is out of reach.
  HANDLE find = ::FindFirstFileExW(WidePath(folder + "*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    // A drive's root may hold nothing at all, not even "." and "..".
    if (error == ERROR_FILE_NOT_FOUND) return level;
    unreadable_.push_back({folder, ReasonOf(error)});
    return nullptr;
  }
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    level->items.push_back(ItemOf(data));
  } while (::FindNextFileW(find, &data));
  const DWORD error = ::GetLastError();
  if (error != ERROR_NO_MORE_FILES) unreadable_.push_back({folder, ReasonOf(error)});
  ::FindClose(find);
  std::sort(level->items.begin(), level->items.end(),
            [](const DirectoryItem& a, const DirectoryItem& b) { return a.name < b.name; });
  return level;
}

}  // namespace brisko::platform
#endif
