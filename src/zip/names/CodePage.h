// Member names between UTF-8 in memory and their stored bytes: code page 437, or UTF-8 with bit 11.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brisko::zip {

struct EncodedName {
  std::string bytes;           // what goes into the archive
  bool needsUtf8Flag = false;  // true when code page 437 could not hold the name
};

// The stored form of a UTF-8 name: the name itself; general purpose bit 11 is to be set when it is not
// plain ASCII. Bytes that are not valid UTF-8 are stored unchanged without the flag.
EncodedName EncodeEntryName(std::string_view utf8);

// The UTF-8 form of a stored name. Bit 11 names are UTF-8 already; names from MS-DOS hosts (high byte
// of version made by 0) are code page 437; names from other hosts are taken as they are when they are
// valid UTF-8; other bytes from Unix hosts are kept as they are (a name in a legacy encoding), from
// other hosts read as code page 437. Invalid UTF-8 under bit 11 is read as code page 437.
std::string DecodeEntryName(std::string_view stored, uint16_t flags, uint16_t versionMadeBy);

// Every byte through the code page 437 table (0x00..0x7F are ASCII).
std::string Cp437ToUtf8(std::string_view bytes);
// False when some character has no code page 437 form; out then holds the part converted so far.
bool Utf8ToCp437(std::string_view utf8, std::string& out);
bool IsValidUtf8(std::string_view bytes);

}  // namespace brisko::zip
