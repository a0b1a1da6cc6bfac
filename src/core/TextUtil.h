// Trimming of blanks, as names, prefixes and typed paths are trimmed before use.
#pragma once

#include <string>
#include <string_view>

namespace brisko::core {

// Removes leading and trailing blanks and control characters (every byte up to ' ').
inline std::string TrimBlanks(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return std::string(text.substr(begin, end - begin));
}

}  // namespace brisko::core
