// Path helpers of the archive engine: directory, name and drive parts, stored member folders, percentages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/PathRules.h"

namespace brisko::zip {

// The native separator; archives always store '/'.
using platform::kHasDrives;
using platform::kPathDelim;

// The path rules of the platform, under the engine's names.
using platform::ExcludeTrailingDelim;
using platform::ExtractDirPart;
using platform::ExtractDrivePart;
using platform::ExtractNamePart;
using platform::IncludeTrailingDelim;
using platform::IsPathDelimOrDrive;

// ASCII lower-casing; other bytes are kept.
std::string LowerAscii(std::string_view s);
bool SameTextAscii(std::string_view a, std::string_view b);

// The form in which file paths and member names are compared: as they are on POSIX, where file
// names are case-sensitive ("README" and "readme" are two files); on Windows ASCII lower-cased, with
// '/' taken as '\'.
std::string NameKey(std::string_view name);
bool SameName(std::string_view a, std::string_view b);

// min(100, round(part * 100 / whole)) with halves rounded to even; 0 when whole is not above 0.
int Percentage(int64_t part, int64_t whole);

// Options that decide the folder part of a stored member name.
struct StoredPathOptions {
  bool storePaths = false;
  bool relativePaths = false;
  std::string rootDir;
};

// The member `Directory` (native separators, trailing separator, or empty) for a file path.
// Never absolute and never holding "." or ".." parts, so extraction cannot escape its target.
std::string StoredDirectoryFor(std::string_view path, const StoredPathOptions& options);

}  // namespace brisko::zip
