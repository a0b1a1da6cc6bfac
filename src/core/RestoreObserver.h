// What a restore run tells, and asks, whoever started it.
#pragma once

#include <string>

#include "core/RunObserver.h"
#include "core/UserInteraction.h"

namespace brisko::core {

class RestoreObserver : public RunObserver {
 public:
  // A file to restore exists and the overwrite rule says to ask. Unasked: No.
  virtual OverwriteAnswer AskOverwrite(const std::string& text) { return OverwriteAnswer::No; }
};

}  // namespace brisko::core
