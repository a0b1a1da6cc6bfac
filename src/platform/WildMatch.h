// Whole-string wildcard matching, one dialect for project masks, member patterns and finder masks.
#pragma once

#include <string_view>

namespace brisko::platform {

// Where users of the matcher differ.
struct WildOptions {
  // ASCII letters compare exactly; otherwise without regard to case.
  bool matchCase = false;
  // A trailing ".*" also matches a name without a dot ("readme.*" finds "readme"), as the desktop's
  // file enumeration does.
  bool dotStarMatchesPlainName = false;
};

// Matches the whole of text against pattern: `*` takes any run (also empty, also separators), `?` one
// character, `<a-c>` one character of a set, `<!...>` / `<^...>` one character outside it. There is no
// escape character.
bool WildMatch(std::string_view pattern, std::string_view text, WildOptions options = {});

// True when text holds any of the wildcard marks `*`, `?`, `<`, `>`, `|`.
bool IsWildcard(std::string_view text);

}  // namespace brisko::platform
