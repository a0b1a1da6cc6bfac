// Worker thread of the file finder.
#include "find/SearchThread.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>

#include "find/FolderSearch.h"

namespace brisko::find {

namespace {

// One event handed to the owner's thread, shared by the worker and the posted task.
struct SyncCall {
  std::mutex mutex;
  std::condition_variable cv;
  bool running = false;
  bool done = false;
  bool abandoned = false;  // the worker stopped waiting; the task must not run any more
  std::exception_ptr error;
  std::function<void()> fn;
};

struct TerminatedSignal {};

}  // namespace

SearchThread::SearchThread(SearchState state, std::atomic<bool>& aborted, OwnerPoster post, Handlers handlers)
    : state_(std::move(state)), aborted_(aborted), post_(std::move(post)), handlers_(std::move(handlers)) {
  thread_ = std::thread([this] { Execute(); });
}

SearchThread::~SearchThread() {
  Terminate();
  WaitFor();
}

void SearchThread::WaitFor() {
  if (thread_.joinable()) thread_.join();
}

void SearchThread::Synchronize(std::function<void()> fn) {
  auto call = std::make_shared<SyncCall>();
  call->fn = std::move(fn);
  post_([call] {
    {
      std::lock_guard<std::mutex> lock(call->mutex);
      if (call->abandoned) return;
      call->running = true;
    }
    try {
      call->fn();
    } catch (...) {
      call->error = std::current_exception();
    }
    {
      std::lock_guard<std::mutex> lock(call->mutex);
      call->running = false;
      call->done = true;
    }
    call->cv.notify_all();
  });
  std::unique_lock<std::mutex> lock(call->mutex);
  while (!call->done) {
    // The owner may never pump again (it is being destroyed): give up once asked to stop.
    if (terminated_ && !call->running) {
      call->abandoned = true;
      throw TerminatedSignal{};
    }
    call->cv.wait_for(lock, std::chrono::milliseconds(10));
  }
  if (call->error) std::rethrow_exception(call->error);
}

void SearchThread::Execute() {
  FolderSearch::Callbacks callbacks;
  callbacks.newFolder = [this](const std::string& folder) {
    bool ignore = false;
    if (handlers_.newFolder) Synchronize([this, folder, &ignore] { ignore = handlers_.newFolder(folder); });
    return ignore;
  };
  callbacks.found = [this](const std::string& folder, FoundFile& info) {
    if (handlers_.found)
      Synchronize([this, folder, copy = info]() mutable { handlers_.found(folder, copy); });
  };
  callbacks.stopRequested = [this] { return terminated_.load(); };
  FolderSearch(state_, aborted_, std::move(callbacks)).Run();
  if (!terminated_ && handlers_.terminated) post_(handlers_.terminated);
}

}  // namespace brisko::find
