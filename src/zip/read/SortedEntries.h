// A list of member records that owns them, kept in one of the sort orders by binary insertion.
#pragma once

#include <memory>
#include <vector>

#include "zip/format/ZipRecords.h"
#include "zip/format/ZipTypes.h"

namespace brisko::zip {

class SortedEntries {
 public:
  // A list that rejects duplicates refuses a record comparing equal to one present (ByNone: same disk
  // and offset; ByName: same stored name regardless of case).
  SortedEntries(EntryOrder mode, bool rejectDuplicates);
  SortedEntries(const SortedEntries&) = delete;
  SortedEntries& operator=(const SortedEntries&) = delete;

  EntryOrder Mode() const { return mode_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Throws ListIndexError "Index %d is out of range".
  ZipEntry* Item(int index) const;
  ZipEntry* operator[](int index) const { return Item(index); }

  // Inserts by binary search, after any records comparing equal, and returns the index. A rejected
  // duplicate throws ListIndexError (the record is freed).
  int Add(std::unique_ptr<ZipEntry> item);
  // Index of a record comparing equal to key (the first of several), or -1.
  int Find(const ZipEntry& key) const;
  void Clear() { items_.clear(); }

  // The records in another order, as binary insertion into a list in that order would place them;
  // they stay owned by this list.
  std::vector<ZipEntry*> InOrder(EntryOrder mode) const;

  // Compare(existing, added): positive places the existing record after the added one.
  static int Compare(EntryOrder mode, const ZipEntry& existing, const ZipEntry& added);

 private:
  EntryOrder mode_;
  bool rejectDuplicates_;
  std::vector<std::unique_ptr<ZipEntry>> items_;
};

}  // namespace brisko::zip
