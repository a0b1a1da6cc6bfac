// Tells the user about work they did not start by hand (scheduled and catch-up runs): a failure
// must reach them even when the window is hidden, without a box that waits for an answer.
#pragma once

#include <string>

namespace brisko::core {

enum class NoticeKind { Success, Failure };

struct Notice {
  NoticeKind kind = NoticeKind::Failure;
  std::string title;  // names the project
  std::string body;   // what happened, with the reason
};

class Notifier {
 public:
  virtual ~Notifier() = default;
  virtual void Notify(const Notice& notice) = 0;
};

}  // namespace brisko::core
