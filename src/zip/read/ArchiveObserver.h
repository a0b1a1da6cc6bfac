// What the engine's jobs tell their host and ask it. One observer serves a job; every method has a
// default that lets the work go on as if nobody were listening. Answers are returned values.
#pragma once

#include <optional>
#include <string>

#include "zip/format/ZipTypes.h"

namespace brisko::zip {

// Whether a job goes on once it knows what it will do.
enum class JobStart { Go, Cancel };

// Events of reading an archive's directory, and those every job shares.
class ArchiveObserver {
 public:
  virtual ~ArchiveObserver() = default;

  // Asked at points in long work where it may stop (often enough for a host to keep itself
  // responsive here): true stops it with CanceledError "User Aborted Operation".
  virtual bool CancelRequested() { return false; }

  // ---- Reading the directory ----
  // The archive has no end record. A rule (the current one or another) makes the read try once more
  // under it; nothing (the default) ends the read quietly, no entries.
  virtual std::optional<IncompleteArchiveRule> OnIncompleteZip(IncompleteArchiveRule /*current*/) {
    return std::nullopt;
  }
  // The file of disk nextDisk (1-based) of the archive; an empty name cancels. Nothing (the default)
  // looks for the numbered parts beside the archive.
  virtual std::optional<std::string> OnGetNextDisk(int /*nextDisk*/, const std::string& /*archiveName*/) {
    return std::nullopt;
  }

  // ---- Shared by extraction and writing ----
  virtual void OnFilePercentDone(int /*percent*/) {}
  virtual void OnTotalPercentDone(int /*percent*/) {}
  // A file or member is left out; fileIndex is -1 for the writer's files.
  virtual void OnSkippingFile(SkipReason /*reason*/, const std::string& /*fileName*/, int /*fileIndex*/) {}
};

}  // namespace brisko::zip
