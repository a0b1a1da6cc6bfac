// The one wildcard matcher: every dialect's rules and flags in one table, and the wildcard test.
#include "platform/WildMatch.h"

#include <gtest/gtest.h>

namespace brisko::platform {
namespace {

constexpr WildOptions kAnyCase{};
constexpr WildOptions kExactCase{.matchCase = true};
constexpr WildOptions kEnumeration{.dotStarMatchesPlainName = true};

struct MatchCase {
  const char* pattern;
  const char* text;
  bool expected;
  WildOptions options = kAnyCase;
};

const MatchCase kCases[] = {
    {"*.txt", "a.txt", true},
    {"*.txt", "A.TXT", true},
    {"*.TXT", "a.txt", true},
    {"*.txt", "a.txt.bak", false},
    {"a?c", "abc", true},
    {"a?c", "ac", false},
    {"*?", "a", true},
    {"*?", "abc", true},
    {"*?", "", false},
    {"<a-c>*", "beta", true},
    {"<a-c>*", "delta", false},
    {"<!a-c>*", "delta", true},
    {"<^a-c>*", "delta", true},
    {"<!a-c>*", "beta", false},
    {"c:\\data\\*", "c:\\data\\sub\\x.doc", true},
    {"/data/*", "/data/sub/x.doc", true},
    {"*<a-c>x", "abx", true},
    {"*<a-c>x", "bx", true},
    {"*<a-c>x", "zbx", false},
    {"*<>", "a", false},
    {"<>", "a", false},
    {"<!>", "a", false},
    {"<abc", "a", false},
    {"<z-a>", "b", true},
    {"<a-z>", "B", true},
    {"<abc>", "d", false},
    {"<a->", "-", true},
    {"?", "", false},
    {"", "", true},
    {"", "a", false},
    {"*", "", true},
    {"*", "anything at all", true},
    {"a*", "a", true},
    {"a**", "a", false},
    {"a**", "ab", true},
    {"*?", "a", true},
    {"*??", "ab", true},
    {"*??", "a", false},
    {"a*b*c", "aXbYc", true},
    {"a*b*c", "aXbYcZ", false},
    {"*b", "abab", true},
    {"*.", "readme.", true},
    {"*.", "readme.txt", false},
    {"\\", "\\", true},
    {"[a]", "[a]", true},
    {"abc", "abd", false},
    {"abc", "ab", false},
    {"ab", "abc", false},
    {"<xy>", "a", false},
    // Member names chosen exactly on POSIX.
    {"README", "readme", false, kExactCase},
    {"README", "README", true, kExactCase},
    {"*.TXT", "a.txt", false, kExactCase},
    {"<A-C>*", "beta", false, kExactCase},
    {"sub/*", "sub/deep/x", true, kExactCase},
    // The finder's enumeration patterns.
    {"*.zip", "A.ZIP", true, kEnumeration},
    {"*.zip", "a.zipx", false, kEnumeration},
    {"*.zip", "zip", false, kEnumeration},
    {"readme.*", "readme", true, kEnumeration},
    {"readme.*", "README.txt", true, kEnumeration},
    {"readme.*", "readme2", false, kEnumeration},
    {"readme.*", "readme", false},
    {"*.*", "noext", true, kEnumeration},
    {"*.*", "noext", false},
    {"*.*", ".hidden", true, kEnumeration},
    {"a?c.*", "ac.d", false, kEnumeration},
};

TEST(WildMatch, Table) {
  for (const auto& c : kCases) {
    EXPECT_EQ(WildMatch(c.pattern, c.text, c.options), c.expected)
        << "pattern '" << c.pattern << "' text '" << c.text << "' matchCase " << c.options.matchCase
        << " dotStar " << c.options.dotStarMatchesPlainName;
  }
}

TEST(WildMatch, WildcardTest) {
  const std::pair<const char*, bool> cases[] = {
      {"plain.txt", false}, {"*.txt", true}, {"a?", true}, {"<ab>", true},
      {"x>", true},         {"|dir", true},  {"", false},  {"[x]", false},
  };
  for (const auto& [text, wild] : cases) EXPECT_EQ(IsWildcard(text), wild) << text;
}

}  // namespace
}  // namespace brisko::platform
