// The archive engine's exception classes; each carries only a message.
#pragma once

#include <stdexcept>
#include <string>

namespace brisko::zip {

// Common base of every exception the archive engine raises on purpose.
class ZipError : public std::runtime_error {
 public:
  explicit ZipError(const std::string& message) : std::runtime_error(message) {}
};

#define BRISKO_ZIP_EXCEPTION(Name)                                   \
  class Name : public ZipError {                                     \
   public:                                                           \
    explicit Name(const std::string& message) : ZipError(message) {} \
  }

// The archive is damaged beyond what the reader can repair ("Not a valid zip file!").
BRISKO_ZIP_EXCEPTION(BadArchiveError);
// No end record: assumed to be one part of a multi-disk set ("Incomplete Zip File").
BRISKO_ZIP_EXCEPTION(IncompleteArchiveError);
// No end record and the host said it is not an archive ("Not a valid zip file!").
BRISKO_ZIP_EXCEPTION(NotAnArchiveError);
// Extraction cannot go on, e.g. "Premature end of file reached".
BRISKO_ZIP_EXCEPTION(FatalExtractError);
// The user or a host handler cancelled ("User Aborted Operation" and others).
BRISKO_ZIP_EXCEPTION(CanceledError);
// A member decodes to more bytes than its recorded size ("File is larger than uncompressed size!").
BRISKO_ZIP_EXCEPTION(OversizeMemberError);
// The archive cannot be written completely ("Not enough room to write archive").
BRISKO_ZIP_EXCEPTION(NotEnoughRoomError);
// An extracted file cannot be written ("Cant write uncompressed file").
BRISKO_ZIP_EXCEPTION(ExtractWriteError);
// An index outside a list ("Index %d is out of range") or a rejected duplicate.
BRISKO_ZIP_EXCEPTION(ListIndexError);
// A value the archive format cannot hold (e.g. a file that reached 4 GiB without room for 64-bit
// sizes in its local header); the message names it.
BRISKO_ZIP_EXCEPTION(ZipTooLargeError);

#undef BRISKO_ZIP_EXCEPTION

// Message texts shared by the reader, the extractor and the writer.
inline constexpr const char* kMsgNotValidZip = "Not a valid zip file!";
inline constexpr const char* kMsgIncompleteZip = "Incomplete Zip File";
inline constexpr const char* kMsgUserAborted = "User Aborted Operation";
inline constexpr const char* kMsgCancelNewDisk = "User canceled loading new disk.";
inline constexpr const char* kMsgCancelZip = "User canceled Zip operation";
inline constexpr const char* kMsgUnknownMethod = "Unknown Compression Method";
inline constexpr const char* kMsgNoLocalHeader = "no local header where the directory points";
inline constexpr const char* kMsgPrematureEnd = "Premature end of file reached";
inline constexpr const char* kMsgBiggerThanUncompressed = "File is larger than uncompressed size!";
inline constexpr const char* kMsgCantWriteUCF = "Cant write uncompressed file";
inline constexpr const char* kMsgNotEnoughRoom = "Not enough room to write archive";

}  // namespace brisko::zip
