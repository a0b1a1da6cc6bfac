// Rules of native paths: separators, drive prefixes, and the folder and name parts of a path.
#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace brisko::platform {

#ifdef _WIN32
inline constexpr bool kHasDrives = true;
#else
inline constexpr bool kHasDrives = false;
#endif

// A character that separates folders: '/' on POSIX, where '\' is an ordinary name character;
// '\' and '/' on Windows.
constexpr bool IsSeparator(char c) { return c == PathDelim || (kHasDrives && c == '/'); }

// The native separator, and on drive systems also the drive colon.
constexpr bool IsPathDelimOrDrive(char c) { return c == PathDelim || (kHasDrives && c == ':'); }

// Text before the last separator (or drive colon), without the trailing separator unless it follows a
// drive colon or another separator: "C:\a.txt" -> "C:\", "/a.txt" -> "/", "a.txt" -> "".
std::string ExtractDirPart(std::string_view path);

// Text after the last separator (or drive colon).
std::string ExtractNamePart(std::string_view path);

// "C:" for a drive path, "\\server\share" for a network path; always empty where there are no drives.
std::string ExtractDrivePart(std::string_view path);

std::string IncludeTrailingDelim(std::string_view path);
std::string ExcludeTrailingDelim(std::string_view path);

}  // namespace brisko::platform
