// Deflates a long stream in chunks on several threads and joins them into one raw deflate stream, the
// way parallel gzip tools do: each chunk is primed with the 32 KiB before it and ends on a byte
// boundary (sync flush), so the bytes depend only on the data and the level, never on the thread count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace brisko::zip {

class ChunkDeflater {
 public:
  // The empty last block that ends the joined stream.
  static constexpr uint8_t kFinalBlock[2] = {0x03, 0x00};

  ChunkDeflater(int level, int threads, size_t chunkSize);
  ~ChunkDeflater();
  ChunkDeflater(const ChunkDeflater&) = delete;
  ChunkDeflater& operator=(const ChunkDeflater&) = delete;

  // Starts a new stream: the next chunk has no history.
  void Reset() { history_.clear(); }
  // How many chunks one Deflate call takes at most.
  size_t BatchSize() const { return chunks_.size(); }
  size_t ChunkSize() const { return chunkSize_; }
  // The input buffer of chunk i of the batch; the caller fills it (all chunks but the stream's last
  // should be ChunkSize() long).
  std::vector<uint8_t>& Input(size_t i) { return chunks_[i].in; }
  // Deflates chunks 0..count-1 of the batch, following the chunks given before; Output(i) then holds
  // their deflated bytes. Throws ZipError when the compressor fails.
  void Deflate(size_t count);
  const std::vector<uint8_t>& Output(size_t i) const { return chunks_[i].out; }

 private:
  struct Stream;
  struct Chunk {
    std::vector<uint8_t> in;
    std::vector<uint8_t> out;
    std::vector<uint8_t> history;  // the 32 KiB (at most) before in
  };
  void DeflateChunk(Stream& stream, Chunk& chunk);

  int level_;
  size_t chunkSize_;
  std::vector<std::unique_ptr<Stream>> streams_;  // one per thread
  std::vector<Chunk> chunks_;
  std::vector<uint8_t> history_;  // the last 32 KiB of the stream so far
};

}  // namespace brisko::zip
