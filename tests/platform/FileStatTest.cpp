// File attributes and times through the platform layer.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/Platform.h"

using namespace brisko::platform;

TEST(FileStat, ReadOnlyAndTimeRoundTrip) {
  std::string path =
      TempDir() + "/brisko-filestat-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed());
  { std::ofstream(path) << "abc"; }
  FileStat st = StatFile(path);
  ASSERT_TRUE(st.exists);
  EXPECT_EQ(st.size, 3u);
  EXPECT_FALSE(st.attributes & kAttrReadOnly);

  ASSERT_TRUE(SetLastWriteTime(path, 1600000000));
  EXPECT_EQ(StatFile(path).lastWrite, 1600000000);

  ASSERT_TRUE(SetReadOnly(path, true));
  EXPECT_TRUE(StatFile(path).attributes & kAttrReadOnly);
  ASSERT_TRUE(SetReadOnly(path, false));
  EXPECT_FALSE(StatFile(path).attributes & kAttrReadOnly);
  std::remove(path.c_str());
  EXPECT_FALSE(StatFile(path).exists);
}
