// What the extraction and the entry test share when they read a member's data.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zip/crypto/MemberDecryption.h"
#include "zip/extract/EntryCheck.h"
#include "zip/format/ZipRecords.h"
#include "zip/read/ArchiveDirectory.h"
#include "zip/read/ReadingSource.h"

namespace brisko::zip {

// Reads of the archive from its current position on, across the parts of a split archive.
inline auto SpanningReads(ArchiveDirectory& archive) {
  return ReadingSource([&archive](uint8_t* buffer, size_t n) { return archive.ReadSpanning(buffer, n); });
}

// The decryption of an entry's data source; null for plain entries.
inline MemberDecryption* DecryptionOf(const ZipEntry& entry, MemberDecryption& decryption) {
  return entry.IsEncrypted() ? &decryption : nullptr;
}

// The check of an entry before its data is read: what the records say.
inline EntryCheck CheckOf(const ZipEntry& entry) {
  EntryCheck check;
  check.storedCrc = entry.crc32;
  check.expectedSize = entry.uncompressedSize;
  check.method = entry.DataMethod();
  return check;
}

}  // namespace brisko::zip
