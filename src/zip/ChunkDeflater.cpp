// Chunked parallel deflate on zlib (dictionary priming needs zlib; whole buffers go through libdeflate).
#include "zip/ChunkDeflater.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <thread>

#include "zip/ZipErrors.h"

namespace brisko::zip {

namespace {
constexpr size_t kWindow = 32768;

// The last kWindow bytes of history followed by data.
void KeepTail(std::vector<uint8_t>& history, const std::vector<uint8_t>& data) {
  if (data.size() >= kWindow) {
    history.assign(data.end() - kWindow, data.end());
    return;
  }
  history.insert(history.end(), data.begin(), data.end());
  if (history.size() > kWindow) history.erase(history.begin(), history.end() - kWindow);
}
}  // namespace

struct ChunkDeflater::Stream {
  z_stream strm{};
  bool ready = false;
  ~Stream() {
    if (ready) deflateEnd(&strm);
  }
};

ChunkDeflater::ChunkDeflater(int level, int threads, size_t chunkSize)
    : level_(std::clamp(level, 1, 9)), chunkSize_(std::max<size_t>(chunkSize, 1)) {
  // More threads than this gain little on one stream and would only hold more memory.
  constexpr int kMostThreads = 4;
  threads = std::clamp(threads, 1, kMostThreads);
  for (int i = 0; i < threads; ++i) streams_.push_back(std::make_unique<Stream>());
  // Two chunks per thread keep every thread busy when chunks deflate at different speeds.
  chunks_.resize(static_cast<size_t>(threads) * 2);
}

ChunkDeflater::~ChunkDeflater() = default;

void ChunkDeflater::DeflateChunk(Stream& stream, Chunk& chunk) {
  z_stream& s = stream.strm;
  if (!stream.ready) {
    // Raw deflate: 32 KiB window, zlib's default memory level and strategy.
    if (deflateInit2(&s, level_, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw ZipError("Cannot initialise the compressor");
    stream.ready = true;
  } else {
    deflateReset(&s);
  }
  if (!chunk.history.empty() &&
      deflateSetDictionary(&s, chunk.history.data(), static_cast<uInt>(chunk.history.size())) != Z_OK)
    throw ZipError("Cannot initialise the compressor");
  // A sync flush adds at most a few bytes beyond the bound of a finished stream.
  chunk.out.resize(deflateBound(&s, chunk.in.size()) + 16);
  s.next_in = chunk.in.data();
  s.avail_in = static_cast<uInt>(chunk.in.size());
  s.next_out = chunk.out.data();
  s.avail_out = static_cast<uInt>(chunk.out.size());
  const int rc = deflate(&s, Z_SYNC_FLUSH);
  if (rc != Z_OK || s.avail_in != 0 || s.avail_out == 0) throw ZipError("Compressor failure");
  chunk.out.resize(chunk.out.size() - s.avail_out);
}

void ChunkDeflater::Deflate(size_t count) {
  count = std::min(count, chunks_.size());
  for (size_t i = 0; i < count; ++i) {
    chunks_[i].history = history_;
    KeepTail(history_, chunks_[i].in);
  }
  const size_t threads = std::min(streams_.size(), count);
  std::vector<std::exception_ptr> failures(threads);
  auto work = [&](size_t t) {
    try {
      for (size_t i = t; i < count; i += threads) DeflateChunk(*streams_[t], chunks_[i]);
    } catch (...) {
      failures[t] = std::current_exception();
    }
  };
  std::vector<std::thread> helpers;
  for (size_t t = 1; t < threads; ++t) {
    try {
      helpers.emplace_back(work, t);
    } catch (const std::system_error&) {
      work(t);  // no thread to spare: the caller does that share as well
    }
  }
  work(0);
  for (auto& helper : helpers) helper.join();
  for (auto& failure : failures)
    if (failure) std::rethrow_exception(failure);
}

}  // namespace brisko::zip
