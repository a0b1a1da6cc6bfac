// The names people know the compression methods by.
#pragma once

#include <cstdint>
#include <string>

namespace brisko::zip {

// "Stored", "Deflate", "Deflate64", "BZip2", "LZMA", "AES", ...; "method N" for numbers without a name.
std::string MethodName(uint16_t method);

// "method 14 (LZMA) is not supported".
std::string UnsupportedMethodText(uint16_t method);

}  // namespace brisko::zip
