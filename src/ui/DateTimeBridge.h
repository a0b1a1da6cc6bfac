// Converts the core's day-count date-times to and from Qt's date and time types.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "core/DateTimeValue.h"

namespace brisko::ui {

inline QDate ToQDate(core::DateTime value) {
  const std::chrono::year_month_day d = core::DecodeDate(value);
  return QDate(static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
               static_cast<int>(static_cast<unsigned>(d.day())));
}

inline QTime ToQTime(core::DateTime value) {
  const core::TimeOfDay t = core::DecodeTime(value);
  return QTime(static_cast<int>(t.hours().count()), static_cast<int>(t.minutes().count()),
               static_cast<int>(t.seconds().count()));
}

// Midnight of the date; 0 (1899-12-30) for an invalid date.
inline core::DateTime FromQDate(const QDate& date) {
  return core::TryEncodeDate(date.year(), date.month(), date.day()).value_or(0.0);
}

inline core::DateTime FromQTime(const QTime& time) {
  return core::TryEncodeTime(time.hour(), time.minute(), time.second()).value_or(0.0);
}

}  // namespace brisko::ui
