// Test double for UserInteraction: answers come from queues, every call is recorded.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/UserInteraction.h"

namespace brisko::core::test {

class ScriptedInteraction : public UserInteraction {
 public:
  struct Call {
    std::string what;  // "Confirm", "ShowMessage", "ShowTimedMessage", "PickFolder", "PickFiles",
                       // "AskName", "RunAddProjectWizard", "AskOverwrite", "Notify" (caption: title)
    MessageKind kind = MessageKind::Information;
    std::string caption;
    std::string text;
    int seconds = 0;
  };

  // Answers, taken from the front; when a queue is empty the default below is used.
  std::deque<bool> confirmAnswers;
  std::deque<std::optional<std::string>> folderAnswers;
  std::deque<std::vector<std::string>> filesAnswers;
  std::deque<std::optional<std::string>> nameAnswers;
  std::deque<bool> wizardAnswers;
  std::deque<bool> overwriteAnswers;
  // Answers of the restore's overwrite question; when empty, overwriteAnswers answer Yes or No.
  std::deque<OverwriteAnswer> restoreOverwriteAnswers;
  bool defaultConfirm = true;
  bool defaultOverwrite = false;

  // Runs inside RunAddProjectWizard before its answer is returned (e.g. to write a project).
  std::function<void()> onWizard;

  std::vector<Call> calls;

  bool Confirm(MessageKind kind, const std::string& text) override {
    calls.push_back({"Confirm", kind, KindCaption(kind), text, 0});
    return Take(confirmAnswers, defaultConfirm);
  }
  void ShowMessage(MessageKind kind, const std::string& text) override {
    calls.push_back({"ShowMessage", kind, KindCaption(kind), text, 0});
  }
  void ShowTimedMessage(MessageKind kind, const std::string& caption, const std::string& text,
                        int seconds) override {
    calls.push_back({"ShowTimedMessage", kind, caption.empty() ? KindCaption(kind) : caption, text, seconds});
  }
  std::optional<std::string> PickFolder(const std::string& caption, const std::string& startFolder) override {
    calls.push_back({"PickFolder", MessageKind::Custom, caption, startFolder, 0});
    return Take(folderAnswers, std::optional<std::string>());
  }
  std::vector<std::string> PickFiles(const std::string& caption, const std::string& startFolder) override {
    calls.push_back({"PickFiles", MessageKind::Custom, caption, startFolder, 0});
    return Take(filesAnswers, std::vector<std::string>());
  }
  std::optional<std::string> AskName(const std::string& caption, const std::string& initial) override {
    calls.push_back({"AskName", MessageKind::Custom, caption, initial, 0});
    return Take(nameAnswers, std::optional<std::string>());
  }
  void NotifyUnattended(const Notice& notice) override {
    calls.push_back({"Notify",
                     notice.kind == NoticeKind::Failure ? MessageKind::Error : MessageKind::Information,
                     notice.title, notice.body, 0});
  }
  bool RunAddProjectWizard() override {
    calls.push_back({"RunAddProjectWizard", MessageKind::Custom, "", "", 0});
    if (onWizard) onWizard();
    return Take(wizardAnswers, false);
  }
  bool AskOverwrite(const std::string& caption, const std::string& text) override {
    calls.push_back({"AskOverwrite", MessageKind::Warning, caption, text, 0});
    return Take(overwriteAnswers, defaultOverwrite);
  }
  OverwriteAnswer AskOverwriteDuringRestore(const std::string& caption, const std::string& text) override {
    if (restoreOverwriteAnswers.empty()) return UserInteraction::AskOverwriteDuringRestore(caption, text);
    calls.push_back({"AskOverwrite", MessageKind::Warning, caption, text, 0});
    return Take(restoreOverwriteAnswers, OverwriteAnswer::No);
  }

  // The recorded calls of one kind, in order.
  std::vector<Call> CallsOf(const std::string& what) const {
    std::vector<Call> out;
    for (const Call& c : calls)
      if (c.what == what) out.push_back(c);
    return out;
  }

 private:
  template <class T>
  static T Take(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
  }
};

}  // namespace brisko::core::test
