// Where the settings files live.
#include "core/DataDir.h"

#include <gtest/gtest.h>

#include "support/Files.h"
#include "support/TempDir.h"
#include "support/TestEnvironment.h"

namespace brisko::core {
namespace {

using namespace brisko::test;
namespace fs = std::filesystem;

// The settings' folder below the user's configuration folder.
const std::string kSettingsFolder = platform::kWindows ? "Brisko ZIP Backup/" : "brisko-zip-backup/";

TEST(DataDirTest, WritableProgramFolderIsUsed) {
  TempDir program;
  TempDir config;
  EXPECT_EQ(ResolveDataDir(program.Dir(), config.Dir(), "/nowhere"), program.Dir());
  // Without the trailing separator the result still has one.
  std::string bare = program.Dir();
  bare.pop_back();
  EXPECT_EQ(ResolveDataDir(bare, config.Dir(), "/nowhere"), program.Dir());
}

TEST(DataDirTest, InstalledProgramFolderIsNotUsedEvenIfWritable) {
  TempDir prefix;
  TempDir config;
  fs::create_directories(prefix.Path("bin"));
  fs::create_directories(prefix.Path("share/brisko-zip-backup/help"));
  EXPECT_EQ(ResolveDataDir(prefix.Path("bin"), config.Dir(), "/nowhere"), config.Path(kSettingsFolder));
  // A portable copy that already holds its settings keeps them.
  WriteFile(prefix.Path("bin/project.ini"), "[Common]\n");
  EXPECT_EQ(ResolveDataDir(prefix.Path("bin"), config.Dir(), "/nowhere"), prefix.Path("bin/"));
}

TEST(DataDirTest, ProgramFolderHoldingProjectIniIsUsedEvenIfReadOnly) {
  if (IsSuperuser()) GTEST_SKIP() << "permissions do not stop root";
  TempDir program;
  TempDir config;
  WriteFile(program.Path("project.ini"), "[Common]\n");
  SetPermissionBits(program.Dir(), 0555);
  EXPECT_EQ(ResolveDataDir(program.Dir(), config.Dir(), "/nowhere"), program.Dir());
  SetPermissionBits(program.Dir(), 0755);
}

TEST(DataDirTest, FallsBackToTheConfigFolderAndCreatesIt) {
  TempDir config;
  const std::string missingProgram = config.Path("no/such/program/dir");
  std::string dir = ResolveDataDir(missingProgram, config.Path("xdg"), "/nowhere");
  EXPECT_EQ(dir, config.Path("xdg/" + kSettingsFolder));
  ASSERT_TRUE(fs::is_directory(dir));
  if (platform::kUnixModes) {
    EXPECT_EQ(PermissionBits(dir), 0700u);
  }
  // Existing folder: returned as it is.
  EXPECT_EQ(ResolveDataDir(missingProgram, config.Path("xdg"), "/nowhere"), dir);
}

TEST(DataDirTest, EmptyOrRelativeConfigHomeUsesDotConfig) {
  BRISKO_POSIX_ONLY("the folder of the user's settings comes from the system, not from the home folder");
  TempDir home;
  EXPECT_EQ(ResolveDataDir("", "", home.Dir()), home.Path(".config/brisko-zip-backup/"));
  EXPECT_EQ(ResolveDataDir("", "relative/dir", home.Dir()), home.Path(".config/brisko-zip-backup/"));
}

TEST(DataDirTest, WindowsDriveRootsMapToTheHomeFolder) {
  BRISKO_POSIX_ONLY("drive roots are real folders on Windows");
  for (const char* root : {"c:\\", "C:\\", "d:/", "c:"})
    EXPECT_EQ(MapWindowsDefault(root), DefaultSaveFolder()) << root;
  for (const char* other : {"/srv/back/", "c:\\Back\\", "", "cc:\\", "1:\\"})
    EXPECT_EQ(MapWindowsDefault(other), other) << other;
  EXPECT_EQ(DefaultSaveFolder().back(), '/');
}

}  // namespace
}  // namespace brisko::core
