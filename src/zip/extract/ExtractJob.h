// ExtractJob: extracts the selected entries of an archive into a folder, and tests single entries.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "zip/decode/ByteSink.h"
#include "zip/extract/EntryCheck.h"
#include "zip/extract/ExtractObserver.h"
#include "zip/format/ZipTypes.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::zip {

class DecodeAhead;

struct ExtractOptions {
  // The target folder. One trailing separator is ignored, except on the root folder itself. Empty: the
  // current folder.
  std::string destDir;
  // Stored-folder prefix removed from the entries' folders.
  std::string rootDir;
  bool recreateDirs = false;
  OverwriteRule overwriteMode = OverwriteRule::Prompt;
  // The stored names (as ZipEntry::FullName gives them) of the entries to extract, compared exactly;
  // every entry when doAll is set.
  std::vector<std::string> members;
  bool doAll = false;
  bool retainAttributes = true;
  bool replaceReadOnly = false;
  // Password for encrypted members (UTF-8 bytes as held feed the keys); empty = none.
  std::string password;
};

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

  // Decodes entry index (of the sorted view) with the password and checks its CRC without writing a
  // file; the data goes to keep when given. Entries recorded as larger than sizeCap are not decoded
  // (TooLarge). The directory must be loaded. Throws only for archive-level failures (the archive
  // cannot be opened, an index out of range) and for a cancel the archive's observer asks for.
  static EntryCheck TestEntry(ArchiveDirectory& archive, int index, const std::string& password,
                              ByteSink* keep = nullptr,
                              uint64_t sizeCap = std::numeric_limits<uint64_t>::max());
  // TestEntry keeping the data in memory.
  static EntryCheck ExtractToBuffer(ArchiveDirectory& archive, int index, const std::string& password,
                                    uint64_t sizeCap, std::vector<uint8_t>& out);

  // Workers that decode the small members of the sorted view from `first` on with the password ahead
  // of a loop over the entries in order: every member, only checked (chosen null), or those chosen
  // (by index), keeping their data. Null when none would pay.
  static std::unique_ptr<DecodeAhead> StartDecodeAhead(ArchiveDirectory& archive, const std::string& password,
                                                       int first, const std::vector<bool>* chosen = nullptr);
  // TestEntry of entry `index`, from the workers' result when they decoded it ahead.
  static EntryCheck TestEntryDecodedAhead(ArchiveDirectory& archive, int index, const std::string& password,
                                          DecodeAhead* ahead);

 private:
  ArchiveDirectory& archive_;
  ExtractOptions options_;
  ExtractObserver* observer_;
};

}  // namespace brisko::zip
