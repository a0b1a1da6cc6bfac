// std::filesystem paths of the UTF-8 strings the program keeps, and back. A path built from a plain
// narrow string is read in the C library's code page on Windows, which mangles every name beyond ASCII.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace brisko::platform {

inline std::filesystem::path FsPath(std::string_view utf8) {
  return std::filesystem::path(
      std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

inline std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace brisko::platform
