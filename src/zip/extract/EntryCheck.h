// Outcome of decoding one member without writing a file (testing, in-memory extraction).
#pragma once

#include <cstdint>
#include <string>

namespace brisko::zip {

inline constexpr const char* kMsgPasswordNotAccepted = "password not accepted";
inline constexpr const char* kMsgAltered =
    "authentication code mismatch: the member is damaged or was altered";

enum class EntryResult {
  Ok,             // decoded completely and the CRC-32 matched (also folder entries)
  BadPassword,    // the password check byte did not match
  BadCRC,         // decoded, but the CRC-32 (or the size) differs from the header
  DataError,      // malformed or truncated compressed data, no local header or one that disagrees
  UnknownMethod,  // a compression method this engine does not decode
  TooLarge,       // the recorded size is above the caller's cap, or the data decodes to more
  Altered,        // the password was right, but the authentication code does not match: damaged or altered
};

struct EntryCheck {
  EntryResult result = EntryResult::Ok;
  uint32_t calcCrc = 0;
  uint32_t storedCrc = 0;
  uint64_t size = 0;          // bytes decoded
  uint64_t expectedSize = 0;  // the recorded size
  uint16_t method = 0;        // the compression method of the data
  std::string message;        // detail of a data error
};

}  // namespace brisko::zip
