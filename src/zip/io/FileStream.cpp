// Buffered file stream on stdio with 64-bit positions.
#include "zip/io/FileStream.h"

#include <cerrno>

#include "platform/FileIo.h"

namespace brisko::zip {

namespace {
constexpr size_t kBufferSize = 8192;
using platform::SeekFile;
}  // namespace

FileStream::~FileStream() {
  Close();
}

bool FileStream::Open(const std::string& path, FileMode mode) {
  Close();
  errno = 0;
  if (mode == FileMode::CreateNew || mode == FileMode::CreatePrivate) {
    file_ = platform::CreateNewFile(path, mode == FileMode::CreatePrivate);
  } else {
    const char* how = mode == FileMode::OpenRead ? "rb" : mode == FileMode::Create ? "w+b" : "r+b";
    file_ = platform::OpenFile(path, how);
  }
  return Opened(path);
}

bool FileStream::OpenSource(const std::string& path, bool followLinks, platform::FileIdentity& opened) {
  Close();
  errno = 0;
  file_ = platform::OpenSourceFile(path, followLinks, opened);
  return Opened(path);
}

bool FileStream::Opened(const std::string& path) {
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

bool FileStream::Identity(platform::FileIdentity& identity) const {
  return file_ && platform::IdentityOfOpenFile(file_, identity);
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
  if (lastOp_ != 0 && lastOp_ != op) SeekFile(file_, position_);
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
  if (SeekFile(file_, position) != 0) {
    lastError_ = errno;
    return false;
  }
  position_ = position;
  lastOp_ = 0;
  return true;
}

uint64_t FileStream::Size() {
  if (!file_) return 0;
  if (platform::SeekFileEnd(file_) != 0) return 0;
  int64_t end = platform::TellFile(file_);
  SeekFile(file_, position_);
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
