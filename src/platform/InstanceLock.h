// Exclusive lock on a data folder, so only one program at a time works with its settings and log.
#pragma once

#include <string>

namespace brisko::platform {

// Holds an advisory lock on "<folder>/.brisko.lock" (on Windows a named mutex derived from the folder)
// from a successful TryAcquire until Release or destruction. The lock belongs to the open file (the
// mutex handle), so it vanishes with the process however it ends.
class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock of the folder; false when another holder has it or the lock file cannot be
  // created (ErrorText() then says which). A held lock of another folder is released first.
  bool TryAcquire(const std::string& folder);

  void Release();
  bool Held() const { return handle_ != kNoHandle; }

  // Why the last TryAcquire failed; empty after a success.
  const std::string& ErrorText() const { return error_; }

  // The lock file's path for a folder.
  static std::string LockPath(const std::string& folder);

 private:
#ifdef _WIN32
  using Handle = void*;
  static inline Handle const kNoHandle = nullptr;
#else
  using Handle = int;
  static constexpr Handle kNoHandle = -1;
#endif
  Handle handle_ = kNoHandle;
  std::string error_;
};

}  // namespace brisko::platform
