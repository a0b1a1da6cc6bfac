// A fresh data folder per test, removed afterwards, for tests that write project.ini.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Platform.h"

namespace brisko::core::test {

class ProjectTestDir {
 public:
  ProjectTestDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string leaf = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : leaf)
      if (c == '/') c = '_';  // parameterised test names
    path_ = std::filesystem::path(BRISKO_BINARY_DIR) / "test-data-dirs" / leaf;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ProjectTestDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ProjectTestDir(const ProjectTestDir&) = delete;
  ProjectTestDir& operator=(const ProjectTestDir&) = delete;

  // The folder with a trailing separator, as the store functions take it.
  std::string Dir() const { return path_.string() + platform::PathDelim; }

 private:
  std::filesystem::path path_;
};

}  // namespace brisko::core::test
