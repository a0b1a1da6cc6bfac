// Walks the targets of one search and reports the items that pass the filters.
#pragma once

#include <functional>
#include <string>

#include "find/FindTypes.h"
#include "find/SearchState.h"

namespace brisko::find {

class FolderSearch {
 public:
  struct Callbacks {
    // Before a folder is searched; true skips it and everything below it.
    std::function<bool(const std::string& folder)> newFolder;
    // One hit; folder without a trailing separator (a root keeps it).
    std::function<void(const std::string& folder, FoundFile& info)> found;
  };

  // `aborted` is shared with the owner: setting it ends the search after the current item.
  FolderSearch(const SearchState& state, bool& aborted, Callbacks callbacks);

  // Searches every target in order. An exception from anywhere, event handlers included, is
  // swallowed and sets the aborted flag.
  void Run() noexcept;

  // Splits a target into its folder (absolute, with a trailing separator) and its pattern.
  // The absolute form of a folder, with a trailing separator; empty = the current folder.
  static std::string FullFolder(const std::string& part);

  static void SplitTarget(const std::string& target, std::string& folder, std::string& pattern);

 private:
  void SearchFolder(const std::string& folder, const std::string& pattern);

  const SearchState& state_;
  bool& aborted_;
  Callbacks callbacks_;
};

}  // namespace brisko::find
