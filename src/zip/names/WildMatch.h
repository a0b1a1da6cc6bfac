// Whole-string wildcard matching (case-insensitive unless asked) with `*`, `?` and `<...>` character sets.
#pragma once

#include <string_view>

namespace brisko::zip {

// Detailed outcome of a match; only Valid counts as a match.
enum class WildResult { Valid, TextLeftOver, TextEnded, SetMismatch, LiteralMismatch, PatternError };

// Matches the whole of text against pattern. ASCII letters compare without regard to case unless
// matchCase;
// `*` takes any run (also empty, also separators), `?` one character, `<a-c>` one character of a set,
// `<!...>` / `<^...>` one character outside it. There is no escape character.
WildResult WildMatchResult(std::string_view pattern, std::string_view text, bool matchCase = false);

// True only when WildMatchResult gives Valid.
bool WildMatch(std::string_view pattern, std::string_view text, bool matchCase = false);

// True when text holds any of the wildcard marks `*`, `?`, `<`, `>`, `|`.
bool IsWildcard(std::string_view text);

}  // namespace brisko::zip
