// POSIX folder lock: flock on the folder itself.
#include "platform/FolderLock.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/FileIo.h"
#include "platform/PathRules.h"

namespace brisko::platform {

FolderLock::FolderLock(const std::string& filePath) {
  const std::string dir = ExtractDirPart(ResolveLinkTarget(filePath));
  fd_ = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace brisko::platform
#endif
