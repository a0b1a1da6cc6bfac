#include "support/TempDir.h"

#include <filesystem>
#include <random>

#include "platform/Platform.h"
#include "support/Files.h"

namespace brisko::test {

namespace fs = std::filesystem;

TempDir::TempDir(std::string_view label) {
  static std::mt19937_64 generator{std::random_device{}()};
  const fs::path base = FsPath(platform::TempDir());
  for (int attempt = 0; path_.empty(); ++attempt) {
    const fs::path candidate =
        base / FsPath("brisko-" + std::string(label) + "-" + std::to_string(generator()));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) path_ = Utf8Of(candidate);
    if (path_.empty() && attempt > 100)
      throw fs::filesystem_error("no fresh temporary folder", candidate, ec);
  }
}

TempDir::~TempDir() {
  MakeTreeWritable(path_);
  std::error_code ec;
  fs::remove_all(FsPath(path_), ec);
}

std::string TempDir::Dir() const {
  return path_ + platform::kPathDelim;
}

std::string TempDir::Path(std::string_view rel) const {
  return Utf8Of((FsPath(path_) / FsPath(rel)).make_preferred());
}

std::string TempDir::Write(std::string_view rel, std::string_view content, std::time_t lastWrite) const {
  const std::string path = Path(rel);
  WriteFile(path, content);
  if (lastWrite != 0) platform::SetLastWriteTime(path, lastWrite);
  return path;
}

std::string TempDir::MakeDir(std::string_view rel) const {
  const std::string path = Path(rel);
  fs::create_directories(FsPath(path));
  return path;
}

}  // namespace brisko::test
