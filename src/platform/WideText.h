// UTF-8 <-> UTF-16 at the boundary of the wide-character Windows API (used by the platform layer only).
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace brisko::platform {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// A path for the wide API: '/' turned into '\', and a full path that could exceed MAX_PATH given the
// "\\?\" (or "\\?\UNC\") prefix that lifts the limit.
std::wstring WidePath(std::string_view utf8Path);

// FILETIME (100 ns ticks since 1601) <-> UTC seconds since 1970 and nanoseconds within the second.
std::time_t TimeFromFileTime(const FILETIME& fileTime);
uint32_t NanosOfFileTime(const FILETIME& fileTime);
FILETIME FileTimeFromTime(std::time_t when, uint32_t nanos = 0);
// FILETIME as nanoseconds since 1970 (UTC).
int64_t NanosecondsFromFileTime(const FILETIME& fileTime);

// A session mutex name made of `prefix` and the folder's identity (volume serial number and file
// index), so that every spelling of the folder's path names the same mutex; empty when the folder
// cannot be opened.
std::wstring FolderMutexName(const std::string& folder, const wchar_t* prefix);

// fa* bits of Platform.h from Windows file attributes.
uint32_t AttributesFromWindows(DWORD attributes);

}  // namespace brisko::platform
#endif
