// Worker threads of the member pipeline and the hand-over to the writer.
#include "zip/MemberPipeline.h"

#include <algorithm>
#include <thread>

#include "platform/Platform.h"
#include "zip/FileStream.h"

namespace brisko::zip {

MemberPipeline::MemberPipeline(std::vector<Job> jobs, int level, int threads, uint64_t wholeLimit, AesSeal seal)
    : jobs_(std::move(jobs)), level_(level), wholeLimit_(wholeLimit), seal_(std::move(seal)), slots_(jobs_.size()) {
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

uint64_t MemberPipeline::WholeSize(const Job& job) const {
  // Only regular files: opening a pipe or a device named in the list could block for ever.
  constexpr uint32_t kTypeMask = 0170000, kRegular = 0100000;
  const platform::FileStat st = platform::StatFile(job.path, job.links);
  if (!st.exists || st.isDirectory || st.isSymlink || (st.posixMode != 0 && (st.posixMode & kTypeMask) != kRegular) ||
      st.size > wholeLimit_)
    return kNotWhole;
  return st.size;
}

std::unique_ptr<PreparedMember> MemberPipeline::Prepare(const Job& job, BufferDeflater* deflater) const {
  FileStream in;
  if (!in.Open(job.path, FileMode::OpenRead)) return nullptr;
  auto member = std::make_unique<PreparedMember>();
  int error = 0;
  if (!ReadWhole(in, wholeLimit_, member->raw, error)) return nullptr;
  PrepareMember(*member, job.store ? nullptr : deflater, seal_);
  return member;
}

void MemberPipeline::Release(Slot& slot) {
  slot.result.reset();
  slot.state = State::Taken;
  aheadBytes_ -= slot.cost;
  --aheadJobs_;
  threads_.WorkReady().notify_all();
}

void MemberPipeline::Work() {
  std::unique_ptr<BufferDeflater> deflater;
  std::unique_lock<std::mutex> lock(threads_.Mutex());
  for (;;) {
    threads_.WorkReady().wait(lock, [this] {
      if (threads_.Stopping()) return true;
      nextStart_ = std::max(nextStart_, nextTake_);
      while (nextStart_ < jobs_.size() &&
             (jobs_[nextStart_].path.empty() || slots_[nextStart_].state != State::Waiting))
        ++nextStart_;
      return nextStart_ < jobs_.size() && aheadJobs_ < kAheadJobs && aheadBytes_ < kAheadBytes;
    });
    if (threads_.Stopping()) return;
    const size_t index = nextStart_++;
    Slot& slot = slots_[index];
    slot.state = State::Busy;
    ++aheadJobs_;
    lock.unlock();
    const uint64_t size = WholeSize(jobs_[index]);
    // The file and its deflated form are in memory together.
    const uint64_t cost = size == kNotWhole ? 0 : 2 * size;
    lock.lock();
    // Within the budget, or the member the writer waits for (which alone may exceed it).
    threads_.WorkReady().wait(
        lock, [&] { return threads_.Stopping() || index < nextTake_ || aheadBytes_ + cost <= kAheadBytes; });
    if (threads_.Stopping()) return;
    slot.cost = cost;
    aheadBytes_ += cost;
    const bool wanted = !slot.dropped && size != kNotWhole;
    lock.unlock();
    std::unique_ptr<PreparedMember> result;
    try {
      if (!deflater && level_ > 0) deflater = std::make_unique<BufferDeflater>(level_);
      if (wanted) result = Prepare(jobs_[index], deflater.get());
    } catch (...) {
      // Out of memory and the like: the writer streams this member itself.
      result.reset();
    }
    lock.lock();
    slot.result = std::move(result);
    slot.state = State::Ready;
    if (slot.dropped) Release(slot);
    resultReady_.notify_all();
  }
}

std::unique_ptr<PreparedMember> MemberPipeline::Take(size_t index) {
  std::unique_lock<std::mutex> lock(threads_.Mutex());
  for (size_t i = nextTake_; i < index && i < slots_.size(); ++i) {
    // Passed over (skipped by the writer): ready results are freed now, busy ones when done.
    if (slots_[i].state == State::Ready)
      Release(slots_[i]);
    else if (slots_[i].state == State::Busy)
      slots_[i].dropped = true;
    else if (slots_[i].state == State::Waiting)
      slots_[i].state = State::Taken;
  }
  nextTake_ = std::max(nextTake_, index + 1);
  threads_.WorkReady().notify_all();
  if (index >= jobs_.size() || jobs_[index].path.empty()) return nullptr;
  Slot& slot = slots_[index];
  if (slot.state == State::Waiting) {
    // No worker has started it: the writer does the work rather than wait.
    slot.state = State::Taken;
    lock.unlock();
    if (WholeSize(jobs_[index]) == kNotWhole) return nullptr;
    if (!writerDeflater_ && level_ > 0) writerDeflater_ = std::make_unique<BufferDeflater>(level_);
    return Prepare(jobs_[index], writerDeflater_.get());
  }
  resultReady_.wait(lock, [&slot] { return slot.state != State::Busy; });
  if (slot.state != State::Ready) return nullptr;
  auto result = std::move(slot.result);
  Release(slot);
  return result;
}

}  // namespace brisko::zip
