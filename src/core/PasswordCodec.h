// The reversible encoding of stored project passwords.
#pragma once

#include <string>
#include <string_view>

namespace brisko::core {

// The key is the project name followed by the decimal count of its characters (UTF-8 code
// points). Each password byte is combined by exclusive-or with the key byte at the same position
// (the key repeating), and written as "#" plus its decimal value: the bytes 65 and 0 give "#65#0".
std::string EncodePassword(std::string_view password, std::string_view projectName);

// Reverses EncodePassword. A text beginning with "#" is read as runs of decimal digits, one byte
// per run; any other text is taken as the combined bytes themselves.
std::string DecodePassword(std::string_view stored, std::string_view projectName);

}  // namespace brisko::core
