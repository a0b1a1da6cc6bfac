// Raised when the file system refuses a write to one of the settings files.
#pragma once

#include <stdexcept>
#include <string>

namespace brisko::core {

// The message is "Unable to write to <full path>".
class SettingsWriteError : public std::runtime_error {
 public:
  explicit SettingsWriteError(const std::string& path)
      : std::runtime_error("Unable to write to " + path), path_(path) {}
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace brisko::core
