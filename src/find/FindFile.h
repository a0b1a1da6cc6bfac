// Searches folders for files by name pattern and filters and reports each hit through events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "find/FindTypes.h"
#include "find/FinderError.h"
#include "find/SearchState.h"

namespace brisko::find {

class FindFile {
 public:
  FindFile() = default;
  FindFile(const FindFile&) = delete;
  FindFile& operator=(const FindFile&) = delete;

  // Name pattern, "*.*" by default. Throws FinderError (and keeps the old value) when the
  // value has a folder part.
  const std::string& Filename() const { return filename_; }
  void SetFilename(const std::string& value);

  // Folders separated by ";". Throws FinderError (and keeps the old value) on "*" or "?".
  const std::string& Location() const { return location_; }
  void SetLocation(const std::string& value);

  // Full targets (folder + pattern); when not empty they replace Location + Filename.
  const std::vector<std::string>& IncludeFiles() const { return includeFiles_; }
  void SetIncludeFiles(std::vector<std::string> value) { includeFiles_ = std::move(value); }

  // Exclusion masks (folder part optional, name part with "*" and "?").
  const std::vector<std::string>& ExcludeFiles() const { return excludeFiles_; }
  void SetExcludeFiles(std::vector<std::string> value) { excludeFiles_ = std::move(value); }

  bool subfolders = true;
  FileAttributes attributes{kArchive, kReadOnly, kHidden, kSystem};
  bool exactAttribute = false;
  // Date-time values (days since 1899-12-30, time of day as the fraction); 0 = no bound.
  double modifiedBefore = 0, modifiedAfter = 0;
  double createdBefore = 0, createdAfter = 0;
  double accessedBefore = 0, accessedAfter = 0;
  uint64_t sizeMin = 0, sizeMax = 0;  // bytes; 0 = no bound
  std::string containing;
  bool ignoreCase = true;

  FoundEvent onFound;
  NewFolderEvent onNewFolder;
  NotifyEvent onComplete;

  // Searches on the calling thread and returns after the search and onComplete. Does nothing when
  // called again from one of its own events.
  void Execute();

  // Ends the running search after the current item; onComplete still follows.
  void Abort() { aborted_ = true; }

  bool Busy() const { return busy_; }
  // Whether the last search was ended early (by Abort or by an exception in a handler).
  bool Aborted() const { return aborted_; }

  // The search targets for the current properties (folder with a trailing separator + pattern),
  // without duplicates.
  std::vector<std::string> BuildTargets() const;

 private:
  SearchState CopyState() const;

  std::string filename_ = "*.*";
  std::string location_;
  std::vector<std::string> includeFiles_;
  std::vector<std::string> excludeFiles_;

  bool busy_ = false;
  bool aborted_ = false;
};

}  // namespace brisko::find
