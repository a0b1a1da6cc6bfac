// Prepares the file members of a Zip ahead of the thread that writes the archive. Worker threads read
// each file whole and deflate it, never more than a bounded amount of data ahead of the writer; the
// writer takes the results in the files' order and emits headers and data itself, so the archive is
// the same for any number of threads.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "zip/threads/AheadSlots.h"
#include "zip/threads/WorkerThreads.h"
#include "zip/write/PreparedMember.h"

namespace brisko::zip {

class MemberPipeline {
 public:
  struct Job {
    std::string path;    // empty: nothing to prepare (folders)
    bool store = false;  // kept stored, not deflated
    bool links = false;  // symbolic links are stored as links: one is never read ahead
    // The file as the walk saw it: only that file is read.
    std::optional<platform::FileIdentity> listed = std::nullopt;
  };
  // Called with a file's path before each time it is opened to be read (tests change the file there).
  using BeforeRead = std::function<void(const std::string& path)>;
  // A file changing while it is read is read again, this many reads at most.
  static constexpr int kReads = 3;

  // Files read whole and deflated but not yet taken hold at most this many bytes (file and deflated
  // form together); only the member the writer waits for may go beyond it.
  static constexpr uint64_t kAheadBytes = 40u << 20;
  static constexpr size_t kAheadJobs = 64;

  // threads <= 1 starts no worker: the writer prepares each member when it takes it.
  // Files up to wholeLimit bytes are prepared; larger ones are left to the writer. Members are sealed
  // with AES when the seal is on.
  MemberPipeline(std::vector<Job> jobs, int level, int threads, uint64_t wholeLimit = kWholeMemberLimit,
                 AesSeal seal = {}, BeforeRead beforeRead = {});
  // Stops the workers, waiting only for the member each is busy with.
  ~MemberPipeline();
  MemberPipeline(const MemberPipeline&) = delete;
  MemberPipeline& operator=(const MemberPipeline&) = delete;

  // The prepared data of job `index`, waiting for it when a worker is busy with it and preparing it on
  // the calling thread when none has started it. Null when the job has no path or its file could not
  // be read whole (grew past the limit, read error, no longer the file listed): the writer then
  // streams it itself, or reports it. A file that changed while read is read again (kReads in all);
  // one that changed every time is marked changed and holds the last read. Indexes must
  // increase from call to call; jobs passed over are dropped.
  std::unique_ptr<PreparedMember> Take(size_t index);

  // The number of workers for a thread setting: 0 means one per core.
  static int WorkerCount(int threads);

 private:
  using Slots = AheadSlots<PreparedMember>;

  static constexpr uint64_t kNotWhole = ~uint64_t{0};
  void Work();
  // The size of a regular file that is read whole, or kNotWhole; `before` gets its state now.
  uint64_t WholeSize(const Job& job, platform::FileIdentity& before) const;
  std::unique_ptr<PreparedMember> Prepare(const Job& job, platform::FileIdentity before,
                                          BufferDeflater* deflater) const;
  // After jobs were taken or dropped: wakes the workers waiting for room.
  void Freed();

  std::vector<Job> jobs_;
  int level_;
  uint64_t wholeLimit_;
  const AesSeal seal_;
  const BeforeRead beforeRead_;
  Slots slots_;
  size_t nextStart_ = 0;  // next job a worker looks at
  std::unique_ptr<BufferDeflater> writerDeflater_;
  WorkerThreads threads_;  // last: its threads stop before the state they use goes
};

}  // namespace brisko::zip
