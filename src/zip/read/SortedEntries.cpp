// Binary-insertion list of member records in one of the eight sort orders.
#include "zip/read/SortedEntries.h"

#include <algorithm>
#include <string>

#include "zip/format/ZipErrors.h"

namespace brisko::zip {

namespace {

int CompareNoCase(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'A' && ca <= 'Z') ca += 'a' - 'A';
    if (cb >= 'A' && cb <= 'Z') cb += 'a' - 'A';
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

template <typename T>
int Sign(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

platform::DateTime DateValue(const ZipEntry& h) {
  platform::DateTime value = 0;
  return platform::DosDateTimeToDateTime(h.dateTime, value) ? value : 0;
}

// round(compressed * 100 / uncompressed), halves to even, capped at 100; 0 for an empty member.
int Rate(const ZipEntry& h) {
  if (h.uncompressedSize == 0) return 0;
  uint64_t x = static_cast<uint64_t>(h.compressedSize) * 100;
  uint64_t q = x / h.uncompressedSize, r = x % h.uncompressedSize;
  if (2 * r > h.uncompressedSize || (2 * r == h.uncompressedSize && (q & 1))) ++q;
  return q > 100 ? 100 : static_cast<int>(q);
}

}  // namespace

SortedEntries::SortedEntries(EntryOrder mode, bool rejectDuplicates)
    : mode_(mode), rejectDuplicates_(rejectDuplicates) {}

ZipEntry* SortedEntries::Item(int index) const {
  if (index < 0 || index >= Count()) {
    throw ListIndexError("Index " + std::to_string(index) + " is out of range");
  }
  return items_[static_cast<size_t>(index)].get();
}

int SortedEntries::Compare(EntryOrder mode, const ZipEntry& existing, const ZipEntry& added) {
  switch (mode) {
    case EntryOrder::ByName:
      return CompareNoCase(existing.FullName(), added.FullName());
    case EntryOrder::ByFileName:
      return CompareNoCase(existing.FileName(), added.FileName());
    case EntryOrder::ByDirectoryName:
      return CompareNoCase(existing.Directory(), added.Directory());
    case EntryOrder::ByDate:
      return Sign(DateValue(added), DateValue(existing));
    case EntryOrder::ByCompressedSize:
      return Sign(added.compressedSize, existing.compressedSize);
    case EntryOrder::ByUnCompressedSize:
      return Sign(added.uncompressedSize, existing.uncompressedSize);
    case EntryOrder::ByRate:
      return Sign(Rate(added), Rate(existing));
    case EntryOrder::ByNone: {
      int disk = Sign(existing.diskNumberStart, added.diskNumberStart);
      return disk != 0 ? disk : Sign(existing.relativeOffset, added.relativeOffset);
    }
  }
  return 0;
}

int SortedEntries::Add(std::unique_ptr<ZipEntry> item) {
  // Upper bound: the first record that belongs after the new one, so equal records keep their order.
  size_t lo = 0, hi = items_.size();
  while (lo < hi) {
    size_t mid = lo + (hi - lo) / 2;
    if (Compare(mode_, *items_[mid], *item) > 0)
      hi = mid;
    else
      lo = mid + 1;
  }
  if (rejectDuplicates_ && lo > 0 && Compare(mode_, *items_[lo - 1], *item) == 0)
    throw ListIndexError("Duplicate entry in the archive directory");
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(lo), std::move(item));
  return static_cast<int>(lo);
}

int SortedEntries::Find(const ZipEntry& key) const {
  size_t lo = 0, hi = items_.size();
  while (lo < hi) {
    size_t mid = lo + (hi - lo) / 2;
    if (Compare(mode_, *items_[mid], key) >= 0)
      hi = mid;
    else
      lo = mid + 1;
  }
  if (lo < items_.size() && Compare(mode_, *items_[lo], key) == 0) return static_cast<int>(lo);
  return -1;
}

std::vector<ZipEntry*> SortedEntries::InOrder(EntryOrder mode) const {
  std::vector<ZipEntry*> view;
  view.reserve(items_.size());
  for (const auto& item : items_) view.push_back(item.get());
  // A stable sort places records as upper-bound insertion does: equal ones keep this list's order.
  std::stable_sort(view.begin(), view.end(),
                   [mode](const ZipEntry* a, const ZipEntry* b) { return Compare(mode, *b, *a) > 0; });
  return view;
}

}  // namespace brisko::zip
