// Byte-exact reading and writing of local headers, central headers and the end record.
#include "zip/ZipRecords.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "platform/PathRules.h"
#include "zip/ByteIO.h"
#include "zip/CodePage.h"
#include "zip/ZipErrors.h"

namespace brisko::zip {

namespace {

using platform::PathDelim;

bool IsNameDelim(char c) { return platform::IsPathDelimOrDrive(c); }

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
};

// Takes the real sizes (and offset, disk) out of a Zip64 extra field for the fields that hold the
// 0xFFFFFFFF marker (a local header carries both sizes whenever it has the field), the modification
// time out of an extended timestamp, the AES field, and a Unicode path whose check value matches the stored name.
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
    ByteCursor field(data + pos, len);
    pos += len;
    if (id == kExtraZip64) {
      auto take = [&](uint64_t& target, bool wanted) {
        if (wanted && field.Remaining() >= 8) target = field.U64();
      };
      if (local) {
        h.LocalZip64 = len >= 16;
        take(h.UncompressedSize, h.LocalZip64 || h.UncompressedSize == kZip64Marker32);
        take(h.CompressedSize, h.LocalZip64 || h.CompressedSize == kZip64Marker32);
      } else {
        take(h.UncompressedSize, h.UncompressedSize == kZip64Marker32);
        take(h.CompressedSize, h.CompressedSize == kZip64Marker32);
        take(h.RelativeOffset, h.RelativeOffset == kZip64Marker32);
        if (h.DiskNumberStart == kZip64Marker16 && field.Remaining() >= 4) {
          uint32_t disk = field.U32();
          h.DiskNumberStart = disk > 0xFFFF ? kZip64Marker16 : static_cast<uint16_t>(disk);
        }
      }
    } else if (id == kExtraTimestamp && len >= 5) {
      uint8_t flags = data[pos - len];
      field.Skip(1);
      if (flags & 1) h.UnixTime = static_cast<int32_t>(field.U32());
    } else if (id == kExtraAes) {
      h.Aes = AesField::Parse(std::string_view(extra).substr(pos - len, len));
    } else if (id == kExtraUnicodePath && len >= 5) {
      uint8_t version = data[pos - len];
      field.Skip(1);
      uint32_t crc = field.U32();
      std::string name(reinterpret_cast<const char*>(data + pos - len + 5), len - 5u);
      if (version == 1 && crc == NameCrc(storedName) && IsValidUtf8(name)) result.unicodeName = name;
    }
  }
  return result;
}

void PutExtraHeader(std::vector<uint8_t>& out, uint16_t id, size_t length) {
  PutLE16(out, id);
  PutLE16(out, static_cast<uint16_t>(length));
}

void PutTimestamp(std::vector<uint8_t>& out, const std::optional<int64_t>& time) {
  if (!time) return;
  PutExtraHeader(out, kExtraTimestamp, 5);
  out.push_back(1);  // modification time only
  int64_t clamped = std::clamp<int64_t>(*time, INT32_MIN, INT32_MAX);
  PutLE32(out, static_cast<uint32_t>(static_cast<int32_t>(clamped)));
}

void PutAes(std::vector<uint8_t>& out, const std::optional<AesField>& aes) {
  if (aes) PutBytes(out, aes->Bytes());
}

uint32_t Field32(uint64_t value) { return value >= kZip64Marker32 ? kZip64Marker32 : static_cast<uint32_t>(value); }

std::string ToNativeSeparators(std::string name) {
  if (PathDelim != '/') std::replace(name.begin(), name.end(), '/', PathDelim);
  return name;
}

// The run of fields the local and the central header have in common, from the flags to the size.
void ReadSharedFields(ByteCursor& in, ZipEntry& h) {
  h.Flags = in.U16();
  h.CompressionMethod = in.U16();
  h.DateTime = platform::RepairDosDateTime(in.U32());
  h.CRC32 = in.U32();
  h.CompressedSize = in.U32();
  h.UncompressedSize = in.U32();
}

// Bit 11 names are UTF-8 already; otherwise a matching Unicode path field wins over the stored bytes.
std::string DecodedName(const std::string& stored, const ExtraFields& fields, uint16_t flags, uint16_t madeBy) {
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
  if (!directory_.empty() && directory_.back() != PathDelim) directory_.push_back(PathDelim);
  UpdateNameLength();
}

std::string ZipEntry::StoredName() const {
  std::string name = FullName();
  if (PathDelim != '/') std::replace(name.begin(), name.end(), PathDelim, '/');
  return name;
}

void ZipEntry::UpdateNameLength() {
  EncodedName encoded = EncodeEntryName(StoredName());
  FileNameLength = Length16(encoded.bytes.size(), "Member name");
  if (encoded.needsUtf8Flag) Flags |= kFlagUtf8;
  else Flags &= static_cast<uint16_t>(~kFlagUtf8);
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
  FileCommentLength = comment ? Length16(comment->size(), "Member comment") : 0;
  comment_ = std::move(comment);
}

bool ZipEntry::NeedsZip64() const {
  return UncompressedSize >= kZip64Marker32 || CompressedSize >= kZip64Marker32 || RelativeOffset >= kZip64Marker32;
}

bool ZipEntry::WriteLocalHeader(ZipStream& stream) {
  RelativeOffset = stream.Position();
  if (!LocalZip64 && (UncompressedSize >= kZip64Marker32 || CompressedSize >= kZip64Marker32))
    throw ZipTooLargeError("File grew to 4 GiB or more while it was being added: " + StoredName());
  UpdateNameLength();
  EncodedName encoded = EncodeEntryName(StoredName());
  std::vector<uint8_t> extra;
  if (LocalZip64) {
    PutExtraHeader(extra, kExtraZip64, 16);
    PutLE64(extra, UncompressedSize);
    PutLE64(extra, CompressedSize);
    VersionNeeded = std::max(VersionNeeded, kVersionZip64);
  }
  PutTimestamp(extra, UnixTime);
  PutAes(extra, Aes);
  LocalExtraFieldLength = static_cast<uint16_t>(extra.size());
  std::vector<uint8_t> out;
  out.reserve(kLocalHeaderSize + encoded.bytes.size() + extra.size());
  PutLE32(out, kLocalHeaderSig);
  PutLE16(out, VersionNeeded);
  PutLE16(out, Flags);
  PutLE16(out, CompressionMethod);
  PutLE32(out, DateTime);
  PutLE32(out, CRC32);
  PutLE32(out, LocalZip64 ? kZip64Marker32 : static_cast<uint32_t>(CompressedSize));
  PutLE32(out, LocalZip64 ? kZip64Marker32 : static_cast<uint32_t>(UncompressedSize));
  PutLE16(out, FileNameLength);
  PutLE16(out, LocalExtraFieldLength);
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
    if (UncompressedSize >= kZip64Marker32) PutLE64(values, UncompressedSize);
    if (CompressedSize >= kZip64Marker32) PutLE64(values, CompressedSize);
    if (RelativeOffset >= kZip64Marker32) PutLE64(values, RelativeOffset);
    PutExtraHeader(extra, kExtraZip64, values.size());
    extra.insert(extra.end(), values.begin(), values.end());
    VersionNeeded = std::max(VersionNeeded, kVersionZip64);
  }
  PutTimestamp(extra, UnixTime);
  PutAes(extra, Aes);
  // The comment length written is that of the comment actually held, so a record whose comment was
  // never loaded cannot produce a length without bytes behind it.
  uint16_t commentLength = comment_ ? static_cast<uint16_t>(comment_->size()) : 0;
  std::vector<uint8_t> out;
  out.reserve(kCentralHeaderSize + encoded.bytes.size() + extra.size() + commentLength);
  PutLE32(out, kCentralHeaderSig);
  PutLE16(out, VersionMadeBy);
  PutLE16(out, VersionNeeded);
  PutLE16(out, Flags);
  PutLE16(out, CompressionMethod);
  PutLE32(out, DateTime);
  PutLE32(out, CRC32);
  PutLE32(out, Field32(CompressedSize));
  PutLE32(out, Field32(UncompressedSize));
  PutLE16(out, FileNameLength);
  PutLE16(out, static_cast<uint16_t>(extra.size()));
  PutLE16(out, commentLength);
  PutLE16(out, DiskNumberStart);
  PutLE16(out, InternalAttributes);
  PutLE32(out, ExternalAttributes);
  PutLE32(out, Field32(RelativeOffset));
  PutBytes(out, encoded.bytes);
  out.insert(out.end(), extra.begin(), extra.end());
  if (commentLength != 0) PutBytes(out, *comment_);
  return WriteAll(stream, out);
}

bool ZipEntry::ReadCentralHeader(ZipStream& stream) {
  uint64_t start = stream.Position();
  uint8_t fixed[kCentralHeaderSize];
  if (!stream.ReadExact(fixed, sizeof fixed)) return false;
  ByteCursor in(fixed, sizeof fixed);
  if (in.U32() != kCentralHeaderSig) {
    stream.Seek(start);
    return false;
  }
  ZipEntry h;
  h.VersionMadeBy = in.U16();
  h.VersionNeeded = in.U16();
  ReadSharedFields(in, h);
  h.FileNameLength = in.U16();
  h.ExtraFieldLength = in.U16();
  h.FileCommentLength = in.U16();
  h.DiskNumberStart = in.U16();
  h.InternalAttributes = in.U16();
  h.ExternalAttributes = in.U32();
  h.RelativeOffset = in.U32();
  std::string name(h.FileNameLength, '\0');
  std::string extra(h.ExtraFieldLength, '\0');
  if (!stream.ReadExact(name.data(), name.size()) || !stream.ReadExact(extra.data(), extra.size())) {
    stream.Seek(start);
    return false;
  }
  stream.Seek(stream.Position() + h.FileCommentLength);
  ExtraFields fields = ApplyExtra(extra, false, h, name);
  h.AssignReadName(ToNativeSeparators(DecodedName(name, fields, h.Flags, h.VersionMadeBy)));
  h.CentralOffset = start;
  *this = std::move(h);
  return true;
}

bool ZipEntry::ReadLocalHeader(ZipStream& stream) {
  uint64_t start = stream.Position();
  uint8_t fixed[kLocalHeaderSize];
  if (!stream.ReadExact(fixed, sizeof fixed)) return false;
  ByteCursor in(fixed, sizeof fixed);
  if (in.U32() != kLocalHeaderSig) {
    stream.Seek(start);
    return false;
  }
  ZipEntry h;
  h.VersionMadeBy = 0;
  h.VersionNeeded = in.U16();
  ReadSharedFields(in, h);
  h.FileNameLength = in.U16();
  h.LocalExtraFieldLength = in.U16();
  h.ExtraFieldLength = 0;
  h.FileCommentLength = 0;
  h.DiskNumberStart = 0;
  h.InternalAttributes = 0;
  h.ExternalAttributes = 0;
  h.RelativeOffset = start;
  std::string name(h.FileNameLength, '\0');
  std::string extra(h.LocalExtraFieldLength, '\0');
  if (!stream.ReadExact(name.data(), name.size()) || !stream.ReadExact(extra.data(), extra.size())) {
    stream.Seek(start);
    return false;
  }
  ExtraFields fields = ApplyExtra(extra, true, h, name);
  h.AssignReadName(ToNativeSeparators(DecodedName(name, fields, h.Flags, 0)));
  *this = std::move(h);
  return true;
}

// ---- EndOfCentralDir ----

void EndOfCentralDir::Clear() {
  Signature = kEndCentralSig;
  ThisDiskNumber = CentralStartDisk = EntriesThisDisk = TotalEntries = 0;
  CentralSize = CentralOffset = 0;
  ZipCommentLength = 0;
  ZipCommentPos = RecordPos = 0;
  CommentChanged = false;
  comment_.reset();
}

void EndOfCentralDir::Assign(const EndOfCentralDir& source) {
  Signature = source.Signature;
  ThisDiskNumber = source.ThisDiskNumber;
  CentralStartDisk = source.CentralStartDisk;
  EntriesThisDisk = source.EntriesThisDisk;
  TotalEntries = source.TotalEntries;
  CentralSize = source.CentralSize;
  CentralOffset = source.CentralOffset;
  ZipCommentLength = source.ZipCommentLength;
  comment_ = source.comment_;
  ZipCommentPos = source.ZipCommentPos;
  RecordPos = source.RecordPos;
}

void EndOfCentralDir::SetComment(const std::string& comment) {
  if (comment.empty()) {
    comment_.reset();
    ZipCommentLength = 0;
    return;
  }
  ZipCommentLength = Length16(comment.size(), "Archive comment");
  comment_ = comment;
}

const std::string& EndOfCentralDir::Comment() const {
  static const std::string kEmpty;
  return comment_ ? *comment_ : kEmpty;
}

bool EndOfCentralDir::NeedsZip64() const {
  return TotalEntries >= kZip64Marker16 || EntriesThisDisk >= kZip64Marker16 || CentralSize >= kZip64Marker32 ||
         CentralOffset >= kZip64Marker32 || ThisDiskNumber >= kZip64Marker16 || CentralStartDisk >= kZip64Marker16;
}

bool EndOfCentralDir::Write(ZipStream& stream) const {
  // As for member comments, the length written is that of the comment held.
  uint16_t commentLength = comment_ ? static_cast<uint16_t>(comment_->size()) : 0;
  std::vector<uint8_t> out;
  out.reserve(kZip64EndCentralMinSize + kZip64LocatorSize + kEndCentralSize + commentLength);
  auto field16 = [](uint64_t v) { return v >= kZip64Marker16 ? kZip64Marker16 : static_cast<uint16_t>(v); };
  if (NeedsZip64()) {
    const uint64_t recordPos = stream.Position();
    PutLE32(out, kZip64EndCentralSig);
    PutLE64(out, kZip64EndCentralMinSize - 12);  // size of the rest of the record
    PutLE16(out, static_cast<uint16_t>((kHostUnix << 8) | kVersionZip64));
    PutLE16(out, kVersionZip64);
    PutLE32(out, ThisDiskNumber);
    PutLE32(out, CentralStartDisk);
    PutLE64(out, EntriesThisDisk);
    PutLE64(out, TotalEntries);
    PutLE64(out, CentralSize);
    PutLE64(out, CentralOffset);
    PutLE32(out, kZip64LocatorSig);
    PutLE32(out, ThisDiskNumber);  // the disk holding the Zip64 end record
    PutLE64(out, recordPos);
    PutLE32(out, uint32_t{ThisDiskNumber} + 1);  // total number of disks
  }
  PutLE32(out, Signature);
  PutLE16(out, field16(ThisDiskNumber));
  PutLE16(out, field16(CentralStartDisk));
  PutLE16(out, field16(EntriesThisDisk));
  PutLE16(out, field16(TotalEntries));
  PutLE32(out, Field32(CentralSize));
  PutLE32(out, Field32(CentralOffset));
  PutLE16(out, commentLength);
  if (commentLength != 0) PutBytes(out, *comment_);
  return WriteAll(stream, out);
}

bool EndOfCentralDir::FindAndRead(ZipStream& stream) {
  uint64_t size = stream.Size();
  if (size < kEndCentralSize) {
    if (size != 0) return false;
    Clear();
    return true;
  }
  uint64_t window = std::min<uint64_t>(kEndCentralSearchSize, size);
  uint64_t windowStart = size - window;
  std::vector<uint8_t> buffer(static_cast<size_t>(window));
  if (!stream.Seek(windowStart) || stream.Read(buffer.data(), buffer.size()) != buffer.size()) return false;
  for (size_t i = buffer.size() - kEndCentralSize + 1; i-- > 0;) {
    if (buffer[i] != 'P') continue;
    ByteCursor in(buffer.data() + i, kEndCentralSize);
    if (in.U32() != kEndCentralSig) continue;
    comment_.reset();
    Signature = kEndCentralSig;
    ThisDiskNumber = in.U16();
    CentralStartDisk = in.U16();
    EntriesThisDisk = in.U16();
    TotalEntries = in.U16();
    CentralSize = in.U32();
    CentralOffset = in.U32();
    ZipCommentLength = in.U16();
    RecordPos = windowStart + i;
    ZipCommentPos = RecordPos + kEndCentralSize;
    return true;
  }
  return false;
}

}  // namespace brisko::zip
