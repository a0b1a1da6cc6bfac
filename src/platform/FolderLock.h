// Serialises read-change-write cycles on the files of one folder between processes.
#pragma once

#include <string>

namespace brisko::platform {

// Holds an exclusive advisory lock on the folder that holds `filePath` (after following a link) from
// construction to destruction, so two programs updating the same settings file at once cannot lose
// each other's changes. Locking the folder needs no extra file beside the settings. Where no lock can
// be had the update goes on unlocked: the atomic rename still keeps every file whole. On Windows,
// replacing a file another process holds open fails instead, which the writer reports.
class FolderLock {
 public:
  explicit FolderLock(const std::string& filePath);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace brisko::platform
