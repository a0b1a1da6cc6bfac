// Raised when a stored text is not a valid date, time or date-time.
#pragma once

#include <stdexcept>
#include <string>

namespace brisko::core {

// Carries the message shown to the user, e.g. "'2024-13-01' is not a valid date and time".
class DateTimeParseError : public std::runtime_error {
 public:
  explicit DateTimeParseError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace brisko::core
