// Windows implementation of opening a document through the shell.
#include "platform/OpenDocument.h"

#ifdef _WIN32
#include <windows.h>

// shellapi.h needs the types windows.h declares.
#include <shellapi.h>

namespace brisko::platform {

bool OpenDocument(const std::string& path) {
  if (path.empty()) return false;
  int wide = ::MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
  std::wstring w(static_cast<size_t>(wide > 0 ? wide : 1), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, w.data(), wide);
  auto rc = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", w.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return rc > 32;
}

}  // namespace brisko::platform
#endif
