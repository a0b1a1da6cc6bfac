// Files replaced in one step: the target holds the old or the whole new content, and no temporary stays.
#include "platform/AtomicFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "support/Files.h"
#include "support/TempDir.h"
#include "support/TestEnvironment.h"

namespace brisko::platform {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_.Path(name); }
  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_.Path()), {}));
  }

  test::TempDir dir_;
};

TEST_F(AtomicFileTest, CommitReplacesTheTargetWithTheWholeContentAndMode) {
  const std::string target = Path("settings.ini");
  std::ofstream(target) << "old";
  ASSERT_TRUE(WriteFileAtomically(target, "new content", 0640));
  EXPECT_EQ(test::ReadFile(target), "new content");
  if (kUnixModes) {
    EXPECT_EQ(test::PermissionBits(target), 0640u);
  }
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, WithoutCommitTheTargetKeepsItsOldContent) {
  const std::string target = Path("archive.zip");
  std::ofstream(target) << "old";
  {
    AtomicFile file(target);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write("half of the new"));
    EXPECT_EQ(fs::path(file.TempPath()).parent_path(),
              fs::path(dir_.Path()));  // same folder: the rename cannot cross disks
  }
  EXPECT_EQ(test::ReadFile(target), "old");
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, ContentWrittenByNameIsCommitted) {
  const std::string target = Path("copy.zip");
  AtomicFile file(target);
  ASSERT_TRUE(file.Open());
  std::ofstream(file.TempPath(), std::ios::binary) << "written by another writer";
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(test::ReadFile(target), "written by another writer");
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, AnAdoptedTemporaryReplacesTheTargetOrGoes) {
  const std::string target = Path("archive.zip");
  std::ofstream(target) << "old";
  for (const bool commit : {false, true}) {
    const std::string temp = Path("archive.zip.new");
    std::ofstream(temp, std::ios::binary) << "made by the writer";
    {
      AtomicFile file(target);
      file.Adopt(temp);
      if (commit) {
        ASSERT_TRUE(file.Commit());
      }
    }
    EXPECT_EQ(test::ReadFile(target), commit ? "made by the writer" : "old");
    EXPECT_EQ(EntryCount(), 1u);
  }
}

TEST_F(AtomicFileTest, FailuresLeaveTheTargetAlone) {
  EXPECT_FALSE(WriteFileAtomically(Path("missing/folder/file.txt"), "x"));
  // The target is a folder: the rename fails and the temporary goes.
  fs::create_directory(Path("folder"));
  EXPECT_FALSE(WriteFileAtomically(Path("folder"), "x"));
  EXPECT_TRUE(fs::is_directory(Path("folder")));
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, AReaderThatHoldsTheTargetOnlyDelaysTheReplace) {
  // Windows replaces no file that is open: another program reading the log for a moment must not
  // make the write fail.
  const std::string target = Path("log.txt");
  std::ofstream(target) << "old";
  auto reader = std::make_unique<std::ifstream>(test::FsPath(target));
  std::atomic<bool> returned{false};
  // The reader lets go once the new content waits beside the target (or the write has returned).
  std::thread closer([&] {
    while (!returned && EntryCount() < 2) std::this_thread::yield();
    reader.reset();
  });
  const bool written = WriteFileAtomically(target, "new", 0600);
  returned = true;
  closer.join();
  EXPECT_TRUE(written);
  EXPECT_EQ(test::ReadFile(target), "new");
}

}  // namespace
}  // namespace brisko::platform
