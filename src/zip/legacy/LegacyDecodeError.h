// Raised by the member decoders when compressed data is malformed or ends before the member does.
#pragma once

#include <string>

#include "zip/ZipExceptions.h"

namespace brisko::zip {

class LegacyDecodeError : public EZipException {
 public:
  explicit LegacyDecodeError(const std::string& what) : EZipException(what) {}
};

}  // namespace brisko::zip
