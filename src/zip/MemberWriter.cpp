// Member data writer: zlib raw deflate or stored copy, traditional encryption, in-place header rewrite.
#include "zip/MemberWriter.h"

#include <zlib.h>

#include <cstring>

#include "zip/ByteIO.h"
#include "zip/FileStream.h"
#include "zip/ZipExceptions.h"

namespace brisko::zip {

namespace {
// Large blocks keep system calls and per-block work rare; memory stays bounded by them.
constexpr size_t kInBlock = 256 * 1024;
constexpr size_t kOutBlock = 256 * 1024;

uint16_t LevelFlags(int level) {
  if (level >= 8) return kFlagDeflateMax;
  if (level <= 2) return kFlagDeflateFast;
  return 0;
}

}  // namespace

bool LooksLikeText(const uint8_t* data, size_t size) {
  size_t ascii = 0, binary = 0;
  for (size_t i = 0; i < size; ++i) {
    uint8_t b = data[i];
    if (b >= 7 && b <= 127) ++ascii;
    else ++binary;
  }
  return ascii / 4 >= binary;
}

struct TMemberWriter::ZState {
  z_stream strm{};
  int level = -1;
  bool ready = false;
  ~ZState() {
    if (ready) deflateEnd(&strm);
  }
  void Prepare(int wanted) {
    if (ready && level == wanted) {
      deflateReset(&strm);
      return;
    }
    if (ready) deflateEnd(&strm);
    ready = false;
    std::memset(&strm, 0, sizeof strm);
    // Raw deflate (no zlib wrapper): 32 KiB window, zlib's default memory level and strategy.
    if (deflateInit2(&strm, wanted, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw EZipException("Cannot initialise the compressor");
    ready = true;
    level = wanted;
  }
};

TMemberWriter::TMemberWriter() : z_(std::make_unique<ZState>()), in_(kInBlock), out_(kOutBlock) {}
TMemberWriter::~TMemberWriter() = default;

void TMemberWriter::SetPackLevel(int level) { level_ = level < 0 ? 0 : level > 9 ? 9 : level; }

size_t TMemberWriter::ReadIn(ZipStream& in, uint8_t* buffer, size_t size, bool report,
                             const std::string& displayName) {
  size_t n = in.Read(buffer, size);
  if (n < size) {
    // A short read is the end of the file unless the stream reports an error.
    if (auto* file = dynamic_cast<FileStream*>(&in); file && file->LastError() != 0)
      throw EZipException("Cannot read " + displayName + ": " + std::strerror(file->LastError()));
  }
  if (n > 0 && report && onRead_) onRead_(n);
  return n;
}

void TMemberWriter::WriteOut(ZipStream& out, const uint8_t* data, size_t size) {
  if (size == 0) return;
  const uint8_t* src = data;
  if (encrypting_) {
    if (scratch_.size() < size) scratch_.resize(size);
    std::memcpy(scratch_.data(), data, size);
    crypto_.Encrypt(scratch_.data(), size);
    src = scratch_.data();
  }
  if (out.Write(src, size) != size) throw ENotEnoughRoom(kMsgNotEnoughRoom);
  if (afterWrite_) afterWrite_();
}

void TMemberWriter::BeginData(ZipStream& out) {
  if (!encrypting_) return;
  auto header = crypto_.MakeHeader(password_, checkValue_, random_);
  if (out.Write(header.data(), header.size()) != header.size()) throw ENotEnoughRoom(kMsgNotEnoughRoom);
}

void TMemberWriter::StoreFrom(ZipStream& in, ZipStream& out, bool report, const std::string& displayName,
                              uint32_t& crc, uint64_t& bytes) {
  uLong c = crc32(0, nullptr, 0);
  bytes = 0;
  size_t n;
  while ((n = ReadIn(in, in_.data(), in_.size(), report, displayName)) > 0) {
    c = crc32_z(c, in_.data(), n);
    bytes += n;
    WriteOut(out, in_.data(), n);
  }
  crc = static_cast<uint32_t>(c);
}

bool TMemberWriter::Deflate(ZipStream& in, ZipStream& out, TZipHeaderInfo& header,
                            const std::string& displayName, uint32_t& crc, uint64_t& bytes,
                            uint64_t& compressed) {
  z_->Prepare(level_);
  z_stream& s = z_->strm;
  uLong c = crc32(0, nullptr, 0);
  bytes = 0;
  compressed = 0;
  bool flushed = false;
  bool first = true;
  size_t blocks = 0;
  size_t lastBlock = 0;
  s.next_out = out_.data();
  s.avail_out = static_cast<uInt>(out_.size());
  for (;;) {
    const size_t n = ReadIn(in, in_.data(), in_.size(), true, displayName);
    if (first) {
      header.InternalAttributes = LooksLikeText(in_.data(), n) ? kInternalText : 0;
      first = false;
    }
    if (n > 0) {
      ++blocks;
      lastBlock = n;
      c = crc32_z(c, in_.data(), n);
      bytes += n;
    }
    int flush = n == 0 ? Z_FINISH : Z_NO_FLUSH;
    s.next_in = in_.data();
    s.avail_in = static_cast<uInt>(n);
    int rc;
    do {
      if (s.avail_out == 0) {
        WriteOut(out, out_.data(), out_.size());
        compressed += out_.size();
        flushed = true;
        s.next_out = out_.data();
        s.avail_out = static_cast<uInt>(out_.size());
      }
      rc = deflate(&s, flush);
      if (rc == Z_STREAM_ERROR) throw EZipException("Compressor failure on " + displayName);
    } while (s.avail_in > 0 || s.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
    if (flush == Z_FINISH) break;
  }
  crc = static_cast<uint32_t>(c);
  size_t pending = out_.size() - s.avail_out;
  if (compressed + pending < bytes) {
    WriteOut(out, out_.data(), pending);
    compressed += pending;
    return true;
  }
  // Deflating gained nothing: the member is stored instead.
  if (!flushed && blocks <= 1 && lastBlock == bytes) {
    WriteOut(out, in_.data(), static_cast<size_t>(bytes));
  } else {
    uint64_t dataStart = header.RelativeOffset + header.LocalSize();
    if (!out.Seek(dataStart)) throw ENotEnoughRoom(kMsgNotEnoughRoom);
    if (!in.Seek(0)) throw EZipException("Cannot read " + displayName);
    BeginData(out);
    uint32_t storedCrc = 0;
    StoreFrom(in, out, false, displayName, storedCrc, bytes);
    crc = storedCrc;
  }
  compressed = bytes;
  return false;
}

void TMemberWriter::RewriteHeader(ZipStream& out, TZipHeaderInfo& header) {
  uint64_t end = out.Position();
  uint64_t offset = header.RelativeOffset;
  if (!out.Seek(offset) || !header.WriteLocalHeader(out) || !out.Seek(end))
    throw ENotEnoughRoom(kMsgNotEnoughRoom);
}

void TMemberWriter::WriteDescriptor(ZipStream& out, const TZipHeaderInfo& header) {
  std::vector<uint8_t> record;
  PutLE32(record, kDataDescriptorSig);
  PutLE32(record, header.CRC32);
  // 64-bit sizes when the local header has room for them, as readers then expect.
  if (header.LocalZip64) {
    PutLE64(record, header.CompressedSize);
    PutLE64(record, header.UncompressedSize);
  } else {
    PutLE32(record, static_cast<uint32_t>(header.CompressedSize));
    PutLE32(record, static_cast<uint32_t>(header.UncompressedSize));
  }
  if (out.Write(record.data(), record.size()) != record.size()) throw ENotEnoughRoom(kMsgNotEnoughRoom);
}

void TMemberWriter::WriteFileData(ZipStream& in, ZipStream& out, TZipHeaderInfo& header, bool store,
                                  const std::string& displayName) {
  encrypting_ = !password_.empty();
  header.Flags &=
      static_cast<uint16_t>(~(kFlagDeflateMax | kFlagDeflateFast | kFlagEncrypted | kFlagDataDescriptor));
  // The check byte of an encrypted member is taken from its modification time, known before the
  // file is read, and a data descriptor follows the data: the file is read once, and a file that
  // changes meanwhile is stored as it was read, like an unencrypted one.
  if (encrypting_) header.Flags |= kFlagEncrypted | kFlagDataDescriptor;
  checkValue_ = header.DateTime << 16;
  BeginData(out);
  uint32_t crc = 0;
  uint64_t bytes = 0, compressed = 0;
  if (store || level_ == 0) {
    header.CompressionMethod = kMethodStored;
    header.InternalAttributes = 0;
    StoreFrom(in, out, true, displayName, crc, bytes);
    compressed = bytes;
  } else {
    header.Flags |= LevelFlags(level_);
    const bool deflated = Deflate(in, out, header, displayName, crc, bytes, compressed);
    header.CompressionMethod = deflated ? kMethodDeflated : kMethodStored;
  }
  if (encrypting_) compressed += kEncryptionHeaderSize;
  header.CRC32 = crc;
  header.UncompressedSize = bytes;
  header.CompressedSize = compressed;
  RewriteHeader(out, header);
  if (encrypting_) WriteDescriptor(out, header);
}

}  // namespace brisko::zip
