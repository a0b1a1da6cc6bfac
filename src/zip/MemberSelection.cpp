// Selection items into FilesList patterns.
#include "zip/MemberSelection.h"

#include "zip/WildMatch.h"

namespace brisko::zip {

namespace {

// A literal name as a pattern: each mark the matcher reads ("*", "?", "<") becomes a one-character set
// holding it; every other character already stands for itself.
std::string EscapeLiteral(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (char c : name) {
    if (c == '*' || c == '?' || c == '<') {
      out += '<';
      out += c;
      out += '>';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::vector<std::string> SelectionPatterns(const std::string& item, SelectionItem kind) {
  if (kind == SelectionItem::Typed && IsWildcard(item)) return {item};
  std::string_view name = item;
  while (!name.empty() && name.back() == '/') name.remove_suffix(1);
  if (name.empty()) return {};
  const std::string literal = EscapeLiteral(name);
  // "name" itself (a file, or a folder entry stored without its slash) and everything below "name/".
  return {literal, literal + "/*"};
}

bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view storedName) {
  for (const std::string& pattern : patterns)
    if (WildMatch(pattern, storedName)) return true;
  return false;
}

}  // namespace brisko::zip
