// Path helpers of the archive engine.
#include "zip/names/ZipPaths.h"

#include <vector>

namespace brisko::zip {

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string NameKey(std::string_view name) {
  return platform::PathKey(name);
}

bool SameName(std::string_view a, std::string_view b) {
  return platform::kNamesIgnoreCase ? platform::PathKey(a) == platform::PathKey(b) : a == b;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

int Percentage(int64_t part, int64_t whole) {
  if (whole <= 0) return 0;
  if (part <= 0) return 0;
  // Exact integer rounding, halves to even; 128-bit so huge sizes cannot overflow.
  __int128 num = static_cast<__int128>(part) * 100;
  __int128 q = num / whole;
  __int128 r2 = (num % whole) * 2;
  if (r2 > whole || (r2 == whole && (q & 1) != 0)) ++q;
  return q > 100 ? 100 : static_cast<int>(q);
}

std::string StoredDirectoryFor(std::string_view path, const StoredPathOptions& options) {
  if (!options.storePaths) return {};
  std::string dir = IncludeTrailingDelim(ExcludeTrailingDelim(ExtractDirPart(path)));
  if (options.relativePaths && !options.rootDir.empty()) {
    std::string root = ExcludeTrailingDelim(options.rootDir);
    std::string dirNoDelim = ExcludeTrailingDelim(dir);
    if (SameTextAscii(dirNoDelim, root)) {
      dir.clear();
    } else if (dir.size() > root.size() &&
               SameTextAscii(std::string_view(dir).substr(0, root.size()), root) &&
               dir[root.size()] == kPathDelim) {
      // Only whole folder names count as the root prefix.
      dir.erase(0, root.size());
    }
  }
  std::string rest = dir.substr(ExtractDrivePart(dir).size());
  // Rebuild from the folder names alone: no leading separator, no empty, "." or ".." parts.
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = start;
    while (end < rest.size() && !platform::IsSeparator(rest[end])) ++end;
    std::string part = rest.substr(start, end - start);
    if (!part.empty() && part != "." && part != "..") parts.push_back(std::move(part));
    start = end + 1;
  }
  std::string result;
  for (const auto& part : parts) result += part + kPathDelim;
  return result;
}

}  // namespace brisko::zip
