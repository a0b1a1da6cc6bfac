// Selection items matched against stored names.
#include "zip/extract/MemberSelection.h"

#include "platform/PathRules.h"
#include "platform/WildMatch.h"
#include "zip/names/ZipPaths.h"

namespace brisko::zip {

namespace {

// Text with '/' for every separator: on Windows a '\' separates folders as well (and is part of no
// name), so "sub\*" and "sub/*" pick the same members.
std::string WithSlashes(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (platform::IsSeparator(c)) c = '/';
  return out;
}

bool SameMemberName(std::string_view a, std::string_view b) {
  return platform::kNamesIgnoreCase ? SameTextAscii(a, b) : a == b;
}

}  // namespace

MemberSelector::MemberSelector(const std::string& item, SelectionItem kind) {
  if (kind == SelectionItem::Typed && platform::IsWildcard(item)) {
    wildcard_ = platform::kWindows ? WithSlashes(item) : item;
    return;
  }
  name_ = WithSlashes(item);
  while (!name_.empty() && name_.back() == '/') name_.pop_back();
}

bool MemberSelector::Matches(std::string_view storedName) const {
  const std::string name = WithSlashes(storedName);
  if (!wildcard_.empty()) return platform::WildMatch(wildcard_, name, {.matchCase = false});
  if (name_.empty()) return false;
  // The name itself (a file, or a folder entry stored without its slash) and everything below it.
  const std::string_view view = name;
  if (view.size() > name_.size() && view[name_.size()] == '/')
    return SameMemberName(view.substr(0, name_.size()), name_);
  return SameMemberName(view, name_);
}

}  // namespace brisko::zip
