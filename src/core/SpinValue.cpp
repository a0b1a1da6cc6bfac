// Number fields reading typed text.
#include "core/SpinValue.h"

#include "core/IniDocument.h"
#include "core/TextUtil.h"

namespace brisko::core {

int SpinFromText(std::string_view text, int lo, int hi) {
  auto value = ParseIniInteger(TrimBlanks(text));
  return value ? ClampSpin(*value, lo, hi) : lo;
}

}  // namespace brisko::core
