// What a backup run tells whoever started it. Every method may be called on the run's thread.
#pragma once

#include <string>

#include "core/UserInteraction.h"

namespace brisko::core {

// How long a run's result stays on screen, in seconds.
inline constexpr int kBackupResultSeconds = 4;

class BackupObserver {
 public:
  virtual ~BackupObserver() = default;
  // A failure or refusal of the run, naming the project; the user must see it.
  virtual void OnError(const std::string& text) {}
  // How a run that got under way ended (also "stopped" or "interrupted"), shown for a while.
  virtual void OnResult(MessageKind kind, const std::string& text) {}
  // An entry was added to log.txt.
  virtual void OnLogged() {}
  // The archive is being written (true) and no longer (false); progress runs in between.
  virtual void OnWriting(bool writing) {}
  virtual void OnProgress(int percent) {}
  // Asked while the archive is written and checked; true ends the run as "Interrupt".
  virtual bool StopRequested() { return false; }
};

// Shows errors and results through the user interface: error boxes and timed messages.
class InteractionBackupObserver : public BackupObserver {
 public:
  explicit InteractionBackupObserver(UserInteraction& ui) : ui_(ui) {}
  void OnError(const std::string& text) override { ui_.ShowMessage(MessageKind::Error, text); }
  void OnResult(MessageKind kind, const std::string& text) override {
    ui_.ShowTimedMessage(kind, "", text, kBackupResultSeconds);
  }

 private:
  UserInteraction& ui_;
};

}  // namespace brisko::core
