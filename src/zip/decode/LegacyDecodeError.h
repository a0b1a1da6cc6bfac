// Raised by the member decoders when compressed data is malformed or ends before the member does.
#pragma once

#include <string>

#include "zip/format/ZipErrors.h"

namespace brisko::zip {

class LegacyDecodeError : public ZipError {
 public:
  explicit LegacyDecodeError(const std::string& what) : ZipError(what) {}
};

}  // namespace brisko::zip
