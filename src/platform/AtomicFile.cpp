// Temporary file in the target's folder, flushed, then renamed over the target.
#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "platform/FileIo.h"
#include "platform/PathRules.h"

#ifdef _WIN32
#include <io.h>

#include <cstdint>

#include "platform/WideText.h"
#else
#include <unistd.h>
#endif

namespace brisko::platform {

namespace {

#ifdef _WIN32
int MakeTemporary(std::string& pattern) {
  // The random part is drawn anew until a name is free; creation is exclusive either way.
  const size_t digits = pattern.size() - 6;
  static uint64_t state = ::GetTickCount64() ^ (static_cast<uint64_t>(::GetCurrentProcessId()) << 32);
  for (int attempt = 0; attempt < 100; ++attempt) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    uint64_t v = state >> 16;
    for (size_t i = 0; i < 6; ++i, v >>= 5) pattern[digits + i] = "abcdefghijklmnopqrstuvwxyz012345"[v & 31];
    const int fd = ::_wopen(WidePath(pattern).c_str(),
                            _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}
int Reopen(const std::string& path) {
  return ::_wopen(WidePath(path).c_str(), _O_RDWR | _O_BINARY);
}
int SyncFile(int fd) {
  return ::_commit(fd);
}
int CloseFile(int fd) {
  return ::_close(fd);
}
long WriteSome(int fd, const char* data, size_t size) {
  return ::_write(fd, data, static_cast<unsigned>(size > 0x40000000 ? 0x40000000 : size));
}
void SyncFolder(const std::string&) {}  // MOVEFILE_WRITE_THROUGH already waits for the disk
void RemoveFile(const std::string& path) {
  ::DeleteFileW(WidePath(path).c_str());
}
#else
int MakeTemporary(std::string& pattern) {
  const int fd = ::mkstemp(pattern.data());  // created with mode 0600
  if (fd >= 0) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  return fd;
}
int Reopen(const std::string& path) {
  return ::open(path.c_str(), O_RDWR | O_CLOEXEC);
}
int SyncFile(int fd) {
  return ::fsync(fd);
}
int CloseFile(int fd) {
  return ::close(fd);
}
long WriteSome(int fd, const char* data, size_t size) {
  return static_cast<long>(::write(fd, data, size));
}
void RemoveFile(const std::string& path) {
  std::remove(path.c_str());
}
void SyncFolder(const std::string& folder) {
  // Makes the rename itself durable; a failure here loses nothing already written.
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
#endif

std::string FolderOf(const std::string& path) {
  std::string folder = ExtractDirPart(path);
  return folder.empty() ? std::string(".") : folder;
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile() {
  Discard();
}

bool AtomicFile::Open() {
  Discard();
  // Hidden beside the target, so the rename never crosses a file system.
  std::string pattern = IncludeTrailingDelim(FolderOf(target_)) + "." + ExtractNamePart(target_) + ".XXXXXX";
  fd_ = MakeTemporary(pattern);
  if (fd_ < 0) return false;
  temp_ = pattern;
  return true;
}

void AtomicFile::Adopt(std::string tempPath) {
  if (fd_ >= 0) CloseFile(fd_);
  fd_ = -1;
  if (!temp_.empty() && temp_ != tempPath) RemoveFile(temp_);
  temp_ = std::move(tempPath);
}

bool AtomicFile::Write(std::string_view bytes) {
  if (fd_ < 0) return false;
  while (!bytes.empty()) {
    const long written = WriteSome(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

bool AtomicFile::Commit(int mode) {
  if (temp_.empty()) return false;
  if (fd_ < 0) {
    // Filled by name: reopen to push the writer's data to the disk.
    fd_ = Reopen(temp_);
    if (fd_ < 0) {
      Discard();
      return false;
    }
  }
  bool ok = true;
#ifndef _WIN32
  if (mode >= 0) ok = ::fchmod(fd_, static_cast<mode_t>(mode)) == 0;
#endif
  ok = SyncFile(fd_) == 0 && ok;
  ok = CloseFile(fd_) == 0 && ok;
  fd_ = -1;
  if (!ok || !RenameOver(temp_, target_)) {
    Discard();
    return false;
  }
  temp_.clear();
  SyncFolder(FolderOf(target_));
  return true;
}

void AtomicFile::Discard() {
  if (fd_ >= 0) CloseFile(fd_);
  fd_ = -1;
  if (!temp_.empty()) RemoveFile(temp_);
  temp_.clear();
}

bool WriteFileAtomically(const std::string& path, std::string_view content, int mode) {
  AtomicFile file(path);
  return file.Open() && file.Write(content) && file.Commit(mode);
}

}  // namespace brisko::platform
