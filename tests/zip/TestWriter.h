// The writer tests' write job: its events go to whichever on... members a test sets.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "zip/write/WriteJob.h"

namespace brisko::test {

// The events of a write job, passed to whichever of the on... members a test sets.
struct WriteHooks : zip::WriteObserver {
  std::function<zip::JobStart(int n, int64_t total)> onStartZipInfo;
  std::function<void(const std::string& name, int64_t size, int64_t packed, int64_t position)> onEndZip;
  std::function<void(int percent)> onFilePercentDone, onTotalPercentDone;
  std::function<void(zip::SkipReason, const std::string& name, int index)> onSkippingFile;
  std::function<void(const std::string& name)> onNoSuchFile;
  std::function<void(zip::UpdateAction, int index)> onUpdate;
  std::function<void(int added)> onZipComplete;
  bool cancel = false;  // CancelRequested answers this

  zip::JobStart OnStartZipInfo(int n, int64_t total) override {
    return onStartZipInfo ? onStartZipInfo(n, total) : zip::JobStart::Go;
  }
  void OnEndZip(const std::string& name, int64_t size, int64_t packed, int64_t position) override {
    if (onEndZip) onEndZip(name, size, packed, position);
  }
  void OnFilePercentDone(int percent) override {
    if (onFilePercentDone) onFilePercentDone(percent);
  }
  void OnTotalPercentDone(int percent) override {
    if (onTotalPercentDone) onTotalPercentDone(percent);
  }
  void OnSkippingFile(zip::SkipReason reason, const std::string& name, int index) override {
    if (onSkippingFile) onSkippingFile(reason, name, index);
  }
  void OnNoSuchFile(const std::string& name) override {
    if (onNoSuchFile) onNoSuchFile(name);
  }
  void OnUpdate(zip::UpdateAction action, int index) override {
    if (onUpdate) onUpdate(action, index);
  }
  void OnZipComplete(int added) override {
    if (onZipComplete) onZipComplete(added);
  }
  bool CancelRequested() override { return cancel; }
};

// A write job with its events in the hooks.
struct TestWriter : WriteHooks, zip::WriteJob {
  TestWriter() : zip::WriteJob({}, this) {}
};

}  // namespace brisko::test
