// The worker thread of a threaded search; its events run on the owner's thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "find/FindTypes.h"
#include "find/SearchState.h"

namespace brisko::find {

class SearchThread {
 public:
  struct Handlers {
    std::function<bool(const std::string& folder)> newFolder;  // true = ignore the folder
    std::function<void(const std::string& folder, FoundFile& info)> found;
    std::function<void()> terminated;  // posted to the owner once the search has ended
  };

  // Starts at once. Each newFolder/found call is posted through `post` and the worker waits
  // until the owner has run it (or until it is asked to terminate).
  SearchThread(SearchState state, std::atomic<bool>& aborted, OwnerPoster post, Handlers handlers);
  // Asks the worker to stop and waits for it.
  ~SearchThread();

  SearchThread(const SearchThread&) = delete;
  SearchThread& operator=(const SearchThread&) = delete;

  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // Waits until the worker has ended.
  void WaitFor();

 private:
  void Execute();
  // Runs fn on the owner's thread and waits for it; throws when terminated meanwhile.
  void Synchronize(std::function<void()> fn);

  SearchState state_;
  std::atomic<bool>& aborted_;
  OwnerPoster post_;
  Handlers handlers_;
  std::atomic<bool> terminated_{false};
  std::thread thread_;
};

}  // namespace brisko::find
