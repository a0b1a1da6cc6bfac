// Tests of the chunked deflate of large members: the joined stream decodes to the input and its bytes
// do not depend on the thread count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Commands.h"
#include "support/ScratchDir.h"
#include "zip/codec/ChunkDeflater.h"
#include "zip/codec/DeflateCodec.h"

using namespace brisko::zip;
using namespace brisko::test;

namespace {

constexpr size_t kChunk = 64 * 1024;

// Deflates data in chunks, batch after batch, as the member writer does.
std::vector<uint8_t> DeflateInChunks(const std::string& data, int threads) {
  ChunkDeflater z(6, threads, kChunk);
  z.Reset();
  std::vector<uint8_t> joined;
  size_t pos = 0;
  while (pos < data.size()) {
    size_t count = 0;
    for (; count < z.BatchSize() && pos < data.size(); ++count) {
      const size_t n = std::min(kChunk, data.size() - pos);
      z.Input(count).assign(data.begin() + pos, data.begin() + pos + n);
      pos += n;
    }
    z.Deflate(count);
    for (size_t i = 0; i < count; ++i) joined.insert(joined.end(), z.Output(i).begin(), z.Output(i).end());
  }
  joined.insert(joined.end(), std::begin(ChunkDeflater::kFinalBlock), std::end(ChunkDeflater::kFinalBlock));
  return joined;
}

TEST(ChunkDeflate, JoinedStreamDecodesAndDoesNotDependOnThreads) {
  // Repeats reach back across chunk borders, so the priming with the previous chunk matters.
  const std::string data = TextOf(5 * kChunk + 4321) + RandomText(7000, 3) + TextOf(9000);
  const std::vector<uint8_t> one = DeflateInChunks(data, 1);
  EXPECT_EQ(DeflateInChunks(data, 2), one);
  EXPECT_EQ(DeflateInChunks(data, 3), one);
  EXPECT_LT(one.size(), data.size() / 10);
  std::vector<uint8_t> decoded(data.size());
  BufferInflater inflater;
  ASSERT_TRUE(inflater.InflateExact(one.data(), one.size(), decoded.data(), decoded.size()));
  EXPECT_TRUE(std::string(decoded.begin(), decoded.end()) == data);
}

}  // namespace
