// The events of writing an archive and the host's answers to its questions.
#pragma once

#include <cstdint>
#include <string>

#include "zip/format/ZipRecords.h"
#include "zip/read/ArchiveObserver.h"

namespace brisko::zip {

// OnUpdate: a member is about to be replaced by a newer file (Replacing), or kept as it is (Keeping).
enum class UpdateAction { Replacing = 0, Keeping = 1 };

class WriteObserver : public ArchiveObserver {
 public:
  // Before the files are added; Cancel stops with "User canceled Zip operation".
  virtual JobStart OnStartZipInfo(int /*numFiles*/, int64_t /*totalBytes*/) { return JobStart::Go; }
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
