// The autostart entry: written with the executable's path, read back, removed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Autostart.h"

namespace fs = std::filesystem;
using brisko::platform::Autostart;

namespace {

fs::path TempFolder(const char* leaf) {
  const fs::path dir = fs::temp_directory_path() / ("brisko-autostart-" + std::to_string(::getpid())) / leaf;
  fs::remove_all(dir);
  return dir;
}

TEST(Autostart, WritesNamedEntryHoldingTheExecutablePathAndReadsItBack) {
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
    const fs::path dir = TempFolder("write");
    Autostart entry(dir.string() + "/autostart");  // folder created on demand
    ASSERT_TRUE(entry.Set(c.exe)) << c.label;
    EXPECT_EQ(entry.EntryPath(), dir.string() + "/autostart/Brisko Compress Backup.desktop") << c.label;
    EXPECT_EQ(entry.StoredExecutable(), c.exe) << c.label;
    std::ifstream in(entry.EntryPath());
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("Name=Brisko Compress Backup\n"), std::string::npos) << c.label;
    EXPECT_NE(text.find("Type=Application\n"), std::string::npos) << c.label;
  }
}

TEST(Autostart, RemoveDeletesTheEntryAndAMissingEntryIsNoError) {
  const fs::path dir = TempFolder("remove");
  Autostart entry(dir.string());
  EXPECT_TRUE(entry.Remove());  // nothing there yet
  ASSERT_TRUE(entry.Set("/usr/bin/brisko-zip-backup"));
  EXPECT_TRUE(entry.Remove());
  EXPECT_FALSE(fs::exists(entry.EntryPath()));
  EXPECT_EQ(entry.StoredExecutable(), "");
}

TEST(Autostart, UnwritableFolderFailsAndKeepsTheOldEntry) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  const fs::path dir = TempFolder("readonly");
  Autostart entry(dir.string());
  ASSERT_TRUE(entry.Set("/old/path"));
  ::chmod(dir.c_str(), 0500);
  EXPECT_FALSE(entry.Set("/new/path"));
  ::chmod(dir.c_str(), 0700);
  EXPECT_EQ(entry.StoredExecutable(), "/old/path");
}

TEST(Autostart, AFileInPlaceOfTheFolderFails) {
  const fs::path dir = TempFolder("blocked");
  fs::create_directories(dir);
  std::ofstream(dir / "autostart") << "not a folder";
  Autostart entry((dir / "autostart").string());
  EXPECT_FALSE(entry.Set("/usr/bin/x"));
}

TEST(Autostart, DefaultFolderFollowsXdgConfigHome) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", "/custom/config", 1);
  EXPECT_EQ(Autostart::DefaultFolder(), "/custom/config/autostart");
  ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  EXPECT_NE(Autostart::DefaultFolder().find("/.config/autostart"), std::string::npos);
  if (old) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
