// One extraction run of a ZipReader: selection, target paths, password checks, overwrite rules,
// decoding with CRC check, and the events around them. Also decodes single entries to memory.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "zip/EntryCheck.h"
#include "zip/WholeMemberDecoder.h"
#include "zip/ZipReader.h"
#include "zip/legacy/ByteSink.h"

namespace brisko::zip {

class DecodeAhead;
class MemberDecryption;

class ZipExtractRun {
 public:
  explicit ZipExtractRun(ZipReader& reader);
  ~ZipExtractRun();

  // Reads the directory when needed and extracts the selected entries; returns FileCount.
  // OnUnZipComplete is called at the end of the run, also when an exception ends it.
  int Run();

  // Decodes entry index (of the sorted view) with the reader's Password and checks its CRC without
  // writing a file; the data goes to keep when given. Entries recorded as larger than sizeCap are not
  // decoded (TooLarge). The directory must be loaded. Throws only for archive-level failures
  // (the archive cannot be opened, an index out of range).
  static EntryCheck TestEntry(ZipReader& reader, int index, ByteSink* keep = nullptr,
                               uint64_t sizeCap = std::numeric_limits<uint64_t>::max());

  // TestEntry keeping the data in memory.
  static EntryCheck ExtractToBuffer(ZipReader& reader, int index, uint64_t sizeCap,
                                     std::vector<uint8_t>& out);

  // Workers that decode the small members of the sorted view from `first` on ahead of a loop over them
  // (those `wanted` says), keeping the data or only checking them; null when none would pay.
  static std::unique_ptr<DecodeAhead> StartDecodeAhead(ZipReader& reader, int first, bool keepData,
                                                       const std::function<bool(const ZipEntry&)>& wanted);
  // TestEntry of entry `index`, from the workers' result when they decoded it ahead.
  static EntryCheck TestEntryDecodedAhead(ZipReader& reader, int index, DecodeAhead* ahead);

 private:
  enum class Step { Done, Retry };

  void Body();
  bool Selected(const ZipEntry& entry) const;
  Step ProcessEntry(int index);
  void ProcessFolderEntry(int index, const ZipEntry& entry);
  // Folder parts of the entry's target below the base folder; false when the stored path is unsafe.
  bool TargetFolderParts(const ZipEntry& entry, std::vector<std::string>& parts) const;
  bool PrepareFolderOf(const std::string& fname, const std::string& composed,
                       const std::vector<std::string>& parts);
  bool HasLocalHeader(const ZipEntry& entry);
  // Password check of an encrypted entry, with OnBadPassword retries; false when not accepted.
  bool CheckPassword(int index, const ZipEntry& entry, MemberDecryption& decryption);
  bool MayOverwrite(int index, const ZipEntry& entry, std::string& fname);
  void Skip(int index, const ZipEntry& entry, SkipReason reason);
  void Progress(uint64_t entryWritten, uint64_t entrySize, uint64_t chunk);
  void Finish(bool switchedSort, bool oldKeepOpen);
  // Sets the times and permissions of the folders this run recreated.
  void FinishFolders();
  // Creates the symbolic link fname holding text; false when the file system refuses.
  bool PlaceLink(const std::string& text, const std::string& folder, const std::string& fname,
                 const ZipEntry& entry);

  ZipReader& r_;
  std::string base_;  // the target folder (DestDir, or the current folder when that is empty)
  // Folders below base_ this run has made or found to be real folders (not links); a link the run
  // creates never replaces a folder, so they stay safe for its later entries.
  std::unordered_set<std::string> checkedFolders_;
  std::vector<std::pair<std::string, ZipEntry>> folderFinish_;  // recreated folders and their entries
  WholeMemberDecoder decoder_;  // keeps its buffers from one entry to the next
  std::unique_ptr<DecodeAhead> ahead_;
  int fileCount_ = 0;
  int64_t totalBytes_ = 0;
  int64_t bytesDone_ = 0;
};

}  // namespace brisko::zip
