// What a backup or restore run tells whoever started it. Every method may be called on the run's
// thread; the defaults let the run go on unwatched.
#pragma once

#include <string>

#include "core/UserInteraction.h"

namespace brisko::core {

// How long a run's result stays on screen, in seconds.
inline constexpr int kRunResultSeconds = 4;

class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // A failure or refusal of the run, naming what failed; the user must see it.
  virtual void OnError(const std::string& text) {}
  // How a run that got under way ended (also "stopped" or "interrupted"), shown for a while.
  virtual void OnResult(MessageKind kind, const std::string& text) {}
  // An entry was added to log.txt.
  virtual void OnLogged() {}
  // The run is writing (true) and no longer (false); progress runs in between.
  virtual void OnWriting(bool writing) {}
  virtual void OnProgress(int percent) {}
  // Asked while files are written and checked; true ends the run as "Interrupt".
  virtual bool StopRequested() { return false; }
};

}  // namespace brisko::core
