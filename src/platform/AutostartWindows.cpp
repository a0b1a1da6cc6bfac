// The autostart entry as a value of the current user's Run key in the registry.
#include "platform/Autostart.h"

#ifdef _WIN32
#include "platform/WideText.h"

namespace brisko::platform {

Autostart::Autostart() : folder_(DefaultFolder()) {}

Autostart::Autostart(std::string folder) : folder_(std::move(folder)) {}

std::string Autostart::DefaultFolder() {
  return "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
}

std::string Autostart::EntryPath() const {
  return "HKEY_CURRENT_USER\\" + folder_ + "\\" + kAutostartName;
}

bool Autostart::Set(const std::string& executablePath) const {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, Widen(folder_).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
    return false;
  // Quoted, so a path with blanks names one program.
  const std::wstring command = L"\"" + Widen(executablePath) + L"\"";
  const LONG rc = ::RegSetValueExW(key, Widen(kAutostartName).c_str(), 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(command.c_str()),
                                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

bool Autostart::Remove() const {
  const LONG rc =
      ::RegDeleteKeyValueW(HKEY_CURRENT_USER, Widen(folder_).c_str(), Widen(kAutostartName).c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

std::string Autostart::StoredExecutable() const {
  wchar_t buffer[4096];
  DWORD size = sizeof buffer;
  if (::RegGetValueW(HKEY_CURRENT_USER, Widen(folder_).c_str(), Widen(kAutostartName).c_str(), RRF_RT_REG_SZ,
                     nullptr, buffer, &size) != ERROR_SUCCESS)
    return {};
  std::wstring command(buffer);
  if (command.size() >= 2 && command.front() == L'"') {
    const size_t close = command.find(L'"', 1);
    command = command.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
  }
  return Narrow(command);
}

}  // namespace brisko::platform
#endif
