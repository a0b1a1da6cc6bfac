// Member name conversion between UTF-8 and code page 437.
#include <gtest/gtest.h>

#include "zip/format/ZipConstants.h"
#include "zip/names/CodePage.h"

namespace brisko::zip {
namespace {

TEST(CodePage, EncodeStoresUtf8WithFlagUnlessAscii) {
  struct Case {
    const char* utf8;
    std::string bytes;
    bool utf8Flag;
  };
  const Case cases[] = {
      {"plain.txt", "plain.txt", false},
      {"caf\xC3\xA9.txt", "caf\xC3\xA9.txt", true},  // every non-ASCII name: UTF-8 with the flag
      {"Gr\xC3\xBC\xC3\x9F"
       "e.txt",
       "Gr\xC3\xBC\xC3\x9F"
       "e.txt",
       true},
      {"\xCE\x95\xCE\xBB", "\xCE\x95\xCE\xBB", true},
      {"emoji-\xF0\x9F\x99\x82", "emoji-\xF0\x9F\x99\x82", true},
      {"latin1-\xE9", "latin1-\xE9", false},  // not UTF-8: unchanged, no flag
  };
  for (const Case& c : cases) {
    EncodedName e = EncodeEntryName(c.utf8);
    EXPECT_EQ(e.bytes, c.bytes) << c.utf8;
    EXPECT_EQ(e.needsUtf8Flag, c.utf8Flag) << c.utf8;
  }
}

TEST(CodePage, EveryHighByteRoundTrips) {
  for (int b = 0x80; b <= 0xFF; ++b) {
    std::string one(1, static_cast<char>(b));
    std::string utf8 = Cp437ToUtf8(one);
    EXPECT_TRUE(IsValidUtf8(utf8)) << b;
    std::string back;
    ASSERT_TRUE(Utf8ToCp437(utf8, back)) << b;
    EXPECT_EQ(back, one) << b;
  }
}

TEST(CodePage, DecodeKeepsUnixBytesAndConvertsTheRest) {
  EXPECT_EQ(DecodeEntryName("\xFF\xFE", kFlagUtf8, 0x0314), "\xC2\xA0\xE2\x96\xA0");
  EXPECT_TRUE(IsValidUtf8(DecodeEntryName("\xC0\xAF", 0, 0x0014)));     // overlong form rejected
  EXPECT_EQ(DecodeEntryName("latin1-\xE9", 0, 0x0314), "latin1-\xE9");  // a Unix name byte for byte
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));                            // surrogate
}

}  // namespace
}  // namespace brisko::zip
