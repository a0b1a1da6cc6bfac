// The write-behind sink: bytes reach the target in order whatever the call sizes, and the target's
// error reaches the caller.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "zip/format/ZipErrors.h"
#include "zip/threads/WriteBehindSink.h"

namespace brisko::zip {
namespace {

struct RecordingSink : ByteSink {
  std::vector<uint8_t> bytes;
  size_t failBeyond = std::numeric_limits<size_t>::max();
  void Write(const uint8_t* data, size_t size) override {
    if (bytes.size() + size > failBeyond) throw ExtractWriteError(kMsgCantWriteUCF);
    bytes.insert(bytes.end(), data, data + size);
  }
};

// Feeds data in pieces of the given sizes, in turn, then finishes.
void Feed(WriteBehindSink& sink, const std::vector<uint8_t>& data, const std::vector<size_t>& pieces) {
  for (size_t done = 0, i = 0; done < data.size(); ++i) {
    const size_t n = std::min(pieces[i % pieces.size()], data.size() - done);
    sink.Write(data.data() + done, n);
    done += n;
  }
  sink.Finish();
}

TEST(WriteBehindSink, BytesArriveInOrder) {
  std::vector<uint8_t> data(5 * WriteBehindSink::kBlockSize + 123);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>((i * 2654435761u) >> 11);
  for (const std::vector<size_t>& pieces : {std::vector<size_t>{1, 7, 65536},
                                            {WriteBehindSink::kBlockSize},
                                            {3 * WriteBehindSink::kBlockSize + 5}}) {
    RecordingSink target;
    WriteBehindSink sink(target);
    Feed(sink, data, pieces);
    EXPECT_TRUE(target.bytes == data) << pieces.front();
  }
}

TEST(WriteBehindSink, TargetErrorReachesTheCaller) {
  for (const size_t failBeyond : {size_t{0}, 2 * WriteBehindSink::kBlockSize}) {
    RecordingSink target;
    target.failBeyond = failBeyond;
    WriteBehindSink sink(target);
    const std::vector<uint8_t> data(8 * WriteBehindSink::kBlockSize + 1, 'x');
    EXPECT_THROW(Feed(sink, data, {65536}), ExtractWriteError) << failBeyond;
  }
}

}  // namespace
}  // namespace brisko::zip
