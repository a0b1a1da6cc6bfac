// Folder lock through flock (POSIX) or a named mutex (Windows).
#include "platform/InstanceLock.h"

#include "platform/PathRules.h"
#include "platform/Platform.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdint>

#include "platform/WideText.h"
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
  if (path.back() != kPathDelim) path += kPathDelim;
  return path + ".brisko.lock";
}

InstanceLock::~InstanceLock() {
  Release();
}

#ifdef _WIN32

namespace {
// Mutex names hold no backslash. The folder enters by its identity (volume serial number and file
// index), so that every spelling of its path ("port", "port\\", ".\\port", "t1\\..\\port") takes
// the same lock; by a hash of its path only when it cannot be opened.
std::wstring MutexName(const std::string& folder) {
  const std::string path = folder.empty() ? std::string(".") : folder;
  if (std::wstring name = FolderMutexName(path, L"instance"); !name.empty()) return name;
  uint64_t hash = 14695981039346656037ull;
  for (char c : PathKey(ExcludeTrailingDelim(path))) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  wchar_t digits[17];
  for (int i = 15; i >= 0; --i, hash >>= 4) digits[i] = L"0123456789abcdef"[hash & 15];
  digits[16] = L'\0';
  return L"Local\\BriskoZipBackup-" + std::wstring(digits);
}
}  // namespace

bool InstanceLock::TryAcquire(const std::string& folder) {
  Release();
  error_.clear();
  // A named mutex lives as long as a handle to it: the lock vanishes with the process however it ends.
  HANDLE h = ::CreateMutexW(nullptr, FALSE, MutexName(folder).c_str());
  if (h == nullptr) {
    error_ = "Unable to lock " + LockPath(folder);
    return false;
  }
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(h);
    error_ = "Another instance is already using " + folder;
    return false;
  }
  handle_ = h;
  return true;
}

void InstanceLock::Release() {
  if (handle_ != kNoHandle) ::CloseHandle(static_cast<HANDLE>(handle_));
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
