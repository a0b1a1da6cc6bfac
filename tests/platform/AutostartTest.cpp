// The autostart entry: written with the executable's path, read back, removed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Autostart.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "support/TestEnvironment.h"

namespace fs = std::filesystem;
namespace platform = brisko::platform;

namespace {

using brisko::test::ReadFile;
using brisko::test::TempDir;

// The entry is a desktop file on POSIX; Windows keeps it in the registry.
class Autostart : public ::testing::Test {
 protected:
  void SetUp() override { BRISKO_POSIX_ONLY("the autostart entry is a desktop file"); }

  TempDir tmp_{"autostart"};
  const fs::path dir{tmp_.Path()};
};

TEST_F(Autostart, WritesNamedEntryHoldingTheExecutablePathAndReadsItBack) {
  const struct {
    const char* label;
    std::string exe;
  } cases[] = {
      {"plain", "/opt/brisko/bin/brisko-zip-backup"},
      {"blank", "/home/me/My Programs/brisko-zip-backup"},
      {"quote and dollar", "/tmp/a\"b$c/brisko"},
      {"percent", "/tmp/100%/brisko"},
  };
  for (const auto& c : cases) {
    platform::Autostart entry(dir.string() + "/autostart");  // folder created on demand
    ASSERT_TRUE(entry.Set(c.exe)) << c.label;
    EXPECT_EQ(entry.EntryPath(), dir.string() + "/autostart/Brisko Compress Backup.desktop") << c.label;
    EXPECT_EQ(entry.StoredExecutable(), c.exe) << c.label;
    const std::string text = ReadFile(entry.EntryPath());
    EXPECT_NE(text.find("Name=Brisko Compress Backup\n"), std::string::npos) << c.label;
    EXPECT_NE(text.find("Type=Application\n"), std::string::npos) << c.label;
  }
}

TEST_F(Autostart, RemoveDeletesTheEntryAndAMissingEntryIsNoError) {
  platform::Autostart entry(dir.string());
  EXPECT_TRUE(entry.Remove());  // nothing there yet
  ASSERT_TRUE(entry.Set("/usr/bin/brisko-zip-backup"));
  EXPECT_TRUE(entry.Remove());
  EXPECT_FALSE(fs::exists(entry.EntryPath()));
  EXPECT_EQ(entry.StoredExecutable(), "");
}

TEST_F(Autostart, UnwritableFolderFailsAndKeepsTheOldEntry) {
  if (brisko::test::IsSuperuser()) GTEST_SKIP() << "permissions do not bind the superuser";
  platform::Autostart entry(dir.string());
  ASSERT_TRUE(entry.Set("/old/path"));
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(entry.Set("/new/path"));
  fs::permissions(dir, fs::perms::owner_all);
  EXPECT_EQ(entry.StoredExecutable(), "/old/path");
}

TEST_F(Autostart, AFileInPlaceOfTheFolderFails) {
  fs::create_directories(dir);
  std::ofstream(dir / "autostart") << "not a folder";
  platform::Autostart entry((dir / "autostart").string());
  EXPECT_FALSE(entry.Set("/usr/bin/x"));
}

TEST_F(Autostart, DefaultFolderFollowsXdgConfigHome) {
  {
    brisko::test::ScopedEnv config("XDG_CONFIG_HOME", "/custom/config");
    EXPECT_EQ(platform::Autostart::DefaultFolder(), "/custom/config/autostart");
  }
  brisko::test::ScopedEnv config("XDG_CONFIG_HOME", "relative/ignored");
  EXPECT_NE(platform::Autostart::DefaultFolder().find("/.config/autostart"), std::string::npos);
}

}  // namespace
