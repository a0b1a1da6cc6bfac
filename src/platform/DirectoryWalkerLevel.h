// One folder of the walk: its sorted entries, the walk's position in them, and its open handle.
#pragma once

#include <string>
#include <vector>

#include "platform/DirectoryWalker.h"

namespace brisko::platform {

struct DirectoryWalker::Level {
  Level() = default;
  ~Level();  // closes the handle
  Level(const Level&) = delete;
  Level& operator=(const Level&) = delete;

  std::string folder;  // with a trailing separator
  std::vector<DirectoryItem> items;
  size_t index = 0;
  int handle = -1;  // POSIX: the open folder its subfolders are opened relative to
};

}  // namespace brisko::platform
