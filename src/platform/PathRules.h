// Rules of native paths: separators, drive prefixes, and the folder and name parts of a path.
#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace brisko::platform {

inline constexpr bool kHasDrives = kWindows;

// A character that separates folders: '/' on POSIX, where '\' is an ordinary name character;
// '\' and '/' on Windows.
constexpr bool IsSeparator(char c) {
  return c == kPathDelim || (kHasDrives && c == '/');
}

// A separator, and on drive systems also the drive colon.
constexpr bool IsPathDelimOrDrive(char c) {
  return IsSeparator(c) || (kHasDrives && c == ':');
}

// Text before the last separator (or drive colon), without the trailing separator unless it follows a
// drive colon or another separator: "C:\a.txt" -> "C:\", "/a.txt" -> "/", "a.txt" -> "".
std::string ExtractDirPart(std::string_view path);

// Text after the last separator (or drive colon).
std::string ExtractNamePart(std::string_view path);

// "C:" for a drive path, "\\server\share" for a network path; always empty where there are no drives.
std::string ExtractDrivePart(std::string_view path);

// The root a full path hangs from: "C:\" for "C:\a\b", "\\server\share" for a network path, "/" for
// "/a/b" on POSIX; empty where the path has none (a relative path, or one too short to name a root).
std::string PathRoot(std::string_view path);

// The form in which two paths naming the same file compare equal: letters folded to lower case and
// '/' turned into '\' where names ignore case, the path itself elsewhere.
std::string PathKey(std::string_view path);

// Add the native separator unless the path ends with a separator; drop one final separator.
std::string IncludeTrailingDelim(std::string_view path);
std::string ExcludeTrailingDelim(std::string_view path);

}  // namespace brisko::platform
