// A buffered file stream with 64-bit positions, opened for reading, creating or updating.
#pragma once

#include <cstdio>
#include <string>

#include "platform/Platform.h"
#include "zip/io/ZipStream.h"

namespace brisko::zip {

// CreateNew creates a file that must not exist yet, never through a symbolic link planted under
// its name; CreatePrivate does the same with access for the owner only (temporary files).
enum class FileMode { OpenRead, Create, OpenReadWrite, CreateNew, CreatePrivate };

class FileStream : public ZipStream {
 public:
  FileStream() = default;
  ~FileStream() override;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  // Opens path (Create truncates or creates it); false with LastError() set on failure.
  bool Open(const std::string& path, FileMode mode);
  // Opens a file to back up for reading: only a regular file, never waiting on a pipe, and without
  // following a final link unless followLinks; `opened` is the identity of what was opened.
  bool OpenSource(const std::string& path, bool followLinks, platform::FileIdentity& opened);
  // The identity of the open file now; false when the system cannot tell.
  bool Identity(platform::FileIdentity& identity) const;
  // Flushes and closes; false when buffered bytes could not be written.
  bool Close() override;
  bool IsOpen() const { return file_ != nullptr; }
  const std::string& Path() const { return path_; }
  // errno of the last failed open, read or write.
  int LastError() const override { return lastError_; }

  size_t Read(void* buffer, size_t n) override;
  size_t Write(const void* buffer, size_t n) override;
  bool Seek(uint64_t position) override;
  uint64_t Position() const override { return position_; }
  uint64_t Size() override;
  bool Flush() override;

 private:
  // Takes file_ as just opened; false with the error of the open when it failed.
  bool Opened(const std::string& path);
  // stdio needs a seek between a read and a following write (and the reverse).
  void SwitchDirection(bool writing);

  std::FILE* file_ = nullptr;
  std::string path_;
  uint64_t position_ = 0;
  int lastError_ = 0;
  int lastOp_ = 0;  // 0 none, 1 read, 2 write
};

}  // namespace brisko::zip
