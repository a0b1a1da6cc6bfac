// Windows implementation of the folder listing, on FindFirstFileW.
#include "platform/DirectoryListing.h"

#ifdef _WIN32
#include "platform/PathRules.h"
#include "platform/Platform.h"
#include "platform/WideText.h"

namespace brisko::platform {

std::vector<DirectoryItem> ListDirectory(const std::string& folder) {
  std::vector<DirectoryItem> items;
  const std::wstring pattern =
      WidePath(IncludeTrailingDelim(folder.empty() ? std::string(".") : folder) + "*");
  WIN32_FIND_DATAW data{};
  HANDLE find =
      ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return items;
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    DirectoryItem item;
    item.name = Narrow(name);
    item.attributes = AttributesFromWindows(data.dwFileAttributes);
    item.isSymlink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                     data.dwReserved0 == IO_REPARSE_TAG_SYMLINK;
    item.size = (item.attributes & kAttrDirectory) != 0
                    ? 0
                    : (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    item.created = TimeFromFileTime(data.ftCreationTime);
    item.lastWrite = TimeFromFileTime(data.ftLastWriteTime);
    item.lastAccess = TimeFromFileTime(data.ftLastAccessTime);
    items.push_back(std::move(item));
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return items;
}

}  // namespace brisko::platform
#endif
