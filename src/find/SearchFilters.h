// The five filters a found item must pass, applied in a fixed order.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "find/SearchState.h"
#include "platform/DirectoryListing.h"

namespace brisko::find {

// With exactAttribute the item's set must equal the wanted set; otherwise it must be empty or
// share at least one member with it.
bool PassesAttributes(const SearchState& state, uint32_t dosAttributes);

// Folders always pass; a file must lie within the bounds that are not 0.
bool PassesSize(const SearchState& state, bool isFolder, uint64_t size);

// A bound without time of day compares with the item's local date, a bound without date with its
// time of day, any other bound with the full moment; both bounds inclusive, 0 means none.
bool PassesDateBounds(const DateBounds& bounds, std::time_t utc);

// Whether the file holds `text`; read in blocks, also finding a text that spans two blocks.
// An unreadable file ends the check with what was found so far.
bool FileContains(const std::string& path, const std::string& text, bool ignoreCase);

// All filters in order: attributes, size, dates, exclusion masks, contained text.
// folder carries a trailing separator.
bool PassesFilters(const SearchState& state, const std::string& folder, const platform::DirectoryItem& item);

}  // namespace brisko::find
