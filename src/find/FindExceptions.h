// Error raised by the file finder for invalid property values.
#pragma once

#include <stdexcept>
#include <string>

namespace brisko::find {

class EFindFileError : public std::runtime_error {
 public:
  explicit EFindFileError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace brisko::find
