// The application's error display: an error that no command handled, shown with its message.
#pragma once

#include <exception>
#include <functional>

class QWidget;

namespace brisko::ui {

// Runs an action; an exception it throws is shown as an error box and swallowed. True when it
// finished without one.
bool RunReportingErrors(QWidget* parent, const std::function<void()>& action);

}  // namespace brisko::ui
