// Decoding single entries without writing a file: testing them, or keeping their data in memory.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "zip/decode/ByteSink.h"
#include "zip/extract/EntryCheck.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::zip {

class DecodeAhead;

// Decodes entry index (of the sorted view) with the password and checks its CRC without writing a
// file; the data goes to keep when given. Entries recorded as larger than sizeCap are not decoded
// (TooLarge). The directory must be loaded. Throws only for archive-level failures (the archive
// cannot be opened, an index out of range) and for a cancel the archive's observer asks for.
EntryCheck TestEntry(ArchiveDirectory& archive, int index, const std::string& password,
                     ByteSink* keep = nullptr, uint64_t sizeCap = std::numeric_limits<uint64_t>::max());
// TestEntry keeping the data in memory.
EntryCheck ExtractToBuffer(ArchiveDirectory& archive, int index, const std::string& password,
                           uint64_t sizeCap, std::vector<uint8_t>& out);
// TestEntry of entry `index`, from the workers' result when they decoded it ahead.
EntryCheck TestEntryDecodedAhead(ArchiveDirectory& archive, int index, const std::string& password,
                                 DecodeAhead* ahead);

}  // namespace brisko::zip
