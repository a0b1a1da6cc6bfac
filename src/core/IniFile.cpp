// Reading and atomically rewriting INI-format files.
#include "core/IniFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/EIniWriteError.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <climits>
#include <cstdlib>
#endif

namespace brisko::core {
namespace {

std::optional<size_t> g_failAfterBytes;

#ifndef _WIN32
// Writes everything or reports failure; honours the test seam.
bool WriteAll(int fd, const std::string& content) {
  size_t limit = content.size();
  bool injected = g_failAfterBytes && *g_failAfterBytes < limit;
  if (injected) limit = *g_failAfterBytes;
  size_t done = 0;
  while (done < limit) {
    ssize_t n = ::write(fd, content.data() + done, limit - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return !injected;
}

// The file a write really replaces: the target of a symbolic link, so the link itself survives.
std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer)) return buffer;
  }
  return path;
}

// Holds an advisory lock on the file's folder for one read-change-write cycle, so the desktop
// program and the command line updating the same file at once cannot lose each other's changes.
// Locking a folder needs no extra file beside the settings; where it fails, the update goes on
// unlocked (the rename still keeps every file whole).
class FolderLock {
 public:
  explicit FolderLock(const std::string& path) {
    std::string target = ResolveTarget(path);
    size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
    fd_ = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};
#else
// Windows: replacing a file that another process has open fails, which the write reports.
struct FolderLock {
  explicit FolderLock(const std::string&) {}
};
#endif

}  // namespace

void SetWriteFailureAfterBytesForTesting(std::optional<size_t> bytes) {
  g_failAfterBytes = bytes;
}

IniDocument IniFile::Load() const {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return IniDocument();
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return IniDocument::Parse(text);
}

void IniFile::Update(const std::function<void(IniDocument&)>& change) {
  FolderLock lock(path_);
  IniDocument doc = Load();
  change(doc);
  WriteFileAtomically(path_, doc.Serialize());
}

#ifndef _WIN32
void WriteFileAtomically(const std::string& path, const std::string& content) {
  const std::string target = ResolveTarget(path);
  mode_t mode = 0600;
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    // A file without any write permission is read-only: refuse, as the system would on Windows,
    // even for a user (root) whom the permissions do not stop.
    if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0) throw EIniWriteError(path);
    mode = st.st_mode & 07777;
  }
  size_t slash = target.rfind('/');
  std::string dir = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temp = (dir == "/" ? "" : dir) + "/." + base + ".XXXXXX";

  int fd = ::mkstemp(temp.data());  // created with mode 0600
  if (fd < 0) throw EIniWriteError(path);
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, content) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw EIniWriteError(path);
  }
  // Make the rename itself durable; a failure here loses nothing already written.
  int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}
#else
void WriteFileAtomically(const std::string& path, const std::string& content) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path target = fs::u8path(path);
  if (fs::exists(target, ec) &&
      (fs::status(target, ec).permissions() & fs::perms::owner_write) == fs::perms::none)
    throw EIniWriteError(path);
  fs::path temp = target;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    size_t limit = content.size();
    bool injected = g_failAfterBytes && *g_failAfterBytes < limit;
    if (injected) limit = *g_failAfterBytes;
    out.write(content.data(), static_cast<std::streamsize>(limit));
    out.flush();
    if (!out || injected) {
      out.close();
      fs::remove(temp, ec);
      throw EIniWriteError(path);
    }
  }
  // rename replaces an existing file on Windows (MoveFileEx with MOVEFILE_REPLACE_EXISTING).
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    throw EIniWriteError(path);
  }
}
#endif

}  // namespace brisko::core
