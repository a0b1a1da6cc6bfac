// Whole-buffer deflate, inflate and CRC-32 on zlib alone, for builds without libdeflate.
#include <zlib.h>

#include <climits>
#include <new>

#include "zip/codec/DeflateCodec.h"

namespace brisko::zip {

struct DeflateState {
  z_stream stream{};
};
struct InflateState {
  z_stream stream{};
};

namespace {
// Raw deflate streams (no zlib header), as ZIP members hold them.
constexpr int kRawWindowBits = -MAX_WBITS;

// Deflates data into out (whose size is the room allowed) in one call; the bytes made, or 0 when they
// did not fit.
size_t DeflateInto(z_stream& stream, const uint8_t* data, size_t size, uint8_t* out, size_t room) {
  if (size > UINT_MAX || room > UINT_MAX || deflateReset(&stream) != Z_OK) return 0;
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  stream.next_out = out;
  stream.avail_out = static_cast<uInt>(room);
  return deflate(&stream, Z_FINISH) == Z_STREAM_END ? room - stream.avail_out : 0;
}
}  // namespace

uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size) {
  return static_cast<uint32_t>(crc32_z(crc, data, size));
}

uint32_t Crc32Combine(uint32_t first, uint32_t second, uint64_t secondSize) {
  // The length zlib takes may be 32 bits wide. Joining is linear: shifting the first CRC over the
  // length in steps, the last step adding the second CRC, gives the same value.
  constexpr uint64_t kStep = uint64_t{1} << 30;
  uLong crc = first;
  for (; secondSize > kStep; secondSize -= kStep) crc = crc32_combine(crc, 0, static_cast<z_off_t>(kStep));
  return static_cast<uint32_t>(crc32_combine(crc, second, static_cast<z_off_t>(secondSize)));
}

BufferDeflater::BufferDeflater(int level)
    : level_(level < 1   ? 1
             : level > 9 ? 9
                         : level),
      compressor_(new DeflateState) {
  if (deflateInit2(&compressor_->stream, level_, Z_DEFLATED, kRawWindowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    delete compressor_;
    throw std::bad_alloc();
  }
}

BufferDeflater::~BufferDeflater() {
  deflateEnd(&compressor_->stream);
  delete compressor_;
}

bool BufferDeflater::Deflate(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
  out.clear();
  if (size <= 1) return false;
  // Room for one byte less than the input: a stream that does not fit gains nothing.
  out.resize(size - 1);
  out.resize(DeflateInto(compressor_->stream, data, size, out.data(), out.size()));
  return !out.empty();
}

bool BufferDeflater::SamplesShrink(const uint8_t* data, size_t size) {
  if (size < 2 * kDeflateSampleCount * kDeflateSampleSize) return true;  // small enough to deflate whole
  sample_.resize(kDeflateSampleSize - kDeflateSampleSize / 64);
  const size_t step = size / kDeflateSampleCount;
  for (size_t i = 0; i < kDeflateSampleCount; ++i) {
    if (DeflateInto(compressor_->stream, data + i * step, kDeflateSampleSize, sample_.data(),
                    sample_.size()) > 0)
      return true;
  }
  return false;
}

BufferInflater::BufferInflater() : decompressor_(new InflateState) {
  if (inflateInit2(&decompressor_->stream, kRawWindowBits) != Z_OK) {
    delete decompressor_;
    throw std::bad_alloc();
  }
}

BufferInflater::~BufferInflater() {
  inflateEnd(&decompressor_->stream);
  delete decompressor_;
}

bool BufferInflater::InflateExact(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize) {
  z_stream& stream = decompressor_->stream;
  if (inSize > UINT_MAX || outSize > UINT_MAX || inflateReset(&stream) != Z_OK) return false;
  stream.next_in = const_cast<Bytef*>(in);
  stream.avail_in = static_cast<uInt>(inSize);
  stream.next_out = out;
  stream.avail_out = static_cast<uInt>(outSize);
  // The whole input must end the stream and make exactly outSize bytes.
  return inflate(&stream, Z_FINISH) == Z_STREAM_END && stream.avail_in == 0 && stream.avail_out == 0;
}

}  // namespace brisko::zip
