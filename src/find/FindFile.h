// Searches folders for files by name pattern and filters and reports each hit through events.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "find/FindTypes.h"
#include "find/FinderError.h"
#include "find/SearchState.h"

namespace brisko::find {

class SearchThread;

class FindFile {
 public:
  FindFile();
  // Stops and waits for a running worker; no event is raised from here on.
  ~FindFile();

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
  // Search in a worker thread; needs postToOwner, without it the search runs in the calling thread.
  bool threaded = false;

  FoundEvent onFound;
  NewFolderEvent onNewFolder;
  NotifyEvent onComplete;

  // How a threaded search runs its events on the owner's thread (a GUI connects its event loop,
  // tests an EventQueue). Each event waits on the worker side until the owner has run it.
  OwnerPoster postToOwner;

  // Starts a search; returns at once when threaded, after the search and onComplete otherwise.
  // Does nothing while a search is running.
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
  void Complete();
  void ThreadTerminated();

  std::string filename_ = "*.*";
  std::string location_;
  std::vector<std::string> includeFiles_;
  std::vector<std::string> excludeFiles_;

  bool busy_ = false;
  std::atomic<bool> aborted_{false};
  std::unique_ptr<SearchState> state_;
  std::unique_ptr<SearchThread> thread_;
  // Cleared on destruction so that a completion still queued on the owner's thread does nothing.
  std::shared_ptr<std::atomic<bool>> alive_;
};

}  // namespace brisko::find
