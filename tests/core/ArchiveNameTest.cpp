// The naming rule of archives, as a table of examples.
#include "core/ArchiveName.h"

#include <gtest/gtest.h>

#include "core/DateTimeValue.h"
#include "platform/Platform.h"

namespace brisko::core {
namespace {

DateTime At(int y, int mo, int d, int h, int mi, int s) {
  return *TryEncodeDate(y, mo, d) + *TryEncodeTime(h, mi, s);
}

TEST(ArchiveName, Examples) {
  const DateTime march5 = At(2024, 3, 5, 14, 7, 9);
  // A folder without a final separator gets the native one; one with '/' keeps it ('/' separates on
  // Windows too).
  const std::string back = std::string("/back") + platform::kPathDelim;
  struct Case {
    const char* label;
    std::string folder, prefix;
    SuffixKind kind;
    int number;
    bool append0;
    int width;
    DateTime moment;
    std::string expected;
  } cases[] = {
      {"padded to width 4", "/back", "Docs", SuffixKind::Number, 12, true, 4, march5, back + "Docs0012.zip"},
      {"padding off", "/back", "Docs", SuffixKind::Number, 12, false, 4, march5, back + "Docs12.zip"},
      {"number as wide as width", "/back/", "Docs", SuffixKind::Number, 123, true, 3, march5,
       "/back/Docs123.zip"},
      {"number wider than width", "/back/", "Docs", SuffixKind::Number, 1000, true, 2, march5,
       "/back/Docs1000.zip"},
      {"seven with width 3", "/back/", "D", SuffixKind::Number, 7, true, 3, march5, "/back/D007.zip"},
      {"date suffix", "/back", "Docs", SuffixKind::Date, 1, false, 2, march5,
       back + "Docs2024-03-05_14h07m09s.zip"},
      {"date a year later differs", "/back", "Docs", SuffixKind::Date, 1, false, 2, At(2025, 3, 5, 14, 7, 9),
       back + "Docs2025-03-05_14h07m09s.zip"},
      {"no suffix", "/back", "Docs", SuffixKind::None, 5, true, 4, march5, back + "Docs.zip"},
      {"blanks trimmed", "  /back  ", "  Docs ", SuffixKind::None, 1, false, 2, march5, back + "Docs.zip"},
      {"empty folder stays relative", "", "Docs", SuffixKind::Number, 3, false, 2, march5, "Docs3.zip"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComposeArchivePath(c.folder, c.prefix, c.kind, c.number, c.append0, c.width, c.moment),
              c.expected)
        << c.label;
  }
}

TEST(ArchiveName, DateSuffixAtMidnight) {
  EXPECT_EQ(DateSuffix(At(2024, 12, 31, 0, 0, 0)), "2024-12-31_00h00m00s");
}

}  // namespace
}  // namespace brisko::core
