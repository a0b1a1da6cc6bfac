// The identity of a file from its stat record.
#pragma once

#ifndef _WIN32
#include <sys/stat.h>

#include "platform/Platform.h"

namespace brisko::platform {

inline FileIdentity IdentityOf(const struct stat& st) {
  constexpr int64_t kBillion = 1000000000;
  FileIdentity id;
  id.device = static_cast<uint64_t>(st.st_dev);
  id.inode = static_cast<uint64_t>(st.st_ino);
  id.type = static_cast<uint32_t>(st.st_mode & S_IFMT);
  id.size = static_cast<uint64_t>(st.st_size);
  id.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * kBillion + st.st_mtim.tv_nsec;
  id.changedNs = static_cast<int64_t>(st.st_ctim.tv_sec) * kBillion + st.st_ctim.tv_nsec;
  return id;
}

}  // namespace brisko::platform
#endif
