// Lists the entries of one folder with the attributes and times the file finder filters on.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace brisko::platform {

struct DirectoryItem {
  std::string name;         // name without folder
  uint32_t attributes = 0;  // fa* bits of Platform.h
  uint64_t size = 0;        // 0 for folders
  std::time_t created = 0;  // UTC seconds; the status-change time where the file system keeps no birth time
  std::time_t lastWrite = 0;
  std::time_t lastAccess = 0;
  bool isSymlink = false;  // the entry itself is a symbolic link (attributes describe its target)
};

// Entries of `folder` except "." and ".."; empty when the folder cannot be read.
std::vector<DirectoryItem> ListDirectory(const std::string& folder);

}  // namespace brisko::platform
