// Exclusion masks of the file finder.
#include "find/NameMasks.h"

#include <cctype>

#include "platform/PathRules.h"
#include "platform/Platform.h"
#include "platform/WildMatch.h"

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

}  // namespace

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
  return maskName.empty() || platform::WildMatch(maskName, name);
}

}  // namespace brisko::find
