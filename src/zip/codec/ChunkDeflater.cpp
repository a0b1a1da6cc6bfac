// Chunked parallel deflate on zlib (dictionary priming needs zlib; whole buffers go through libdeflate).
#include "zip/codec/ChunkDeflater.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <thread>

#include "zip/codec/DeflateCodec.h"
#include "zip/format/ZipErrors.h"

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

// The deflate stored blocks (at most 65 535 bytes each) that hold data, from a byte boundary on.
void PutStoredBlocks(const std::vector<uint8_t>& data, std::vector<uint8_t>& out) {
  constexpr size_t kMostPerBlock = 65535;
  out.clear();
  out.reserve(data.size() + (data.size() / kMostPerBlock + 1) * 5);
  for (size_t at = 0; at < data.size(); at += kMostPerBlock) {
    const auto n = static_cast<uint16_t>(std::min(kMostPerBlock, data.size() - at));
    const uint8_t header[5] = {0x00,  // not the last block, stored
                               static_cast<uint8_t>(n & 0xFF), static_cast<uint8_t>(n >> 8),
                               static_cast<uint8_t>(~n & 0xFF), static_cast<uint8_t>((~n >> 8) & 0xFF)};
    out.insert(out.end(), header, header + 5);
    out.insert(out.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
  }
}
}  // namespace

struct ChunkDeflater::Stream {
  z_stream strm{};
  z_stream probe{};  // the fastest level, for the samples
  bool ready = false;
  bool probeReady = false;
  std::vector<uint8_t> sampleOut;
  ~Stream() {
    if (ready) deflateEnd(&strm);
    if (probeReady) deflateEnd(&probe);
  }
  bool SampleShrinks(const uint8_t* data, size_t size);
  bool WorthDeflating(const std::vector<uint8_t>& data);
};

bool ChunkDeflater::Stream::SampleShrinks(const uint8_t* data, size_t size) {
  if (!probeReady) {
    if (deflateInit2(&probe, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw ZipError("Cannot initialise the compressor");
    probeReady = true;
  } else {
    deflateReset(&probe);
  }
  // Worth it when the sample loses at least 1/64 of its size.
  sampleOut.resize(size - size / 64);
  probe.next_in = const_cast<uint8_t*>(data);
  probe.avail_in = static_cast<uInt>(size);
  probe.next_out = sampleOut.data();
  probe.avail_out = static_cast<uInt>(sampleOut.size());
  return deflate(&probe, Z_FINISH) == Z_STREAM_END;
}

// Samples spread over a chunk decide whether it is deflated or stored: a chunk none of whose samples
// shrinks at the fastest level is stored, so incompressible data costs no compression time, and a
// file whose head is incompressible is still deflated where it is not.
bool ChunkDeflater::Stream::WorthDeflating(const std::vector<uint8_t>& data) {
  if (data.size() < 2 * kDeflateSampleCount * kDeflateSampleSize) return true;
  const size_t step = data.size() / kDeflateSampleCount;
  for (size_t i = 0; i < kDeflateSampleCount; ++i)
    if (SampleShrinks(data.data() + i * step, kDeflateSampleSize)) return true;
  return false;
}

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
  if (!stream.WorthDeflating(chunk.in)) return PutStoredBlocks(chunk.in, chunk.out);
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
  // Data that looked compressible in places but did not shrink as a whole costs no more than stored.
  if (chunk.out.size() > chunk.in.size() + chunk.in.size() / 65535 * 5 + 5)
    PutStoredBlocks(chunk.in, chunk.out);
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
