// A point in long work where the host may stop it.
#pragma once

namespace brisko::zip {

class CancelCheck {
 public:
  virtual ~CancelCheck() = default;
  // Throws CanceledError when the host asked to stop.
  virtual void CheckCancel() = 0;
};

}  // namespace brisko::zip
