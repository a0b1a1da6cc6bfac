// A list of member records kept in one of the sort orders by binary insertion; may own its records.
#pragma once

#include <vector>

#include "zip/ZipRecords.h"
#include "zip/ZipTypes.h"

namespace brisko::zip {

class SortedEntries {
 public:
  // An owning list frees its records; one that rejects duplicates refuses a record comparing equal
  // to one present (ByNone: same disk and offset; ByName: same stored name regardless of case).
  SortedEntries(EntryOrder mode, bool ownsItems, bool rejectDuplicates);
  ~SortedEntries();
  SortedEntries(const SortedEntries&) = delete;
  SortedEntries& operator=(const SortedEntries&) = delete;

  EntryOrder Mode() const { return mode_; }
  bool OwnsItems() const { return owns_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Throws ListIndexError "Index %d is out of range".
  ZipEntry* Item(int index) const;
  ZipEntry* operator[](int index) const { return Item(index); }

  // Inserts by binary search, after any records comparing equal, and returns the index. A rejected
  // duplicate throws ListIndexError; an owning list frees the record first.
  int Add(ZipEntry* item);
  // Index of a record comparing equal to key (the first of several), or -1.
  int Find(const ZipEntry& key) const;
  int IndexOf(const ZipEntry* item) const;
  // Removes a record without freeing it.
  ZipEntry* Extract(int index);
  // Removes a record, freeing it when the list owns it.
  void Delete(int index);
  void Clear();

  // Compare(existing, added): positive places the existing record after the added one.
  static int Compare(EntryOrder mode, const ZipEntry& existing, const ZipEntry& added);

 private:
  EntryOrder mode_;
  bool owns_;
  bool rejectDuplicates_;
  std::vector<ZipEntry*> items_;
};

}  // namespace brisko::zip
