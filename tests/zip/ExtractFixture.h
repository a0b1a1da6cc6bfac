// Shared set-up of the extraction tests: a fresh folder per test and a reader that records its events.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/Commands.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "support/ZipBuilder.h"
#include "zip/ZipReader.h"

namespace brisko::zip::test {

using namespace ::brisko::test;
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
  std::string Path(const std::string& rel) const { return dir_.Path(rel); }
  static std::string ReadText(const std::string& path) { return ReadFile(path); }
  static void WriteText(const std::string& path, const std::string& text) { WriteFile(path, text); }

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

  TempDir dir_{"extract"};
  const fs::path root_ = FsPath(dir_.Path());
};

}  // namespace brisko::zip::test
