// The ring of kept archives: filling, reusing, lowering and raising the keep count, renames.
#include "core/Rotation.h"

#include <gtest/gtest.h>

#include "core/IniFile.h"
#include "core/SettingsFiles.h"
#include "core/SettingsWriteError.h"
#include "platform/Platform.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "support/TestEnvironment.h"

namespace brisko::core {
namespace {

using namespace brisko::test;

class RotationTest : public ::testing::Test {
 protected:
  void Run(const std::string& archive, int keep, SuffixKind suffix = SuffixKind::Number) {
    RotateArchives(dir.Dir(), "Docs", suffix, keep, archive,
                   [this](const std::string& p) { deleted.push_back(p); });
  }
  IniFile Store() { return IniFile(StoreNumberPath(dir.Dir())); }
  std::vector<std::string> Slots(int n) {
    std::vector<std::string> out;
    for (int k = 1; k <= n; ++k) out.push_back(Store().ReadString("Docs", "N" + std::to_string(k), ""));
    return out;
  }
  int Head() { return Store().ReadInteger("Docs", "Head", -1); }
  int Max() { return Store().ReadInteger("Docs", "Max", -1); }

  TempDir dir;
  std::vector<std::string> deleted;
  using V = std::vector<std::string>;
};

TEST_F(RotationTest, FillsThenReusesTheOldestSlot) {
  for (int i = 1; i <= 3; ++i) Run("A" + std::to_string(i), 3);
  EXPECT_EQ(Slots(3), (V{"A1", "A2", "A3"}));
  EXPECT_EQ(Head(), 3);
  EXPECT_TRUE(deleted.empty());
  Run("A4", 3);
  EXPECT_EQ(deleted, V{"A1"});
  Run("A5", 3);
  EXPECT_EQ(deleted, (V{"A1", "A2"}));
  EXPECT_EQ(Slots(3), (V{"A4", "A5", "A3"}));
  EXPECT_EQ(Head(), 2);
}

TEST_F(RotationTest, LoweringTheKeepCountDeletesTheSurplusAtOnce) {
  for (int i = 1; i <= 5; ++i) Run("A" + std::to_string(i), 5);
  Run("A6", 3);
  EXPECT_EQ(deleted, (V{"A1", "A2", "A3"}));
  EXPECT_EQ(Slots(3), (V{"A6", "A4", "A5"}));
  EXPECT_EQ(Max(), 3);
  EXPECT_EQ(Head(), 1);
  EXPECT_EQ(Store().ReadString("Docs", "N5", ""), "A5");  // slots above K stay untouched
}

TEST_F(RotationTest, LoweringAPartlyFilledRingNeverDeletesPlaceholders) {
  Run("A1", 5);
  Run("A2", 5);  // slots 3..5 never written
  Run("A3", 2);
  // Oldest first: NoFile3, NoFile4, NoFile5, A1, A2; three placeholders are dropped, not deleted.
  EXPECT_EQ(deleted, V{"A1"});
  EXPECT_EQ(Slots(2), (V{"A3", "A2"}));
}

TEST_F(RotationTest, RaisingTheKeepCountGrowsTheRingOnlyAfterTheOldMax) {
  for (int i = 1; i <= 3; ++i) Run("A" + std::to_string(i), 3);
  Run("A4", 5);
  Run("A5", 5);
  EXPECT_TRUE(deleted.empty());
  Run("A6", 5);
  EXPECT_EQ(deleted, V{"A1"});
}

TEST_F(RotationTest, RaisingAfterTheRingWrappedStillDeletes) {
  for (int i = 1; i <= 4; ++i) Run("A" + std::to_string(i), 3);
  deleted.clear();
  Run("A5", 5);
  EXPECT_EQ(deleted, V{"A2"});
  EXPECT_EQ(Slots(3), (V{"A4", "A5", "A3"}));
}

TEST_F(RotationTest, NoneSuffixIsNotRotated) {
  Run("A1", 3, SuffixKind::None);
  EXPECT_FALSE(Store().SectionExists("Docs"));
}

TEST_F(RotationTest, TheArchiveJustWrittenIsNeverDeleted) {
  // The counter stopped at 1000: every run writes the same name.
  for (int i = 0; i < 5; ++i) Run("/b/Docs1000.zip", 2);
  EXPECT_TRUE(deleted.empty());
  // A path still held by another slot survives too.
  Run("/b/x.zip", 2);
  EXPECT_TRUE(deleted.empty());
  Run("/b/y.zip", 2);
  EXPECT_EQ(deleted, V{"/b/Docs1000.zip"});
}

TEST_F(RotationTest, PathsDifferingInCaseAreDifferentArchives) {
  if (platform::kNamesIgnoreCase) GTEST_SKIP() << "file names that differ only in case are one file here";
  Run("/b/x.zip", 2);
  Run("/b/y.zip", 2);
  Run("/b/X.ZIP", 2);
  EXPECT_EQ(deleted, V{"/b/x.zip"});
}

TEST_F(RotationTest, RefusedWriteDeletesNothing) {
  for (int i = 1; i <= 3; ++i) Run("A" + std::to_string(i), 3);
  SetPermissionBits(StoreNumberPath(dir.Dir()), 0444);
  EXPECT_THROW(Run("A4", 3), SettingsWriteError);
  SetPermissionBits(StoreNumberPath(dir.Dir()), 0600);
  EXPECT_TRUE(deleted.empty());
  EXPECT_EQ(Head(), 3);
}

TEST_F(RotationTest, RealFilesAreDeletedAndMissingOnesIgnored) {
  std::string a1 = dir.Path("A1.zip"), a2 = dir.Path("A2.zip"), a3 = dir.Path("A3.zip");
  WriteFile(a1, "x");
  WriteFile(a2, "x");
  RotateArchives(dir.Dir(), "Docs", SuffixKind::Date, 2, a1);
  RotateArchives(dir.Dir(), "Docs", SuffixKind::Date, 2, a2);
  RotateArchives(dir.Dir(), "Docs", SuffixKind::Date, 2, a3);
  EXPECT_FALSE(std::filesystem::exists(a1));
  EXPECT_TRUE(std::filesystem::exists(a2));
  std::filesystem::remove(a2);  // removed by the user before its turn
  EXPECT_NO_THROW(RotateArchives(dir.Dir(), "Docs", SuffixKind::Date, 2, dir.Path("A4.zip")));
}

TEST_F(RotationTest, RenameMovesTheRecord) {
  for (int i = 1; i <= 3; ++i) Run("A" + std::to_string(i), 3);
  RenameRotationSection(dir.Dir(), "Docs", "Papers");
  EXPECT_FALSE(Store().SectionExists("Docs"));
  EXPECT_EQ(Store().ReadString("Papers", "N2", ""), "A2");
  EXPECT_EQ(Store().ReadInteger("Papers", "Head", 0), 3);
  EXPECT_EQ(Store().ReadInteger("Papers", "Max", 0), 3);

  // A change of letter case only keeps the record.
  RenameRotationSection(dir.Dir(), "Papers", "PAPERS");
  EXPECT_EQ(Store().ReadString("papers", "N1", ""), "A1");

  CopyRotationSection(dir.Dir(), "Papers", "Copy");
  EXPECT_EQ(Store().ReadString("Copy", "N3", ""), "A3");
  EraseRotationSection(dir.Dir(), "copy");
  EXPECT_FALSE(Store().SectionExists("Copy"));

  // A project that never rotated gets no section under its new name.
  RenameRotationSection(dir.Dir(), "Never", "Other");
  EXPECT_FALSE(Store().SectionExists("Other"));
}

}  // namespace
}  // namespace brisko::core
