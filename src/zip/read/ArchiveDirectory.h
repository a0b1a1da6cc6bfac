// ArchiveDirectory: one archive opened for reading. Reads its central directory (or salvages the
// entries from the local headers), holds the entries in archive order and in a sorted view, and gives
// the jobs that extract, test or rewrite the archive their access to its members' data.
#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "zip/format/ZipRecords.h"
#include "zip/format/ZipTypes.h"
#include "zip/io/CancelCheck.h"
#include "zip/io/ZipStream.h"
#include "zip/read/ArchiveObserver.h"
#include "zip/read/SortedEntries.h"

namespace brisko::zip {

struct DirectoryOptions {
  // Order of the sorted view; applied at the end of every directory read.
  EntryOrder sortMode = EntryOrder::ByNone;
  IncompleteArchiveRule incompleteZipMode = IncompleteArchiveRule::AssumeMulti;
  // Keeps the archive open between operations (otherwise it is closed after each).
  bool keepZipOpen = false;
  // Opens the archive and its parts (tests and fuzzing); null = read-only files.
  StreamOpener* streamOpener = nullptr;
};

class ArchiveDirectory : public CancelCheck {
 public:
  explicit ArchiveDirectory(DirectoryOptions options = {}, ArchiveObserver* observer = nullptr);
  virtual ~ArchiveDirectory();
  ArchiveDirectory(const ArchiveDirectory&) = delete;
  ArchiveDirectory& operator=(const ArchiveDirectory&) = delete;

  DirectoryOptions& Options() { return options_; }
  const DirectoryOptions& Options() const { return options_; }
  // The observer of directory reads; the jobs put theirs in place while they run. Null = none.
  ArchiveObserver& Observer() const { return *observer_; }
  void SetObserver(ArchiveObserver* observer);

  const std::string& ZipName() const { return zipName_; }
  // A different name (compared without regard to case) discards the entries, resets the end record,
  // closes the archive and clears the repair flag.
  virtual void SetZipName(const std::string& name);

  // The archive comment (raw bytes), read from the archive on first use and kept.
  const std::string& ZipComment();
  // A text equal to the held comment changes nothing; otherwise the end record takes a copy and
  // commentChanged is set.
  void SetZipComment(const std::string& comment);

  // Reads the central directory unless it is loaded and the archive file is unchanged. IncompleteArchiveError
  // ends the read quietly (no entries) unless OnIncompleteZip takes the question; then the read is tried
  // once more and a second IncompleteArchiveError reaches the caller. Other errors close the archive and
  // reach the caller.
  void ReadDirectory();
  // Closes the stream, frees the entries, resets the end record, repair flag and multi-disk mode, and
  // clears ZipName.
  void CloseArchive();

  // ---- Entries (indexes into the sorted view; out of range throws ListIndexError) ----
  int EntryCount() const;
  std::string EntryName(int index) const;
  std::string EntryPath(int index) const;
  // The repaired DOS date-time as a date-time value; the current local time if it is not a real date.
  platform::DateTime EntryDateTime(int index) const;
  uint64_t EntrySize(int index) const;
  // Read from the entry's central header on first use and kept.
  std::string EntryComment(int index);
  // The whole record.
  ZipEntry& Entry(int index);
  const ZipEntry& Entry(int index) const;
  const EndOfCentralDir& EndCentral() const { return endCentral_; }
  // True once a directory read has produced an entry list (possibly empty).
  bool DirectoryLoaded() const { return contents_ != nullptr; }
  SplitMode MultiMode() const { return multiMode_; }
  // Set by a directory read whose central directory disagrees with its stated member count (every
  // record found is used); empty otherwise.
  const std::string& DirectoryNote() const { return directoryNote_; }
  // Set by a directory read when members point at the same or overlapping data (an archive built to
  // expand far beyond its size); such archives are not tested or extracted. Empty otherwise.
  const std::string& OverlapNote() const { return overlapNote_; }

  // ---- For the jobs: the archive stream ----
  // Opens ZipName read-only when no stream is open; throws ZipError naming the file when it cannot.
  void OpenArchive();
  // Opens a stream on a path through the stream opener or as a read-only file; null when that fails.
  std::unique_ptr<ZipStream> OpenStreamOn(const std::string& path);
  // Closes the stream (regardless of keepZipOpen).
  void CloseArchiveStream();
  bool ArchiveIsOpen() const { return archive_ != nullptr; }
  // The open stream; only valid while ArchiveIsOpen().
  ZipStream& Archive() { return *archive_; }
  // The read itself (no retries, no quiet ending): throws NotAnArchiveError, IncompleteArchiveError,
  // BadArchiveError.
  void ReadCentralDirectory();
  // Frees the entries, resets the end record and clears the repair flag.
  void ClearDirectory();
  // Rebuilds the sorted view in the given order (ByNone: the view is the main list).
  void ApplySortMode(EntryOrder mode);
  // The entries in archive order; null when nothing is loaded.
  const SortedEntries* Contents() const { return contents_.get(); }
  // Makes the members just written the directory, with their end record, and takes the archive date.
  void Adopt(std::unique_ptr<SortedEntries> contents, const EndOfCentralDir& endCentral);
  EndOfCentralDir& EndCentralRecord() { return endCentral_; }
  bool IsMultiDisk() const { return multiMode_ != SplitMode::None; }
  void SetMultiMode(SplitMode mode) { multiMode_ = mode; }
  // Reads n bytes; on a multi-disk archive a short read loads the next disk and continues there.
  size_t ReadSpanning(void* buffer, size_t n);
  // Loads the entry's disk when needed, positions at its local header and reads it into local.
  // False when there is no local header at the recorded offset.
  bool ReadLocalHeaderOf(const ZipEntry& entry, ZipEntry& local);
  // Positions the stream at the first byte of the entry's data (its encryption header when encrypted)
  // and returns that position. Throws BadArchiveError when the local header is missing or disagrees
  // with the entry (LocalHeaderDisagreement).
  uint64_t SeekToData(const ZipEntry& entry);
  // Reads the entry's comment from its central header at centralOffset when not yet held.
  void LoadEntryComment(ZipEntry& entry);
  // When the observer asks for a cancel, throws CanceledError "User Aborted Operation".
  void CheckCancel() override;

 private:
  // Records the archive file's last-write time and size as the archive date.
  void TakeArchiveDate();
  bool ArchiveDateChanged() const;
  // Closes the stream and asks OnGetNextDisk for disk diskNumber (1-based) until it names an existing
  // file; opens it, makes it the current disk (diskNumber - 1) and ZipName. An empty answer throws
  // CanceledError "User canceled loading new disk."; without an answer, a part the built-in lookup
  // does not find throws FatalExtractError naming it.
  void LoadDisk(int diskNumber);
  void ReadDirectoryOnce();
  // Finds the end record in the archive or its ".zfc" file; false when neither has one.
  bool FindEndRecord();
  void ReadZip64EndIfAny();
  // After the end record was found: takes the archive's own end record when an empty archive's one
  // was appended behind it, and sets directoryNote_ when other end signatures follow the one taken.
  void NoteOtherEndRecords();
  // Sets overlapNote_ when two members of one disk point into each other's data.
  void FindOverlaps();
  // Repair scan over local headers; false when it finds nothing or ran already.
  bool RepairScan();
  bool ReadEntries(uint64_t prefix, bool completing);
  void FailBadZip();
  void DefaultGetNextDisk(int diskNumber, std::string& name);

  DirectoryOptions options_;
  ArchiveObserver* observer_;
  std::string zipName_;
  std::unique_ptr<ZipStream> archive_;
  std::unique_ptr<SortedEntries> contents_;  // archive order, owns the entries
  std::vector<ZipEntry*> sortedView_;        // contents_ in sortMode; empty when that is ByNone
  EndOfCentralDir endCentral_;
  std::time_t archiveDate_ = 0;
  uint64_t archiveSize_ = 0;
  int currentDisk_ = 0;
  SplitMode multiMode_ = SplitMode::None;
  bool repaired_ = false;
  bool fromCentralFile_ = false;  // the directory came from the ".zfc" file
  bool commentLoaded_ = false;
  bool incompleteAnswered_ = false;  // OnIncompleteZip took the question of the last read
  uint64_t zip64RecordPos_ = 0;      // where the Zip64 end record was read; 0 when there is none
  std::string lastDiskName_;         // the part holding the end record, once another part was loaded
  std::string missingDisk_;          // the names the built-in part lookup tried last
  std::string overlapNote_;
  std::string directoryNote_;
  std::unique_ptr<ZipStream> centralFile_;  // the ".zfc" stream while reading from it
};

}  // namespace brisko::zip
