// Enumeration patterns and exclusion masks of the file finder.
#include "find/NameMasks.h"

#include <cctype>

#include "platform/PathRules.h"
#include "platform/Platform.h"

namespace brisko::find {

using platform::IsSeparator;

namespace {

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string UpperText(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = Upper(c);
  return out;
}

// Classic "*" and "?" matching with backtracking over upper-cased text.
bool Glob(const std::string& p, const std::string& n) {
  size_t pi = 0, ni = 0, starP = std::string::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starN = ni;
    } else if (starP != std::string::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace

bool MatchFindPattern(const std::string& pattern, const std::string& name) {
  std::string p = UpperText(pattern);
  std::string n = UpperText(name);
  if (Glob(p, n)) return true;
  // "name.*" also finds "name" itself, as the desktop's enumeration does.
  if (p.size() >= 2 && p.compare(p.size() - 2, 2, ".*") == 0 && n.find('.') == std::string::npos)
    return Glob(p.substr(0, p.size() - 2), n);
  return false;
}

bool MatchExcludeName(const std::string& mask, const std::string& name) {
  if (mask.empty()) return true;
  size_t i = 0, j = 0;
  while (i < mask.size() && j < name.size()) {
    char mc = mask[i];
    char nc = name[j];
    if (nc == '.') {
      if (mc == '?') {
        ++i;  // a "?" does not take the dot; it is passed over
      } else if (mc == '*') {
        size_t dot = mask.find('.', i);
        i = dot == std::string::npos ? mask.size() : dot;
      } else if (mc == '.') {
        ++i;
        ++j;
      } else {
        return false;
      }
    } else if (mc == '?') {
      ++i;
      ++j;
    } else if (mc == '*') {
      while (j < name.size() && name[j] != '.') ++j;
      ++i;
    } else if (mc == nc) {
      ++i;
      ++j;
    } else {
      return false;
    }
  }
  while (i < mask.size() && (mask[i] == '*' || mask[i] == '?')) ++i;
  return i == mask.size() && j == name.size();
}

bool MatchesExcludeMask(const std::string& mask, const std::string& folder, const std::string& name) {
  // Path keys first: on Windows the mask's folders may be separated by '/' as well as '\'.
  std::string m = UpperText(platform::PathKey(mask));
  std::string f = UpperText(platform::PathKey(folder));
  size_t cut = m.size();
  while (cut > 0 && !IsSeparator(m[cut - 1])) --cut;
  std::string maskFolder = m.substr(0, cut);
  std::string maskName = m.substr(cut);
  if (!maskFolder.empty()) {
    // With drives, the item's folder always starts with its drive, so the mask's rest must fit after it.
    constexpr size_t kDriveLength = platform::kHasDrives ? 2 : 0;
    if (platform::kHasDrives && maskFolder.size() >= 2 && maskFolder[1] == ':') {
      char letter = maskFolder[0];
      if (letter != '*' && letter != '?' && (f.size() < 2 || f[1] != ':' || f[0] != letter)) return false;
      maskFolder.erase(0, 2);
    }
    if (f.size() < maskFolder.size() + kDriveLength) return false;
    if (f.compare(f.size() - maskFolder.size(), maskFolder.size(), maskFolder) != 0) return false;
  }
  return MatchExcludeName(maskName, UpperText(name));
}

}  // namespace brisko::find
