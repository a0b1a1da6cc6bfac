// A stream over bytes held in memory, for tests, fuzzing and small temporary data.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "zip/io/ZipStream.h"

namespace brisko::zip {

class MemoryStream : public ZipStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
  MemoryStream(const void* bytes, size_t n)
      : data_(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + n) {}

  // Makes Write accept only this many bytes in total, to imitate a full device.
  void SetWriteLimit(uint64_t limit) { writeLimit_ = limit; }

  size_t Read(void* buffer, size_t n) override {
    if (pos_ >= data_.size()) return 0;
    size_t count = static_cast<size_t>(std::min<uint64_t>(n, data_.size() - pos_));
    std::memcpy(buffer, data_.data() + pos_, count);
    pos_ += count;
    return count;
  }
  size_t Write(const void* buffer, size_t n) override {
    if (pos_ >= writeLimit_) return 0;
    size_t count = static_cast<size_t>(std::min<uint64_t>(n, writeLimit_ - pos_));
    if (pos_ + count > data_.size()) data_.resize(static_cast<size_t>(pos_ + count));
    if (count != 0) std::memcpy(data_.data() + pos_, buffer, count);
    pos_ += count;
    return count;
  }
  bool Seek(uint64_t position) override {
    pos_ = position;
    return true;
  }
  uint64_t Position() const override { return pos_; }
  uint64_t Size() override { return data_.size(); }

  const std::vector<uint8_t>& Data() const { return data_; }
  std::string Text() const { return std::string(data_.begin(), data_.end()); }

 private:
  std::vector<uint8_t> data_;
  uint64_t pos_ = 0;
  uint64_t writeLimit_ = UINT64_MAX;
};

// Opens every path as a stream over the same bytes: archives read from memory in tests and fuzzing.
class MemoryStreamOpener : public StreamOpener {
 public:
  // The bytes must outlive the opener.
  explicit MemoryStreamOpener(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  std::unique_ptr<ZipStream> Open(const std::string&) override {
    return std::make_unique<MemoryStream>(bytes_);
  }

 private:
  const std::vector<uint8_t>& bytes_;
};

}  // namespace brisko::zip
