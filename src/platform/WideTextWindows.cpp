// Text and time conversions at the Windows API boundary.
#include "platform/WideText.h"

#ifdef _WIN32
#include "platform/Platform.h"

namespace brisko::platform {

namespace {
constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kEpochDifference = 11644473600;  // seconds from 1601-01-01 to 1970-01-01
// Paths at least this long take the prefix; shorter ones stay readable in messages of the system.
constexpr size_t kLongPath = 240;
}  // namespace

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr,
                          nullptr);
  return out;
}

std::wstring WidePath(std::string_view utf8Path) {
  std::wstring path = Widen(utf8Path);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  if (path.size() < kLongPath || path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;  // relative: the system resolves it within its own limit
}

std::time_t TimeFromFileTime(const FILETIME& fileTime) {
  const int64_t ticks = (static_cast<int64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
  return static_cast<std::time_t>(ticks / kTicksPerSecond - kEpochDifference);
}

int64_t NanosecondsFromFileTime(const FILETIME& fileTime) {
  const int64_t ticks = (static_cast<int64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
  return (ticks - kEpochDifference * kTicksPerSecond) * 100;
}

uint32_t NanosOfFileTime(const FILETIME& fileTime) {
  const int64_t ticks = (static_cast<int64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
  return static_cast<uint32_t>(ticks % kTicksPerSecond) * 100;
}

FILETIME FileTimeFromTime(std::time_t when, uint32_t nanos) {
  const int64_t ticks = (static_cast<int64_t>(when) + kEpochDifference) * kTicksPerSecond + nanos / 100;
  FILETIME fileTime;
  fileTime.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFF);
  fileTime.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32);
  return fileTime;
}

uint32_t AttributesFromWindows(DWORD attributes) {
  // The low byte holds the same bits as the DOS attributes archives store.
  return static_cast<uint32_t>(attributes &
                               (kAttrReadOnly | kAttrHidden | kAttrSysFile | kAttrDirectory | kAttrArchive));
}

}  // namespace brisko::platform
#endif
