// Member data writer: whole-buffer or zlib streaming raw deflate, or stored copy; traditional or AES
// encryption; in-place header rewrite.
#include "zip/write/MemberWriter.h"

#include <algorithm>
#include <cstring>

#include "zip/codec/ChunkDeflater.h"
#include "zip/codec/DeflateCodec.h"
#include "zip/format/ByteIO.h"
#include "zip/format/ZipErrors.h"
#include "zip/write/PreparedMember.h"

namespace brisko::zip {

namespace {
// Large blocks keep system calls and per-block work rare; memory stays bounded by them.
constexpr size_t kInBlock = kTextSampleSize;

uint16_t LevelFlags(int level) {
  if (level >= 8) return kFlagDeflateMax;
  if (level <= 2) return kFlagDeflateFast;
  return 0;
}

// Turns the header of the data inside into that of an AES-256 member (AE-2, which stores no CRC).
void MarkAes(ZipEntry& header) {
  header.aes = AesField{2, kAesStrength256, header.compressionMethod};
  header.compressionMethod = kMethodAes;
  header.versionNeeded = std::max(header.versionNeeded, kVersionAes);
  header.flags |= kFlagEncrypted;
  header.crc32 = 0;
}

}  // namespace

MemberWriter::MemberWriter() : in_(kInBlock) {}
MemberWriter::~MemberWriter() = default;

void MemberWriter::PrepareHeader(ZipEntry& header) const {
  if (!UsesAes()) return;
  header.compressionMethod = kMethodDeflated;
  MarkAes(header);
}

AesSeal MemberWriter::Seal() const {
  return UsesAes() ? AesSeal{password_, random_} : AesSeal{};
}

void MemberWriter::SetPackLevel(int level) {
  level_ = level < 0 ? 0 : level > 9 ? 9 : level;
  if (deflater_ && deflater_->Level() != level_) deflater_.reset();
  chunks_.reset();
}

void MemberWriter::SetSizes(const WriterSizes& sizes) {
  sizes_ = sizes;
  chunks_.reset();
}

void MemberWriter::SetThreads(int threads) {
  threads_ = threads < 1 ? 1 : threads;
  chunks_.reset();
}

size_t MemberWriter::ReadIn(ZipStream& in, uint8_t* buffer, size_t size, bool report,
                            const std::string& displayName) {
  size_t n = in.Read(buffer, size);
  if (n < size) {
    // A short read is the end of the file unless the stream reports an error.
    if (in.LastError() != 0)
      throw ZipError("Cannot read " + displayName + ": " + std::strerror(in.LastError()));
  }
  if (n > 0 && report && listener_) listener_->OnBlockRead(n);
  return n;
}

void MemberWriter::WriteOut(ZipStream& out, const uint8_t* data, size_t size) {
  if (size == 0) return;
  const uint8_t* src = data;
  if (encrypting_ || aesEncoder_) {
    if (scratch_.size() < size) scratch_.resize(size);
    std::memcpy(scratch_.data(), data, size);
    if (aesEncoder_)
      aesEncoder_->Encrypt(scratch_.data(), size);
    else
      crypto_.Encrypt(scratch_.data(), size);
    src = scratch_.data();
  }
  if (out.Write(src, size) != size) throw NotEnoughRoomError(kMsgNotEnoughRoom);
  if (listener_) listener_->AfterWrite();
}

void MemberWriter::BeginData(ZipStream& out) {
  if (UsesAes()) {
    // A fresh salt for every start of the data, also when a member is written again stored.
    aesEncoder_ = std::make_unique<AesEncoder>(password_, AesField{}, *random_);
    const std::string& prefix = aesEncoder_->Prefix();
    if (out.Write(prefix.data(), prefix.size()) != prefix.size()) throw NotEnoughRoomError(kMsgNotEnoughRoom);
    return;
  }
  if (!encrypting_) return;
  auto header = crypto_.MakeHeader(password_, checkValue_, *random_);
  if (out.Write(header.data(), header.size()) != header.size()) throw NotEnoughRoomError(kMsgNotEnoughRoom);
}

void MemberWriter::StoreFrom(ZipStream& in, ZipStream& out, bool report, const std::string& displayName,
                             uint32_t& crc, uint64_t& bytes) {
  uint32_t c = 0;
  bytes = 0;
  size_t n;
  while ((n = ReadIn(in, in_.data(), in_.size(), report, displayName)) > 0) {
    c = Crc32(c, in_.data(), n);
    bytes += n;
    WriteOut(out, in_.data(), n);
  }
  crc = static_cast<uint32_t>(c);
}

bool MemberWriter::Deflate(ZipStream& in, ZipStream& out, ZipEntry& header, const std::string& displayName,
                           uint32_t& crc, uint64_t& bytes, uint64_t& compressed) {
  if (!chunks_) chunks_ = std::make_unique<ChunkDeflater>(level_, threads_, sizes_.chunk);
  ChunkDeflater& z = *chunks_;
  z.Reset();
  uint32_t c = 0;
  bytes = 0;
  compressed = 0;
  bool first = true;
  bool end = false;
  while (!end) {
    size_t count = 0;
    while (count < z.BatchSize() && !end) {
      std::vector<uint8_t>& chunk = z.Input(count);
      chunk.resize(z.ChunkSize());
      chunk.resize(ReadIn(in, chunk.data(), chunk.size(), false, displayName));
      end = chunk.size() < z.ChunkSize();
      if (first) {
        header.internalAttributes =
            LooksLikeText(chunk.data(), std::min(chunk.size(), kTextSampleSize)) ? kInternalText : 0;
        first = false;
      }
      if (!chunk.empty() && listener_) listener_->OnBlockRead(chunk.size());
      if (chunk.empty()) break;
      c = Crc32(c, chunk.data(), chunk.size());
      bytes += chunk.size();
      ++count;
    }
    z.Deflate(count);
    for (size_t i = 0; i < count; ++i) {
      WriteOut(out, z.Output(i).data(), z.Output(i).size());
      compressed += z.Output(i).size();
    }
  }
  WriteOut(out, ChunkDeflater::kFinalBlock, sizeof ChunkDeflater::kFinalBlock);
  compressed += sizeof ChunkDeflater::kFinalBlock;
  crc = c;
  if (compressed < bytes) return true;
  // Deflating gained nothing: the member is stored instead, over what was written.
  const uint64_t dataStart = header.relativeOffset + header.LocalSize();
  if (!out.Seek(dataStart)) throw NotEnoughRoomError(kMsgNotEnoughRoom);
  BeginData(out);
  return StoreInstead(in, out, false, displayName, crc, bytes, compressed);
}

bool MemberWriter::StoreInstead(ZipStream& in, ZipStream& out, bool report, const std::string& displayName,
                                uint32_t& crc, uint64_t& bytes, uint64_t& compressed) {
  if (!in.Seek(0)) throw ZipError("Cannot read " + displayName);
  StoreFrom(in, out, report, displayName, crc, bytes);
  compressed = bytes;
  return false;
}

void MemberWriter::RewriteHeader(ZipStream& out, ZipEntry& header) {
  uint64_t end = out.Position();
  uint64_t offset = header.relativeOffset;
  if (!out.Seek(offset) || !header.WriteLocalHeader(out) || !out.Seek(end))
    throw NotEnoughRoomError(kMsgNotEnoughRoom);
}

void MemberWriter::SetLevelFlags(ZipEntry& header, bool deflated) const {
  header.flags &=
      static_cast<uint16_t>(~(kFlagDeflateMax | kFlagDeflateFast | kFlagEncrypted | kFlagDataDescriptor));
  if (deflated) header.flags |= LevelFlags(level_);
  if (encrypting_) header.flags |= kFlagEncrypted | kFlagDataDescriptor;
}

void MemberWriter::DescribePrepared(const PreparedMember& data, ZipEntry& header, bool store,
                                    const std::string& displayName) {
  if (data.Sealed() != UsesAes()) throw ZipError("Member prepared for another cipher: " + displayName);
  encrypting_ = !password_.empty() && !data.Sealed();
  aesEncoder_.reset();
  const bool tried = !store && level_ > 0;
  const bool deflated = tried && data.Deflated();
  const uint64_t overhead = data.Sealed() ? AesField{}.Overhead() : encrypting_ ? kEncryptionHeaderSize : 0;
  SetLevelFlags(header, tried);
  header.compressionMethod = deflated ? kMethodDeflated : kMethodStored;
  header.internalAttributes = tried && data.text ? kInternalText : 0;
  header.crc32 = data.crc;
  header.uncompressedSize = data.raw.size();
  header.compressedSize = (deflated ? data.packed : data.raw).size() + overhead;
  if (data.Sealed()) MarkAes(header);
}

void MemberWriter::WritePrepared(const PreparedMember& data, ZipStream& out, const ZipEntry& header) {
  // Progress in the blocks a streamed member reports.
  for (size_t done = 0; listener_ && done < data.raw.size(); done += kInBlock)
    listener_->OnBlockRead(std::min(kInBlock, data.raw.size() - done));
  const std::vector<uint8_t>& bytes = header.DataMethod() == kMethodDeflated ? data.packed : data.raw;
  if (data.Sealed()) {
    // Encrypted where it was prepared: written as it is, between its prefix and its code.
    WriteOut(out, reinterpret_cast<const uint8_t*>(data.aesPrefix.data()), data.aesPrefix.size());
    WriteOut(out, bytes.data(), bytes.size());
    WriteOut(out, data.aesCode.data(), data.aesCode.size());
    return;
  }
  // Encrypted members look the same however they were read: check byte from the time, descriptor.
  checkValue_ = header.dateTime << 16;
  BeginData(out);
  WriteOut(out, bytes.data(), bytes.size());
  if (encrypting_) WriteDescriptor(out, header);
}

void MemberWriter::WriteDescriptor(ZipStream& out, const ZipEntry& header) {
  std::vector<uint8_t> record;
  PutLE32(record, kDataDescriptorSig);
  PutLE32(record, header.crc32);
  // 64-bit sizes when the local header has room for them, as readers then expect.
  if (header.localZip64) {
    PutLE64(record, header.compressedSize);
    PutLE64(record, header.uncompressedSize);
  } else {
    PutLE32(record, static_cast<uint32_t>(header.compressedSize));
    PutLE32(record, static_cast<uint32_t>(header.uncompressedSize));
  }
  if (out.Write(record.data(), record.size()) != record.size()) throw NotEnoughRoomError(kMsgNotEnoughRoom);
}

void MemberWriter::WriteFileData(ZipStream& in, ZipStream& out, ZipEntry& header, bool store,
                                 const std::string& displayName) {
  const bool aes = UsesAes();
  encrypting_ = !password_.empty() && !aes;
  aesEncoder_.reset();
  bool doStore = store || level_ == 0;
  if (in.Size() <= sizes_.wholeMember) {
    PreparedMember whole;
    int error = 0;
    if (ReadWhole(in, sizes_.wholeMember, whole.raw, error)) {
      if (!doStore && !deflater_) deflater_ = std::make_unique<BufferDeflater>(level_);
      PrepareMember(whole, doStore ? nullptr : deflater_.get(), Seal());
      DescribePrepared(whole, header, store, displayName);
      WritePrepared(whole, out, header);
      RewriteHeader(out, header);
      return;
    }
    if (error != 0) throw ZipError("Cannot read " + displayName + ": " + std::strerror(error));
    // The file grew beyond what is read whole: it is streamed from its start.
    if (!in.Seek(0)) throw ZipError("Cannot read " + displayName);
  }
  header.flags &=
      static_cast<uint16_t>(~(kFlagDeflateMax | kFlagDeflateFast | kFlagEncrypted | kFlagDataDescriptor));
  // The check byte of an encrypted member is taken from its modification time, known before the
  // file is read, and a data descriptor follows the data: the file is read once, and a file that
  // changes meanwhile is stored as it was read, like an unencrypted one.
  if (encrypting_) header.flags |= kFlagEncrypted | kFlagDataDescriptor;
  checkValue_ = header.dateTime << 16;
  BeginData(out);
  uint32_t crc = 0;
  uint64_t bytes = 0, compressed = 0;
  if (store || level_ == 0) {
    header.compressionMethod = kMethodStored;
    header.internalAttributes = 0;
    StoreFrom(in, out, true, displayName, crc, bytes);
    compressed = bytes;
  } else {
    header.flags |= LevelFlags(level_);
    const bool deflated = Deflate(in, out, header, displayName, crc, bytes, compressed);
    header.compressionMethod = deflated ? kMethodDeflated : kMethodStored;
  }
  if (encrypting_) compressed += kEncryptionHeaderSize;
  if (aes) {
    // The authentication code closes the data; AE-2 keeps no CRC in the headers and, with the sizes
    // written into the local header afterwards, needs no data descriptor.
    const auto code = aesEncoder_->End();
    aesEncoder_.reset();
    if (out.Write(code.data(), code.size()) != code.size()) throw NotEnoughRoomError(kMsgNotEnoughRoom);
    compressed += AesField{}.Overhead();
  }
  header.crc32 = crc;
  header.uncompressedSize = bytes;
  header.compressedSize = compressed;
  if (aes) MarkAes(header);
  RewriteHeader(out, header);
  if (encrypting_) WriteDescriptor(out, header);
}

}  // namespace brisko::zip
