// POSIX implementation of the file services.
#include "platform/FileIo.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/IdentityPosix.h"
#include "platform/PathAtPosix.h"

namespace brisko::platform {

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

std::FILE* OpenSourceFile(const std::string& path, bool followLinks, FileIdentity& opened) {
  const PathAt at(path);
  if (!at.Ok()) return nullptr;
  const int fd =
      ::openat(at.Folder(), at.Rest(), O_RDONLY | (followLinks ? 0 : O_NOFOLLOW) | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int error = S_ISREG(st.st_mode) ? errno : EINVAL;
    ::close(fd);
    errno = error;
    return nullptr;
  }
  opened = IdentityOf(st);
  std::FILE* file = ::fdopen(fd, "rb");
  if (!file) {
    const int error = errno;
    ::close(fd);
    errno = error;
  }
  return file;
}

bool IdentityOfOpenFile(std::FILE* file, FileIdentity& identity) {
  struct stat st {};
  if (::fstat(::fileno(file), &st) != 0) return false;
  identity = IdentityOf(st);
  return true;
}

std::FILE* CreateNewFile(const std::string& path, bool ownerOnly) {
  const int fd =
      ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, ownerOnly ? 0600 : 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "w+b");
  if (!file) {
    const int error = errno;
    ::close(fd);
    ::unlink(path.c_str());
    errno = error;
  }
  return file;
}

int SeekFile(std::FILE* file, uint64_t position) {
  return ::fseeko(file, static_cast<off_t>(position), SEEK_SET);
}
int SeekFileEnd(std::FILE* file) {
  return ::fseeko(file, 0, SEEK_END);
}
int64_t TellFile(std::FILE* file) {
  return static_cast<int64_t>(::ftello(file));
}

bool SyncAndDropCachedPages(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  // Only clean pages can be dropped: after the sync that is all of them.
  if (synced) ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
  return synced;
}

bool RenameOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool IsWritableFolder(const std::string& folder) {
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string ResolveLinkTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer)) return buffer;
  }
  return path;
}

}  // namespace brisko::platform
#endif
