// Selection items against stored names: names literally, folders with what is below them, wildcards.
#include <gtest/gtest.h>

#include "platform/PathRules.h"
#include "zip/extract/MemberSelection.h"

namespace brisko::zip {
namespace {

TEST(MemberSelectorTest, NamesPickThemselvesAndWhatIsBelowWildcardsMatch) {
  const bool caseBlind = platform::kNamesIgnoreCase;
  const struct {
    const char* item;
    SelectionItem kind;
    const char* stored;
    bool picked;
  } cases[] = {
      {"a.txt", SelectionItem::Exact, "a.txt", true},
      {"a.txt", SelectionItem::Exact, "a.txt.bak", false},
      {"docs/", SelectionItem::Exact, "docs/", true},
      {"docs/", SelectionItem::Exact, "docs/x/y.txt", true},
      {"docs", SelectionItem::Typed, "docs/x.txt", true},
      {"docs", SelectionItem::Exact, "docs2/x.txt", false},
      // Marks in an exact name are ordinary characters.
      {"*.txt", SelectionItem::Exact, "*.txt", true},
      {"*.txt", SelectionItem::Exact, "a.txt", false},
      {"a?.txt", SelectionItem::Exact, "ab.txt", false},
      // A typed wildcard matches whole names, letters without regard to case.
      {"*.TXT", SelectionItem::Typed, "sub/a.txt", true},
      {"sub/?.txt", SelectionItem::Typed, "sub/ab.txt", false},
      // A name compares as the system tells names apart.
      {"A.TXT", SelectionItem::Exact, "a.txt", caseBlind},
      {"", SelectionItem::Typed, "a.txt", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MemberSelector(c.item, c.kind).Matches(c.stored), c.picked) << c.item << " / " << c.stored;
}

}  // namespace
}  // namespace brisko::zip
