// Whether a member's local header says what its central record says: a reader that trusts one and
// a reader that trusts the other must not get different files.
#pragma once

#include <string>

#include "zip/format/ZipRecords.h"

namespace brisko::zip {

// Compares name, method, the flags that change how the data is read (encryption, data descriptor),
// CRC-32 and both sizes. A member with a data descriptor may leave CRC and sizes at 0 in its local
// header; those zeros are not compared. Returns "" when they agree, else the words for the damage
// ("local header differs from the central directory: name").
std::string LocalHeaderDisagreement(const ZipEntry& central, const ZipEntry& local);

}  // namespace brisko::zip
