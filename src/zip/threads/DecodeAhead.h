// Decodes the small members of an extraction or a check ahead of the thread that uses them. Worker
// threads read each member through a handle on the archive of their own, decrypt, inflate and check it
// (size, CRC-32, authentication code), never more than a bounded amount ahead. The caller takes the
// results in its own order and does everything that has visible effects itself (events, questions,
// files), so those happen exactly as they would without the workers: while it creates and writes one
// file, the workers decode the next ones.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "zip/format/ZipRecords.h"
#include "zip/io/CancelCheck.h"
#include "zip/io/ZipStream.h"
#include "zip/threads/AheadSlots.h"
#include "zip/threads/WorkerThreads.h"

namespace brisko::zip {

class ArchiveDirectory;

class DecodeAhead {
 public:
  struct Decoded {
    std::string password;       // the password it was decoded with (encrypted members)
    std::vector<uint8_t> data;  // the decoded bytes; empty when the data are not kept
    uint32_t crc = 0;
  };

  // Decoded members not yet taken hold at most this many bytes (stored and decoded form together).
  static constexpr uint64_t kAheadBytes = 32u << 20;
  static constexpr size_t kAheadMembers = 64;

  // members[i] is decoded when it is set and Suits it. One worker per stream; each reads only through
  // its own. keepData: the decoded bytes are handed over (extraction), or only checked (a test).
  DecodeAhead(std::vector<std::optional<ZipEntry>> members, std::vector<std::unique_ptr<ZipStream>> streams,
              std::string password, bool keepData);
  // Workers that decode the small members of the archive's sorted view from `first` on with the
  // password ahead of a loop over the entries in order: every member, only checked (chosen null), or
  // those chosen (by index), keeping their data. Null when none would pay.
  static std::unique_ptr<DecodeAhead> Start(ArchiveDirectory& archive, const std::string& password, int first,
                                            const std::vector<bool>* chosen = nullptr);
  // Stops the workers, waiting only for the member each is busy with.
  ~DecodeAhead();
  DecodeAhead(const DecodeAhead&) = delete;
  DecodeAhead& operator=(const DecodeAhead&) = delete;

  // Member `index`, decoded and found sound; while a worker is still busy with it, the host may cancel
  // every few milliseconds (when cancel is given). Null when it was not decoded ahead (not
  // suitable, taken before, no worker got to it yet, or any check failed): the caller then decodes it
  // itself and reports whatever is wrong as it always does. Members before `index` not taken yet are
  // dropped.
  std::unique_ptr<Decoded> Take(size_t index, CancelCheck* cancel);
  // The password the workers decode with.
  const std::string& Password() const { return password_; }

  // Whether a member can be decoded ahead: a file, stored or deflated (under AES or not), whose sizes
  // both fit a whole-member buffer.
  static bool Suits(const ZipEntry& entry);
  // The number of workers worth starting on this machine.
  static int WorkerCount();

 private:
  using Slots = AheadSlots<Decoded>;

  void Work(ZipStream& archive);
  // Whether a worker may start the member at nextStart_ now (moving nextStart_ to one there is).
  bool CanStart();
  // After members were freed: wakes the workers when the budget has room again.
  void Freed();

  std::vector<std::optional<ZipEntry>> members_;
  const std::string password_;
  const bool keepData_;
  Slots slots_;
  size_t nextStart_ = 0;  // next member a worker looks at
  std::vector<std::unique_ptr<ZipStream>> streams_;
  WorkerThreads threads_;  // last: its threads stop before the state they use goes
};

}  // namespace brisko::zip
