// Byte stream the records are read from and written to: a file, or memory in tests and fuzzing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace brisko::zip {

class ZipStream {
 public:
  virtual ~ZipStream() = default;

  // Reads up to n bytes at the current position; returns how many came (fewer at the end).
  virtual size_t Read(void* buffer, size_t n) = 0;
  // Writes n bytes at the current position; returns how many were written (fewer = device full).
  virtual size_t Write(const void* buffer, size_t n) = 0;
  // Moves to an absolute position (may lie past the end; reads there return 0); false on failure.
  virtual bool Seek(uint64_t position) = 0;
  virtual uint64_t Position() const = 0;
  virtual uint64_t Size() = 0;
  // Pushes buffered bytes to the device; false when that fails.
  virtual bool Flush() { return true; }
  // Ends writing: buffered bytes reach the device and a file is released. False when bytes could not
  // be written (a full device); the stream takes no more reads or writes afterwards.
  virtual bool Close() { return Flush(); }
  // The system error number of the last failed read or write; 0 when none failed (a short read at
  // the end is no failure).
  virtual int LastError() const { return 0; }

  // Reads exactly n bytes or restores the position and returns false.
  bool ReadExact(void* buffer, size_t n) {
    uint64_t start = Position();
    if (Read(buffer, n) == n) return true;
    Seek(start);
    return false;
  }
};

// Opens streams on paths where the engine would open files: tests and fuzzing read archives from
// memory or write through failing streams.
class StreamOpener {
 public:
  virtual ~StreamOpener() = default;
  // A stream on path; null when it cannot be opened.
  virtual std::unique_ptr<ZipStream> Open(const std::string& path) = 0;
};

}  // namespace brisko::zip
