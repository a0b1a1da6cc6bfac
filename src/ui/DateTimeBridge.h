// Converts the core's day-count date-times to and from Qt's date and time types.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "core/DateTimeValue.h"

namespace brisko::ui {

inline QDate ToQDate(core::DateTime value) {
  const core::DateParts d = core::DecodeDate(value);
  return QDate(d.year, d.month, d.day);
}

inline QTime ToQTime(core::DateTime value) {
  const core::TimeParts t = core::DecodeTime(value);
  return QTime(t.hour, t.minute, t.second);
}

// Midnight of the date; 0 (1899-12-30) for an invalid date.
inline core::DateTime FromQDate(const QDate& date) {
  return core::TryEncodeDate(date.year(), date.month(), date.day()).value_or(0.0);
}

inline core::DateTime FromQTime(const QTime& time) {
  return core::TryEncodeTime(time.hour(), time.minute(), time.second()).value_or(0.0);
}

}  // namespace brisko::ui
