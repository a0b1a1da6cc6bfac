// Serialises read-change-write cycles on the files of one folder between processes.
#pragma once

#include <string>

namespace brisko::platform {

// Holds an exclusive advisory lock on the folder that holds `filePath` (after following a link) from
// construction to destruction, so two programs (or two threads) updating the same settings file at
// once cannot lose each other's changes; a second holder waits. Locking the folder needs no extra file
// beside the settings: POSIX locks the folder itself, Windows a named mutex of the user's session
// derived from the folder. The lock vanishes with its holder however it ends. Where no lock can be had
// the update goes on unlocked: the atomic rename still keeps every file whole.
class FolderLock {
 public:
  explicit FolderLock(const std::string& filePath);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
#ifdef _WIN32
  void* handle_ = nullptr;  // the mutex, owned while held
#else
  int fd_ = -1;
#endif
};

}  // namespace brisko::platform
