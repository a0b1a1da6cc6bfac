// The "Log" tab: the activity log grid, newest entry first, with its "Clear all log" menu.
#pragma once

#include <QWidget>

class QTableWidget;

namespace brisko::core {
class MainModel;
}

namespace brisko::ui {

class LogTab : public QWidget {
  Q_OBJECT
 public:
  LogTab(core::MainModel& model, QWidget* parent = nullptr);

  // Shows the log's rows (limit + 1, the first being the headings).
  void Sync();
  QTableWidget* Grid() const { return grid_; }

 private:
  core::MainModel& model_;
  QTableWidget* grid_;
};

}  // namespace brisko::ui
