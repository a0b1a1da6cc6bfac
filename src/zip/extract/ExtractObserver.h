// The events of an extraction and the host's answers to its questions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "zip/extract/EntryCheck.h"
#include "zip/read/ArchiveObserver.h"

namespace brisko::zip {

// What becomes of a file that is already where an entry is extracted.
enum class ExistingFile { Keep, Replace };

class ExtractObserver : public ArchiveObserver {
 public:
  virtual JobStart OnStartUnZipInfo(int /*numFiles*/, int64_t /*totalBytes*/) { return JobStart::Go; }
  // Where the entry goes: the target given (the default), another path, or nothing to skip it.
  virtual std::optional<std::string> OnStartUnZip(int /*fileIndex*/, const std::string& target) {
    return target;
  }
  virtual void OnEndUnZip(int /*fileIndex*/, const std::string& /*fileName*/) {}
  // An existing file under the overwrite rule Prompt; kept by default.
  virtual ExistingFile OnPromptForOverwrite(int /*fileIndex*/, const std::string& /*fileName*/) {
    return ExistingFile::Keep;
  }
  // The password does not open the entry: another password to try, or nothing (the default) to give
  // up on it. The same password again gives up too.
  virtual std::optional<std::string> OnBadPassword(int /*fileIndex*/) { return std::nullopt; }
  virtual void OnBadCRC(uint32_t /*calcCrc*/, uint32_t /*storedCrc*/, int /*fileIndex*/) {}
  // A member that is not written because its local header is missing or disagrees, or its data is
  // damaged (DataError, TooLarge, BadCRC, Altered). The check holds the details DescribeEntryCheck puts
  // in words. By default it is reported as OnBadCRC.
  virtual void OnDamagedMember(int fileIndex, const EntryCheck& check) {
    OnBadCRC(check.calcCrc, check.storedCrc, fileIndex);
  }
  // The end of every extraction that started, also one ended by an exception.
  virtual void OnUnZipComplete(int /*fileCount*/) {}
};

}  // namespace brisko::zip
