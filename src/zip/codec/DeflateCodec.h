// Raw deflate (method 8) and CRC-32 over whole buffers. Members that fit in memory go through the
// fast whole-buffer codec; streams of unknown or large size stay with zlib (see ChunkDeflater).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brisko::zip {

// SamplesShrink looks at this many samples of this size.
inline constexpr size_t kDeflateSampleCount = 4;
inline constexpr size_t kDeflateSampleSize = 16 * 1024;

// The state of the codec library behind these classes: libdeflate, or zlib in builds without it.
struct DeflateState;
struct InflateState;

// CRC-32 of the ZIP format, continuing `crc` (0 to start).
uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size);
// The CRC-32 of two buffers joined, from the CRC of each and the length of the second.
uint32_t Crc32Combine(uint32_t first, uint32_t second, uint64_t secondSize);

// Deflates whole buffers at one level. Not shared between threads: each worker owns one.
class BufferDeflater {
 public:
  explicit BufferDeflater(int level);
  ~BufferDeflater();
  BufferDeflater(const BufferDeflater&) = delete;
  BufferDeflater& operator=(const BufferDeflater&) = delete;

  int Level() const { return level_; }
  // Replaces `out` with the raw deflate stream of data; false (out emptied) when that stream would
  // not be smaller than the data itself, so the member is better stored.
  bool Deflate(const uint8_t* data, size_t size, std::vector<uint8_t>& out);
  // Whether one of four samples spread over data deflates by at least 1/64: already compressed data
  // (archives, media) fails this quick test and is stored without deflating it all, while data that
  // is incompressible only in places (a random head before zeros) is deflated.
  bool SamplesShrink(const uint8_t* data, size_t size);

 private:
  int level_;
  DeflateState* compressor_;
  std::vector<uint8_t> sample_;
};

// Inflates a whole raw deflate stream whose decoded size is known.
class BufferInflater {
 public:
  BufferInflater();
  ~BufferInflater();
  BufferInflater(const BufferInflater&) = delete;
  BufferInflater& operator=(const BufferInflater&) = delete;

  // True when `in` decodes to exactly outSize bytes in `out`. Anything else (bad data, more or fewer
  // bytes) returns false; callers then decode with the streaming decoder, which reports the details.
  bool InflateExact(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize);

 private:
  InflateState* decompressor_;
};

}  // namespace brisko::zip
