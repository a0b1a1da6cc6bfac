// Length-checked little-endian reads and appending writes for record parsing and building.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::zip {

// Reads a little-endian value at offset; false (out untouched) when the bytes do not reach that far.
inline bool GetLE16(const uint8_t* data, size_t size, size_t offset, uint16_t& out) {
  if (offset > size || size - offset < 2) return false;
  out = static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
  return true;
}

inline bool GetLE32(const uint8_t* data, size_t size, size_t offset, uint32_t& out) {
  if (offset > size || size - offset < 4) return false;
  out = static_cast<uint32_t>(data[offset]) | (static_cast<uint32_t>(data[offset + 1]) << 8) |
        (static_cast<uint32_t>(data[offset + 2]) << 16) | (static_cast<uint32_t>(data[offset + 3]) << 24);
  return true;
}

inline bool GetLE64(const uint8_t* data, size_t size, size_t offset, uint64_t& out) {
  uint32_t lo = 0, hi = 0;
  if (!GetLE32(data, size, offset, lo) || !GetLE32(data, size, offset + 4, hi)) return false;
  out = (static_cast<uint64_t>(hi) << 32) | lo;
  return true;
}

// Sequential reader over a byte buffer; once a read runs past the end, Ok() stays false and
// every further read yields 0, so a parser can check once at the end.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit ByteReader(std::string_view bytes)
      : data_(reinterpret_cast<const uint8_t*>(bytes.data())), size_(bytes.size()) {}

  uint16_t U16() {
    uint16_t v = 0;
    ok_ = ok_ && GetLE16(data_, size_, pos_, v);
    if (ok_) pos_ += 2;
    return ok_ ? v : 0;
  }
  uint32_t U32() {
    uint32_t v = 0;
    ok_ = ok_ && GetLE32(data_, size_, pos_, v);
    if (ok_) pos_ += 4;
    return ok_ ? v : 0;
  }
  uint64_t U64() {
    uint64_t v = 0;
    ok_ = ok_ && GetLE64(data_, size_, pos_, v);
    if (ok_) pos_ += 8;
    return ok_ ? v : 0;
  }
  void Skip(size_t n) {
    if (!ok_ || n > size_ - pos_)
      ok_ = false;
    else
      pos_ += n;
  }
  bool Ok() const { return ok_; }
  size_t Position() const { return pos_; }
  size_t Remaining() const { return ok_ ? size_ - pos_ : 0; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

// Appends little-endian values to a byte buffer.
inline void PutLE16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void PutLE32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline void PutLE64(std::vector<uint8_t>& out, uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline void PutBytes(std::vector<uint8_t>& out, std::string_view bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace brisko::zip
