// Attribute, size, date and contained-text filters of the finder.
#include <gtest/gtest.h>

#include <string>

#include "find/SearchFilters.h"
#include "platform/CivilDate.h"
#include "platform/Platform.h"
#include "support/TempDir.h"

namespace brisko::find {
namespace {

using brisko::test::TempDir;
using platform::LocalMomentToTime;

constexpr double kDay_2024_05_10 = 45422;  // 2024-05-10 as a day count since 1899-12-30

TEST(SearchFilters, Attributes) {
  SearchState s;
  s.attributes = {kArchive, kReadOnly, kHidden, kSystem};
  EXPECT_TRUE(PassesAttributes(s, platform::kAttrArchive));
  EXPECT_TRUE(PassesAttributes(s, 0));                          // an empty set passes
  EXPECT_FALSE(PassesAttributes(s, platform::kAttrDirectory));  // folders are not asked for
  EXPECT_TRUE(PassesAttributes(s, platform::kAttrDirectory | platform::kAttrHidden));
  EXPECT_TRUE(PassesAttributes(s, platform::kAttrArchive | platform::kAttrVolumeId));  // volume bit dropped
  s.exactAttribute = true;
  EXPECT_FALSE(PassesAttributes(s, platform::kAttrArchive));
  s.attributes = {kArchive, kReadOnly};
  EXPECT_TRUE(PassesAttributes(s, platform::kAttrArchive | platform::kAttrReadOnly));
  EXPECT_FALSE(PassesAttributes(s, 0));
}

TEST(SearchFilters, Size) {
  SearchState s;
  EXPECT_TRUE(PassesSize(s, false, 0));
  s.sizeMin = 10;
  s.sizeMax = 20;
  EXPECT_FALSE(PassesSize(s, false, 9));
  EXPECT_TRUE(PassesSize(s, false, 10));
  EXPECT_TRUE(PassesSize(s, false, 20));
  EXPECT_FALSE(PassesSize(s, false, 21));
  EXPECT_TRUE(PassesSize(s, true, 0));  // folders pass
}

TEST(SearchFilters, DateBounds) {
  const std::time_t morning = LocalMomentToTime(2024, 5, 10, 8, 30, 0);
  const std::time_t evening = LocalMomentToTime(2024, 5, 10, 23, 59, 58);
  const double noon = 0.5;
  struct Case {
    const char* label;
    DateBounds bounds;
    std::time_t item;
    bool pass;
  };
  const Case cases[] = {
      {"no bounds", {0, 0}, morning, true},
      {"after a whole date, early that day", {0, kDay_2024_05_10}, morning, true},
      {"after a whole date, late that day", {0, kDay_2024_05_10}, evening, true},
      {"before a whole date, late that day", {kDay_2024_05_10, 0}, evening, true},
      {"before the day before", {kDay_2024_05_10 - 1, 0}, morning, false},
      {"after the next day", {0, kDay_2024_05_10 + 1}, evening, false},
      {"after noon, time only", {0, noon}, morning, false},
      {"after noon, time only, evening", {0, noon}, evening, true},
      {"before noon, time only", {noon, 0}, morning, true},
      {"full moment after", {0, kDay_2024_05_10 + noon}, morning, false},
      {"full moment before", {kDay_2024_05_10 + noon, 0}, morning, true},
      {"inclusive at the exact moment",
       {kDay_2024_05_10 + 8.5 / 24, kDay_2024_05_10 + 8.5 / 24},
       morning,
       true},
  };
  for (const Case& c : cases) EXPECT_EQ(PassesDateBounds(c.bounds, c.item), c.pass) << c.label;
}

TEST(SearchFilters, ContainedTextAcrossBlocks) {
  TempDir dir;
  std::string content(4096 - 3, 'x');
  content += "NeedleText";  // "Nee" ends the first block, "dleText" starts the second
  content += std::string(5000, 'y');
  std::string path = dir.Write("a.bin", content);
  EXPECT_TRUE(FileContains(path, "NeedleText", false));
  EXPECT_TRUE(FileContains(path, "needletext", true));
  EXPECT_FALSE(FileContains(path, "needletext", false));
  EXPECT_FALSE(FileContains(path, "absent", true));
  EXPECT_TRUE(FileContains(path, "yyy", true));
  EXPECT_FALSE(FileContains(dir.Path("missing.bin"), "x", true));
  std::string small = dir.Write("small.txt", "ab");
  EXPECT_TRUE(FileContains(small, "ab", true));
  EXPECT_FALSE(FileContains(small, "abc", true));
}

}  // namespace
}  // namespace brisko::find
