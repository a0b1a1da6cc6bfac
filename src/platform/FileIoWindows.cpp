// Windows implementation of the file services, on the wide-character API.
#include "platform/FileIo.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cerrno>

#include "platform/PathRules.h"
#include "platform/WideText.h"

namespace brisko::platform {

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return ::_wfopen(WidePath(path).c_str(), Widen(mode).c_str());
}

namespace {
// Size and write time, as StatFile and the folder listing give them.
FileIdentity IdentityOfHandle(const BY_HANDLE_FILE_INFORMATION& info) {
  FileIdentity identity;
  identity.size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  identity.modifiedNs = NanosecondsFromFileTime(info.ftLastWriteTime);
  return identity;
}
}  // namespace

// Links are followed: the file read is the one its name shows (cloud placeholders are reparse points).
std::FILE* OpenSourceFile(const std::string& path, bool, FileIdentity& opened) {
  HANDLE handle = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    errno = ENOENT;
    return nullptr;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  const bool read = ::GetFileInformationByHandle(handle, &info) != 0;
  if (!read || (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    ::CloseHandle(handle);
    errno = !read ? EIO : EINVAL;
    return nullptr;
  }
  opened = IdentityOfHandle(info);
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = ::_fdopen(fd, "rb");
  if (!file) ::_close(fd);
  return file;
}

bool IdentityOfOpenFile(std::FILE* file, FileIdentity& identity) {
  BY_HANDLE_FILE_INFORMATION info{};
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
  if (handle == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(handle, &info)) return false;
  identity = IdentityOfHandle(info);
  return true;
}

std::FILE* CreateNewFile(const std::string& path, bool) {
  // "x" fails on any existing name, a link's included; the folder's access rules protect the file.
  return ::_wfopen(WidePath(path).c_str(), L"w+bx");
}

int SeekFile(std::FILE* file, uint64_t position) {
  return ::_fseeki64(file, static_cast<__int64>(position), SEEK_SET);
}
int SeekFileEnd(std::FILE* file) {
  return ::_fseeki64(file, 0, SEEK_END);
}
int64_t TellFile(std::FILE* file) {
  return ::_ftelli64(file);
}

bool SyncAndDropCachedPages(const std::string& path) {
  HANDLE file = ::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool synced = ::FlushFileBuffers(file) != 0;
  ::CloseHandle(file);
  return synced;
}

bool RenameOver(const std::string& from, const std::string& to) {
  const std::wstring source = WidePath(from);
  const std::wstring target = WidePath(to);
  // A file another program holds open (a reader of the log, a virus scanner) cannot be replaced until
  // it lets go: wait for that up to two seconds before giving up.
  constexpr int kAttempts = 40;
  constexpr DWORD kPauseMs = 50;
  for (int attempt = 1;; ++attempt) {
    if (::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    const DWORD error = ::GetLastError();
    // A folder or a read-only file is refused with the same error, and no wait changes that.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool plainFile = attributes != INVALID_FILE_ATTRIBUTES &&
                           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
    const bool held = plainFile && (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                                    error == ERROR_LOCK_VIOLATION);
    if (!held || attempt == kAttempts) return false;
    ::Sleep(kPauseMs);
  }
}

bool IsWritableFolder(const std::string& folder) {
  const DWORD attributes = ::GetFileAttributesW(WidePath(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
  // Access rights decide, and only trying tells: a probe file that deletes itself on close.
  const std::wstring probe = WidePath(IncludeTrailingDelim(folder) + ".brisko-write-probe");
  HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  return true;
}

std::string ResolveLinkTarget(const std::string& path) {
  return path;
}

}  // namespace brisko::platform
#endif
