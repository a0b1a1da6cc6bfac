// Windows implementation of the file attribute and time services.
#include "platform/Platform.h"

#ifdef _WIN32
#include <shlobj.h>
// After windows.h (through shlobj.h).
#include <sddl.h>

#include <cstdlib>
#include <vector>

#include "platform/WideText.h"

namespace brisko::platform {

namespace {
std::string WithoutTrailingDelim(std::string path) {
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}
}  // namespace

FileStat StatFile(const std::string& path, bool noFollow) {
  FileStat result;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(WidePath(WithoutTrailingDelim(path)).c_str(), GetFileExInfoStandard, &data))
    return result;
  result.exists = true;
  result.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  result.isSymlink = noFollow && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  result.isRegular = !result.isDirectory && (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0;
  result.size =
      result.isDirectory ? 0 : (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  result.lastWrite = TimeFromFileTime(data.ftLastWriteTime);
  result.lastWriteNanos = NanosOfFileTime(data.ftLastWriteTime);
  result.attributes = AttributesFromWindows(data.dwFileAttributes);
  // No file index here: identities on Windows hold the size and the write time alone.
  result.identity.size = result.size;
  result.identity.modifiedNs = NanosecondsFromFileTime(data.ftLastWriteTime);
  return result;
}

bool SetLastWriteTime(const std::string& path, std::time_t when, bool noFollow, uint32_t nanos) {
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (noFollow ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
  HANDLE file = ::CreateFileW(WidePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              flags, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const FILETIME fileTime = FileTimeFromTime(when, nanos);
  const bool ok = ::SetFileTime(file, nullptr, &fileTime, &fileTime) != 0;
  ::CloseHandle(file);
  return ok;
}

// Only the owner's write bit has a counterpart: the read-only attribute.
bool SetPermissions(const std::string& path, uint32_t mode) {
  return SetReadOnly(path, (mode & 0200) == 0);
}

bool ReadSymlink(const std::string&, std::string&) {
  return false;
}

bool MakeSymlink(const std::string&, const std::string&) {
  return false;
}

bool SetReadOnly(const std::string& path, bool readOnly) {
  const std::wstring wide = WidePath(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  const DWORD wanted = readOnly ? (attributes | FILE_ATTRIBUTE_READONLY)
                                : (attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  return wanted == attributes || ::SetFileAttributesW(wide.c_str(), wanted) != 0;
}

std::string HomeDir() {
  if (const wchar_t* profile = ::_wgetenv(L"USERPROFILE"); profile && *profile)
    return WithoutTrailingDelim(Narrow(profile));
  return "c:\\";
}

std::string UserAccountId() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size);
  std::string id;
  wchar_t* text = nullptr;
  if (size > 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
      ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
    id = Narrow(text);
    ::LocalFree(text);
  }
  ::CloseHandle(token);
  return id;
}

std::string ConfigHome(const std::string& configured, const std::string& home) {
  const bool absolute =
      configured.size() >= 3 && configured[1] == ':' && (configured[2] == '\\' || configured[2] == '/');
  if (absolute || configured.rfind("\\\\", 0) == 0) return configured;
  wchar_t* folder = nullptr;
  std::string result;
  if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder)))
    result = Narrow(folder);
  ::CoTaskMemFree(folder);
  if (!result.empty()) return result;
  return (home.empty() || home.back() != '\\' ? home + "\\" : home) + "AppData\\Roaming";
}

std::string TempDir() {
  wchar_t buffer[MAX_PATH + 2];
  const DWORD n = ::GetTempPathW(MAX_PATH + 2, buffer);
  if (n == 0 || n > MAX_PATH + 1) return "c:\\";
  return WithoutTrailingDelim(Narrow(std::wstring_view(buffer, n)));
}

std::string ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return Narrow(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace brisko::platform
#endif
