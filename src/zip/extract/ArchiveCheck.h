// Reads a whole archive back from disk and checks every member: decoded completely, CRC-32 and, for
// AES members, the authentication code. The same check serves freshly written backups and any
// archive a user wants tested.
#pragma once

#include <string>
#include <vector>

#include "zip/extract/EntryCheck.h"
#include "zip/format/ZipRecords.h"
#include "zip/read/ArchiveObserver.h"

namespace brisko::zip {

struct ArchiveCheck {
  struct Problem {
    std::string member;  // stored name
    std::string reason;
  };
  int members = 0;            // members checked
  std::string archiveError;   // the archive itself could not be read to the end
  std::string directoryNote;  // the directory disagrees with its stated member count
  std::vector<Problem> problems;

  bool Ok() const { return archiveError.empty() && directoryNote.empty() && problems.empty(); }
  // One line for messages and the log: the archive error, the first failing member and why, or the
  // directory's disagreement.
  std::string Summary() const;
};

// What went wrong with one member, in words ("password not accepted", "bad CRC ...").
std::string DescribeEntryCheck(const EntryCheck& check);
// Why a member that decoded to other bytes than it should is refused: the authentication code of an
// AES member, the CRC-32 of any other.
std::string DescribeBadData(const ZipEntry& entry, uint32_t calcCrc);

// Checks every member of the archive at path with the password (empty = none). The observer hears the
// share of the members done (OnTotalPercentDone) and is asked for a cancel after every block read;
// CanceledError passes on, every other engine error ends the check with archiveError.
ArchiveCheck CheckArchive(const std::string& path, const std::string& password,
                          ArchiveObserver* observer = nullptr);

}  // namespace brisko::zip
