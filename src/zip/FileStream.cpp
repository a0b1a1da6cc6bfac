// Buffered file stream on stdio with 64-bit positions.
#include "zip/FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace brisko::zip {

namespace {
constexpr size_t kBufferSize = 8192;

#ifdef _WIN32
int SeekTo(std::FILE* f, uint64_t pos) { return _fseeki64(f, static_cast<__int64>(pos), SEEK_SET); }
int SeekEnd(std::FILE* f) { return _fseeki64(f, 0, SEEK_END); }
int64_t Tell(std::FILE* f) { return _ftelli64(f); }
#else
int SeekTo(std::FILE* f, uint64_t pos) { return fseeko(f, static_cast<off_t>(pos), SEEK_SET); }
int SeekEnd(std::FILE* f) { return fseeko(f, 0, SEEK_END); }
int64_t Tell(std::FILE* f) { return static_cast<int64_t>(ftello(f)); }
#endif
}  // namespace

FileStream::~FileStream() { Close(); }

namespace {
// Opens a file that must not exist yet; a link under its name counts as existing.
std::FILE* CreateExclusive(const std::string& path, bool ownerOnly) {
#ifdef _WIN32
  (void)ownerOnly;
  return std::fopen(path.c_str(), "w+bx");
#else
  const int fd =
      ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, ownerOnly ? 0600 : 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "w+b");
  if (!file) {
    const int error = errno;
    ::close(fd);
    ::unlink(path.c_str());
    errno = error;
  }
  return file;
#endif
}
}  // namespace

bool FileStream::Open(const std::string& path, TFileMode mode) {
  Close();
  errno = 0;
  if (mode == TFileMode::fmCreateNew || mode == TFileMode::fmCreatePrivate) {
    file_ = CreateExclusive(path, mode == TFileMode::fmCreatePrivate);
  } else {
    const char* how = mode == TFileMode::fmOpenRead ? "rb" : mode == TFileMode::fmCreate ? "w+b" : "r+b";
    file_ = std::fopen(path.c_str(), how);
  }
  if (!file_) {
    lastError_ = errno;
    return false;
  }
  std::setvbuf(file_, nullptr, _IOFBF, kBufferSize);
  path_ = path;
  position_ = 0;
  lastOp_ = 0;
  return true;
}

bool FileStream::Close() {
  if (!file_) return true;
  bool ok = std::fflush(file_) == 0;
  if (!ok) lastError_ = errno;
  if (std::fclose(file_) != 0 && ok) {
    ok = false;
    lastError_ = errno;
  }
  file_ = nullptr;
  return ok;
}

void FileStream::SwitchDirection(bool writing) {
  int op = writing ? 2 : 1;
  if (lastOp_ != 0 && lastOp_ != op) SeekTo(file_, position_);
  lastOp_ = op;
}

size_t FileStream::Read(void* buffer, size_t n) {
  if (!file_ || n == 0) return 0;
  SwitchDirection(false);
  size_t got = std::fread(buffer, 1, n, file_);
  if (got < n && std::ferror(file_)) {
    lastError_ = errno;
    std::clearerr(file_);
  }
  position_ += got;
  return got;
}

size_t FileStream::Write(const void* buffer, size_t n) {
  if (!file_ || n == 0) return 0;
  SwitchDirection(true);
  size_t put = std::fwrite(buffer, 1, n, file_);
  if (put < n) {
    lastError_ = errno;
    std::clearerr(file_);
  }
  position_ += put;
  return put;
}

bool FileStream::Seek(uint64_t position) {
  if (!file_) return false;
  if (SeekTo(file_, position) != 0) {
    lastError_ = errno;
    return false;
  }
  position_ = position;
  lastOp_ = 0;
  return true;
}

uint64_t FileStream::Size() {
  if (!file_) return 0;
  if (SeekEnd(file_) != 0) return 0;
  int64_t end = Tell(file_);
  SeekTo(file_, position_);
  lastOp_ = 0;
  return end < 0 ? 0 : static_cast<uint64_t>(end);
}

bool FileStream::Flush() {
  if (!file_) return false;
  if (std::fflush(file_) != 0) {
    lastError_ = errno;
    return false;
  }
  return true;
}

}  // namespace brisko::zip
