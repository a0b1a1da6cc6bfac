// The hand-over between the workers of a pipeline and the one thread that consumes their results in
// order: a slot per item, and the budget of what workers have started and the consumer has not taken
// yet (items and bytes). Every call expects the pipeline's lock to be held.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace brisko::zip {

template <typename Result>
class AheadSlots {
 public:
  enum class State { Waiting, Busy, Ready, Taken };

  explicit AheadSlots(size_t count) : slots_(count) {}

  size_t Count() const { return slots_.size(); }
  State StateOf(size_t index) const { return slots_[index].state; }
  // Items before this one are taken or passed over.
  size_t NextTake() const { return nextTake_; }
  uint64_t Bytes() const { return bytes_; }
  size_t Items() const { return items_; }

  // A worker starts item `index`; it counts against the budget until the consumer takes or drops it.
  void Start(size_t index, uint64_t cost) {
    slots_[index].state = State::Busy;
    ++items_;
    Charge(index, cost);
  }
  // Adds bytes to what item `index` holds.
  void Charge(size_t index, uint64_t cost) {
    slots_[index].cost += cost;
    bytes_ += cost;
  }
  // Whether the consumer passed item `index` over while a worker was busy with it.
  bool Dropped(size_t index) const { return slots_[index].dropped; }

  // The worker's result for item `index`: ready for the consumer, or freed at once when the consumer
  // passed the item over meanwhile. Wakes the consumer; true when the result was freed.
  bool Finish(size_t index, std::unique_ptr<Result> result) {
    Slot& slot = slots_[index];
    slot.result = std::move(result);
    slot.state = State::Ready;
    if (slot.dropped) Release(slot);
    resultReady_.notify_all();
    return slot.dropped;
  }

  // The consumer moves on to item `index`: those before it it did not take are freed (ready ones now,
  // busy ones when their worker finishes) or never started. True when a result was freed.
  bool PassOver(size_t index) {
    bool freed = false;
    for (size_t i = nextTake_; i < index && i < slots_.size(); ++i) {
      Slot& passed = slots_[i];
      if (passed.state == State::Ready) {
        Release(passed);
        freed = true;
      } else if (passed.state == State::Busy) {
        passed.dropped = true;
      } else if (passed.state == State::Waiting) {
        passed.state = State::Taken;
      }
    }
    nextTake_ = std::max(nextTake_, index + 1);
    return freed;
  }

  // Item `index` that no worker has started is the consumer's to do: true, and no worker starts it.
  bool Claim(size_t index) {
    if (slots_[index].state != State::Waiting) return false;
    slots_[index].state = State::Taken;
    return true;
  }
  // The result of a ready item, freeing its slot; null for any other state.
  std::unique_ptr<Result> TakeReady(size_t index) {
    Slot& slot = slots_[index];
    if (slot.state != State::Ready) return nullptr;
    auto result = std::move(slot.result);
    Release(slot);
    return result;
  }

  // Signalled when a worker has finished an item.
  std::condition_variable& ResultReady() { return resultReady_; }

 private:
  struct Slot {
    State state = State::Waiting;
    uint64_t cost = 0;
    bool dropped = false;
    std::unique_ptr<Result> result;
  };

  void Release(Slot& slot) {
    slot.result.reset();
    slot.state = State::Taken;
    bytes_ -= slot.cost;
    --items_;
  }

  std::vector<Slot> slots_;
  std::condition_variable resultReady_;
  size_t nextTake_ = 0;
  uint64_t bytes_ = 0;
  size_t items_ = 0;
};

}  // namespace brisko::zip
