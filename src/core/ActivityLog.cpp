// The activity log in log.txt and the grid rows that show it.
#include "core/ActivityLog.h"

#include <algorithm>

#include "core/DateTimeValue.h"
#include "core/IniFile.h"
#include "core/SettingsFiles.h"

namespace brisko::core {
namespace {

constexpr const char* kTotalKey = "Log Total";
constexpr std::array<const char*, 5> kEntryKeys = {"Date", "Operate", "Status", "Project", "Information"};

std::string EntrySection(int number) {
  return "Log" + std::to_string(number);
}

void WriteEntry(IniDocument& doc, int number, const LogRow& row) {
  const std::string section = EntrySection(number);
  for (size_t c = 0; c < kEntryKeys.size(); ++c) doc.WriteString(section, kEntryKeys[c], row[c]);
}

}  // namespace

ActivityLog::ActivityLog(std::string dataDir, const Clock& clock, int limit, int capacity, int keptOnTrim)
    : path_(LogFilePath(dataDir)),
      clock_(clock),
      limit_(0),
      capacity_(std::max(capacity, 1)),
      keptOnTrim_(std::clamp(keptOnTrim, 1, capacity_)) {
  SetLimit(limit);
}

void ActivityLog::SetLimit(int limit) {
  limit_ = std::max(limit, 1);
  rows_.resize(static_cast<size_t>(limit_) + 1);
  for (size_t c = 0; c < kLogHeadings.size(); ++c) rows_[0][c] = kLogHeadings[c];
}

void ActivityLog::LoadLog() {
  const IniDocument doc = IniFile(path_).Load();
  count_ = std::max(doc.ReadInteger(kCommonSection, kTotalKey, 0), 0);
  ClearLogGrid();
  for (int i = 0; i < Shown(); ++i) {
    const std::string section = EntrySection(count_ - i);
    for (size_t c = 0; c < kEntryKeys.size(); ++c)
      rows_[static_cast<size_t>(i) + 1][c] = doc.ReadString(section, kEntryKeys[c], "");
  }
}

void ActivityLog::AddLogEntry(const std::string& operation, const std::string& status,
                              const std::string& information, const std::string& project) {
  // One reading of the clock for the file and the grid, so both show the same moment.
  const LogRow entry = {DateTimeToStr(clock_.Now()), operation, status, project, information};
  // The count is read from the file in the same locked rewrite: another program (a daemon, a
  // restore) may have added entries since this log was loaded, and they must not be overwritten.
  bool reload = false;
  int written = 0;
  IniFile(path_).Update([&](IniDocument& doc) {
    const int stored = std::max(doc.ReadInteger(kCommonSection, kTotalKey, 0), 0);
    reload = stored != count_;
    int count = stored + 1;
    WriteEntry(doc, count, entry);
    if (count > capacity_) {
      // The oldest go; the newest are renumbered from 1 and no stale section stays behind.
      const int dropped = count - keptOnTrim_;
      for (int i = 1; i <= keptOnTrim_; ++i) {
        const std::string from = EntrySection(dropped + i);
        LogRow row;
        for (size_t c = 0; c < kEntryKeys.size(); ++c) row[c] = doc.ReadString(from, kEntryKeys[c], "");
        WriteEntry(doc, i, row);
      }
      for (int i = keptOnTrim_ + 1; i <= count; ++i) doc.EraseSection(EntrySection(i));
      count = keptOnTrim_;
    }
    doc.WriteInteger(kCommonSection, kTotalKey, count);
    written = count;
  });
  count_ = written;
  if (reload) {
    LoadLog();
    return;
  }
  // Rows 1 .. shown-1 move one down; whatever falls off the grid's end is dropped.
  for (size_t r = static_cast<size_t>(Shown()) - 1; r >= 1; --r) rows_[r + 1] = rows_[r];
  rows_[1] = entry;
}

void ActivityLog::ClearLogGrid() {
  for (size_t r = 1; r < rows_.size(); ++r) rows_[r] = LogRow{};
}

void ActivityLog::ClearLog() {
  IniFile(path_).WriteInteger(kCommonSection, kTotalKey, 0);
  count_ = 0;
  ClearLogGrid();
}

bool ActivityLog::IsRedRow(int row) const {
  if (row < 1 || row >= static_cast<int>(rows_.size())) return false;
  const std::string& status = rows_[static_cast<size_t>(row)][lcStatus];
  return status == "Fails" || status == "Interrupt";
}

}  // namespace brisko::core
