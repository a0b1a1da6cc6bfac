// One run of an ExtractJob: selection, target paths, password checks, overwrite rules, decoding with
// CRC check, and the events around them.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "zip/decode/ByteSink.h"
#include "zip/decode/ByteSource.h"
#include "zip/decode/WholeMemberDecoder.h"
#include "zip/extract/EntryCheck.h"
#include "zip/extract/ExtractObserver.h"
#include "zip/extract/ExtractOptions.h"
#include "zip/extract/FileSink.h"
#include "zip/read/ArchiveDirectory.h"
#include "zip/threads/DecodeAhead.h"

namespace brisko::zip {

class MemberDecryption;

class ZipExtractRun {
 public:
  // The observer is the archive's while the run lasts; options hold the password a run may change.
  ZipExtractRun(ArchiveDirectory& archive, ExtractOptions& options, ExtractObserver& observer);
  ~ZipExtractRun();

  // See ExtractJob::Run.
  int Run();

 private:
  enum class Step { Done, Retry };

  void Body();
  // Whether the run extracts the entry: doAll, or its stored name is one of names.
  bool Selected(const ZipEntry& entry, const std::unordered_set<std::string>& names) const;
  Step ProcessEntry(int index);
  // The steps of ProcessEntry. Each that fails an entry reports it.
  // The target path of a file entry as the host chose it; nothing when it is unsafe or skipped.
  std::optional<std::string> TargetOf(int index, const ZipEntry& entry, std::vector<std::string>& parts,
                                      std::string& composed);
  // The local header agrees and the password opens the data (remaining gets its size); false else.
  bool DataReadable(int index, const ZipEntry& entry, MemberDecryption& decryption, uint64_t& remaining);
  // Why what is at the target stops the entry (a folder, a kept or read-only file); nothing when free.
  std::optional<SkipReason> TargetRefused(int index, const ZipEntry& entry, const std::string& fname);
  // A new file beside the target that the output goes to; null when none can be created.
  std::unique_ptr<FileSink> CreateTemporaryIn(const std::string& folder, std::string& temp);
  // Decodes the entry (or hands over what was decoded ahead) into sink; false, with the reason in
  // check, when the data is malformed or larger than recorded.
  bool Decode(const ZipEntry& entry, const DecodeAhead::Decoded* decoded, ByteSource& source,
              uint64_t remaining, ByteSink& sink, EntryCheck& check);
  // Gives the complete temporary output the entry's time and permissions and its target's name.
  bool PlaceFile(const ZipEntry& entry, const std::string& temp, const std::string& fname);
  // A decoded entry that failed its checks: another password (Retry) or the damage reported.
  Step ReportFailed(int index, const ZipEntry& entry, const MemberDecryption& decryption, EntryCheck check,
                    bool completed, bool authentic);
  void ProcessFolderEntry(int index, const ZipEntry& entry);
  // Folder parts of the entry's target below the base folder; false when the stored path is unsafe.
  bool TargetFolderParts(const ZipEntry& entry, std::vector<std::string>& parts) const;
  bool PrepareFolderOf(const std::string& fname, const std::string& composed,
                       const std::vector<std::string>& parts);
  // "" when the entry's local header is there and agrees with it, else why not.
  std::string LocalHeaderProblem(const ZipEntry& entry);
  // Password check of an encrypted entry, with OnBadPassword retries; false when not accepted.
  bool CheckPassword(int index, const ZipEntry& entry, MemberDecryption& decryption);
  bool MayOverwrite(int index, const ZipEntry& entry, const std::string& fname);
  // Asks OnBadPassword for another password; false when there is none (or the same again).
  bool TakeNewPassword(int index);
  void Skip(int index, const ZipEntry& entry, SkipReason reason);
  void Progress(uint64_t entryWritten, uint64_t entrySize, uint64_t chunk);
  void Finish(bool switchedSort, bool oldKeepOpen);
  // Sets the times and permissions of the folders this run recreated.
  void FinishFolders();
  // Creates the symbolic link fname holding text; false when the file system refuses.
  bool PlaceLink(const std::string& text, const std::string& folder, const std::string& fname,
                 const ZipEntry& entry);

  ArchiveDirectory& archive_;
  ExtractOptions& options_;
  ExtractObserver& observer_;
  std::string base_;  // the target folder (DestDir, or the current folder when that is empty)
  // Folders below base_ this run has made or found to be real folders (not links); a link the run
  // creates never replaces a folder, so they stay safe for its later entries.
  std::unordered_set<std::string> checkedFolders_;
  std::vector<std::pair<std::string, ZipEntry>> folderFinish_;  // recreated folders and their entries
  WholeMemberDecoder decoder_;  // keeps its buffers from one entry to the next
  std::unique_ptr<DecodeAhead> ahead_;
  std::vector<bool> chosen_;  // by index of the sorted view: the entries this run extracts
  int fileCount_ = 0;
  int64_t totalBytes_ = 0;
  int64_t bytesDone_ = 0;
};

}  // namespace brisko::zip
