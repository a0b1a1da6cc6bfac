// Table-driven tests of the wildcard matcher and the wildcard test.
#include <gtest/gtest.h>

#include "zip/names/WildMatch.h"

using brisko::zip::IsWildcard;
using brisko::zip::WildMatch;
using brisko::zip::WildMatchResult;
using brisko::zip::WildResult;

namespace {

struct MatchCase {
  const char* pattern;
  const char* text;
  bool expected;
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
};

TEST(WildMatch, Table) {
  for (const auto& c : kCases) {
    EXPECT_EQ(WildMatch(c.pattern, c.text), c.expected)
        << "pattern '" << c.pattern << "' text '" << c.text << "'";
  }
}

TEST(WildMatch, ResultKinds) {
  EXPECT_EQ(WildMatchResult("abc", "abcd"), WildResult::TextLeftOver);
  EXPECT_EQ(WildMatchResult("abcd", "abc"), WildResult::TextEnded);
  EXPECT_EQ(WildMatchResult("<xy>", "a"), WildResult::SetMismatch);
  EXPECT_EQ(WildMatchResult("x", "a"), WildResult::LiteralMismatch);
  EXPECT_EQ(WildMatchResult("<>", "a"), WildResult::PatternError);
  EXPECT_EQ(WildMatchResult("*<a-c>x", "zbx"), WildResult::TextEnded);
}

TEST(WildMatch, WildcardTest) {
  const std::pair<const char*, bool> cases[] = {
      {"plain.txt", false}, {"*.txt", true}, {"a?", true}, {"<ab>", true},
      {"x>", true},         {"|dir", true},  {"", false},  {"[x]", false},
  };
  for (const auto& [text, wild] : cases) EXPECT_EQ(IsWildcard(text), wild) << text;
}

}  // namespace
