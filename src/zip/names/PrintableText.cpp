// The one escaping of names and comments for terminals and logs.
#include "zip/names/PrintableText.h"

#include <cstdint>

namespace brisko::zip {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void PutByteEscape(std::string& out, unsigned char c) {
  out += "\\x";
  out += kHex[c >> 4];
  out += kHex[c & 15];
}

// The code point of a bidirectional control encoded at text[i] (2 or 3 bytes), or 0.
uint32_t BidiControlAt(std::string_view text, size_t i, size_t& length) {
  auto byte = [&](size_t k) { return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0; };
  if (byte(0) == 0xD8 && byte(1) == 0x9C) {
    length = 2;
    return 0x061C;
  }
  if (byte(0) != 0xE2) return 0;
  length = 3;
  const unsigned char b1 = byte(1), b2 = byte(2);
  if (b1 == 0x80 && (b2 == 0x8E || b2 == 0x8F || (b2 >= 0xAA && b2 <= 0xAE))) return 0x2000u + (b2 - 0x80u);
  if (b1 == 0x81 && b2 >= 0xA6 && b2 <= 0xA9) return 0x2040u + (b2 - 0x80u);
  return 0;
}

}  // namespace

std::string PrintableText(std::string_view text, bool keepLines) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    size_t length = 0;
    if (keepLines && (c == '\n' || c == '\t')) {
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      PutByteEscape(out, c);
    } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {  // U+0080..U+009F
      PutByteEscape(out, c);
      PutByteEscape(out, next);
      ++i;
    } else if (const uint32_t bidi = BidiControlAt(text, i, length); bidi != 0) {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(bidi >> shift) & 15];
      i += length - 1;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace brisko::zip
