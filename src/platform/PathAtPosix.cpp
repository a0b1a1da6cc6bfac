// Long paths resolved a part at a time.
#include "platform/PathAtPosix.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace brisko::platform {

PathAt::PathAt(const std::string& path) : folder_(AT_FDCWD) {
  size_t at = 0;
  while (path.size() - at >= PATH_MAX) {
    // The last separator that keeps this part within the limit.
    const size_t cut = path.rfind('/', at + PATH_MAX - 1);
    if (cut == std::string::npos || cut < at) {
      errno = ENAMETOOLONG;
      ok_ = false;
      break;
    }
    if (cut == at && at > 0) {  // an empty part between two separators
      ++at;
      continue;
    }
    const std::string part = cut == at ? std::string("/") : path.substr(at, cut - at);
    const int next = ::openat(folder_, part.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int error = errno;
    if (folder_ != AT_FDCWD) ::close(folder_);
    folder_ = next;
    if (next < 0) {
      errno = error;
      ok_ = false;
      break;
    }
    at = cut + 1;
  }
  rest_ = ok_ ? path.c_str() + at : "";
}

PathAt::~PathAt() {
  if (folder_ >= 0 && folder_ != AT_FDCWD) ::close(folder_);
}

}  // namespace brisko::platform
#endif
