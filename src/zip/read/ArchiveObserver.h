// What the engine's jobs tell their host and ask it. One observer serves a job; every method has a
// default that lets the work go on as if nobody were listening. Reference parameters carry the host's
// decision back; methods returning bool say whether the host answered at all.
#pragma once

#include <cstdint>
#include <string>

#include "zip/extract/EntryCheck.h"
#include "zip/format/ZipErrors.h"
#include "zip/format/ZipRecords.h"
#include "zip/format/ZipTypes.h"

namespace brisko::zip {

// Events of reading an archive's directory, and those every job shares.
class ArchiveObserver {
 public:
  virtual ~ArchiveObserver() = default;

  // ---- Host interplay ----
  // Lets the host's event loop run during long work.
  virtual void OnProcessMessages() {}
  // Asked right after OnProcessMessages: true stops the work with CanceledError "User Aborted Operation".
  virtual bool CancelRequested() { return false; }
  // Busy cursor on (true) and off (false) around directory reads.
  virtual void OnBusyCursor(bool /*busy*/) {}
  // A message box; true for OK or Yes. The default drops OK-only boxes and answers questions No/Cancel.
  virtual bool OnMessageBox(const std::string& /*caption*/, const std::string& /*text*/,
                            MessageButtons /*buttons*/) {
    return false;
  }
  // File-open dialog for an archive named "?"; false when cancelled (the default).
  virtual bool OnOpenFileDialog(const std::string& /*title*/, const std::string& /*filter*/,
                                const std::string& /*initialDir*/, std::string& /*fileName*/) {
    return false;
  }
  // Folder dialog for a target folder "?"; false when cancelled (the default).
  virtual bool OnSelectFolderDialog(const std::string& /*initialDir*/, std::string& /*folder*/) {
    return false;
  }

  // ---- Reading the directory ----
  // The archive has no end record. The host may change the rule; returning true says it took the
  // question, and the read is tried once more. The default (false) ends the read quietly, no entries.
  virtual bool OnIncompleteZip(IncompleteArchiveRule& /*mode*/) { return false; }
  // Asked for the file of disk nextDisk (1-based); fileName comes in as the archive name, an empty
  // answer cancels. The default (false) looks for the numbered parts beside the archive.
  virtual bool OnGetNextDisk(int /*nextDisk*/, std::string& /*fileName*/) { return false; }

  // ---- Shared by extraction and writing ----
  virtual void OnFilePercentDone(int /*percent*/) {}
  virtual void OnTotalPercentDone(int /*percent*/) {}
  // A file or member is left out; fileIndex is -1 for the writer's files. Setting retry makes the writer
  // try to open the file again.
  virtual void OnSkippingFile(SkipReason /*reason*/, const std::string& /*fileName*/, int /*fileIndex*/,
                              bool& /*retry*/) {}
};

// The events of an extraction.
class ExtractObserver : public ArchiveObserver {
 public:
  virtual void OnStartUnZipInfo(int /*numFiles*/, int64_t /*totalBytes*/, bool& /*stopNow*/) {}
  // The host may change the target path or skip the entry.
  virtual void OnStartUnZip(int /*fileIndex*/, std::string& /*fileName*/, bool& /*skip*/) {}
  virtual void OnEndUnZip(int /*fileIndex*/, const std::string& /*fileName*/) {}
  // An existing file under the overwrite rule Prompt. Returning false leaves the question to
  // OnMessageBox ("File Exists Alert").
  virtual bool OnPromptForOverwrite(int /*fileIndex*/, std::string& /*fileName*/, bool& /*overwrite*/) {
    return false;
  }
  // The password does not open the entry: a different newPassword is tried, the same one gives up.
  virtual void OnBadPassword(int /*fileIndex*/, std::string& /*newPassword*/) {}
  virtual void OnBadCRC(uint32_t /*calcCrc*/, uint32_t /*storedCrc*/, int /*fileIndex*/) {}
  // A member that is not written: its method is not supported (UnknownMethod), its local header is
  // missing or disagrees, or its data is damaged (DataError, TooLarge, BadCRC). The check holds the
  // details DescribeEntryCheck puts in words. By default an unsupported method is shown as the
  // "Unknown Compression Method" message box and any other damage as OnBadCRC.
  virtual void OnDamagedMember(int fileIndex, const EntryCheck& check) {
    if (check.result == EntryResult::UnknownMethod)
      OnMessageBox(kCaptionZipError, kMsgUnknownMethod, MessageButtons::Ok);
    else
      OnBadCRC(check.calcCrc, check.storedCrc, fileIndex);
  }
  // The end of every extraction that started, also one ended by an exception.
  virtual void OnUnZipComplete(int /*fileCount*/) {}
};

// OnUpdate: a member is about to be replaced by a newer file (Replacing), or kept as it is (Keeping).
enum class UpdateAction { Replacing = 0, Keeping = 1 };

// The events of writing an archive.
class WriteObserver : public ArchiveObserver {
 public:
  // Before the files are added (stopNow cancels with "User canceled Zip operation"); the end record
  // may be changed (its comment).
  virtual void OnStartZipInfo(int /*numFiles*/, int64_t /*totalBytes*/, EndOfCentralDir& /*endCentral*/,
                              bool& /*stopNow*/) {}
  // A file is about to be added under header; skip leaves it out.
  virtual void OnStartZip(const std::string& /*fileName*/, ZipEntry& /*header*/, bool& /*skip*/) {}
  virtual void OnEndZip(const std::string& /*fileName*/, int64_t /*uncompressedSize*/,
                        int64_t /*compressedSize*/, int64_t /*currentZipSize*/) {}
  // A named file, or the folder of a wildcard entry (with a trailing separator), does not exist.
  virtual void OnNoSuchFile(const std::string& /*fileName*/) {}
  // Something a wildcard walk met could not be read, with the system's reason: a folder (trailing
  // separator) that could not be opened or listed, an entry whose status could not be read. What it
  // holds is missing.
  virtual void OnUnreadableEntry(const std::string& /*path*/, const std::string& /*reason*/) {}
  // A pipe, socket or device a wildcard walk met: it has no content to store and is left out.
  virtual void OnSpecialFile(const std::string& /*path*/) {}
  // A link to a folder a wildcard walk met while links are followed: it is not followed (it could
  // loop or leave the tree), so what it points at is left out.
  virtual void OnFolderLinkPassed(const std::string& /*path*/) {}
  // A file kept changing while it was read, also when read again: the member holds its last read.
  virtual void OnFileChanged(const std::string& /*fileName*/) {}
  virtual void OnRecursingFile(const std::string& /*fileName*/) {}
  // The end of a write that succeeded, with the number of members added.
  virtual void OnZipComplete(int /*fileCount*/) {}
  virtual void OnUpdate(UpdateAction /*action*/, int /*fileIndex*/) {}
};

}  // namespace brisko::zip
