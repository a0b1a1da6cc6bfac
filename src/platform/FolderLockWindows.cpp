// Windows folder lock: a named mutex of the session, named after the folder's identity (volume serial
// number and file index), so every spelling of the folder's path takes the same lock.
#include "platform/FolderLock.h"

#ifdef _WIN32
#include <cstdint>
#include <cwchar>

#include "platform/FileIo.h"
#include "platform/PathRules.h"
#include "platform/WideText.h"

namespace brisko::platform {

std::wstring FolderMutexName(const std::string& folder, const wchar_t* prefix) {
  const HANDLE dir =
      ::CreateFileW(WidePath(folder.empty() ? std::string(".") : folder).c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (dir == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = ::GetFileInformationByHandle(dir, &info) != 0;
  ::CloseHandle(dir);
  if (!known) return {};
  wchar_t name[96];
  std::swprintf(name, 96, L"Local\\BriskoZipBackup-%ls-%08lx-%08lx%08lx", prefix, info.dwVolumeSerialNumber,
                info.nFileIndexHigh, info.nFileIndexLow);
  return name;
}

FolderLock::FolderLock(const std::string& filePath) {
  const std::wstring name = FolderMutexName(ExtractDirPart(ResolveLinkTarget(filePath)), L"folder");
  if (name.empty()) return;
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
  if (mutex == nullptr) return;
  // An abandoned mutex (its holder ended without releasing it) is handed over all the same.
  const DWORD got = ::WaitForSingleObject(mutex, INFINITE);
  if (got != WAIT_OBJECT_0 && got != WAIT_ABANDONED) {
    ::CloseHandle(mutex);
    return;
  }
  handle_ = mutex;
}

FolderLock::~FolderLock() {
  if (handle_ == nullptr) return;
  ::ReleaseMutex(static_cast<HANDLE>(handle_));
  ::CloseHandle(static_cast<HANDLE>(handle_));
}

}  // namespace brisko::platform
#endif
