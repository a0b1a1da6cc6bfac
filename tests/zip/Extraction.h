// The extraction tests' run: an archive and its extraction, recording every event; the tests work in a
// ScratchDir.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/Commands.h"
#include "support/Files.h"
#include "support/ScratchDir.h"
#include "support/ZipBuilder.h"
#include "zip/extract/ExtractJob.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::zip::test {

using namespace ::brisko::test;
namespace fs = std::filesystem;

// What a run reported through its events.
struct RunLog {
  std::vector<std::pair<SkipReason, std::string>> skipped;
  std::vector<std::string> ended;  // fileName of every OnEndUnZip
  std::vector<int> badCrc;         // fileIndex of every OnBadCRC
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

// An archive and the extraction of it, recording every event in log; a test answers the questions
// through the on... members it sets.
class Extraction : public ExtractObserver {
 public:
  // Runs one extraction with the options; the password it ended with stays in the options.
  int Run() {
    ExtractJob job(archive, options, this);
    struct KeepPassword {
      ExtractJob& job;
      ExtractOptions& options;
      ~KeepPassword() { options.password = job.Password(); }
    } keep{job, options};
    return job.Run();
  }

  ArchiveDirectory archive;
  ExtractOptions options;
  RunLog log;
  std::function<ExistingFile(int index, const std::string& fname)> onPromptForOverwrite;
  std::function<std::optional<std::string>(int index)> onBadPassword;
  std::function<void(int percent)> onFilePercentDone;
  std::function<std::optional<std::string>(int index, const std::string& target)> onStartUnZip;
  std::function<void()> onEndUnZip;  // after the entry was logged
  bool stopAtStart = false;          // OnStartUnZipInfo answers Cancel
  bool cancel = false;               // CancelRequested answers this

  void OnSkippingFile(SkipReason reason, const std::string& name, int) override {
    log.skipped.emplace_back(reason, name);
  }
  void OnEndUnZip(int, const std::string& fname) override {
    log.ended.push_back(fname);
    if (onEndUnZip) onEndUnZip();
  }
  void OnBadCRC(uint32_t, uint32_t, int index) override { log.badCrc.push_back(index); }
  void OnUnZipComplete(int count) override {
    ++log.completeCalls;
    log.completeCount = count;
  }
  void OnTotalPercentDone(int percent) override { log.lastTotalPercent = percent; }
  JobStart OnStartUnZipInfo(int files, int64_t bytes) override {
    log.startInfoFiles = files;
    log.startInfoBytes = bytes;
    return stopAtStart ? JobStart::Cancel : JobStart::Go;
  }
  ExistingFile OnPromptForOverwrite(int index, const std::string& fname) override {
    return onPromptForOverwrite ? onPromptForOverwrite(index, fname) : ExistingFile::Keep;
  }
  std::optional<std::string> OnBadPassword(int index) override {
    return onBadPassword ? onBadPassword(index) : std::nullopt;
  }
  void OnFilePercentDone(int percent) override {
    if (onFilePercentDone) onFilePercentDone(percent);
  }
  std::optional<std::string> OnStartUnZip(int index, const std::string& target) override {
    return onStartUnZip ? onStartUnZip(index, target) : target;
  }
  bool CancelRequested() override { return cancel; }
};

}  // namespace brisko::zip::test
