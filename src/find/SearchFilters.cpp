// Filters of the file finder.
#include "find/SearchFilters.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <vector>

#include "find/FindTypes.h"
#include "find/LocalMoment.h"
#include "find/NameMasks.h"
#include "platform/FsPath.h"
#include "platform/Platform.h"

namespace brisko::find {

namespace {

constexpr size_t kBlockSize = 4096;

// -1: item earlier than the bound, 0: equal, 1: later; at the bound's own precision.
int CompareWithBound(double bound, const LocalMoment& item) {
  double whole = std::floor(bound);
  auto boundSeconds = static_cast<int64_t>(std::llround((bound - whole) * 86400.0));
  auto boundDays = static_cast<int64_t>(whole);
  if (boundSeconds == 86400) {
    ++boundDays;
    boundSeconds = 0;
  }
  int64_t a, b;
  if (boundSeconds == 0) {  // a whole date: compare dates only
    a = item.days;
    b = boundDays;
  } else if (boundDays == 0) {  // only a time of day
    a = item.seconds;
    b = boundSeconds;
  } else {
    a = item.days * 86400 + item.seconds;
    b = boundDays * 86400 + boundSeconds;
  }
  return a < b ? -1 : (a > b ? 1 : 0);
}

unsigned char Fold(unsigned char c, bool ignoreCase) {
  return ignoreCase ? static_cast<unsigned char>(std::toupper(c)) : c;
}

}  // namespace

bool PassesAttributes(const SearchState& state, uint32_t dosAttributes) {
  FileAttributes item = FileAttributes::FromDos(dosAttributes);
  if (state.exactAttribute) return item == state.attributes;
  return item.Empty() || item.Overlaps(state.attributes);
}

bool PassesSize(const SearchState& state, bool isFolder, uint64_t size) {
  if (isFolder) return true;
  return (state.sizeMin == 0 || size >= state.sizeMin) && (state.sizeMax == 0 || size <= state.sizeMax);
}

bool PassesDateBounds(const DateBounds& bounds, std::time_t utc) {
  if (bounds.before == 0 && bounds.after == 0) return true;
  LocalMoment item = ToLocalMoment(utc);
  if (bounds.before != 0 && CompareWithBound(bounds.before, item) > 0) return false;
  if (bounds.after != 0 && CompareWithBound(bounds.after, item) < 0) return false;
  return true;
}

bool FileContains(const std::string& path, const std::string& text, bool ignoreCase) {
  if (text.empty()) return true;
  std::ifstream in(platform::FsPath(path), std::ios::binary);
  if (!in) return false;
  std::vector<unsigned char> needle(text.begin(), text.end());
  for (unsigned char& c : needle) c = Fold(c, ignoreCase);
  // The window keeps the last needle-1 bytes of the previous block so that a text lying across
  // a block boundary is found too.
  std::vector<unsigned char> window;
  std::vector<char> block(kBlockSize);
  while (in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    std::streamsize got = in.gcount();
    if (got <= 0) break;
    for (std::streamsize i = 0; i < got; ++i)
      window.push_back(Fold(static_cast<unsigned char>(block[i]), ignoreCase));
    if (std::search(window.begin(), window.end(), needle.begin(), needle.end()) != window.end()) return true;
    if (window.size() >= needle.size())
      window.erase(window.begin(), window.end() - static_cast<std::ptrdiff_t>(needle.size() - 1));
  }
  return false;
}

bool PassesFilters(const SearchState& state, const std::string& folder, const platform::DirectoryItem& item) {
  bool isFolder = (item.attributes & platform::kAttrDirectory) != 0;
  if (!PassesAttributes(state, item.attributes)) return false;
  if (!PassesSize(state, isFolder, item.size)) return false;
  if (!PassesDateBounds(state.created, item.created)) return false;
  if (!PassesDateBounds(state.modified, item.lastWrite)) return false;
  if (!PassesDateBounds(state.accessed, item.lastAccess)) return false;
  for (const std::string& mask : state.excludes)
    if (MatchesExcludeMask(mask, folder, item.name)) return false;
  if (!isFolder && !state.containing.empty() &&
      !FileContains(folder + item.name, state.containing, state.ignoreCase))
    return false;
  return true;
}

}  // namespace brisko::find
