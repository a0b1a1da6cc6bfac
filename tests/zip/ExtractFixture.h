// Shared set-up of the extraction tests: a fresh folder per test and a reader that records its events.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "zip/ZipReader.h"

namespace brisko::zip::test {

namespace fs = std::filesystem;

// What a run reported through its events.
struct RunLog {
  std::vector<std::pair<SkipReason, std::string>> skipped;
  std::vector<std::string> ended;  // FName of every OnEndUnZip
  std::vector<int> badCrc;         // FileIndex of every OnBadCRC
  std::vector<std::string> messages;
  int completeCalls = 0;
  int completeCount = -1;
  int lastTotalPercent = -1;
  int startInfoFiles = -1;
  int64_t startInfoBytes = -1;

  bool SkippedWith(SkipReason reason) const {
    for (const auto& s : skipped)
      if (s.first == reason) return true;
    return false;
  }
};

class ExtractFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    root_ = fs::path(platform::TempDir()) / ("brisko-extract-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(root_);
  }
  void TearDown() override {
    std::error_code ec;
    // Read-only files and folders must not keep the tree alive.
    for (auto it = fs::recursive_directory_iterator(root_, ec); it != fs::recursive_directory_iterator();
         ++it)
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
  }

  std::string Path(const std::string& rel) const { return (root_ / rel).string(); }

  static std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  static void WriteText(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  // Files (not folders) below dir, as relative paths with '/'.
  static std::vector<std::string> FilesBelow(const std::string& dir) {
    std::vector<std::string> files;
    for (auto& e : fs::recursive_directory_iterator(dir))
      if (!e.is_directory()) files.push_back(fs::relative(e.path(), dir).generic_string());
    std::sort(files.begin(), files.end());
    return files;
  }

  // Wires every event of reader into log.
  static void Record(ZipReader& reader, RunLog& log) {
    reader.OnSkippingFile = [&log](ZipReader&, SkipReason reason, const std::string& name, int, bool&) {
      log.skipped.emplace_back(reason, name);
    };
    reader.OnEndUnZip = [&log](ZipReader&, int, const std::string& fname) { log.ended.push_back(fname); };
    reader.OnBadCRC = [&log](ZipReader&, uint32_t, uint32_t, int index) { log.badCrc.push_back(index); };
    reader.OnMessageBox = [&log](const std::string&, const std::string& text, MessageButtons) {
      log.messages.push_back(text);
      return false;
    };
    reader.OnUnZipComplete = [&log](ZipReader&, int count) {
      ++log.completeCalls;
      log.completeCount = count;
    };
    reader.OnTotalPercentDone = [&log](ZipReader&, int percent) { log.lastTotalPercent = percent; };
    reader.OnStartUnZipInfo = [&log](ZipReader&, int files, int64_t bytes, bool&) {
      log.startInfoFiles = files;
      log.startInfoBytes = bytes;
    };
  }

  fs::path root_;
};

}  // namespace brisko::zip::test
