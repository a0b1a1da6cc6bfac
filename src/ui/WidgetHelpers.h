// Small conversions and naming helpers shared by the windows.
#pragma once

#include <QString>
#include <string>

namespace brisko::ui {

// The core keeps UTF-8 std::string; the widgets want QString.
inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// Gives a widget the object name tests and styles find it by, and returns it for chaining.
template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace brisko::ui
