// Selection items into FilesList patterns.
#include "zip/extract/MemberSelection.h"

#include "platform/PathRules.h"
#include "platform/WildMatch.h"

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

// Text with '/' for every separator: on Windows a '\' separates folders as well (and is part of no
// name), so "sub\*" and "sub/*" pick the same members.
std::string WithSlashes(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (platform::IsSeparator(c)) c = '/';
  return out;
}

}  // namespace

std::vector<std::string> SelectionPatterns(const std::string& item, SelectionItem kind) {
  if (kind == SelectionItem::Typed && platform::IsWildcard(item)) return {item};
  const std::string slashed = WithSlashes(item);
  std::string_view name = slashed;
  while (!name.empty() && name.back() == '/') name.remove_suffix(1);
  if (name.empty()) return {};
  const std::string literal = EscapeLiteral(name);
  // "name" itself (a file, or a folder entry stored without its slash) and everything below "name/".
  return {literal, literal + "/*"};
}

bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view storedName,
                       bool matchCase) {
  const std::string name = WithSlashes(storedName);
  for (const std::string& pattern : patterns)
    if (platform::WildMatch(platform::kWindows ? WithSlashes(pattern) : pattern, name,
                            {.matchCase = matchCase}))
      return true;
  return false;
}

ItemPatterns PatternsOf(const std::string& item, SelectionItem kind) {
  const bool name = kind == SelectionItem::Exact || !platform::IsWildcard(item);
  return {SelectionPatterns(item, kind), name && !platform::kNamesIgnoreCase};
}

}  // namespace brisko::zip
