// ExtractJob: extracts the chosen entries of an archive into a folder.
#pragma once

#include <string>

#include "zip/extract/ExtractObserver.h"
#include "zip/extract/ExtractOptions.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::zip {

class ExtractJob {
 public:
  // The archive and the observer must outlive the job; a null observer takes every default.
  ExtractJob(ArchiveDirectory& archive, ExtractOptions options, ExtractObserver* observer = nullptr);

  // Reads the directory when needed and extracts the selected entries; returns how many were
  // extracted. OnUnZipComplete is called at the end of the run, also when an exception ends it.
  int Run();

  const ExtractOptions& Options() const { return options_; }
  // The password a run ended with (OnBadPassword may have changed it).
  const std::string& Password() const { return options_.password; }

 private:
  ArchiveDirectory& archive_;
  ExtractOptions options_;
  ExtractObserver* observer_;
};

}  // namespace brisko::zip
