// A fresh temporary folder per test for the settings files, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace brisko::core::testing {

class StoreTestDir {
 public:
  StoreTestDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brisko-store-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~StoreTestDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  StoreTestDir(const StoreTestDir&) = delete;
  StoreTestDir& operator=(const StoreTestDir&) = delete;

  // The folder with a trailing separator, as the store expects its data directory.
  std::string Dir() const { return path_ + "/"; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }

 private:
  std::string path_;
};

}  // namespace brisko::core::testing
