// The activity log: entries in log.txt and the grid of the Log page that shows them newest first.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/Clock.h"

namespace brisko::core {

// Column order of the grid and of an entry.
enum LogColumn { lcDate = 0, lcOperation = 1, lcStatus = 2, lcProject = 3, lcInformation = 4 };
using LogRow = std::array<std::string, 5>;

inline constexpr std::array<const char*, 5> kLogHeadings = {"Date", "Operation", "Status", "Project",
                                                            "Information"};
// The file keeps years of runs: past kLogCapacity entries the oldest go, down to kLogKeptOnTrim.
inline constexpr int kLogCapacity = 5000;
inline constexpr int kLogKeptOnTrim = 4000;

// log.txt: Common / "Log Total", and sections "Log1" (oldest) .. "Log<Log Total>" (newest) with
// the keys Date, Operate, Status, Project, Information. The grid has limit + 1 rows: row 0 holds
// the headings, row 1 the newest entry; the file holds more entries than the grid shows.
class ActivityLog {
 public:
  // limit is "Log Count" of the settings: the grid gets limit + 1 rows. capacity and keptOnTrim
  // bound the file (tests make them small).
  ActivityLog(std::string dataDir, const Clock& clock, int limit = 50, int capacity = kLogCapacity,
              int keptOnTrim = kLogKeptOnTrim);

  // Sets the limit and resizes the grid to limit + 1 rows (rows beyond are dropped).
  void SetLimit(int limit);
  int Limit() const { return limit_; }
  // How many entries the file held when this log last read or wrote it.
  int Count() const { return count_; }
  // How many rows of the grid hold entries.
  int Shown() const { return std::min(count_, limit_); }

  // Fills the grid from log.txt with its newest entries: row i + 1 shows section "Log" + (count - i).
  void LoadLog();
  // Appends an entry to the file and the top of the grid, numbered after the count the file holds
  // (other programs may have added entries); past the capacity the oldest entries are removed and
  // the rest renumbered from 1. The grid is reloaded when the file had changed. Throws
  // SettingsWriteError.
  void AddLogEntry(const std::string& operation, const std::string& status, const std::string& information,
                   const std::string& project);
  // Empties every cell of rows 1 and below.
  void ClearLogGrid();
  // "Clear all log": Log Total 0, count 0, grid emptied; entry sections stay in the file.
  void ClearLog();

  // The grid, row 0 being the headings.
  const std::vector<LogRow>& Rows() const { return rows_; }
  // Rows whose Status is "Fails" or "Interrupt" are drawn in red.
  bool IsRedRow(int row) const;

 private:
  std::string path_;
  const Clock& clock_;
  int limit_;
  int capacity_;
  int keptOnTrim_;
  int count_ = 0;
  std::vector<LogRow> rows_;
};

}  // namespace brisko::core
