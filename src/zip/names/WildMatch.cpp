// Wildcard matcher: a left-to-right walk that hands the rest of the work to a star rule at the first `*`.
#include "zip/names/WildMatch.h"

#include <string>

#include "zip/names/ZipPaths.h"

namespace brisko::zip {
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

WildResult Walk(std::string_view p, std::string_view t);

// The pattern from a `*` on, the text from the current character on.
WildResult StarRule(std::string_view p, std::string_view t) {
  size_t pi = 0, ti = 0;
  while (pi < p.size() && (p[pi] == '*' || p[pi] == '?')) {
    if (p[pi] == '?') {
      if (ti >= t.size()) return WildResult::TextEnded;
      ++ti;
    }
    ++pi;
  }
  if (pi >= p.size()) return WildResult::Valid;

  CharSet starSet;
  bool hasSet = p[pi] == '<';
  if (hasSet) {
    starSet = ParseSet(p, pi);
    if (!starSet.ok) return WildResult::TextEnded;
  }
  std::string_view rest = p.substr(pi);
  for (; ti < t.size(); ++ti) {
    if (t[ti] == p[pi] || hasSet) {
      if (Walk(rest, t.substr(ti)) == WildResult::Valid) return WildResult::Valid;
    }
    // The characters a star skips in front of a set must belong to that set.
    if (hasSet && !SetAccepts(starSet, t[ti], true)) return WildResult::TextEnded;
  }
  return WildResult::TextEnded;
}

WildResult Walk(std::string_view p, std::string_view t) {
  size_t pi = 0, ti = 0;
  for (;;) {
    if (pi >= p.size()) return ti >= t.size() ? WildResult::Valid : WildResult::TextLeftOver;
    if (ti >= t.size()) {
      // Only a single trailing `*` may match nothing at the end of the text.
      return (p.size() - pi == 1 && p[pi] == '*') ? WildResult::Valid : WildResult::TextEnded;
    }
    char pc = p[pi];
    if (pc == '*') return StarRule(p.substr(pi), t.substr(ti));
    if (pc == '?') {
      ++pi;
      ++ti;
    } else if (pc == '<') {
      CharSet set = ParseSet(p, pi);
      if (!set.ok) return WildResult::PatternError;
      if (!SetAccepts(set, t[ti], false)) return WildResult::SetMismatch;
      pi = set.next;
      ++ti;
    } else {
      if (pc != t[ti]) return WildResult::LiteralMismatch;
      ++pi;
      ++ti;
    }
  }
}

}  // namespace

WildResult WildMatchResult(std::string_view pattern, std::string_view text, bool matchCase) {
  const std::string p = matchCase ? std::string(pattern) : LowerAscii(pattern);
  const std::string t = matchCase ? std::string(text) : LowerAscii(text);
  if (p == "*") return WildResult::Valid;
  if (p.empty()) return t.empty() ? WildResult::Valid : WildResult::TextLeftOver;
  return Walk(p, t);
}

bool WildMatch(std::string_view pattern, std::string_view text, bool matchCase) {
  return WildMatchResult(pattern, text, matchCase) == WildResult::Valid;
}

bool IsWildcard(std::string_view text) {
  return text.find_first_of("*?<>|") != std::string_view::npos;
}

}  // namespace brisko::zip
