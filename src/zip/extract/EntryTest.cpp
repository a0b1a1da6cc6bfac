// Entry tests: one member decoded and checked, from the archive or from what workers decoded ahead.
#include "zip/extract/EntryTest.h"

#include <utility>

#include "zip/crypto/MemberDecryption.h"
#include "zip/decode/LegacyDecodeError.h"
#include "zip/decode/VectorSink.h"
#include "zip/decode/WholeMemberDecoder.h"
#include "zip/extract/CheckingSink.h"
#include "zip/extract/MemberReads.h"
#include "zip/format/ZipErrors.h"
#include "zip/read/EntryDataSource.h"
#include "zip/threads/DecodeAhead.h"

namespace brisko::zip {

EntryCheck TestEntry(ArchiveDirectory& archive, int index, const std::string& password, ByteSink* keep,
                     uint64_t sizeCap) {
  const ZipEntry entry = archive.Entry(index);
  EntryCheck check = CheckOf(entry);
  if (!archive.OverlapNote().empty()) {
    check.result = EntryResult::DataError;
    check.message = archive.OverlapNote();
    return check;
  }
  if (entry.FileName().empty()) return check;
  if (!IsDecodable(entry)) {
    check.result = EntryResult::UnknownMethod;
    check.message = kMsgUnknownMethod;
    return check;
  }
  if (entry.uncompressedSize > sizeCap) {
    check.result = EntryResult::TooLarge;
    return check;
  }

  const bool opened = !archive.ArchiveIsOpen();
  if (opened) archive.OpenArchive();
  struct CloseScope {
    ArchiveDirectory& r;
    bool close;
    ~CloseScope() {
      if (close && !r.Options().keepZipOpen && r.ArchiveIsOpen()) r.CloseArchiveStream();
    }
  } closeScope{archive, opened};

  CheckingSink sink(keep, entry.uncompressedSize);
  MemberDecryption decryption;
  bool authentic = true;
  try {
    archive.SeekToData(entry);
    auto raw = SpanningReads(archive);
    uint64_t remaining = entry.compressedSize;
    if (entry.IsEncrypted()) {
      switch (decryption.Begin(entry, password, raw)) {
        case MemberDecryption::Start::NoHeader:
          check.result = EntryResult::DataError;
          check.message = "no encryption header";
          return check;
        case MemberDecryption::Start::BadPassword:
          check.result = EntryResult::BadPassword;
          return check;
        case MemberDecryption::Start::Ok:
          remaining = decryption.DataSize();
          break;
      }
    }
    EntryDataSource source(raw, remaining, DecryptionOf(entry, decryption), &archive);
    WholeMemberDecoder decoder;
    try {
      decoder.Decode(entry.DataMethod(), entry.flags, remaining, source, sink, entry.uncompressedSize,
                     &archive);
    } catch (...) {
      authentic = source.Authentic();
      throw;
    }
    authentic = source.Authentic();
  } catch (const OversizeMemberError& e) {
    check.result = EntryResult::TooLarge;
    check.message = e.what();
  } catch (const LegacyDecodeError& e) {
    check.result = EntryResult::DataError;
    check.message = e.what();
  } catch (const FatalExtractError& e) {
    check.result = EntryResult::DataError;
    check.message = e.what();
  } catch (const BadArchiveError& e) {
    check.result = EntryResult::DataError;
    check.message = e.what();
  }
  check.calcCrc = sink.Crc();
  check.size = sink.Written();
  if (!authentic) {
    check.result = EntryResult::Altered;
    check.message = kMsgAltered;
  } else if (check.result == EntryResult::Ok &&
             ((entry.CrcStored() && check.calcCrc != entry.crc32) || check.size != entry.uncompressedSize)) {
    check.result = EntryResult::BadCRC;
  }
  return check;
}

EntryCheck ExtractToBuffer(ArchiveDirectory& archive, int index, const std::string& password,
                           uint64_t sizeCap, std::vector<uint8_t>& out) {
  VectorSink sink;
  EntryCheck check = TestEntry(archive, index, password, &sink, sizeCap);
  out = std::move(sink.bytes);
  return check;
}

EntryCheck TestEntryDecodedAhead(ArchiveDirectory& archive, int index, const std::string& password,
                                 DecodeAhead* ahead) {
  const auto decoded = ahead ? ahead->Take(static_cast<size_t>(index), &archive) : nullptr;
  const ZipEntry& entry = archive.Entry(index);
  if (!decoded || (entry.IsEncrypted() && decoded->password != password))
    return TestEntry(archive, index, password);
  archive.CheckCancel();
  EntryCheck check;
  check.storedCrc = entry.crc32;
  check.calcCrc = decoded->crc;
  check.size = entry.uncompressedSize;
  return check;
}

}  // namespace brisko::zip
