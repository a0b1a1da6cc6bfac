// MemberWriter: writes the data of one file member (stored or deflated, optionally encrypted) behind its
// local header and completes the header. Small files are read and deflated whole; larger ones stream
// through large reusable buffers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zip/crypto/AesEncryption.h"
#include "zip/crypto/ZipCrypto.h"
#include "zip/format/ZipRecords.h"
#include "zip/io/ZipStream.h"
#include "zip/write/PreparedMember.h"
#include "zip/write/TextGuess.h"
#include "zip/write/WriterSizes.h"

namespace brisko::zip {

class ChunkDeflater;

// The cipher of members written with a password.
enum class MemberEncryption { Traditional, Aes256 };

// What the member writer reports while it works.
class MemberWriterListener {
 public:
  virtual ~MemberWriterListener() = default;
  // After every block read from a member file, with the block's size (progress accounting).
  virtual void OnBlockRead(size_t bytes) = 0;
  // After every write of archive data (the host may stop the work there).
  virtual void AfterWrite() = 0;
};

class MemberWriter {
 public:
  // The compressors and the buffers are made once and reused for every member of a Zip.
  MemberWriter();
  ~MemberWriter();
  MemberWriter(const MemberWriter&) = delete;
  MemberWriter& operator=(const MemberWriter&) = delete;

  void SetPassword(std::string password) { password_ = std::move(password); }
  void SetEncryption(MemberEncryption encryption) { encryption_ = encryption; }
  // Marks the header of a file member before its local header is written: with a password and AES,
  // method 99 with the AES field (AE-2, 256 bits), so the local header has its final size.
  void PrepareHeader(ZipEntry& header) const;
  void SetPackLevel(int level);
  // Threads that deflate the chunks of a large member together; the bytes do not depend on it.
  void SetThreads(int threads);
  // Files up to sizes.wholeMember are read whole; larger ones are deflated in chunks of sizes.chunk.
  void SetSizes(const WriterSizes& sizes);
  // The listener must outlive the writer's work; null: none.
  void SetListener(MemberWriterListener* listener) { listener_ = listener; }
  // Replaces the random source of the encryption header and the AES salts (tests).
  void SetRandomSource(crypto::RandomSource& random) { random_ = &random; }
  // How members prepared ahead are to be sealed: on with a password and AES.
  AesSeal Seal() const;

  // Writes the data of the file open in `in` (positioned at its start) to `out`, which stands just
  // behind the local header of `header` written at header.relativeOffset. Deflates unless `store`
  // (or pack level 0); keeps the data stored when deflating gains nothing. Fills crc32, the sizes,
  // the method, the level and encryption flags and internalAttributes, then rewrites the local header
  // in place and returns with `out` behind the data (and, for an encrypted member, behind the data
  // descriptor that follows it).
  // Throws NotEnoughRoomError when `out` takes fewer bytes than given, ZipTooLargeError when a file without
  // room for 64-bit sizes in its local header reached 4 GiB, ZipError when the file cannot be read.
  void WriteFileData(ZipStream& in, ZipStream& out, ZipEntry& header, bool store,
                     const std::string& displayName);

  // A member whose data was prepared beforehand (PreparedMember) is written in one pass, also when
  // encrypted: DescribePrepared fills the header fields WriteFileData would (same results and
  // errors), so the local header is written complete; WritePrepared then writes the data behind it.
  // A member is sealed with AES exactly when this writer uses AES (ZipError otherwise).
  void DescribePrepared(const PreparedMember& data, ZipEntry& header, bool store,
                        const std::string& displayName);
  void WritePrepared(const PreparedMember& data, ZipStream& out, const ZipEntry& header);

  // Writes bytes through the encryption (when a member is encrypted) to `out`; NotEnoughRoomError on a short
  // write.
  void WriteOut(ZipStream& out, const uint8_t* data, size_t size);

 private:
  size_t ReadIn(ZipStream& in, uint8_t* buffer, size_t size, bool report, const std::string& displayName);
  void BeginData(ZipStream& out);
  // Returns the CRC of what was read and its byte count; stores the file from its start.
  void StoreFrom(ZipStream& in, ZipStream& out, bool report, const std::string& displayName, uint32_t& crc,
                 uint64_t& bytes);
  bool Deflate(ZipStream& in, ZipStream& out, ZipEntry& header, const std::string& displayName, uint32_t& crc,
               uint64_t& bytes, uint64_t& compressed);
  // Stores the file from its start where its data begins (out stands there); returns false.
  bool StoreInstead(ZipStream& in, ZipStream& out, bool report, const std::string& displayName, uint32_t& crc,
                    uint64_t& bytes, uint64_t& compressed);
  void RewriteHeader(ZipStream& out, ZipEntry& header);
  void WriteDescriptor(ZipStream& out, const ZipEntry& header);
  bool UsesAes() const { return !password_.empty() && encryption_ == MemberEncryption::Aes256; }

  void SetLevelFlags(ZipEntry& header, bool deflated) const;

  std::unique_ptr<BufferDeflater> deflater_;  // made on first use, at level_
  std::unique_ptr<ChunkDeflater> chunks_;     // made on first use, at level_ and threads_
  int threads_ = 1;
  WriterSizes sizes_;
  int level_ = 6;
  std::string password_;
  MemberEncryption encryption_ = MemberEncryption::Traditional;
  bool encrypting_ = false;                 // traditional encryption of the current member
  std::unique_ptr<AesEncoder> aesEncoder_;  // AES encryption of the current member
  uint32_t checkValue_ = 0;                 // bits 16..31 become the last two bytes of the encryption header
  ZipCrypto crypto_;
  crypto::RandomSource* random_ = &crypto::SystemRandom();
  MemberWriterListener* listener_ = nullptr;
  std::vector<uint8_t> in_;
  std::vector<uint8_t> scratch_;
};

}  // namespace brisko::zip
