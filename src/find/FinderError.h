// Error raised by the file finder for invalid property values.
#pragma once

#include <stdexcept>
#include <string>

namespace brisko::find {

class FinderError : public std::runtime_error {
 public:
  explicit FinderError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace brisko::find
