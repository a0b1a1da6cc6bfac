// Byte-exact reading and writing of local headers, central headers and the end record.
#include "zip/ZipRecords.h"

#include <algorithm>
#include <vector>

#include "platform/Platform.h"
#include "zip/ByteIO.h"
#include "zip/CodePage.h"
#include "zip/ZipExceptions.h"

namespace brisko::zip {

namespace {

using platform::PathDelim;

bool IsNameDelim(char c) {
#ifdef _WIN32
  return c == '\\' || c == ':';
#else
  return c == '/';
#endif
}

bool WriteAll(ZipStream& stream, const std::vector<uint8_t>& bytes) {
  return stream.Write(bytes.data(), bytes.size()) == bytes.size();
}

uint16_t Length16(size_t n, const char* what) {
  if (n > 0xFFFF) throw EZipTooLarge(std::string(what) + " is longer than 65535 bytes");
  return static_cast<uint16_t>(n);
}

// Takes the real sizes (and offset, disk) out of a Zip64 extra field for the fields that hold the
// 0xFFFFFFFF marker. A local header carries both sizes whenever it has the extra field.
void ApplyZip64(const std::string& extra, bool local, TZipHeaderInfo& h, const std::string& name) {
  const auto* data = reinterpret_cast<const uint8_t*>(extra.data());
  size_t pos = 0;
  while (extra.size() - pos >= 4) {
    uint16_t id = 0, len = 0;
    GetLE16(data, extra.size(), pos, id);
    GetLE16(data, extra.size(), pos + 2, len);
    pos += 4;
    if (len > extra.size() - pos) return;
    if (id == kExtraZip64) {
      ByteCursor field(data + pos, len);
      auto take = [&](uint32_t& target, bool wanted) {
        if (!wanted || field.Remaining() < 8) return;
        uint64_t v = field.U64();
        if (v > 0xFFFFFFFFu) throw EZipTooLarge("Member is larger than 4 GiB: " + name);
        target = static_cast<uint32_t>(v);
      };
      bool bothSizes = local && len >= 16;
      take(h.UncompressedSize, bothSizes || h.UncompressedSize == kZip64Marker32);
      take(h.CompressedSize, bothSizes || h.CompressedSize == kZip64Marker32);
      if (!local) {
        if (h.RelativeOffset == kZip64Marker32 && field.Remaining() >= 8) {
          uint64_t v = field.U64();
          if (v > 0xFFFFFFFFu) throw EZipTooLarge("Archive is larger than 4 GiB at member: " + name);
          h.RelativeOffset = static_cast<uint32_t>(v);
        }
        if (h.DiskNumberStart == kZip64Marker16 && field.Remaining() >= 4) {
          uint32_t disk = field.U32();
          if (disk > 0xFFFF) throw EZipTooLarge("Too many disks at member: " + name);
          h.DiskNumberStart = static_cast<uint16_t>(disk);
        }
      }
      return;
    }
    pos += len;
  }
}

std::string ToNativeSeparators(std::string name) {
  if (PathDelim != '/') std::replace(name.begin(), name.end(), '/', PathDelim);
  return name;
}

// The run of fields the local and the central header have in common, from the flags to the size.
void ReadSharedFields(ByteCursor& in, TZipHeaderInfo& h) {
  h.Flags = in.U16();
  h.CompressionMethod = in.U16();
  h.DateTime = platform::RepairDosDateTime(in.U32());
  h.CRC32 = in.U32();
  h.CompressedSize = in.U32();
  h.UncompressedSize = in.U32();
}

}  // namespace

// ---- TZipHeaderInfo ----

void TZipHeaderInfo::SetFileName(const std::string& name) {
  fileName_ = name;
  UpdateNameLength();
}

void TZipHeaderInfo::SetDirectory(const std::string& directory) {
  directory_ = directory;
  if (!directory_.empty() && directory_.back() != PathDelim) directory_.push_back(PathDelim);
  UpdateNameLength();
}

std::string TZipHeaderInfo::StoredName() const {
  std::string name = FullName();
  if (PathDelim != '/') std::replace(name.begin(), name.end(), PathDelim, '/');
  return name;
}

void TZipHeaderInfo::UpdateNameLength() {
  EncodedName encoded = EncodeEntryName(StoredName());
  FileNameLength = Length16(encoded.bytes.size(), "Member name");
  if (encoded.needsUtf8Flag) Flags |= kFlagUtf8;
  else Flags &= static_cast<uint16_t>(~kFlagUtf8);
}

void TZipHeaderInfo::AssignReadName(const std::string& name) {
  size_t cut = name.size();
  while (cut > 0 && !IsNameDelim(name[cut - 1])) --cut;
  directory_ = name.substr(0, cut);
  fileName_ = name.substr(cut);
}

const std::string& TZipHeaderInfo::FileComment() const {
  static const std::string kEmpty;
  return comment_ ? *comment_ : kEmpty;
}

void TZipHeaderInfo::SetFileComment(std::optional<std::string> comment) {
  FileCommentLength = comment ? Length16(comment->size(), "Member comment") : 0;
  comment_ = std::move(comment);
}

bool TZipHeaderInfo::WriteLocalHeader(ZipStream& stream) {
  uint64_t position = stream.Position();
  if (position > 0xFFFFFFFFu) throw EZipTooLarge("Archive would grow beyond 4 GiB at member: " + StoredName());
  RelativeOffset = static_cast<uint32_t>(position);
  UpdateNameLength();
  EncodedName encoded = EncodeEntryName(StoredName());
  std::vector<uint8_t> out;
  out.reserve(kLocalHeaderSize + encoded.bytes.size());
  PutLE32(out, kLocalHeaderSig);
  PutLE16(out, VersionNeeded);
  PutLE16(out, Flags);
  PutLE16(out, CompressionMethod);
  PutLE32(out, DateTime);
  PutLE32(out, CRC32);
  PutLE32(out, CompressedSize);
  PutLE32(out, UncompressedSize);
  PutLE16(out, FileNameLength);
  PutLE16(out, LocalExtraFieldLength);
  PutBytes(out, encoded.bytes);
  return WriteAll(stream, out);
}

bool TZipHeaderInfo::WriteCentralHeader(ZipStream& stream) {
  UpdateNameLength();
  EncodedName encoded = EncodeEntryName(StoredName());
  // The comment length written is that of the comment actually held, so a record whose comment was
  // never loaded cannot produce a length without bytes behind it.
  uint16_t commentLength = comment_ ? static_cast<uint16_t>(comment_->size()) : 0;
  std::vector<uint8_t> out;
  out.reserve(kCentralHeaderSize + encoded.bytes.size() + commentLength);
  PutLE32(out, kCentralHeaderSig);
  PutLE16(out, VersionMadeBy);
  PutLE16(out, VersionNeeded);
  PutLE16(out, Flags);
  PutLE16(out, CompressionMethod);
  PutLE32(out, DateTime);
  PutLE32(out, CRC32);
  PutLE32(out, CompressedSize);
  PutLE32(out, UncompressedSize);
  PutLE16(out, FileNameLength);
  PutLE16(out, 0);  // no central extra field is written
  PutLE16(out, commentLength);
  PutLE16(out, DiskNumberStart);
  PutLE16(out, InternalAttributes);
  PutLE32(out, ExternalAttributes);
  PutLE32(out, RelativeOffset);
  PutBytes(out, encoded.bytes);
  if (commentLength != 0) PutBytes(out, *comment_);
  return WriteAll(stream, out);
}

bool TZipHeaderInfo::ReadCentralHeader(ZipStream& stream) {
  uint64_t start = stream.Position();
  uint8_t fixed[kCentralHeaderSize];
  if (!stream.ReadExact(fixed, sizeof fixed)) return false;
  ByteCursor in(fixed, sizeof fixed);
  if (in.U32() != kCentralHeaderSig) {
    stream.Seek(start);
    return false;
  }
  TZipHeaderInfo h;
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
  std::string decoded = ToNativeSeparators(DecodeEntryName(name, h.Flags, h.VersionMadeBy));
  ApplyZip64(extra, false, h, decoded);
  h.AssignReadName(decoded);
  h.CentralOffset = start;
  *this = std::move(h);
  return true;
}

bool TZipHeaderInfo::ReadLocalHeader(ZipStream& stream) {
  uint64_t start = stream.Position();
  uint8_t fixed[kLocalHeaderSize];
  if (!stream.ReadExact(fixed, sizeof fixed)) return false;
  ByteCursor in(fixed, sizeof fixed);
  if (in.U32() != kLocalHeaderSig || start > 0xFFFFFFFFu) {
    stream.Seek(start);
    return false;
  }
  TZipHeaderInfo h;
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
  h.RelativeOffset = static_cast<uint32_t>(start);
  std::string name(h.FileNameLength, '\0');
  std::string extra(h.LocalExtraFieldLength, '\0');
  if (!stream.ReadExact(name.data(), name.size()) || !stream.ReadExact(extra.data(), extra.size())) {
    stream.Seek(start);
    return false;
  }
  std::string decoded = ToNativeSeparators(DecodeEntryName(name, h.Flags, 0));
  ApplyZip64(extra, true, h, decoded);
  h.AssignReadName(decoded);
  *this = std::move(h);
  return true;
}

// ---- TEndCentral ----

void TEndCentral::Clear() {
  Signature = kEndCentralSig;
  ThisDiskNumber = CentralStartDisk = EntriesThisDisk = TotalEntries = 0;
  CentralSize = CentralOffset = 0;
  ZipCommentLength = 0;
  ZipCommentPos = RecordPos = 0;
  CommentChanged = false;
  comment_.reset();
}

void TEndCentral::Assign(const TEndCentral& source) {
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

void TEndCentral::SetComment(const std::string& comment) {
  if (comment.empty()) {
    comment_.reset();
    ZipCommentLength = 0;
    return;
  }
  ZipCommentLength = Length16(comment.size(), "Archive comment");
  comment_ = comment;
}

const std::string& TEndCentral::Comment() const {
  static const std::string kEmpty;
  return comment_ ? *comment_ : kEmpty;
}

bool TEndCentral::Write(ZipStream& stream) const {
  // As for member comments, the length written is that of the comment held.
  uint16_t commentLength = comment_ ? static_cast<uint16_t>(comment_->size()) : 0;
  std::vector<uint8_t> out;
  out.reserve(kEndCentralSize + commentLength);
  PutLE32(out, Signature);
  PutLE16(out, ThisDiskNumber);
  PutLE16(out, CentralStartDisk);
  PutLE16(out, EntriesThisDisk);
  PutLE16(out, TotalEntries);
  PutLE32(out, CentralSize);
  PutLE32(out, CentralOffset);
  PutLE16(out, commentLength);
  if (commentLength != 0) PutBytes(out, *comment_);
  return WriteAll(stream, out);
}

bool TEndCentral::FindAndRead(ZipStream& stream) {
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
