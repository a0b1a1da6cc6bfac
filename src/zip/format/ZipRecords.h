// The in-memory records of an archive member (ZipEntry) and of the archive end (EndOfCentralDir),
// with their byte-exact reading and writing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/DosDateTime.h"
#include "zip/format/AesField.h"
#include "zip/format/ZipConstants.h"
#include "zip/io/ZipStream.h"

namespace brisko::zip {

// One archive member. Names are UTF-8 in memory; Directory uses the native separator and ends with it.
// Numeric fields are plain members; the name parts and the comment go through setters that keep
// fileNameLength, the UTF-8 flag bit and fileCommentLength in step.
class ZipEntry {
 public:
  ZipEntry() = default;

  uint16_t versionMadeBy = kVersion20;
  uint16_t versionNeeded = kVersion20;
  uint16_t flags = 0;
  uint16_t compressionMethod = kMethodDeflated;
  uint32_t dateTime = 0;
  uint32_t crc32 = 0xFFFFFFFF;
  uint64_t compressedSize = 0;
  uint64_t uncompressedSize = 0;
  uint16_t fileNameLength = 0;
  uint16_t extraFieldLength = 0;
  uint16_t localExtraFieldLength = 0;
  uint16_t fileCommentLength = 0;
  uint16_t diskNumberStart = 0;
  uint16_t internalAttributes = kInternalText;
  uint32_t externalAttributes = 0x20;
  uint64_t relativeOffset = 0;
  uint64_t centralOffset = 0;  // where the central header was read (not stored)
  // Modification time in seconds since the Unix epoch (UTC) from the extended timestamp or the NTFS
  // field, with the nanoseconds within that second (the NTFS field holds 100 ns). When set it is
  // written into the extended timestamp where that holds it, and into the NTFS field where it does
  // not (before 1970, after 2106).
  std::optional<int64_t> unixTime;
  uint32_t timeNanos = 0;
  // The local header carries a Zip64 field with both sizes: set by the writer before the data of a
  // member that may reach 4 GiB, and by the reader when a local header has one.
  bool localZip64 = false;
  // Set for AES-encrypted members (method 99): the key strength and the method of the data inside.
  std::optional<AesField> aes;

  // Back to the values of a freshly made record.
  void Clear() { *this = ZipEntry(); }

  const std::string& FileName() const { return fileName_; }
  const std::string& Directory() const { return directory_; }
  // Both recompute fileNameLength (bytes of the stored form) and flag bit 11 (set when the name needs
  // UTF-8 because code page 437 cannot hold it).
  void SetFileName(const std::string& name);
  // Appends the native separator when the value is not empty and lacks one.
  void SetDirectory(const std::string& directory);

  // Directory + FileName with native separators, as in memory.
  std::string FullName() const { return directory_ + fileName_; }
  // The name as stored in an archive (UTF-8, '/' separators), for display and comparison.
  std::string StoredName() const;

  bool HasFileComment() const { return comment_.has_value(); }
  // The held comment, or an empty string when none is held.
  const std::string& FileComment() const;
  // Takes a copy (raw bytes as stored); none clears it. fileCommentLength follows.
  void SetFileComment(std::optional<std::string> comment);

  // Valid after the local header was written or read.
  uint32_t LocalSize() const { return kLocalHeaderSize + fileNameLength + localExtraFieldLength; }
  uint32_t CentralSize() const {
    return kCentralHeaderSize + fileNameLength + extraFieldLength + fileCommentLength;
  }
  bool IsEncrypted() const { return (flags & kFlagEncrypted) != 0; }
  bool HasDataDescriptor() const { return (flags & kFlagDataDescriptor) != 0; }
  // The Unix file mode (type and permissions) of a member made on a Unix host; 0 for other hosts.
  uint32_t UnixMode() const { return (versionMadeBy >> 8) == kHostUnix ? externalAttributes >> 16 : 0; }
  // The compression method of the data once decrypted (the one inside the AES field for method 99).
  uint16_t DataMethod() const { return HasAuthCode() ? aes->method : compressionMethod; }
  // AES members carry an authentication code behind their data: a mismatch means damage or alteration.
  bool HasAuthCode() const { return aes && compressionMethod == kMethodAes; }
  // False for AE-2 members, whose CRC-32 field holds 0 and whose authentication code stands for it.
  bool CrcStored() const { return !HasAuthCode() || aes->KeepsCrc(); }

  // Records the stream position in relativeOffset, then writes the 30-byte local header, the name and
  // the extra fields: Zip64 sizes when localZip64, the time fields when unixTime is set, the AES
  // field when aes is set. False when the stream took fewer bytes (e.g. a full disk). Throws
  // ZipTooLargeError when a size has reached 4 GiB without localZip64.
  bool WriteLocalHeader(ZipStream& stream);
  // Writes the 46-byte central header, the name, the extra fields (Zip64 for the sizes and the offset
  // that reach 0xFFFFFFFF, the time fields, the AES field) and the comment when one is held.
  bool WriteCentralHeader(ZipStream& stream);
  // Whether a central header needs a Zip64 field (some size or the offset reaches 0xFFFFFFFF).
  bool NeedsZip64() const;

  // Reads a central header at the current position. On success fills the record (date repaired, name
  // decoded and split, Zip64 sizes, modification time, AES field and Unicode path taken from the extra
  // fields), leaves the stream behind the header's extra field and comment and returns true; otherwise
  // restores the position and returns false.
  bool ReadCentralHeader(ZipStream& stream);
  // Reads a local header at the current position. On success fills the record as the central reader
  // does (versionMadeBy 0, attributes, comment and disk number zeroed, relativeOffset = the header's
  // position), leaves the stream at the member data (behind name and extra field) and returns true;
  // otherwise restores the position and returns false. The name is decoded as a member made by
  // nameMadeBy would be (its central header's "version made by", to compare the two names).
  bool ReadLocalHeader(ZipStream& stream, uint16_t nameMadeBy = 0);

 private:
  void UpdateNameLength();
  // Splits a decoded native-separator name into Directory and FileName without re-encoding it.
  void AssignReadName(const std::string& name);

  std::string fileName_;
  std::string directory_;
  std::optional<std::string> comment_;
};

// The end of central directory record. Copying takes every field but commentChanged.
class EndOfCentralDir {
 public:
  EndOfCentralDir() = default;
  EndOfCentralDir(const EndOfCentralDir& other) { Assign(other); }
  EndOfCentralDir& operator=(const EndOfCentralDir& other) {
    if (this != &other) Assign(other);
    return *this;
  }

  uint32_t signature = kEndCentralSig;
  // Values from the Zip64 end record when the archive has one.
  uint16_t thisDiskNumber = 0;
  uint16_t centralStartDisk = 0;
  uint64_t entriesThisDisk = 0;
  uint64_t totalEntries = 0;
  uint64_t centralSize = 0;
  uint64_t centralOffset = 0;
  uint16_t zipCommentLength = 0;
  uint64_t zipCommentPos = 0;  // file position of the comment (set when read; not stored)
  uint64_t recordPos = 0;      // file position of the record itself (set when read; not stored)
  // End signatures behind the record read (in its comment or after it), which other readers may take
  // for the end record (set when read; not stored).
  int signaturesBehind = 0;
  bool commentChanged = false;  // set through the comment property, not yet in the archive

  void Clear();
  // Copies signature, numbers, comment length and comment (none when the source has none), positions.
  void Assign(const EndOfCentralDir& source);

  // Takes a copy of the raw comment bytes; an empty text holds none. zipCommentLength follows.
  void SetComment(const std::string& comment);
  bool HasComment() const { return comment_.has_value(); }
  const std::string& Comment() const;
  uint32_t Size() const { return kEndCentralSize + zipCommentLength; }

  // Writes the 22 fixed bytes, then the comment when its length is not 0 and one is held. When a count
  // or the directory's size or offset does not fit the classic record, the Zip64 end record and its
  // locator go first (at the current position, i.e. right behind the central directory) and the
  // classic record holds the 0xFFFF/0xFFFFFFFF markers for those fields.
  bool Write(ZipStream& stream) const;
  bool NeedsZip64() const;
  // Looks for the end record in the final 65 557 bytes before `end` (default: the end of the stream):
  // the last end signature, or an earlier one whose comment runs exactly to `end` (and so holds the
  // later ones). An empty stream counts as found (a new archive, all fields cleared); 1 to 21 bytes or
  // no signature give false.
  bool FindAndRead(ZipStream& stream, uint64_t end = UINT64_MAX);

 private:
  std::optional<std::string> comment_;
};

}  // namespace brisko::zip
