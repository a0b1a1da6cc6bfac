// A fresh folder under the system's temporary folder for one test, removed with everything in it
// (read-only files and folders too) when the object goes. Built on the platform layer, so it works
// the same on POSIX and on Windows.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace brisko::test {

class TempDir {
 public:
  explicit TempDir(std::string_view label = "test");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, with no trailing separator.
  const std::string& Path() const { return path_; }
  // The folder with a trailing separator, as the core expects its data folder.
  std::string Dir() const;
  // The native path of rel ('/' separators allowed) below the folder.
  std::string Path(std::string_view rel) const;

  // Writes a file below the folder, parents made; sets its last-write time (UTC seconds) unless 0.
  std::string Write(std::string_view rel, std::string_view content, std::time_t lastWrite = 0) const;
  std::string MakeDir(std::string_view rel) const;

 private:
  std::string path_;
};

}  // namespace brisko::test
