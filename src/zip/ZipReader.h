// ZipReader: opens an archive, reads its central directory into sorted entry lists, answers
// questions about the entries and (in the extractor) extracts them. ZipWriter derives from it.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "zip/SortedEntries.h"
#include "zip/ZipRecords.h"
#include "zip/ZipStream.h"
#include "zip/ZipTypes.h"

namespace brisko::zip {

// Properties: those whose setting has effects are getter/setter pairs (ZipName/SetZipName,
// DestDir/SetDestDir, RootDir/SetRootDir, ZipComment/SetZipComment); all others are plain public
// members. Events and host hooks are std::function members; an empty one is skipped. Reference
// parameters of events carry the host's decision back.
class ZipReader {
 public:
  ZipReader();
  virtual ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  // ---- Published properties ----
  int ThisVersion() const { return 100; }

  const std::string& ZipName() const { return fZipName; }
  // A different name (compared without regard to case) discards both entry lists, resets the end
  // record, closes the archive and clears the repair flag. A name ending in "?" asks the host through
  // OnOpenFileDialog; without a handler, or when cancelled, throws CanceledError
  // "User canceled setting zip file name.".
  virtual void SetZipName(const std::string& name);

  // Extraction target folder; "?" asks the host through OnSelectFolderDialog (CanceledError
  // "User canceled Set Desination Directory" when cancelled). One trailing separator is removed,
  // except from the root folder itself ("/" stays "/").
  const std::string& DestDir() const { return fDestDir; }
  void SetDestDir(const std::string& dir);

  // Stored-folder prefix removed on extraction; kept with a trailing separator, or empty.
  const std::string& RootDir() const { return fRootDir; }
  void SetRootDir(const std::string& dir);

  // Order of the sorted view; applied at the end of every directory read.
  EntryOrder SortMode = EntryOrder::ByNone;
  bool RecreateDirs = false;
  OverwriteRule OverwriteMode = OverwriteRule::Prompt;
  // Extraction: wildcard patterns selecting entries when DoAll is false. Writer: the entries to add.
  std::vector<std::string> FilesList;
  bool DoAll = false;
  IncompleteArchiveRule IncompleteZipMode = IncompleteArchiveRule::AssumeMulti;
  bool KeepZipOpen = false;
  bool DoProcessMessages = true;
  bool RetainAttributes = true;
  bool ReplaceReadOnly = false;
  bool FlushFilesOnClose = false;
  // Password for encrypted members (UTF-8 bytes as held feed the keys); empty = none.
  std::string Password;

  // The archive comment (raw bytes), read from the archive on first use and kept.
  const std::string& ZipComment();
  // A text equal to the held comment changes nothing; otherwise the end record takes a copy and
  // CommentChanged is set.
  virtual void SetZipComment(const std::string& comment);

  // ---- Events (reader and extractor) ----
  std::function<void(ZipReader& Sender, IncompleteArchiveRule& IncompleteMode)> OnInCompleteZip;
  // Asked for the file of disk NextDisk (1-based); FName comes in as ZipName. An empty answer cancels.
  std::function<void(ZipReader& Sender, int NextDisk, std::string& FName)> OnGetNextDisk;
  std::function<void(ZipReader& Sender, int NumFiles, int64_t TotalBytes, bool& StopNow)> OnStartUnZipInfo;
  std::function<void(ZipReader& Sender, int Percent)> OnFilePercentDone;
  std::function<void(ZipReader& Sender, int Percent)> OnTotalPercentDone;
  std::function<void(ZipReader& Sender, int FileIndex, std::string& FName, bool& Skip)> OnStartUnZip;
  std::function<void(ZipReader& Sender, int FileIndex, const std::string& FName)> OnEndUnZip;
  std::function<void(ZipReader& Sender, bool& OverWriteIt, int FileIndex, std::string& FName)>
      OnPromptForOverwrite;
  std::function<void(ZipReader& Sender, SkipReason Reason, const std::string& FName, int FileIndex,
                     bool& Retry)>
      OnSkippingFile;
  std::function<void(ZipReader& Sender, int FileIndex, std::string& NewPassword)> OnBadPassword;
  std::function<void(ZipReader& Sender, uint32_t CalcCRC, uint32_t StoredCRC, int FileIndex)> OnBadCRC;
  std::function<void(ZipReader& Sender, int FileCount)> OnUnZipComplete;

  // ---- Host hooks (the engine never shows anything itself) ----
  // File-open dialog for ZipName "?": returns false when cancelled.
  std::function<bool(const std::string& Title, const std::string& Filter, const std::string& InitialDir,
                     std::string& FileName)>
      OnOpenFileDialog;
  // Folder dialog for DestDir "?": returns false when cancelled.
  std::function<bool(const std::string& InitialDir, std::string& Folder)> OnSelectFolderDialog;
  // A message box; returns true for OK or Yes. Without a handler OK-only boxes are dropped and
  // questions are answered No/Cancel.
  std::function<bool(const std::string& Caption, const std::string& Text, MessageButtons Buttons)>
      OnMessageBox;
  // Lets the host's event loop run during long work (only when DoProcessMessages is true).
  std::function<void()> OnProcessMessages;
  // Busy cursor on (true) and off (false) around directory reads.
  std::function<void(bool Busy)> OnBusyCursor;
  // Opens a stream on an archive path (tests and fuzzing); unset = a read-only file.
  std::function<std::unique_ptr<ZipStream>(const std::string& path)> StreamOpener;

  // ---- Operations ----
  // Reads the central directory unless it is loaded and the archive file is unchanged. IncompleteArchiveError
  // ends the read quietly (no entries) when no OnInCompleteZip handler is assigned; with one, the read is
  // tried once more and a second IncompleteArchiveError reaches the caller. Other errors close the archive and
  // reach the caller.
  void ReadDirectory();
  // Closes the stream, frees the entries, resets the end record, repair flag and multi-disk mode, and
  // clears ZipName.
  void CloseArchive();
  // Extracts the selected entries (see the extractor).
  int Extract();
  // Asks a running loop to stop at its next check.
  void Cancel() { fCancel = true; }
  bool CancelRequested() const { return fCancel; }
  bool Busy() const { return fBusy; }

  // ---- Entries (indexes into the sorted view; out of range throws ListIndexError) ----
  int EntryCount() const;
  std::string EntryName(int index) const;
  std::string EntryPath(int index) const;
  // The repaired DOS date-time as a date-time value; the current local time if it is not a real date.
  platform::DateTime EntryDateTime(int index) const;
  uint64_t EntrySize(int index) const;
  // Read from the entry's central header on first use and kept.
  std::string EntryComment(int index);
  // The whole record (the host may set Selected).
  ZipEntry& Entry(int index);
  const ZipEntry& Entry(int index) const;
  const EndOfCentralDir& EndCentral() const { return fEndCentral; }
  // True once a directory read has produced an entry list (possibly empty).
  bool DirectoryLoaded() const { return fZipContents != nullptr; }
  SplitMode MultiMode() const { return GetMultiMode(); }
  // Set by a directory read whose central directory disagrees with its stated member count (every
  // record found is used); empty otherwise.
  const std::string& DirectoryNote() const { return fDirectoryNote; }
  // Set by a directory read when members point at the same or overlapping data (an archive built to
  // expand far beyond its size); such archives are not tested or extracted. Empty otherwise.
  const std::string& OverlapNote() const { return fOverlapNote; }

 protected:
  // ---- Archive stream ----
  // Opens ZipName read-only when no stream is open; throws BadArchiveError naming the file when it cannot.
  void OpenArchive();
  // Closes the stream (regardless of KeepZipOpen).
  void CloseArchiveStream();
  bool ArchiveIsOpen() const { return fArchive != nullptr; }
  // The open stream; only valid while ArchiveIsOpen().
  ZipStream& Archive() { return *fArchive; }
  // Opens a stream on a path through StreamOpener or as a read-only file; null when that fails.
  std::unique_ptr<ZipStream> OpenStreamOn(const std::string& path);

  // ---- Directory ----
  // The read itself (no retries, no quiet ending): throws NotAnArchiveError, IncompleteArchiveError, BadArchiveError.
  void ReadCentralDirectory();
  // Frees both lists, resets the end record and clears the repair flag.
  void ClearDirectory();
  // Rebuilds the sorted view in the given order (ByNone: the view is the main list).
  void ApplySortMode(EntryOrder mode);
  // Records the archive file's last-write time and size as the archive date.
  void TakeArchiveDate();
  bool ArchiveDateChanged() const;

  // ---- Multi-disk ----
  virtual SplitMode GetMultiMode() const { return fMultiMode; }
  virtual void SetMultiMode(SplitMode mode) { fMultiMode = mode; }
  virtual bool GetCheckDiskLabels() const { return fCheckDiskLabels; }
  virtual void SetCheckDiskLabels(bool check) { fCheckDiskLabels = check; }
  bool IsMultiDisk() const { return GetMultiMode() != SplitMode::None; }
  int CurrentDisk() const { return fCurrentDisk; }
  // Closes the stream and asks OnGetNextDisk for disk diskNumber (1-based) until it names an existing
  // file; opens it, makes it the current disk (diskNumber - 1) and ZipName. An empty answer throws
  // CanceledError "User canceled loading new disk."; without a handler, a part the built-in lookup
  // does not find throws FatalExtractError naming it.
  void LoadDisk(int diskNumber);
  // Reads n bytes; on a multi-disk archive a short read loads the next disk and continues there.
  size_t ReadSpanning(void* buffer, size_t n);

  // ---- Member data ----
  // Loads the entry's disk when needed, positions at its local header and reads it into local.
  // False when there is no local header at the recorded offset.
  bool ReadLocalHeaderOf(const ZipEntry& entry, ZipEntry& local);
  // Positions the stream at the first byte of the entry's data (its encryption header when encrypted)
  // and returns that position. Throws BadArchiveError when the local header is missing.
  uint64_t SeekToData(const ZipEntry& entry);
  // Reads the entry's comment from its central header at CentralOffset when not yet held.
  void LoadEntryComment(ZipEntry& entry);

  // ---- Host interplay ----
  // Runs OnProcessMessages when DoProcessMessages is set.
  void ProcessMessages();
  // After processing messages: a set cancel flag is cleared and CanceledError "User Aborted Operation"
  // is thrown.
  void CheckCancel();
  bool AskHost(const std::string& caption, const std::string& text, MessageButtons buttons);

  std::string fZipName;
  std::string fDestDir;
  std::string fRootDir;
  std::unique_ptr<ZipStream> fArchive;
  std::unique_ptr<SortedEntries> fZipContents;  // main list, archive order, owns the entries
  std::vector<ZipEntry*> fSortedView;           // the main list in SortMode; empty when that is ByNone
  EndOfCentralDir fEndCentral;
  std::time_t fArchiveDate = 0;
  uint64_t fArchiveSize = 0;
  int fCurrentDisk = 0;
  bool fRepaired = false;
  bool fCancel = false;
  bool fBusy = false;
  bool fFromCentralFile = false;  // the directory came from the ".zfc" file
  bool fCommentLoaded = false;
  uint64_t fZip64RecordPos = 0;
  std::string fLastDiskName;  // the part holding the end record, once another part was loaded
  std::string fMissingDisk;   // the names the built-in part lookup tried last
  std::string fOverlapNote;  // where the Zip64 end record was read; 0 when there is none
  std::string fDirectoryNote;

  friend class ZipExtractRun;

 private:
  void ReadDirectoryOnce();
  // Finds the end record in the archive or its ".zfc" file; false when neither has one.
  bool FindEndRecord();
  void ReadZip64EndIfAny();
  // Sets fOverlapNote when two members of one disk point into each other's data.
  void FindOverlaps();
  // Repair scan over local headers; false when it finds nothing or ran already.
  bool RepairScan();
  bool ReadEntries(uint64_t prefix, bool completing);
  void FailBadZip();
  void DefaultGetNextDisk(int diskNumber, std::string& name);

  SplitMode fMultiMode = SplitMode::None;
  bool fCheckDiskLabels = true;
  std::unique_ptr<ZipStream> fCentralFile;  // the ".zfc" stream while reading from it

  // BEGIN extraction state (owned by the extractor)
  // END extraction state
};

}  // namespace brisko::zip
