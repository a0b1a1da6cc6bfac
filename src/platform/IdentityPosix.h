// The identity of a file from its stat record.
#pragma once

#ifndef _WIN32
#include <sys/stat.h>

#include <string_view>

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

// The status of a file from its stat record; name (without folder) marks dot files hidden.
inline FileStat FileStatOf(const struct stat& st, std::string_view name) {
  FileStat result;
  result.exists = true;
  result.identity = IdentityOf(st);
  result.isDirectory = S_ISDIR(st.st_mode);
  result.isSymlink = S_ISLNK(st.st_mode);
  result.isRegular = S_ISREG(st.st_mode);
  result.size = result.isDirectory ? 0 : static_cast<uint64_t>(st.st_size);
  result.lastWrite = st.st_mtime;
  result.lastWriteNanos = static_cast<uint32_t>(st.st_mtim.tv_nsec);
  result.posixMode = st.st_mode;
  uint32_t attr = result.isDirectory ? kAttrDirectory : kAttrArchive;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attr |= kAttrReadOnly;
  // Dot files are the POSIX counterpart of hidden files.
  if (name.size() > 1 && name[0] == '.' && name != "..") attr |= kAttrHidden;
  result.attributes = attr;
  return result;
}

}  // namespace brisko::platform
#endif
