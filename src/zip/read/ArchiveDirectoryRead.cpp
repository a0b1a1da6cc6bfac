// ArchiveDirectory: reading the central directory, the ".zfc" central file, Zip64 end records, prefixed
// (self-extracting) archives and the repair scan over local headers.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Platform.h"
#include "zip/format/ByteIO.h"
#include "zip/format/ZipErrors.h"
#include "zip/io/MemoryStream.h"
#include "zip/names/ZipPaths.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::zip {

namespace {

// The repair scan lets the host run and checks for a cancel this often.
constexpr uint64_t kScanYieldBytes = 10240;
constexpr size_t kScanChunk = 65536;

std::string ChangeExtension(const std::string& path, const std::string& ext) {
  size_t dot = path.find_last_of('.');
  size_t delim = path.find_last_of(platform::kPathDelim);
  if (dot == std::string::npos || (delim != std::string::npos && dot < delim)) return path + ext;
  return path.substr(0, dot) + ext;
}

bool HasExeExtension(const std::string& path) {
  size_t dot = path.find_last_of('.');
  return dot != std::string::npos && SameTextAscii(path.substr(dot), ".exe");
}

// Finds where the member data of a data-descriptor entry ends by looking for a descriptor whose
// compressed size matches the distance travelled. Returns the position behind the descriptor and
// fills the entry's CRC and sizes; 0 when none is found.
uint64_t FindDataDescriptor(ZipStream& s, uint64_t dataStart, ZipEntry& entry) {
  uint64_t size = s.Size();
  std::vector<uint8_t> buf(kScanChunk + 24);
  for (uint64_t pos = dataStart; pos < size; pos += kScanChunk) {
    s.Seek(pos);
    size_t got = s.Read(buf.data(), buf.size());
    for (size_t i = 0; i + 16 <= got; ++i) {
      if (buf[i] != 'P' || buf[i + 1] != 'K' || buf[i + 2] != 7 || buf[i + 3] != 8) continue;
      uint64_t dataLength = pos + i - dataStart;
      ByteReader in(buf.data() + i + 4, got - i - 4);
      uint32_t crc = in.U32();
      uint32_t c32 = in.U32();
      uint32_t u32 = in.U32();
      if (in.Ok() && c32 == dataLength) {
        entry.crc32 = crc;
        entry.compressedSize = c32;
        entry.uncompressedSize = u32;
        return pos + i + kDataDescriptorSize;
      }
      ByteReader in64(buf.data() + i + 8, got - i - 8);
      uint64_t c64 = in64.U64();
      uint64_t u64 = in64.U64();
      if (in64.Ok() && c64 == dataLength) {
        entry.crc32 = crc;
        entry.compressedSize = c64;
        entry.uncompressedSize = u64;
        return pos + i + kDataDescriptor64Size;
      }
    }
    if (got < buf.size()) break;
  }
  return 0;
}

bool NextSignatureIs(ZipStream& s, uint32_t signature) {
  uint64_t at = s.Position();
  uint8_t bytes[4];
  uint32_t value = 0;
  bool same = s.ReadExact(bytes, 4) && GetLE32(bytes, 4, 0, value) && value == signature;
  s.Seek(at);
  return same;
}

}  // namespace

void ArchiveDirectory::ReadDirectory() {
  if (zipName_.empty() && !options_.streamOpener) return;
  bool retried = false;
  for (;;) {
    try {
      ReadDirectoryOnce();
      break;
    } catch (const IncompleteArchiveError&) {
      CloseArchiveStream();
      if (!incompleteAnswered_) return;
      // The handler had its chance to change the mode or bring the missing part; a second
      // "incomplete" answer goes to the caller instead of asking forever.
      if (retried) throw;
      retried = true;
    } catch (...) {
      CloseArchive();
      throw;
    }
  }
  if (!options_.keepZipOpen) CloseArchiveStream();
}

void ArchiveDirectory::ReadDirectoryOnce() {
  OpenArchive();
  if (contents_ && !ArchiveDateChanged()) return;
  ReadCentralDirectory();
}

bool ArchiveDirectory::FindEndRecord() {
  fromCentralFile_ = false;
  centralFile_.reset();
  if (endCentral_.FindAndRead(Archive())) {
    NoteOtherEndRecords();
    return true;
  }
  std::string central = ChangeExtension(zipName_, ".zfc");
  if (!platform::StatFile(central).exists) return false;
  std::unique_ptr<ZipStream> stream = OpenStreamOn(central);
  if (stream && endCentral_.FindAndRead(*stream)) {
    centralFile_ = std::move(stream);
    fromCentralFile_ = true;
    return true;
  }
  return false;
}

void ArchiveDirectory::NoteOtherEndRecords() {
  EndOfCentralDir& end = endCentral_;
  // An empty archive's end record appended to an archive hides it from readers that take the last.
  if (end.totalEntries == 0 && end.recordPos > 0) {
    EndOfCentralDir before;
    if (before.FindAndRead(Archive(), end.recordPos) && before.totalEntries > 0 &&
        before.recordPos + before.Size() == end.recordPos) {
      end = before;
      directoryNote_ = "An empty archive's end record follows the archive's own; its members are listed.";
      return;
    }
  }
  if (end.signaturesBehind > 0)
    directoryNote_ =
        "The archive's end record is followed by another one (in its comment or behind it), "
        "which other programs may take for the end.";
}

void ArchiveDirectory::ReadZip64EndIfAny() {
  ZipStream& s = fromCentralFile_ ? *centralFile_ : Archive();
  EndOfCentralDir& e = endCentral_;
  // Some writers add the Zip64 records even when no field holds a marker; their values are the
  // true ones either way.
  if (e.recordPos < kZip64LocatorSize) return;
  uint8_t locator[kZip64LocatorSize];
  s.Seek(e.recordPos - kZip64LocatorSize);
  uint32_t sig = 0;
  if (!s.ReadExact(locator, sizeof locator) || !GetLE32(locator, sizeof locator, 0, sig) ||
      sig != kZip64LocatorSig) {
    return;  // markers without Zip64 records: plain values that happen to be all ones
  }
  uint64_t recordOffset = 0;
  GetLE64(locator, sizeof locator, 8, recordOffset);
  uint8_t record[kZip64EndCentralMinSize];
  // Bytes in front of the archive shift the record as they shift the directory.
  uint64_t expected = e.recordPos - kZip64LocatorSize - kZip64EndCentralMinSize;
  ByteReader in(record, sizeof record);
  s.Seek(recordOffset);
  bool found = s.ReadExact(record, sizeof record) && in.U32() == kZip64EndCentralSig;
  if (!found && expected != recordOffset) {
    in = ByteReader(record, sizeof record);
    s.Seek(expected);
    found = s.ReadExact(record, sizeof record) && in.U32() == kZip64EndCentralSig;
  }
  if (!found) return;
  in.Skip(8 + 2 + 2);  // record size, version made by, version needed
  // More than 65 535 disks is no archive anyone has; such numbers stay at the marker.
  auto disk = [](uint32_t n) { return n > 0xFFFF ? kZip64Marker16 : static_cast<uint16_t>(n); };
  e.thisDiskNumber = disk(in.U32());
  e.centralStartDisk = disk(in.U32());
  e.entriesThisDisk = in.U64();
  e.totalEntries = in.U64();
  e.centralSize = in.U64();
  e.centralOffset = in.U64();
  zip64RecordPos_ = s.Position() - kZip64EndCentralMinSize;
}

void ArchiveDirectory::FailBadZip() {
  CloseArchive();
  throw BadArchiveError(kMsgNotValidZip);
}

void ArchiveDirectory::ReadCentralDirectory() {
  TakeArchiveDate();
  sortedView_.clear();
  contents_.reset();
  commentLoaded_ = false;
  OpenArchive();
  directoryNote_.clear();
  overlapNote_.clear();
  zip64RecordPos_ = 0;

  bool repaired = false;
  if (!FindEndRecord()) {
    const std::optional<IncompleteArchiveRule> rule = observer_->OnIncompleteZip(options_.incompleteZipMode);
    incompleteAnswered_ = rule.has_value();
    if (rule) options_.incompleteZipMode = *rule;
    switch (options_.incompleteZipMode) {
      case IncompleteArchiveRule::AssumeNotAZip:
        throw NotAnArchiveError(kMsgNotValidZip);
      case IncompleteArchiveRule::AssumeMulti:
        throw IncompleteArchiveError(kMsgIncompleteZip);
      case IncompleteArchiveRule::AssumeBad:
        if (!RepairScan()) FailBadZip();
        repaired = true;
        break;
    }
  } else {
    ReadZip64EndIfAny();
  }

  currentDisk_ = fromCentralFile_ ? 0 : endCentral_.thisDiskNumber;
  // Removable drives are a Windows notion; elsewhere a multi-disk set is a set of numbered files.
  SetMultiMode(endCentral_.thisDiskNumber != 0 ? SplitMode::Blocks : SplitMode::None);

  uint64_t prefix = 0;
  if (!repaired && endCentral_.totalEntries != 0) {
    if (IsMultiDisk() && !fromCentralFile_ && endCentral_.centralStartDisk != currentDisk_) {
      LoadDisk(endCentral_.centralStartDisk + 1);
    } else if (!IsMultiDisk() && !fromCentralFile_) {
      // Bytes put in front of an archive (a self-extractor stub) without adjusting its offsets:
      // the directory then ends before the end record by the length of that prefix.
      uint64_t directoryEnd = endCentral_.centralOffset + endCentral_.centralSize;
      uint64_t endStart = zip64RecordPos_ != 0 ? zip64RecordPos_ : endCentral_.recordPos;
      if (endStart > directoryEnd) {
        uint64_t gap = endStart - directoryEnd;
        uint8_t sig[4];
        uint32_t atOffset = 0, atShifted = 0;
        Archive().Seek(endCentral_.centralOffset);
        if (Archive().ReadExact(sig, 4)) GetLE32(sig, 4, 0, atOffset);
        Archive().Seek(endCentral_.centralOffset + gap);
        if (Archive().ReadExact(sig, 4)) GetLE32(sig, 4, 0, atShifted);
        if (atOffset != kCentralHeaderSig && atShifted == kCentralHeaderSig) prefix = gap;
      }
    }
  }
  if (!repaired) {
    ZipStream& dir = fromCentralFile_ ? *centralFile_ : Archive();
    dir.Seek(fromCentralFile_ ? 0 : endCentral_.centralOffset + prefix);
    contents_ = std::make_unique<SortedEntries>(EntryOrder::ByNone, true);
  }
  if (!ReadEntries(prefix, repaired)) {
    // An unreadable or duplicate header: the repair scan replaces the directory read so far.
    if (IsMultiDisk() || !RepairScan()) FailBadZip();
    ReadEntries(0, true);
  }

  if ((IsMultiDisk() || fromCentralFile_) && endCentral_.zipCommentLength != 0) {
    if (!fromCentralFile_ && currentDisk_ != endCentral_.thisDiskNumber)
      LoadDisk(endCentral_.thisDiskNumber + 1);
    ZipStream& s = fromCentralFile_ ? *centralFile_ : Archive();
    std::string text(endCentral_.zipCommentLength, '\0');
    s.Seek(endCentral_.zipCommentPos);
    text.resize(s.Read(text.data(), text.size()));
    endCentral_.SetComment(text);
    commentLoaded_ = true;
  }
  FindOverlaps();
  ApplySortMode(options_.sortMode);
}

void ArchiveDirectory::FindOverlaps() {
  std::vector<const ZipEntry*> byOffset;
  byOffset.reserve(static_cast<size_t>(contents_->Count()));
  for (int i = 0; i < contents_->Count(); ++i) byOffset.push_back(contents_->Item(i));
  std::sort(byOffset.begin(), byOffset.end(), [](const ZipEntry* a, const ZipEntry* b) {
    return a->diskNumberStart != b->diskNumberStart ? a->diskNumberStart < b->diskNumberStart
                                                    : a->relativeOffset < b->relativeOffset;
  });
  // A member takes at least its fixed local header and its compressed data; a spanning member may
  // continue on the next disk, so only members of one disk are compared.
  for (size_t i = 1; i < byOffset.size(); ++i) {
    const ZipEntry& before = *byOffset[i - 1];
    const ZipEntry& after = *byOffset[i];
    if (before.diskNumberStart != after.diskNumberStart) continue;
    if (after.relativeOffset - before.relativeOffset < kLocalHeaderSize + before.compressedSize) {
      overlapNote_ = "Members " + before.StoredName() + " and " + after.StoredName() +
                     " share their data (an archive made to expand beyond its size)";
      return;
    }
  }
}

// Reads the central headers into the main list. After a repair scan the list holds the entries found
// from local headers and the central headers found behind them only complete those entries.
// Returns false when a header cannot be read or repeats an entry (the caller repairs).
bool ArchiveDirectory::ReadEntries(uint64_t prefix, bool completing) {
  ZipStream& dir = fromCentralFile_ ? *centralFile_ : Archive();
  if (completing) dir.Seek(endCentral_.centralOffset);
  const bool spanning = IsMultiDisk() && !fromCentralFile_;
  uint64_t found = 0;
  for (;;) {
    // Records beyond the stated count are used too (writers that let a 16-bit count wrap around).
    if (!completing && found >= endCentral_.totalEntries &&
        (spanning || !NextSignatureIs(dir, kCentralHeaderSig)))
      break;
    auto header = std::make_unique<ZipEntry>();
    std::string comment;
    bool ok;
    if (spanning) {
      // A header cut by the end of a disk continues on the next one: gather its bytes first.
      uint64_t start = Archive().Position();
      int startDisk = currentDisk_;
      std::vector<uint8_t> raw(kCentralHeaderSize);
      uint16_t nameLength = 0, extraLength = 0, commentLength = 0;
      ok = ReadSpanning(raw.data(), raw.size()) == raw.size() &&
           GetLE16(raw.data(), raw.size(), 28, nameLength) &&
           GetLE16(raw.data(), raw.size(), 30, extraLength) &&
           GetLE16(raw.data(), raw.size(), 32, commentLength);
      if (ok) {
        size_t rest = static_cast<size_t>(nameLength) + extraLength + commentLength;
        raw.resize(kCentralHeaderSize + rest);
        ok = ReadSpanning(raw.data() + kCentralHeaderSize, rest) == rest;
        comment.assign(raw.end() - commentLength, raw.end());
      }
      MemoryStream copy(std::move(raw));
      ok = ok && header->ReadCentralHeader(copy);
      if (ok && startDisk == currentDisk_) header->centralOffset = start;
    } else {
      ok = header->ReadCentralHeader(dir);
    }
    if (!ok) {
      if (completing) return true;
      // Fewer records than stated: the directory ends where the end records begin.
      if (!spanning && (NextSignatureIs(dir, kZip64EndCentralSig) || NextSignatureIs(dir, kEndCentralSig)))
        break;
      directoryNote_ = "The central directory is damaged; the members were read from their local headers.";
      return false;
    }
    ++found;
    header->extraFieldLength = 0;  // the reader has moved past it; a rewritten directory carries none
    if (completing) {
      int match = contents_->Find(*header);
      // A header whose name disagrees with the local one at that offset is itself damaged.
      if (match >= 0 && contents_->Item(match)->FullName() == header->FullName()) {
        ZipEntry* entry = contents_->Item(match);
        uint32_t offset = entry->relativeOffset;
        uint16_t disk = entry->diskNumberStart;
        *entry = *header;
        entry->relativeOffset = offset;
        entry->diskNumberStart = disk;
      }
      continue;
    }
    header->relativeOffset += prefix;
    if (spanning && header->fileCommentLength != 0) header->SetFileComment(comment);
    const int twin = contents_->Find(*header);
    if (twin >= 0) {
      // Readers that trust the directory would show both; the local headers show what is there.
      directoryNote_ = "Central records " + contents_->Item(twin)->StoredName() + " and " +
                       header->StoredName() +
                       " point at the same local header; the members were read from their local headers.";
      return false;
    }
    contents_->Add(std::move(header));
  }
  if (!completing && found != endCentral_.totalEntries) {
    directoryNote_ = "The central directory states " + std::to_string(endCentral_.totalEntries) +
                     " members but holds " + std::to_string(found) + "; all " + std::to_string(found) +
                     " are listed.";
  }
  return true;
}

bool ArchiveDirectory::RepairScan() {
  if (repaired_) return false;
  repaired_ = true;
  // The scan works on the archive itself, also when the directory came from the central file.
  fromCentralFile_ = false;
  centralFile_.reset();
  sortedView_.clear();
  contents_ = std::make_unique<SortedEntries>(EntryOrder::ByNone, true);
  ZipStream& s = Archive();
  const uint64_t size = s.Size();

  // Find the first local signature followed by a plausible version-needed high byte.
  uint64_t start = HasExeExtension(zipName_) ? kSfxScanStart : 0;
  uint64_t hit = UINT64_MAX;
  std::vector<uint8_t> buf(kScanChunk + 5);
  uint64_t nextYield = start + kScanYieldBytes;
  for (uint64_t pos = start; pos < size && hit == UINT64_MAX; pos += kScanChunk) {
    s.Seek(pos);
    size_t got = s.Read(buf.data(), buf.size());
    size_t limit = std::min<size_t>(got, kScanChunk);
    for (size_t i = 0; i < limit; ++i) {
      if (pos + i >= nextYield) {
        nextYield += kScanYieldBytes;
        CheckCancel();
      }
      if (i + 6 <= got && buf[i] == 'P' && buf[i + 1] == 'K' && buf[i + 2] == 3 && buf[i + 3] == 4 &&
          buf[i + 5] < 10) {
        hit = pos + i;
        break;
      }
    }
    if (got < buf.size()) break;
  }
  if (hit == UINT64_MAX) return false;

  // Walk the local headers one after another.
  uint64_t pos = hit;
  for (;;) {
    s.Seek(pos);
    auto entry = std::make_unique<ZipEntry>();
    if (!entry->ReadLocalHeader(s)) break;
    uint64_t dataStart = s.Position();
    uint64_t next = dataStart + entry->compressedSize;
    if (entry->HasDataDescriptor()) {
      if (entry->compressedSize == 0) {
        // Streamed members leave the sizes to the descriptor behind the data.
        next = FindDataDescriptor(s, dataStart, *entry);
        if (next == 0) break;
      } else {
        uint8_t sig[4];
        uint32_t value = 0;
        s.Seek(next);
        bool signed_ = s.ReadExact(sig, 4) && GetLE32(sig, 4, 0, value) && value == kDataDescriptorSig;
        next += signed_ ? kDataDescriptorSize : kDataDescriptorSize - 4;
      }
    }
    try {
      contents_->Add(std::move(entry));
    } catch (const ListIndexError&) {
      break;
    }
    pos = std::min(next, size);
    if (next >= size) break;
  }
  if (contents_->Count() == 0) return false;
  endCentral_.thisDiskNumber = 0;
  endCentral_.centralStartDisk = 0;
  endCentral_.centralOffset = pos;
  endCentral_.totalEntries = endCentral_.entriesThisDisk = static_cast<uint64_t>(contents_->Count());
  return true;
}

}  // namespace brisko::zip
