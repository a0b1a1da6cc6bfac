// The "Log" tab: the activity log grid, newest entry first, with its "Clear all log" menu.
#include "ui/LogTab.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "core/ActivityLog.h"
#include "core/view/MainModel.h"
#include "ui/GridCellDelegate.h"

namespace brisko::ui {
namespace {

// Column widths and row height of the grid, in pixels before scaling.
constexpr std::array<int, 5> kColumnWidths = {130, 67, 74, 118, 330};
constexpr int kRowHeight = 20;

}  // namespace

LogTab::LogTab(core::MainModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  setObjectName(QStringLiteral("TabLog"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  grid_ = new QTableWidget(this);
  grid_->setObjectName(QStringLiteral("StringGridLog"));
  QStringList headings;
  for (const char* h : core::kLogHeadings) headings << QString::fromLatin1(h);
  GridCellDelegate::Prepare(grid_, headings);
  for (int c = 0; c < 5; ++c) grid_->setColumnWidth(c, kColumnWidths[static_cast<size_t>(c)]);
  grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  layout->addWidget(grid_);

  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("PopupMenuLog"));
  QAction* clear = menu->addAction(QStringLiteral("Clear all log"));
  clear->setObjectName(QStringLiteral("ClearAllLog"));
  connect(clear, &QAction::triggered, this, [this] {
    model_.Log().ClearLog();
    model_.Notify(core::ModelChange::Log);
  });
  connect(grid_, &QWidget::customContextMenuRequested, this,
          [this, menu](const QPoint& pos) { menu->popup(grid_->viewport()->mapToGlobal(pos)); });
  Sync();
}

void LogTab::Sync() {
  const auto& rows = model_.Log().Rows();
  // Row 0 of the log is the headings, shown by the header; the grid holds rows 1 .. limit.
  const int count = std::max(0, static_cast<int>(rows.size()) - 1);
  grid_->setRowCount(count);
  for (int r = 0; r < count; ++r) {
    const core::LogRow& row = rows[static_cast<size_t>(r + 1)];
    const bool red = model_.Log().IsRedRow(r + 1);
    for (int c = 0; c < 5; ++c) {
      QTableWidgetItem* item = grid_->item(r, c);
      if (!item) {
        item = new QTableWidgetItem();
        grid_->setItem(r, c, item);
      }
      item->setText(QString::fromStdString(row[static_cast<size_t>(c)]));
      item->setData(GridCellDelegate::kRedRole, red);
    }
  }
}

}  // namespace brisko::ui
