// Whole-buffer deflate, inflate and CRC-32 on libdeflate; CRC joining on zlib.
#include "zip/codec/DeflateCodec.h"

#include <libdeflate.h>
#include <zlib.h>

#include <new>

namespace brisko::zip {

namespace {
libdeflate_compressor* Compressor(DeflateState* state) {
  return reinterpret_cast<libdeflate_compressor*>(state);
}
libdeflate_decompressor* Decompressor(InflateState* state) {
  return reinterpret_cast<libdeflate_decompressor*>(state);
}
}  // namespace

uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size) {
  return libdeflate_crc32(crc, data, size);
}

uint32_t Crc32Combine(uint32_t first, uint32_t second, uint64_t secondSize) {
  return static_cast<uint32_t>(crc32_combine64(first, second, static_cast<z_off64_t>(secondSize)));
}

BufferDeflater::BufferDeflater(int level)
    : level_(level < 1   ? 1
             : level > 9 ? 9
                         : level),
      compressor_(reinterpret_cast<DeflateState*>(libdeflate_alloc_compressor(level_))) {
  if (compressor_ == nullptr) throw std::bad_alloc();
}

BufferDeflater::~BufferDeflater() {
  libdeflate_free_compressor(Compressor(compressor_));
}

bool BufferDeflater::Deflate(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
  out.clear();
  if (size == 0) return false;
  // Room for one byte less than the input: a stream that does not fit gains nothing.
  out.resize(size - 1);
  const size_t n =
      size > 1 ? libdeflate_deflate_compress(Compressor(compressor_), data, size, out.data(), out.size()) : 0;
  out.resize(n);
  return n > 0;
}

bool BufferDeflater::SamplesShrink(const uint8_t* data, size_t size) {
  if (size < 2 * kDeflateSampleCount * kDeflateSampleSize) return true;  // small enough to deflate whole
  sample_.resize(kDeflateSampleSize - kDeflateSampleSize / 64);
  const size_t step = size / kDeflateSampleCount;
  for (size_t i = 0; i < kDeflateSampleCount; ++i) {
    if (libdeflate_deflate_compress(Compressor(compressor_), data + i * step, kDeflateSampleSize,
                                    sample_.data(), sample_.size()) > 0)
      return true;
  }
  return false;
}

BufferInflater::BufferInflater()
    : decompressor_(reinterpret_cast<InflateState*>(libdeflate_alloc_decompressor())) {
  if (decompressor_ == nullptr) throw std::bad_alloc();
}

BufferInflater::~BufferInflater() {
  libdeflate_free_decompressor(Decompressor(decompressor_));
}

bool BufferInflater::InflateExact(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize) {
  // Without a place for the actual sizes, anything but the whole input making exactly outSize bytes fails.
  size_t used = 0;
  const auto rc =
      libdeflate_deflate_decompress_ex(Decompressor(decompressor_), in, inSize, out, outSize, &used, nullptr);
  return rc == LIBDEFLATE_SUCCESS;
}

}  // namespace brisko::zip
