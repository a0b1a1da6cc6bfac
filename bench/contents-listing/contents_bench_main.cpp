// brisko-bench-contents ARCHIVE: shows the Restore tab on the archive's folder, as a user entering the
// tab would, and prints the milliseconds of each step: listing the contents until the grid is painted,
// (and the core's part of it alone), filtering them, selecting every row and collecting the selection, and
// scrolling to the end.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

#include "core/SystemClock.h"
#include "core/view/MainModel.h"
#include "ui/QtUserInteraction.h"
#include "ui/RestoreTab.h"

namespace {

// Runs `step`, lets the window paint, and returns the milliseconds both took.
template <typename Step>
qint64 Timed(Step step) {
  QElapsedTimer timer;
  timer.start();
  step();
  QApplication::processEvents();
  return timer.elapsed();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: brisko-bench-contents ARCHIVE\n");
    return 2;
  }
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale::c());
  const QFileInfo archive(QString::fromLocal8Bit(argv[1]));
  QTemporaryDir data;
  brisko::ui::QtUserInteraction ui;
  brisko::core::MainModel model((data.path() + QLatin1Char('/')).toStdString(),
                                brisko::core::SystemClock::Instance(), ui);
  brisko::ui::RestoreTab tab(model);
  tab.resize(1000, 700);
  tab.show();
  QApplication::processEvents();

  const qint64 list = Timed([&] { tab.Browser().SetDirectoryView(archive.absolutePath().toStdString()); });
  // The core's part alone: reading the central directory and making the rows.
  const qint64 read = Timed([&] { tab.Browser().ListContents(archive.fileName().toStdString()); });
  QTableView* grid = tab.ContentsGrid();
  const int rows = grid->model()->rowCount();
  auto* filter = tab.findChild<QLineEdit*>(QStringLiteral("EditContentsFilter"));
  const qint64 filtered = Timed([&] { filter->setText(QStringLiteral("*.txt")); });
  const int kept = grid->model()->rowCount();
  const qint64 unfiltered = Timed([&] { filter->clear(); });
  size_t selected = 0;
  const qint64 select = Timed([&] {
    grid->selectAll();
    selected = tab.SelectedMembers().size();
  });
  const qint64 scroll = Timed([&] { grid->scrollToBottom(); });
  std::printf("rows %d list_ms %lld (core alone %lld) filter_ms %lld (%d kept) unfilter_ms %lld", rows,
              static_cast<long long>(list), static_cast<long long>(read), static_cast<long long>(filtered),
              kept, static_cast<long long>(unfiltered));
  std::printf(" select_all_ms %lld (%zu) scroll_ms %lld\n", static_cast<long long>(select), selected,
              static_cast<long long>(scroll));
  return rows > 0 ? 0 : 1;
}
