// Reading and atomically rewriting INI-format files.
#include "core/IniFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/EIniWriteError.h"
#include "platform/AtomicFile.h"
#include "platform/Platform.h"

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
std::string ResolveTarget(const std::string& path) { return path; }

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

void WriteFileAtomically(const std::string& path, const std::string& content) {
  const std::string target = ResolveTarget(path);
  int mode = -1;  // a new file is its owner's alone
  platform::FileStat st = platform::StatFile(target);
  if (st.exists) {
    // A file without any write permission is read-only: refuse, as the system would on Windows,
    // even for a user (root) whom the permissions do not stop.
    if (st.isDirectory || (st.attributes & platform::faReadOnly) != 0) throw EIniWriteError(path);
#ifndef _WIN32
    if (!S_ISREG(st.posixMode)) throw EIniWriteError(path);
#endif
    if (st.posixMode != 0) mode = static_cast<int>(st.posixMode & 07777);
  }
  // The test seam cuts the content short, as a full disk would.
  std::string_view bytes = content;
  const bool injected = g_failAfterBytes && *g_failAfterBytes < bytes.size();
  if (injected) bytes = bytes.substr(0, *g_failAfterBytes);
  platform::AtomicFile file(target);
  if (!file.Open() || !file.Write(bytes) || injected || !file.Commit(mode)) throw EIniWriteError(path);
}

}  // namespace brisko::core
