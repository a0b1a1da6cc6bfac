// Folder lock through flock (POSIX) or an unshared open file (Windows).
#include "platform/InstanceLock.h"

#include "platform/Platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace brisko::platform {

std::string InstanceLock::LockPath(const std::string& folder) {
  std::string path = folder.empty() ? std::string(".") : folder;
  if (path.back() != PathDelim) path += PathDelim;
  return path + ".brisko.lock";
}

InstanceLock::~InstanceLock() { Release(); }

#ifdef _WIN32

bool InstanceLock::TryAcquire(const std::string& folder) {
  Release();
  error_.clear();
  const std::string path = LockPath(folder);
  // No sharing: a second opener fails while this handle is open.
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error_ = GetLastError() == ERROR_SHARING_VIOLATION
                 ? "Another instance is already using " + folder
                 : "Unable to create " + path;
    return false;
  }
  handle_ = h;
  return true;
}

void InstanceLock::Release() {
  if (handle_ != kNoHandle) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = kNoHandle;
}

#else

bool InstanceLock::TryAcquire(const std::string& folder) {
  Release();
  error_.clear();
  const std::string path = LockPath(folder);
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    error_ = "Unable to create " + path + ": " + std::strerror(errno);
    return false;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    error_ = err == EWOULDBLOCK ? "Another instance is already using " + folder
                                : "Unable to lock " + path + ": " + std::strerror(err);
    return false;
  }
  handle_ = fd;
  return true;
}

void InstanceLock::Release() {
  if (handle_ != kNoHandle) ::close(handle_);  // closing drops the flock
  handle_ = kNoHandle;
}

#endif

}  // namespace brisko::platform
