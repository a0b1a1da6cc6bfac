// Raw inflate with bounded output.
#include "zip/decode/Inflate.h"

#include <zlib.h>

#include <memory>
#include <new>
#include <vector>

#include "zip/decode/LegacyDecodeError.h"
#include "zip/format/ZipErrors.h"

namespace brisko::zip {

namespace {

constexpr size_t kInputSize = 32768;
constexpr size_t kOutputSize = 256 * 1024;

struct InflateStream {
  z_stream z{};
  InflateStream() {
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw std::bad_alloc();
  }
  ~InflateStream() { inflateEnd(&z); }
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;
};

}  // namespace

uint64_t Inflate(ByteSource& source, ByteSink& sink, uint64_t size) {
  InflateStream stream;
  z_stream& z = stream.z;
  std::vector<uint8_t> input(kInputSize);
  auto output = std::make_unique_for_overwrite<uint8_t[]>(kOutputSize);
  uint64_t written = 0;
  bool sourceDone = false;

  auto emit = [&](size_t count) {
    if (count == 0) return;
    if (count > size - written) throw OversizeMemberError(kMsgBiggerThanUncompressed);
    sink.Write(output.get(), count);
    written += count;
  };

  z.next_out = output.get();
  z.avail_out = kOutputSize;
  for (;;) {
    if (z.avail_in == 0 && !sourceDone) {
      const size_t n = source.Read(input.data(), input.size());
      sourceDone = n == 0;
      z.next_in = input.data();
      z.avail_in = static_cast<uInt>(n);
    }
    const int rc = inflate(&z, Z_NO_FLUSH);
    if (rc == Z_STREAM_END) break;
    if (rc == Z_MEM_ERROR) throw std::bad_alloc();
    if (rc == Z_DATA_ERROR || rc == Z_NEED_DICT || rc == Z_STREAM_ERROR)
      throw LegacyDecodeError("invalid deflate data");
    if (rc == Z_BUF_ERROR && sourceDone && z.avail_out != 0)
      throw LegacyDecodeError("deflate data ends too early");
    if (z.avail_out == 0) {
      emit(kOutputSize);
      z.next_out = output.get();
      z.avail_out = kOutputSize;
    }
  }
  emit(kOutputSize - z.avail_out);
  return written;
}

}  // namespace brisko::zip
