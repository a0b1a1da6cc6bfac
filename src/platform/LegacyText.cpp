// Settings files written by old editors in the system's legacy ("ANSI") code page.
#include "platform/LegacyText.h"

#ifdef _WIN32
#include "platform/WideText.h"
#endif

namespace brisko::platform {

#ifdef _WIN32

std::optional<std::string> LegacyTextToUtf8(std::string_view text) {
  // The program declares UTF-8 as its own code page, so CP_ACP would be UTF-8 again: ask the
  // system's locale for the code page an old editor wrote in.
  DWORD codePage = 0;
  if (::GetLocaleInfoEx(LOCALE_NAME_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&codePage), sizeof(codePage) / sizeof(WCHAR)) == 0 ||
      codePage == 0 || codePage == CP_UTF8) {
    codePage = 1252;
  }
  if (text.empty()) return std::string();
  const int n = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return Narrow(wide);
}

#else

std::optional<std::string> LegacyTextToUtf8(std::string_view) {
  return std::nullopt;
}

#endif

}  // namespace brisko::platform
