// A run's reports and questions through the user interface: error boxes, timed messages, questions.
#pragma once

#include <string>

#include "core/RestoreObserver.h"
#include "core/UserInteraction.h"

namespace brisko::core {

// Serves backup runs (as a RunObserver) and restore runs alike.
class InteractionObserver : public RestoreObserver {
 public:
  explicit InteractionObserver(UserInteraction& ui) : ui_(ui) {}
  void OnError(const std::string& text) override { ui_.ShowMessage(MessageKind::Error, text); }
  void OnResult(MessageKind kind, const std::string& text) override {
    ui_.ShowTimedMessage(kind, "", text, kRunResultSeconds);
  }
  OverwriteAnswer AskOverwrite(const std::string& text) override {
    return ui_.AskOverwriteDuringRestore("File Exists Alert", text);
  }

 private:
  UserInteraction& ui_;
};

}  // namespace brisko::core
