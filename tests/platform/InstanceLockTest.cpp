// The folder lock refuses a second holder and frees the folder on release.
#include "platform/InstanceLock.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/PathRules.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using brisko::platform::InstanceLock;

TEST(InstanceLock, SecondHolderIsRefusedUntilRelease) {
  brisko::test::TempDir tmp("lock");
  const fs::path dir = tmp.Path();
  {
    InstanceLock first, second;
    ASSERT_TRUE(first.TryAcquire(dir.string())) << first.ErrorText();
    EXPECT_TRUE(first.Held());
    EXPECT_FALSE(second.TryAcquire(dir.string()));
    EXPECT_FALSE(second.Held());
    EXPECT_NE(second.ErrorText().find("Another instance"), std::string::npos) << second.ErrorText();
    first.Release();
    EXPECT_TRUE(second.TryAcquire(dir.string())) << second.ErrorText();
  }
  InstanceLock third;  // the destructor released the lock above
  EXPECT_TRUE(third.TryAcquire(dir.string()));
  third.Release();
}

// Another spelling of the same folder is the same folder: a second program must not get past the lock.
TEST(InstanceLock, EverySpellingOfTheFolderTakesTheSameLock) {
  brisko::test::TempDir tmp("lock");
  const std::string base = tmp.Path();
  tmp.MakeDir("port");
  tmp.MakeDir("t1");
  const char sep = brisko::platform::kPathDelim;
  const std::string port = base + sep + "port";
  InstanceLock held;
  ASSERT_TRUE(held.TryAcquire(port)) << held.ErrorText();
  const std::string spellings[] = {
      port + sep,
      base + sep + "." + sep + "port",
      base + sep + "t1" + sep + ".." + sep + "port",
      port + sep + sep,
  };
  for (const std::string& spelling : spellings) {
    InstanceLock other;
    EXPECT_FALSE(other.TryAcquire(spelling)) << spelling;
  }
}

TEST(InstanceLock, MissingFolderIsAnError) {
  BRISKO_POSIX_ONLY("the lock is a file in the folder; Windows locks by name");
  InstanceLock lock;
  EXPECT_FALSE(lock.TryAcquire("/nonexistent_brisko_dir/sub"));
  EXPECT_FALSE(lock.ErrorText().empty());
}
