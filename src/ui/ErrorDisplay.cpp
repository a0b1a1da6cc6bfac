// The application's error display: an error that no command handled, shown with its message.
#include "ui/ErrorDisplay.h"

#include <QString>

#include "ui/MessageBoxes.h"

namespace brisko::ui {

bool RunReportingErrors(QWidget* parent, const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const std::exception& e) {
    ShowMessageBox(parent, core::MessageKind::Error, QString::fromStdString(e.what()));
  } catch (...) {
    ShowMessageBox(parent, core::MessageKind::Error, QStringLiteral("Unknown error"));
  }
  return false;
}

}  // namespace brisko::ui
