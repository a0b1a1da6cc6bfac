// Worker threads of the member pipeline and the hand-over to the writer.
#include "zip/threads/MemberPipeline.h"

#include <algorithm>
#include <thread>

#include "platform/Platform.h"
#include "zip/io/FileStream.h"

namespace brisko::zip {

MemberPipeline::MemberPipeline(std::vector<Job> jobs, int level, int threads, uint64_t wholeLimit,
                               AesSeal seal, BeforeRead beforeRead)
    : jobs_(std::move(jobs)),
      level_(level),
      wholeLimit_(wholeLimit),
      seal_(std::move(seal)),
      beforeRead_(std::move(beforeRead)),
      slots_(jobs_.size()) {
  const auto files =
      std::count_if(jobs_.begin(), jobs_.end(), [](const Job& job) { return !job.path.empty(); });
  const int workers = threads <= 1 ? 0 : static_cast<int>(std::min<std::ptrdiff_t>(threads, files));
  threads_.Start(static_cast<size_t>(workers), [this](size_t) { Work(); });
}

MemberPipeline::~MemberPipeline() {
  threads_.Stop();
}

int MemberPipeline::WorkerCount(int threads) {
  constexpr int kMost = 16;  // each worker holds a compressor and a member in memory
  if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(threads, 1, kMost);
}

uint64_t MemberPipeline::WholeSize(const Job& job, platform::FileIdentity& before) const {
  // Only regular files: opening a pipe or a device named in the list could block for ever.
  constexpr uint32_t kTypeMask = 0170000, kRegular = 0100000;
  const platform::FileStat st = platform::StatFile(job.path, job.links);
  if (!st.exists || st.isDirectory || st.isSymlink ||
      (st.posixMode != 0 && (st.posixMode & kTypeMask) != kRegular) || st.size > wholeLimit_)
    return kNotWhole;
  if (job.listed && !st.identity.SameFile(*job.listed)) return kNotWhole;
  before = st.identity;
  return st.size;
}

std::unique_ptr<PreparedMember> MemberPipeline::Prepare(const Job& job, platform::FileIdentity before,
                                                        BufferDeflater* deflater) const {
  auto member = std::make_unique<PreparedMember>();
  for (int read = 1;; ++read) {
    if (beforeRead_) beforeRead_(job.path);
    FileStream in;
    platform::FileIdentity opened, after;
    int error = 0;
    if (!in.OpenSource(job.path, !job.links, opened) || !opened.SameFile(before) ||
        !ReadWhole(in, wholeLimit_, member->raw, error) || !in.Identity(after))
      return nullptr;
    // Size and times as before the read: the bytes are one state of the file, not two halves.
    if (after.SameState(before)) break;
    if (read == kReads) {
      member->changed = true;
      break;
    }
    before = after;
  }
  PrepareMember(*member, job.store ? nullptr : deflater, seal_);
  return member;
}

void MemberPipeline::Freed() {
  threads_.WorkReady().notify_all();
}

void MemberPipeline::Work() {
  std::unique_ptr<BufferDeflater> deflater;
  std::unique_lock<std::mutex> lock(threads_.Mutex());
  for (;;) {
    threads_.WorkReady().wait(lock, [this] {
      if (threads_.Stopping()) return true;
      nextStart_ = std::max(nextStart_, slots_.NextTake());
      while (nextStart_ < jobs_.size() &&
             (jobs_[nextStart_].path.empty() || slots_.StateOf(nextStart_) != Slots::State::Waiting))
        ++nextStart_;
      return nextStart_ < jobs_.size() && slots_.Items() < kAheadJobs && slots_.Bytes() < kAheadBytes;
    });
    if (threads_.Stopping()) return;
    const size_t index = nextStart_++;
    slots_.Start(index, 0);
    lock.unlock();
    platform::FileIdentity before;
    const uint64_t size = WholeSize(jobs_[index], before);
    // The file and its deflated form are in memory together.
    const uint64_t cost = size == kNotWhole ? 0 : 2 * size;
    lock.lock();
    // Within the budget, or the member the writer waits for (which alone may exceed it).
    threads_.WorkReady().wait(lock, [&] {
      return threads_.Stopping() || index < slots_.NextTake() || slots_.Bytes() + cost <= kAheadBytes;
    });
    if (threads_.Stopping()) return;
    slots_.Charge(index, cost);
    const bool wanted = !slots_.Dropped(index) && size != kNotWhole;
    lock.unlock();
    std::unique_ptr<PreparedMember> result;
    try {
      if (!deflater && level_ > 0) deflater = std::make_unique<BufferDeflater>(level_);
      if (wanted) result = Prepare(jobs_[index], before, deflater.get());
    } catch (...) {
      // Out of memory and the like: the writer streams this member itself.
      result.reset();
    }
    lock.lock();
    if (slots_.Finish(index, std::move(result))) Freed();
  }
}

std::unique_ptr<PreparedMember> MemberPipeline::Take(size_t index) {
  std::unique_lock<std::mutex> lock(threads_.Mutex());
  // Jobs passed over (skipped by the writer) are dropped; a worker waiting for room may now go on.
  slots_.PassOver(index);
  Freed();
  if (index >= jobs_.size() || jobs_[index].path.empty()) return nullptr;
  if (slots_.Claim(index)) {
    // No worker has started it: the writer does the work rather than wait.
    lock.unlock();
    platform::FileIdentity before;
    if (WholeSize(jobs_[index], before) == kNotWhole) return nullptr;
    if (!writerDeflater_ && level_ > 0) writerDeflater_ = std::make_unique<BufferDeflater>(level_);
    return Prepare(jobs_[index], before, writerDeflater_.get());
  }
  slots_.ResultReady().wait(lock, [this, index] { return slots_.StateOf(index) != Slots::State::Busy; });
  auto result = slots_.TakeReady(index);
  Freed();
  return result;
}

}  // namespace brisko::zip
