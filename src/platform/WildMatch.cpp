// Wildcard matcher: a left-to-right walk that hands the rest of the work to a star rule at the first `*`.
#include "platform/WildMatch.h"

#include <string>

namespace brisko::platform {
namespace {

// One parsed `<...>` set: its body (without the negation mark), whether it is negated,
// and the pattern position just behind the closing `>`.
struct CharSet {
  std::string_view body;
  bool negated = false;
  size_t next = 0;
  bool ok = false;  // closed and not empty
};

CharSet ParseSet(std::string_view pattern, size_t open) {
  CharSet set;
  size_t start = open + 1;
  size_t close = pattern.find('>', start);
  if (close == std::string_view::npos) return set;
  std::string_view body = pattern.substr(start, close - start);
  if (!body.empty() && (body[0] == '!' || body[0] == '^')) {
    set.negated = true;
    body.remove_prefix(1);
  }
  set.body = body;
  set.next = close + 1;
  set.ok = !body.empty();
  return set;
}

// Whether c is listed in the set body; reversed ranges count unless reversedAddsNothing.
bool InSetBody(std::string_view body, char c, bool reversedAddsNothing) {
  auto uc = static_cast<unsigned char>(c);
  for (size_t i = 0; i < body.size();) {
    if (i + 2 < body.size() && body[i + 1] == '-') {
      auto a = static_cast<unsigned char>(body[i]);
      auto b = static_cast<unsigned char>(body[i + 2]);
      if (a > b) {
        if (!reversedAddsNothing && uc >= b && uc <= a) return true;
      } else if (uc >= a && uc <= b) {
        return true;
      }
      i += 3;
    } else {
      if (static_cast<unsigned char>(body[i]) == uc) return true;
      ++i;
    }
  }
  return false;
}

bool SetAccepts(const CharSet& set, char c, bool reversedAddsNothing) {
  return InSetBody(set.body, c, reversedAddsNothing) != set.negated;
}

bool Walk(std::string_view p, std::string_view t);

// The pattern from a `*` on, the text from the current character on.
bool StarRule(std::string_view p, std::string_view t) {
  size_t pi = 0, ti = 0;
  while (pi < p.size() && (p[pi] == '*' || p[pi] == '?')) {
    if (p[pi] == '?') {
      if (ti >= t.size()) return false;
      ++ti;
    }
    ++pi;
  }
  if (pi >= p.size()) return true;

  CharSet starSet;
  bool hasSet = p[pi] == '<';
  if (hasSet) {
    starSet = ParseSet(p, pi);
    if (!starSet.ok) return false;
  }
  std::string_view rest = p.substr(pi);
  for (; ti < t.size(); ++ti) {
    if (t[ti] == p[pi] || hasSet) {
      if (Walk(rest, t.substr(ti))) return true;
    }
    // The characters a star skips in front of a set must belong to that set.
    if (hasSet && !SetAccepts(starSet, t[ti], true)) return false;
  }
  return false;
}

bool Walk(std::string_view p, std::string_view t) {
  size_t pi = 0, ti = 0;
  for (;;) {
    if (pi >= p.size()) return ti >= t.size();
    if (ti >= t.size()) {
      // Only a single trailing `*` may match nothing at the end of the text.
      return p.size() - pi == 1 && p[pi] == '*';
    }
    char pc = p[pi];
    if (pc == '*') return StarRule(p.substr(pi), t.substr(ti));
    if (pc == '?') {
      ++pi;
      ++ti;
    } else if (pc == '<') {
      CharSet set = ParseSet(p, pi);
      if (!set.ok || !SetAccepts(set, t[ti], false)) return false;
      pi = set.next;
      ++ti;
    } else {
      if (pc != t[ti]) return false;
      ++pi;
      ++ti;
    }
  }
}

// ASCII lower-casing; other bytes are kept.
std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The whole match on text already folded as asked.
bool Match(std::string_view p, std::string_view t) {
  if (p == "*") return true;
  if (p.empty()) return t.empty();
  return Walk(p, t);
}

}  // namespace

bool WildMatch(std::string_view pattern, std::string_view text, WildOptions options) {
  const std::string p = options.matchCase ? std::string(pattern) : LowerAscii(pattern);
  const std::string t = options.matchCase ? std::string(text) : LowerAscii(text);
  if (Match(p, t)) return true;
  const bool dotStar = p.size() >= 2 && p.compare(p.size() - 2, 2, ".*") == 0;
  return options.dotStarMatchesPlainName && dotStar && t.find('.') == std::string::npos &&
         Match(std::string_view(p).substr(0, p.size() - 2), t);
}

bool IsWildcard(std::string_view text) {
  return text.find_first_of("*?<>|") != std::string_view::npos;
}

}  // namespace brisko::platform
