// brisko-backup restore on archives written by brisko-backup run and by zip.
#include <gtest/gtest.h>

#include "BackupCliFixture.h"
#include "core/PasswordCodec.h"
#include "support/TestManifest.h"

namespace brisko::core::test {
namespace {

class BackupCliRestoreTest : public BackupCliFixture {
 protected:
  void SetUp() override {
    BackupFixture::SetUp();
    restored = root / "restored";
    SetMTime("a.txt", At(2024, 2, 1, 9, 30, 12));
    SetMTime("b.txt", At(2023, 12, 31, 23, 59, 58));
    SetMTime("sub/c.txt", At(2024, 2, 29, 0, 0, 0));
  }
  // Every source file is present below `base` + `prefix`, byte-exact with its time.
  void ExpectRestored(const fs::path& base, bool flat) {
    for (const char* rel : {"a.txt", "b.txt", "sub/c.txt"}) {
      const fs::path from = src / rel;
      const fs::path to = flat ? base / fs::path(rel).filename() : base / rel;
      ASSERT_TRUE(fs::exists(to)) << to;
      EXPECT_EQ(ReadFile(to.string()), ReadFile(from.string())) << rel;
      EXPECT_EQ(platform::StatFile(to.string()).lastWrite, platform::StatFile(from.string()).lastWrite)
          << rel;
    }
  }
  std::string Info(const std::string& archive, const std::string& tail) const {
    return archive + "  " + std::to_string(fs::file_size(archive) / 1024) + "Kb  " + tail;
  }
  fs::path restored;
};

TEST_F(BackupCliRestoreTest, RestoresWhatRunWroteByteExactWithTimes) {
  WriteOneProject({{"Whether password Project", "1"}, {"Password", EncodePassword("pw", "Docs")}});
  std::string out, err;
  ASSERT_EQ(Cli("run Docs", &out, &err), 0) << err;
  const std::string archive = DestPath("Docs1.zip");
  ASSERT_TRUE(fs::exists(archive));

  ASSERT_EQ(Cli("restore " + ShellQuote(archive) + " --to " + ShellQuote(restored.string()) +
                    " --password pw --project Docs",
                &out, &err),
            0)
      << out << err;
  ExpectRestored(restored, true);  // the project stores no folders
  EXPECT_NE(out.find("Restore Files Succeeds!\nProject Name: 'Docs'\nFilename:     'Docs1.zip'"),
            std::string::npos)
      << out;
  EXPECT_EQ(LastLog("Operate"), "Restore");
  EXPECT_EQ(LastLog("Status"), "Succeeds");
  EXPECT_EQ(LastLog("Project"), "Docs");
  EXPECT_EQ(LastLog("Information"), Info(archive, "3 of 3 files restored"));
  EXPECT_EQ(LogIni().ReadInteger("Common", "Log Total", 0), 2);  // the backup and the restore
}

TEST_F(BackupCliRestoreTest, FullPathsAndFlat) {
  WriteOneProject({{"Whether store path in Zip", "1"}});
  ASSERT_EQ(Cli("run Docs"), 0);
  const std::string archive = DestPath("Docs1.zip");
  std::string err;
  ASSERT_EQ(Cli("restore " + ShellQuote(archive) + " --to " + ShellQuote(restored.string()), nullptr, &err),
            0)
      << err;
  // Stored full paths are relative to the root: they reappear below the target.
  ExpectRestored(restored / src.relative_path(), false);
  EXPECT_EQ(LastLog("Project"), "");

  const fs::path flat = root / "flat";
  ASSERT_EQ(Cli("restore " + ShellQuote(archive) + " --to " + ShellQuote(flat.string()) + " --flat"), 0);
  ExpectRestored(flat, true);
}

TEST_F(BackupCliRestoreTest, OverwriteRules) {
  ASSERT_EQ(RunShell("cd " + ShellQuote(src.string()) + " && zip -q -X -r " +
                     ShellQuote((root / "z.zip").string()) + " a.txt b.txt sub >/dev/null")
                .exitCode,
            0);
  const std::string restore =
      "restore " + ShellQuote((root / "z.zip").string()) + " --to " + ShellQuote(restored.string());
  ASSERT_EQ(Cli(restore), 0);
  const fs::path a = restored / "a.txt";
  auto spoil = [&] { std::ofstream(a, std::ios::binary | std::ios::trunc) << "changed"; };

  spoil();
  EXPECT_EQ(Cli(restore + " --overwrite never"), 0);
  EXPECT_EQ(ReadFile(a.string()), "changed");
  EXPECT_EQ(Cli(restore + " --overwrite prompt", nullptr, nullptr, "n\n"), 0);
  EXPECT_EQ(ReadFile(a.string()), "changed");
  std::string err;
  EXPECT_EQ(Cli(restore + " --overwrite prompt", nullptr, &err, "y\ny\ny\n"), 0);
  EXPECT_NE(err.find("Replace existing file " + (restored / "a.txt").string() +
                     "? [y]es, [n]o, [A]ll, [N]one, [c]ancel"),
            std::string::npos)
      << err;
  EXPECT_EQ(ReadFile(a.string()), ReadFile((src / "a.txt").string()));
  spoil();
  EXPECT_EQ(Cli(restore + " --overwrite newer"), 0);  // the spoiled file is newer than the entry
  EXPECT_EQ(ReadFile(a.string()), "changed");
  EXPECT_EQ(Cli(restore + " --overwrite older"), 0);
  EXPECT_EQ(ReadFile(a.string()), ReadFile((src / "a.txt").string()));
  spoil();
  EXPECT_EQ(Cli(restore + " --overwrite always"), 0);
  ExpectRestored(restored, false);
}

TEST_F(BackupCliRestoreTest, MembersPickFilesFoldersAndWildcards) {
  const std::string archive = (root / "z.zip").string();
  ASSERT_EQ(RunShell("cd " + ShellQuote(src.string()) + " && zip -q -X -r " + ShellQuote(archive) +
                     " a.txt b.txt sub >/dev/null")
                .exitCode,
            0);
  struct Case {
    std::string members;
    std::vector<std::string> restored;
    int exit;
  };
  const Case cases[] = {
      {"a.txt sub", {"a.txt", "sub/c.txt"}, 0},
      {"sub/", {"sub/c.txt"}, 0},
      {"'*b.txt'", {"b.txt"}, 0},
      {"a.txt missing.txt", {"a.txt"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.members);
    fs::remove_all(restored);
    std::string err;
    EXPECT_EQ(
        Cli("restore " + ShellQuote(archive) + " --to " + ShellQuote(restored.string()) + " " + c.members,
            nullptr, &err),
        c.exit)
        << err;
    std::vector<std::string> got;
    if (fs::exists(restored))
      for (const auto& e : fs::recursive_directory_iterator(restored))
        if (e.is_regular_file()) got.push_back(fs::relative(e.path(), restored).generic_string());
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, c.restored);
    if (c.exit != 0) {
      EXPECT_NE(err.find("missing.txt: not in the archive"), std::string::npos) << err;
    }
  }
}

TEST_F(BackupCliRestoreTest, FailuresExitOneAndLogFails) {
  // An archive made once by another tool: a freshly made one would let a wrong password through its
  // one-byte header check once in 256 runs.
  const std::string archive = (root / "p.zip").string();
  fs::copy_file(brisko::test::TestDataPath("interop", "7z_zipcrypto.zip"), archive);
  std::string out, err;
  EXPECT_EQ(
      Cli("restore " + ShellQuote(archive) + " --to " + ShellQuote(restored.string()) + " --password bad",
          &out, &err),
      1);
  EXPECT_NE(err.find("The password is incorrect"), std::string::npos) << err;
  EXPECT_NE(out.find("Restore files fails!"), std::string::npos) << out;
  EXPECT_EQ(LastLog("Status"), "Fails");
  EXPECT_EQ(LastLog("Information"), Info(archive, "0 of 6 files restored; data.bin: wrong password"));
  EXPECT_NE(err.find("data.bin: wrong password"), std::string::npos) << err;

  const std::string text = (root / "text.zip").string();
  std::ofstream(text) << "no archive";
  EXPECT_EQ(Cli("restore " + ShellQuote(text) + " --to " + ShellQuote(restored.string()), nullptr, &err), 1);
  EXPECT_NE(err.find("Incomplete Zip File"), std::string::npos) << err;

  // An empty file is no archive, neither to restore from nor to verify.
  const std::string empty = (root / "empty.zip").string();
  std::ofstream{empty};
  EXPECT_EQ(Cli("restore " + ShellQuote(empty) + " --to " + ShellQuote(restored.string()), nullptr, &err), 1);
  EXPECT_NE(err.find("Not a valid zip file!"), std::string::npos) << err;
  EXPECT_EQ(Cli("verify " + ShellQuote(empty), nullptr, &err), 1);
  EXPECT_NE(err.find("Not a valid zip file!"), std::string::npos) << err;

  EXPECT_EQ(Cli("restore " + ShellQuote(archive)), 2);
  EXPECT_EQ(Cli("restore --to x"), 2);
  EXPECT_EQ(Cli("restore " + ShellQuote(archive) + " --to x --overwrite sometimes"), 2);
  EXPECT_EQ(Cli("restore " + ShellQuote((root / "none.zip").string()) + " --to x"), 1);
}

}  // namespace
}  // namespace brisko::core::test
