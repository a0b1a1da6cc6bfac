// A temporary folder tree for the finder tests, removed when the test ends.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Platform.h"

namespace brisko::find::test {

class FindTestFolder {
 public:
  FindTestFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "brisko-find-XXXXXX").string();
    char* made = ::mkdtemp(tmpl.data());
    path_ = made ? made : tmpl;
  }
  ~FindTestFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

  // Writes a file (parents created) and optionally sets its last-write time (UTC seconds).
  std::string Write(const std::string& rel, const std::string& content, std::time_t mtime = 0) const {
    std::string full = *this / rel;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream(full, std::ios::binary) << content;
    if (mtime != 0) platform::SetLastWriteTime(full, mtime);
    return full;
  }
  std::string MakeDir(const std::string& rel) const {
    std::string full = *this / rel;
    std::filesystem::create_directories(full);
    return full;
  }

 private:
  std::string path_;
};

}  // namespace brisko::find::test
