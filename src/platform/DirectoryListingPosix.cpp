// POSIX implementation of the folder listing.
#include "platform/DirectoryListing.h"

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/Platform.h"

namespace brisko::platform {

namespace {

// Birth time through statx where the kernel and file system keep one, else the change time.
std::time_t CreationTime(int dirFd, const char* name, const struct stat& st) {
#if defined(STATX_BTIME)
  struct statx sx {};
  if (::statx(dirFd, name, 0, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME) != 0)
    return static_cast<std::time_t>(sx.stx_btime.tv_sec);
#else
  (void)dirFd;
  (void)name;
#endif
  return st.st_ctime;
}

}  // namespace

std::vector<DirectoryItem> ListDirectory(const std::string& folder) {
  std::vector<DirectoryItem> items;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return items;
  int fd = ::dirfd(dir);
  while (const dirent* ent = ::readdir(dir)) {
    std::string name = ent->d_name;
    if (name == "." || name == "..") continue;
    struct stat lst {};
    if (::fstatat(fd, ent->d_name, &lst, AT_SYMLINK_NOFOLLOW) != 0) continue;
    struct stat st = lst;
    bool link = S_ISLNK(lst.st_mode);
    // A dangling link is listed with the link's own data.
    if (link && ::fstatat(fd, ent->d_name, &st, 0) != 0) st = lst;
    DirectoryItem item;
    item.name = name;
    item.isSymlink = link;
    bool isDir = S_ISDIR(st.st_mode);
    uint32_t attr = isDir ? kAttrDirectory : kAttrArchive;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attr |= kAttrReadOnly;
    // Dot files are the POSIX counterpart of hidden files.
    if (name[0] == '.') attr |= kAttrHidden;
    item.attributes = attr;
    item.size = isDir ? 0 : static_cast<uint64_t>(st.st_size);
    item.created = CreationTime(fd, ent->d_name, st);
    item.lastWrite = st.st_mtime;
    item.lastAccess = st.st_atime;
    items.push_back(std::move(item));
  }
  ::closedir(dir);
  return items;
}

}  // namespace brisko::platform
#endif
