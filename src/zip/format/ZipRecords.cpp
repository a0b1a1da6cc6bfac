// Byte-exact reading and writing of local headers, central headers and the end record.
#include "zip/format/ZipRecords.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "platform/PathRules.h"
#include "zip/format/ByteIO.h"
#include "zip/format/ZipErrors.h"
#include "zip/names/CodePage.h"

namespace brisko::zip {

namespace {

using platform::kPathDelim;

bool IsNameDelim(char c) {
  return platform::IsPathDelimOrDrive(c);
}

bool WriteAll(ZipStream& stream, const std::vector<uint8_t>& bytes) {
  return stream.Write(bytes.data(), bytes.size()) == bytes.size();
}

uint16_t Length16(size_t n, const char* what) {
  if (n > 0xFFFF) throw ZipTooLargeError(std::string(what) + " is longer than 65535 bytes");
  return static_cast<uint16_t>(n);
}

uint32_t NameCrc(const std::string& bytes) {
  return static_cast<uint32_t>(crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

// What the extra fields of a header say beyond the fixed fields.
struct ExtraFields {
  std::optional<std::string> unicodeName;  // from a Unicode path field that matches the stored name
  std::optional<int64_t> ntfsTicks;        // modification time of an NTFS field, since the Unix epoch
};

// The extended timestamp holds 32 bits. Its writers disagree on their sign; a DOS date of 2038 or
// later says that the value counts past 2038 (unsigned), an earlier one that it may be before 1970.
int64_t TimestampValue(uint32_t value, uint32_t dosDateTime) {
  const int dosYear = static_cast<int>(dosDateTime >> 25) + 1980;
  return dosYear >= 2038 ? int64_t{value} : int64_t{static_cast<int32_t>(value)};
}

// The modification time of an NTFS field (reserved bytes, then tagged attributes); none when absent
// or 0 (not set).
std::optional<int64_t> NtfsModified(ByteReader field) {
  field.Skip(4);
  while (field.Remaining() >= 4) {
    const uint16_t tag = field.U16();
    const uint16_t size = field.U16();
    if (size > field.Remaining()) break;
    if (tag == kNtfsTimesTag && size >= 8) {
      const uint64_t ticks = field.U64();
      if (ticks == 0 || ticks > static_cast<uint64_t>(INT64_MAX)) return std::nullopt;
      return static_cast<int64_t>(ticks) - kNtfsUnixEpochTicks;
    }
    field.Skip(size);
  }
  return std::nullopt;
}

int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

// Takes the real sizes (and offset, disk) out of a Zip64 extra field for the fields that hold the
// 0xFFFFFFFF marker (a local header carries both sizes whenever it has the field), the modification
// time out of an extended timestamp, the AES field, and a Unicode path whose check value matches the stored
// name.
ExtraFields ApplyExtra(const std::string& extra, bool local, ZipEntry& h, const std::string& storedName) {
  ExtraFields result;
  const auto* data = reinterpret_cast<const uint8_t*>(extra.data());
  size_t pos = 0;
  while (extra.size() - pos >= 4) {
    uint16_t id = 0, len = 0;
    GetLE16(data, extra.size(), pos, id);
    GetLE16(data, extra.size(), pos + 2, len);
    pos += 4;
    if (len > extra.size() - pos) break;
    ByteReader field(data + pos, len);
    pos += len;
    if (id == kExtraZip64) {
      auto take = [&](uint64_t& target, bool wanted) {
        if (wanted && field.Remaining() >= 8) target = field.U64();
      };
      if (local) {
        h.localZip64 = len >= 16;
        take(h.uncompressedSize, h.localZip64 || h.uncompressedSize == kZip64Marker32);
        take(h.compressedSize, h.localZip64 || h.compressedSize == kZip64Marker32);
      } else {
        take(h.uncompressedSize, h.uncompressedSize == kZip64Marker32);
        take(h.compressedSize, h.compressedSize == kZip64Marker32);
        take(h.relativeOffset, h.relativeOffset == kZip64Marker32);
        if (h.diskNumberStart == kZip64Marker16 && field.Remaining() >= 4) {
          uint32_t disk = field.U32();
          h.diskNumberStart = disk > 0xFFFF ? kZip64Marker16 : static_cast<uint16_t>(disk);
        }
      }
    } else if (id == kExtraTimestamp && len >= 5) {
      uint8_t flags = data[pos - len];
      field.Skip(1);
      if (flags & 1) h.unixTime = TimestampValue(field.U32(), h.dateTime);
    } else if (id == kExtraNtfs) {
      result.ntfsTicks = NtfsModified(field);
    } else if (id == kExtraAes) {
      h.aes = AesField::Parse(std::string_view(extra).substr(pos - len, len));
    } else if (id == kExtraUnicodePath && len >= 5) {
      uint8_t version = data[pos - len];
      field.Skip(1);
      uint32_t crc = field.U32();
      std::string name(reinterpret_cast<const char*>(data + pos - len + 5), len - 5u);
      if (version == 1 && crc == NameCrc(storedName) && IsValidUtf8(name)) result.unicodeName = name;
    }
  }
  // The NTFS field is the finer of the two times.
  if (result.ntfsTicks) {
    const int64_t seconds = FloorDiv(*result.ntfsTicks, kNtfsTicksPerSecond);
    h.unixTime = seconds;
    h.timeNanos = static_cast<uint32_t>(*result.ntfsTicks - seconds * kNtfsTicksPerSecond) * 100;
  }
  return result;
}

void PutExtraHeader(std::vector<uint8_t>& out, uint16_t id, size_t length) {
  PutLE16(out, id);
  PutLE16(out, static_cast<uint16_t>(length));
}

// The extended timestamp where it holds the time (1970 to 2106: readers take it as unsigned, or as
// signed unless the DOS date says 2038 or later, so a time before 1970 would come back after 2038);
// the NTFS field for any other time, so that no time a file system holds is lost. The NTFS field
// gives all three of its times the modification time.
void PutTimes(std::vector<uint8_t>& out, const std::optional<int64_t>& time, uint32_t nanos) {
  if (!time) return;
  if (*time >= 0 && *time <= int64_t{UINT32_MAX}) {
    PutExtraHeader(out, kExtraTimestamp, 5);
    out.push_back(1);  // modification time only
    PutLE32(out, static_cast<uint32_t>(*time));
    return;
  }
  // The NTFS field counts from 1601 on.
  constexpr int64_t kFirst = -kNtfsUnixEpochTicks / kNtfsTicksPerSecond;
  constexpr int64_t kLast = (INT64_MAX - kNtfsUnixEpochTicks) / kNtfsTicksPerSecond - 1;
  if (*time < kFirst || *time > kLast) return;
  const int64_t ticks = *time * kNtfsTicksPerSecond + kNtfsUnixEpochTicks + nanos / 100;
  PutExtraHeader(out, kExtraNtfs, 4 + 4 + kNtfsTimesSize);
  PutLE32(out, 0);  // reserved
  PutLE16(out, kNtfsTimesTag);
  PutLE16(out, kNtfsTimesSize);
  for (int i = 0; i < 3; ++i) PutLE64(out, static_cast<uint64_t>(ticks));
}

void PutAes(std::vector<uint8_t>& out, const std::optional<AesField>& aes) {
  if (aes) PutBytes(out, aes->Bytes());
}

uint32_t Field32(uint64_t value) {
  return value >= kZip64Marker32 ? kZip64Marker32 : static_cast<uint32_t>(value);
}

std::string ToNativeSeparators(std::string name) {
  if (kPathDelim != '/') std::replace(name.begin(), name.end(), '/', kPathDelim);
  return name;
}

// The run of fields the local and the central header have in common, from the flags to the size.
void ReadSharedFields(ByteReader& in, ZipEntry& h) {
  h.flags = in.U16();
  h.compressionMethod = in.U16();
  h.dateTime = platform::RepairDosDateTime(in.U32());
  h.crc32 = in.U32();
  h.compressedSize = in.U32();
  h.uncompressedSize = in.U32();
}

// Bit 11 names are UTF-8 already; otherwise a matching Unicode path field wins over the stored bytes.
std::string DecodedName(const std::string& stored, const ExtraFields& fields, uint16_t flags,
                        uint16_t madeBy) {
  if (!(flags & kFlagUtf8) && fields.unicodeName) return *fields.unicodeName;
  return DecodeEntryName(stored, flags, madeBy);
}

}  // namespace

// ---- ZipEntry ----

void ZipEntry::SetFileName(const std::string& name) {
  fileName_ = name;
  UpdateNameLength();
}

void ZipEntry::SetDirectory(const std::string& directory) {
  directory_ = directory;
  if (!directory_.empty() && directory_.back() != kPathDelim) directory_.push_back(kPathDelim);
  UpdateNameLength();
}

std::string ZipEntry::StoredName() const {
  std::string name = FullName();
  if (kPathDelim != '/') std::replace(name.begin(), name.end(), kPathDelim, '/');
  return name;
}

void ZipEntry::UpdateNameLength() {
  EncodedName encoded = EncodeEntryName(StoredName());
  fileNameLength = Length16(encoded.bytes.size(), "Member name");
  if (encoded.needsUtf8Flag)
    flags |= kFlagUtf8;
  else
    flags &= static_cast<uint16_t>(~kFlagUtf8);
}

void ZipEntry::AssignReadName(const std::string& name) {
  size_t cut = name.size();
  while (cut > 0 && !IsNameDelim(name[cut - 1])) --cut;
  directory_ = name.substr(0, cut);
  fileName_ = name.substr(cut);
}

const std::string& ZipEntry::FileComment() const {
  static const std::string kEmpty;
  return comment_ ? *comment_ : kEmpty;
}

void ZipEntry::SetFileComment(std::optional<std::string> comment) {
  fileCommentLength = comment ? Length16(comment->size(), "Member comment") : 0;
  comment_ = std::move(comment);
}

bool ZipEntry::NeedsZip64() const {
  return uncompressedSize >= kZip64Marker32 || compressedSize >= kZip64Marker32 ||
         relativeOffset >= kZip64Marker32;
}

bool ZipEntry::WriteLocalHeader(ZipStream& stream) {
  relativeOffset = stream.Position();
  if (!localZip64 && (uncompressedSize >= kZip64Marker32 || compressedSize >= kZip64Marker32))
    throw ZipTooLargeError("File grew to 4 GiB or more while it was being added: " + StoredName());
  UpdateNameLength();
  EncodedName encoded = EncodeEntryName(StoredName());
  std::vector<uint8_t> extra;
  if (localZip64) {
    PutExtraHeader(extra, kExtraZip64, 16);
    PutLE64(extra, uncompressedSize);
    PutLE64(extra, compressedSize);
    versionNeeded = std::max(versionNeeded, kVersionZip64);
  }
  PutTimes(extra, unixTime, timeNanos);
  PutAes(extra, aes);
  localExtraFieldLength = static_cast<uint16_t>(extra.size());
  std::vector<uint8_t> out;
  out.reserve(kLocalHeaderSize + encoded.bytes.size() + extra.size());
  PutLE32(out, kLocalHeaderSig);
  PutLE16(out, versionNeeded);
  PutLE16(out, flags);
  PutLE16(out, compressionMethod);
  PutLE32(out, dateTime);
  PutLE32(out, crc32);
  PutLE32(out, localZip64 ? kZip64Marker32 : static_cast<uint32_t>(compressedSize));
  PutLE32(out, localZip64 ? kZip64Marker32 : static_cast<uint32_t>(uncompressedSize));
  PutLE16(out, fileNameLength);
  PutLE16(out, localExtraFieldLength);
  PutBytes(out, encoded.bytes);
  out.insert(out.end(), extra.begin(), extra.end());
  return WriteAll(stream, out);
}

bool ZipEntry::WriteCentralHeader(ZipStream& stream) {
  UpdateNameLength();
  EncodedName encoded = EncodeEntryName(StoredName());
  std::vector<uint8_t> extra;
  if (NeedsZip64()) {
    std::vector<uint8_t> values;
    if (uncompressedSize >= kZip64Marker32) PutLE64(values, uncompressedSize);
    if (compressedSize >= kZip64Marker32) PutLE64(values, compressedSize);
    if (relativeOffset >= kZip64Marker32) PutLE64(values, relativeOffset);
    PutExtraHeader(extra, kExtraZip64, values.size());
    extra.insert(extra.end(), values.begin(), values.end());
    versionNeeded = std::max(versionNeeded, kVersionZip64);
  }
  PutTimes(extra, unixTime, timeNanos);
  PutAes(extra, aes);
  // The writer knows at least the features the member needs (Zip64, AES).
  const uint16_t madeVersion = std::max<uint16_t>(versionMadeBy & 0xFF, versionNeeded & 0xFF);
  versionMadeBy = static_cast<uint16_t>((versionMadeBy & 0xFF00) | madeVersion);
  // The comment length written is that of the comment actually held, so a record whose comment was
  // never loaded cannot produce a length without bytes behind it.
  uint16_t commentLength = comment_ ? static_cast<uint16_t>(comment_->size()) : 0;
  std::vector<uint8_t> out;
  out.reserve(kCentralHeaderSize + encoded.bytes.size() + extra.size() + commentLength);
  PutLE32(out, kCentralHeaderSig);
  PutLE16(out, versionMadeBy);
  PutLE16(out, versionNeeded);
  PutLE16(out, flags);
  PutLE16(out, compressionMethod);
  PutLE32(out, dateTime);
  PutLE32(out, crc32);
  PutLE32(out, Field32(compressedSize));
  PutLE32(out, Field32(uncompressedSize));
  PutLE16(out, fileNameLength);
  PutLE16(out, static_cast<uint16_t>(extra.size()));
  PutLE16(out, commentLength);
  PutLE16(out, diskNumberStart);
  PutLE16(out, internalAttributes);
  PutLE32(out, externalAttributes);
  PutLE32(out, Field32(relativeOffset));
  PutBytes(out, encoded.bytes);
  out.insert(out.end(), extra.begin(), extra.end());
  if (commentLength != 0) PutBytes(out, *comment_);
  return WriteAll(stream, out);
}

bool ZipEntry::ReadCentralHeader(ZipStream& stream) {
  uint64_t start = stream.Position();
  uint8_t fixed[kCentralHeaderSize];
  if (!stream.ReadExact(fixed, sizeof fixed)) return false;
  ByteReader in(fixed, sizeof fixed);
  if (in.U32() != kCentralHeaderSig) {
    stream.Seek(start);
    return false;
  }
  ZipEntry h;
  h.versionMadeBy = in.U16();
  h.versionNeeded = in.U16();
  ReadSharedFields(in, h);
  h.fileNameLength = in.U16();
  h.extraFieldLength = in.U16();
  h.fileCommentLength = in.U16();
  h.diskNumberStart = in.U16();
  h.internalAttributes = in.U16();
  h.externalAttributes = in.U32();
  h.relativeOffset = in.U32();
  std::string name(h.fileNameLength, '\0');
  std::string extra(h.extraFieldLength, '\0');
  if (!stream.ReadExact(name.data(), name.size()) || !stream.ReadExact(extra.data(), extra.size())) {
    stream.Seek(start);
    return false;
  }
  stream.Seek(stream.Position() + h.fileCommentLength);
  ExtraFields fields = ApplyExtra(extra, false, h, name);
  h.AssignReadName(ToNativeSeparators(DecodedName(name, fields, h.flags, h.versionMadeBy)));
  h.centralOffset = start;
  *this = std::move(h);
  return true;
}

bool ZipEntry::ReadLocalHeader(ZipStream& stream, uint16_t nameMadeBy) {
  uint64_t start = stream.Position();
  uint8_t fixed[kLocalHeaderSize];
  if (!stream.ReadExact(fixed, sizeof fixed)) return false;
  ByteReader in(fixed, sizeof fixed);
  if (in.U32() != kLocalHeaderSig) {
    stream.Seek(start);
    return false;
  }
  ZipEntry h;
  h.versionMadeBy = 0;
  h.versionNeeded = in.U16();
  ReadSharedFields(in, h);
  h.fileNameLength = in.U16();
  h.localExtraFieldLength = in.U16();
  h.extraFieldLength = 0;
  h.fileCommentLength = 0;
  h.diskNumberStart = 0;
  h.internalAttributes = 0;
  h.externalAttributes = 0;
  h.relativeOffset = start;
  std::string name(h.fileNameLength, '\0');
  std::string extra(h.localExtraFieldLength, '\0');
  if (!stream.ReadExact(name.data(), name.size()) || !stream.ReadExact(extra.data(), extra.size())) {
    stream.Seek(start);
    return false;
  }
  ExtraFields fields = ApplyExtra(extra, true, h, name);
  h.AssignReadName(ToNativeSeparators(DecodedName(name, fields, h.flags, nameMadeBy)));
  *this = std::move(h);
  return true;
}

// ---- EndOfCentralDir ----

void EndOfCentralDir::Clear() {
  signature = kEndCentralSig;
  thisDiskNumber = centralStartDisk = entriesThisDisk = totalEntries = 0;
  centralSize = centralOffset = 0;
  zipCommentLength = 0;
  zipCommentPos = recordPos = 0;
  signaturesBehind = 0;
  commentChanged = false;
  comment_.reset();
}

void EndOfCentralDir::Assign(const EndOfCentralDir& source) {
  signature = source.signature;
  thisDiskNumber = source.thisDiskNumber;
  centralStartDisk = source.centralStartDisk;
  entriesThisDisk = source.entriesThisDisk;
  totalEntries = source.totalEntries;
  centralSize = source.centralSize;
  centralOffset = source.centralOffset;
  zipCommentLength = source.zipCommentLength;
  comment_ = source.comment_;
  zipCommentPos = source.zipCommentPos;
  recordPos = source.recordPos;
  signaturesBehind = source.signaturesBehind;
}

void EndOfCentralDir::SetComment(const std::string& comment) {
  if (comment.empty()) {
    comment_.reset();
    zipCommentLength = 0;
    return;
  }
  zipCommentLength = Length16(comment.size(), "Archive comment");
  comment_ = comment;
}

const std::string& EndOfCentralDir::Comment() const {
  static const std::string kEmpty;
  return comment_ ? *comment_ : kEmpty;
}

bool EndOfCentralDir::NeedsZip64() const {
  return totalEntries >= kZip64Marker16 || entriesThisDisk >= kZip64Marker16 ||
         centralSize >= kZip64Marker32 || centralOffset >= kZip64Marker32 ||
         thisDiskNumber >= kZip64Marker16 || centralStartDisk >= kZip64Marker16;
}

bool EndOfCentralDir::Write(ZipStream& stream) const {
  // As for member comments, the length written is that of the comment held.
  uint16_t commentLength = comment_ ? static_cast<uint16_t>(comment_->size()) : 0;
  std::vector<uint8_t> out;
  out.reserve(kZip64EndCentralMinSize + kZip64LocatorSize + kEndCentralSize + commentLength);
  auto field16 = [](uint64_t v) { return v >= kZip64Marker16 ? kZip64Marker16 : static_cast<uint16_t>(v); };
  if (NeedsZip64()) {
    const uint64_t zip64RecordPos = stream.Position();
    PutLE32(out, kZip64EndCentralSig);
    PutLE64(out, kZip64EndCentralMinSize - 12);  // size of the rest of the record
    PutLE16(out, static_cast<uint16_t>((kHostUnix << 8) | kVersionZip64));
    PutLE16(out, kVersionZip64);
    PutLE32(out, thisDiskNumber);
    PutLE32(out, centralStartDisk);
    PutLE64(out, entriesThisDisk);
    PutLE64(out, totalEntries);
    PutLE64(out, centralSize);
    PutLE64(out, centralOffset);
    PutLE32(out, kZip64LocatorSig);
    PutLE32(out, thisDiskNumber);  // the disk holding the Zip64 end record
    PutLE64(out, zip64RecordPos);
    PutLE32(out, uint32_t{thisDiskNumber} + 1);  // total number of disks
  }
  PutLE32(out, signature);
  PutLE16(out, field16(thisDiskNumber));
  PutLE16(out, field16(centralStartDisk));
  PutLE16(out, field16(entriesThisDisk));
  PutLE16(out, field16(totalEntries));
  PutLE32(out, Field32(centralSize));
  PutLE32(out, Field32(centralOffset));
  PutLE16(out, commentLength);
  if (commentLength != 0) PutBytes(out, *comment_);
  return WriteAll(stream, out);
}

bool EndOfCentralDir::FindAndRead(ZipStream& stream, uint64_t end) {
  uint64_t size = std::min(stream.Size(), end);
  if (size < kEndCentralSize) {
    if (size != 0) return false;
    Clear();
    return true;
  }
  uint64_t window = std::min<uint64_t>(kEndCentralSearchSize, size);
  uint64_t windowStart = size - window;
  std::vector<uint8_t> buffer(static_cast<size_t>(window));
  if (!stream.Seek(windowStart) || stream.Read(buffer.data(), buffer.size()) != buffer.size()) return false;
  // The last signature, unless an earlier record's comment runs exactly to the end and so holds it:
  // a comment that is itself an end record must not hide the archive.
  std::optional<size_t> found;
  for (size_t i = buffer.size() - kEndCentralSize + 1; i-- > 0;) {
    if (buffer[i] != 'P') continue;
    ByteReader in(buffer.data() + i, kEndCentralSize);
    if (in.U32() != kEndCentralSig) continue;
    uint16_t commentLength = 0;
    GetLE16(buffer.data(), buffer.size(), i + 20, commentLength);
    if (!found || i + kEndCentralSize + commentLength == buffer.size()) found = i;
  }
  if (found) {
    const size_t i = *found;
    ByteReader in(buffer.data() + i, kEndCentralSize);
    in.Skip(4);
    signaturesBehind = 0;
    for (size_t k = i + 4; k + 4 <= buffer.size(); ++k) {
      uint32_t value = 0;
      if (buffer[k] == 'P' && GetLE32(buffer.data(), buffer.size(), k, value) && value == kEndCentralSig)
        ++signaturesBehind;
    }
    comment_.reset();
    signature = kEndCentralSig;
    thisDiskNumber = in.U16();
    centralStartDisk = in.U16();
    entriesThisDisk = in.U16();
    totalEntries = in.U16();
    centralSize = in.U32();
    centralOffset = in.U32();
    zipCommentLength = in.U16();
    recordPos = windowStart + i;
    zipCommentPos = recordPos + kEndCentralSize;
    return true;
  }
  return false;
}

}  // namespace brisko::zip
