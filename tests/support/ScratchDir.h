// A test fixture with a fresh folder of its own, removed after the test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/Files.h"
#include "support/TempDir.h"

namespace brisko::test {

namespace fs = std::filesystem;

class ScratchDir : public ::testing::Test {
 protected:
  std::string P(const std::string& rel) const { return dir_.Path(rel); }
  std::string Write(const std::string& rel, const std::string& content) const {
    return dir_.Write(rel, content);
  }
  static std::string Read(const std::string& path) { return ReadFile(path); }

  TempDir dir_;
  const std::filesystem::path root_ = FsPath(dir_.Path());
};

}  // namespace brisko::test
