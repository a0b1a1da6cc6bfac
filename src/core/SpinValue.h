// The rules of the program's number fields: values are clamped to the field's bounds.
#pragma once

#include <cstdint>
#include <string_view>

namespace brisko::core {

// Brings a value to the nearest bound of [lo, hi].
inline int ClampSpin(int64_t value, int lo, int hi) {
  if (value < lo) return lo;
  if (value > hi) return hi;
  return static_cast<int>(value);
}

// A number field reading typed text: a text that is not a number reads as the minimum.
int SpinFromText(std::string_view text, int lo, int hi);

// Bounds of the counter fields.
inline constexpr int kNumberMin = 1;
inline constexpr int kNumberMax = 1000;

// The next number after loading: stored Value + Increase Value, clamped to 1..1000.
inline int NextNumberFromStored(int storedValue, int increase) {
  return ClampSpin(static_cast<int64_t>(storedValue) + ClampSpin(increase, kNumberMin, kNumberMax),
                   kNumberMin, kNumberMax);
}
// The Value key written on save: next number - increase.
inline int StoredValueFromNext(int nextNumber, int increase) {
  return nextNumber - increase;
}
// The next number after a run: next number + increase, clamped to 1000.
inline int AdvanceNumber(int nextNumber, int increase) {
  return ClampSpin(static_cast<int64_t>(nextNumber) + increase, kNumberMin, kNumberMax);
}

}  // namespace brisko::core
