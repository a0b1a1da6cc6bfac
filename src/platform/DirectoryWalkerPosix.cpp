// POSIX folder listing of the walk: openat, fdopendir and fstatat relative to the parent folder.
#include "platform/DirectoryWalker.h"

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/DirectoryWalkerLevel.h"
#include "platform/IdentityPosix.h"
#include "platform/PathAtPosix.h"

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

EntryType TypeOf(mode_t mode) {
  if (S_ISREG(mode)) return EntryType::Regular;
  if (S_ISDIR(mode)) return EntryType::Directory;
  if (S_ISLNK(mode)) return EntryType::Symlink;
  return EntryType::Special;
}

// The entry `name` of the open folder fd; false when its status cannot be read.
bool ReadItem(int fd, const char* name, DirectoryItem& item) {
  struct stat own {};
  if (::fstatat(fd, name, &own, AT_SYMLINK_NOFOLLOW) != 0) return false;
  struct stat st = own;
  item.name = name;
  item.type = TypeOf(own.st_mode);
  item.isSymlink = item.type == EntryType::Symlink;
  item.identity = IdentityOf(own);
  // A link's attributes are its target's; a dangling link keeps its own.
  if (item.isSymlink && ::fstatat(fd, name, &st, 0) != 0) st = own;
  item.targetType = TypeOf(st.st_mode);
  const bool isDir = S_ISDIR(st.st_mode);
  uint32_t attr = isDir ? kAttrDirectory : kAttrArchive;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attr |= kAttrReadOnly;
  // Dot files are the POSIX counterpart of hidden files.
  if (name[0] == '.') attr |= kAttrHidden;
  item.attributes = attr;
  item.size = isDir ? 0 : static_cast<uint64_t>(st.st_size);
  item.created = CreationTime(fd, name, st);
  item.lastWrite = st.st_mtime;
  item.lastAccess = st.st_atime;
  item.status = FileStatOf(st, name);
  item.linkStatus = FileStatOf(own, name);
  return true;
}

}  // namespace

DirectoryWalker::Level::~Level() {
  if (handle >= 0) ::close(handle);
}

std::unique_ptr<DirectoryWalker::Level> DirectoryWalker::Open(const Level* parent, const std::string& name,
                                                              const std::string& folder) {
  auto level = std::make_unique<Level>();
  level->folder = folder;
  // A subfolder is opened only as the folder the parent listed, never through a link put in its place.
  if (parent) {
    level->handle = ::openat(parent->handle, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  } else {
    const PathAt at(name);
    if (at.Ok()) level->handle = ::openat(at.Folder(), at.Rest(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  }
  if (level->handle < 0) {
    const int error = errno;
    unreadable_.push_back({folder, std::strerror(error)});
    return nullptr;
  }
  // The listing gets its own descriptor: closedir closes it, the level keeps the other.
  const int listFd = ::dup(level->handle);
  DIR* dir = listFd < 0 ? nullptr : ::fdopendir(listFd);
  if (!dir) {
    const int error = errno;
    unreadable_.push_back({folder, std::strerror(error)});
    if (listFd >= 0) ::close(listFd);
    return nullptr;
  }
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (!entry) {
      const int error = errno;
      if (error != 0) unreadable_.push_back({folder, std::strerror(error)});
      break;
    }
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    DirectoryItem item;
    if (ReadItem(level->handle, entry->d_name, item)) {
      level->items.push_back(std::move(item));
    } else {
      const int error = errno;
      unreadable_.push_back({folder + entry->d_name, std::strerror(error)});
    }
  }
  ::closedir(dir);
  std::sort(level->items.begin(), level->items.end(),
            [](const DirectoryItem& a, const DirectoryItem& b) { return a.name < b.name; });
  return level;
}

}  // namespace brisko::platform
#endif
