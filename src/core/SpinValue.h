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

// Bounds of the increase field; the counter itself goes on far beyond them, so that a project
// never comes back to a name it has already written.
inline constexpr int kNumberMin = 1;
inline constexpr int kNumberMax = 1000;
inline constexpr int kCounterMax = 999999999;

// Bounds of the keep count ("Store Number").
inline constexpr int kKeepMin = 1;
inline constexpr int kKeepMax = 50000;

// The next number after loading: stored Value + Increase Value, clamped to 1..kCounterMax.
inline int NextNumberFromStored(int storedValue, int increase) {
  return ClampSpin(static_cast<int64_t>(storedValue) + ClampSpin(increase, kNumberMin, kNumberMax),
                   kNumberMin, kCounterMax);
}
// The Value key written on save: next number - increase.
inline int StoredValueFromNext(int nextNumber, int increase) {
  return nextNumber - increase;
}
// The next number after a run: next number + increase, clamped to kCounterMax.
inline int AdvanceNumber(int nextNumber, int increase) {
  return ClampSpin(static_cast<int64_t>(nextNumber) + increase, kNumberMin, kCounterMax);
}

}  // namespace brisko::core
