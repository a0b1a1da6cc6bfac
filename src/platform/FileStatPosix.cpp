// POSIX implementation of the file attribute and time services.
#include "platform/Platform.h"

#ifndef _WIN32
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <climits>
#include <cstdlib>

#include "platform/IdentityPosix.h"
#include "platform/PathAtPosix.h"

namespace brisko::platform {

FileStat StatFile(const std::string& path, bool noFollow) {
  struct stat st {};
  const PathAt at(path);
  if (!at.Ok() || ::fstatat(at.Folder(), at.Rest(), &st, noFollow ? AT_SYMLINK_NOFOLLOW : 0) != 0) return {};
  const auto slash = path.find_last_of('/');
  return FileStatOf(
      st, slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1));
}

bool SetLastWriteTime(const std::string& path, std::time_t when, bool noFollow, uint32_t nanos) {
  struct timespec times[2];
  times[0].tv_sec = when;
  times[0].tv_nsec = nanos;
  times[1].tv_sec = when;
  times[1].tv_nsec = nanos;
  return ::utimensat(AT_FDCWD, path.c_str(), times, noFollow ? AT_SYMLINK_NOFOLLOW : 0) == 0;
}

bool SetPermissions(const std::string& path, uint32_t mode) {
  return ::chmod(path.c_str(), static_cast<mode_t>(mode & 0777)) == 0;
}

bool ReadSymlink(const std::string& path, std::string& target) {
  const PathAt at(path);
  if (!at.Ok()) return false;
  std::string buffer(256, '\0');
  for (;;) {
    ssize_t n = ::readlinkat(at.Folder(), at.Rest(), buffer.data(), buffer.size());
    if (n < 0) return false;
    if (static_cast<size_t>(n) < buffer.size()) {
      target.assign(buffer.data(), static_cast<size_t>(n));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool MakeSymlink(const std::string& target, const std::string& path) {
  return ::symlink(target.c_str(), path.c_str()) == 0;
}

bool SetReadOnly(const std::string& path, bool readOnly) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  if (readOnly)
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  else
    mode |= S_IWUSR;
  return ::chmod(path.c_str(), mode) == 0;
}

std::string HomeDir() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

std::string UserAccountId() {
  return std::to_string(::getuid());
}

std::string ConfigHome(const std::string& configured, const std::string& home) {
  if (!configured.empty() && configured.front() == '/') return configured;
  return (home.empty() || home.back() != '/' ? home + "/" : home) + ".config";
}

std::string TempDir() {
  if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) {
    std::string dir = tmp;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
  }
  return "/tmp";
}

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<size_t>(n));
}

}  // namespace brisko::platform
#endif
