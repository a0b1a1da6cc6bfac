// Code page 437 <-> UTF-8 conversion of member names, and the choice between them when writing.
#include "zip/names/CodePage.h"

#include <algorithm>

#include "zip/format/ZipConstants.h"

namespace brisko::zip {

namespace {

// Unicode code points of the bytes 0x80..0xFF of code page 437.
constexpr uint16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at pos; false for malformed, overlong, surrogate or out-of-range forms.
bool NextCodePoint(std::string_view s, size_t& pos, uint32_t& cp) {
  auto byte = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  uint8_t b0 = byte(pos);
  size_t len;
  uint32_t min;
  if (b0 < 0x80) {
    cp = b0;
    ++pos;
    return true;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return false;
  }
  if (s.size() - pos < len) return false;
  for (size_t i = 1; i < len; ++i) {
    uint8_t b = byte(pos + i);
    if ((b & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  pos += len;
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  size_t pos = 0;
  uint32_t cp = 0;
  while (pos < bytes.size()) {
    if (!NextCodePoint(bytes, pos, cp)) return false;
  }
  return true;
}

std::string Cp437ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    auto b = static_cast<uint8_t>(c);
    AppendUtf8(out, b < 0x80 ? b : kCp437High[b - 0x80]);
  }
  return out;
}

bool Utf8ToCp437(std::string_view utf8, std::string& out) {
  out.clear();
  size_t pos = 0;
  while (pos < utf8.size()) {
    uint32_t cp = 0;
    if (!NextCodePoint(utf8, pos, cp)) return false;
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
      continue;
    }
    int found = -1;
    for (int i = 0; i < 128; ++i) {
      if (kCp437High[i] == cp) {
        found = i;
        break;
      }
    }
    if (found < 0) return false;
    out.push_back(static_cast<char>(0x80 + found));
  }
  return true;
}

EncodedName EncodeEntryName(std::string_view utf8) {
  EncodedName result;
  result.bytes.assign(utf8);
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return result;
  // Bytes that are not UTF-8 at all (a file name in some legacy encoding) go out unchanged; the
  // flag would claim an encoding they do not have.
  result.needsUtf8Flag = IsValidUtf8(utf8);
  return result;
}

std::string DecodeEntryName(std::string_view stored, uint16_t flags, uint16_t versionMadeBy) {
  bool utf8Flag = (flags & kFlagUtf8) != 0;
  uint8_t host = static_cast<uint8_t>(versionMadeBy >> 8);
  if ((utf8Flag || host != kHostMsDos) && IsValidUtf8(stored)) return std::string(stored);
  // A Unix name that is not UTF-8 is a file name in some other encoding: kept byte for byte so that
  // it is restored under the name it had.
  if (!utf8Flag && host == kHostUnix) return std::string(stored);
  return Cp437ToUtf8(stored);
}

}  // namespace brisko::zip
