// Where the settings files live.
#include "core/DataDir.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "StoreTestDir.h"

namespace brisko::core {
namespace {

using testing::StoreTestDir;
namespace fs = std::filesystem;

TEST(DataDirTest, WritableProgramFolderIsUsed) {
  StoreTestDir program;
  StoreTestDir config;
  EXPECT_EQ(ResolveDataDir(program.Dir(), config.Dir(), "/nowhere"), program.Dir());
  // Without the trailing separator the result still has one.
  std::string bare = program.Dir();
  bare.pop_back();
  EXPECT_EQ(ResolveDataDir(bare, config.Dir(), "/nowhere"), program.Dir());
}

TEST(DataDirTest, InstalledProgramFolderIsNotUsedEvenIfWritable) {
  StoreTestDir prefix;
  StoreTestDir config;
  fs::create_directories(prefix.File("bin"));
  fs::create_directories(prefix.File("share/brisko-zip-backup/help"));
  EXPECT_EQ(ResolveDataDir(prefix.File("bin"), config.Dir(), "/nowhere"), config.File("brisko-zip-backup/"));
  // A portable copy that already holds its settings keeps them.
  StoreTestDir::Write(prefix.File("bin/project.ini"), "[Common]\n");
  EXPECT_EQ(ResolveDataDir(prefix.File("bin"), config.Dir(), "/nowhere"), prefix.File("bin/"));
}

TEST(DataDirTest, ProgramFolderHoldingProjectIniIsUsedEvenIfReadOnly) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  StoreTestDir program;
  StoreTestDir config;
  StoreTestDir::Write(program.File("project.ini"), "[Common]\n");
  ::chmod(program.Dir().c_str(), 0555);
  EXPECT_EQ(ResolveDataDir(program.Dir(), config.Dir(), "/nowhere"), program.Dir());
  ::chmod(program.Dir().c_str(), 0755);
}

TEST(DataDirTest, FallsBackToTheConfigFolderAndCreatesIt) {
  StoreTestDir config;
  const std::string missingProgram = config.File("no/such/program/dir");
  std::string dir = ResolveDataDir(missingProgram, config.File("xdg"), "/nowhere");
  EXPECT_EQ(dir, config.File("xdg/brisko-zip-backup/"));
  ASSERT_TRUE(fs::is_directory(dir));
  struct stat st {};
  ASSERT_EQ(::stat(dir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // Existing folder: returned as it is.
  EXPECT_EQ(ResolveDataDir(missingProgram, config.File("xdg"), "/nowhere"), dir);
}

TEST(DataDirTest, EmptyOrRelativeConfigHomeUsesDotConfig) {
  StoreTestDir home;
  EXPECT_EQ(ResolveDataDir("", "", home.Dir()), home.File(".config/brisko-zip-backup/"));
  EXPECT_EQ(ResolveDataDir("", "relative/dir", home.Dir()), home.File(".config/brisko-zip-backup/"));
}

TEST(DataDirTest, WindowsDriveRootsMapToTheHomeFolder) {
  for (const char* root : {"c:\\", "C:\\", "d:/", "c:"})
    EXPECT_EQ(MapWindowsDefault(root), DefaultSaveFolder()) << root;
  for (const char* other : {"/srv/back/", "c:\\Back\\", "", "cc:\\", "1:\\"})
    EXPECT_EQ(MapWindowsDefault(other), other) << other;
  EXPECT_EQ(DefaultSaveFolder().back(), '/');
}

}  // namespace
}  // namespace brisko::core
