// A list of member records kept in one of the sort orders by binary insertion; may own its records.
#pragma once

#include <vector>

#include "zip/ZipRecords.h"
#include "zip/ZipTypes.h"

namespace brisko::zip {

class TSortedZip {
 public:
  // An owning list frees its records; one that rejects duplicates refuses a record comparing equal
  // to one present (ByNone: same disk and offset; ByName: same stored name regardless of case).
  TSortedZip(TZipSortMode mode, bool ownsItems, bool rejectDuplicates);
  ~TSortedZip();
  TSortedZip(const TSortedZip&) = delete;
  TSortedZip& operator=(const TSortedZip&) = delete;

  TZipSortMode Mode() const { return mode_; }
  bool OwnsItems() const { return owns_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Throws EListError "Index %d is out of range".
  TZipHeaderInfo* Item(int index) const;
  TZipHeaderInfo* operator[](int index) const { return Item(index); }

  // Inserts by binary search, after any records comparing equal, and returns the index. A rejected
  // duplicate throws EListError; an owning list frees the record first.
  int Add(TZipHeaderInfo* item);
  // Index of a record comparing equal to key (the first of several), or -1.
  int Find(const TZipHeaderInfo& key) const;
  int IndexOf(const TZipHeaderInfo* item) const;
  // Removes a record without freeing it.
  TZipHeaderInfo* Extract(int index);
  // Removes a record, freeing it when the list owns it.
  void Delete(int index);
  void Clear();

  // Compare(existing, added): positive places the existing record after the added one.
  static int Compare(TZipSortMode mode, const TZipHeaderInfo& existing, const TZipHeaderInfo& added);

 private:
  TZipSortMode mode_;
  bool owns_;
  bool rejectDuplicates_;
  std::vector<TZipHeaderInfo*> items_;
};

}  // namespace brisko::zip
