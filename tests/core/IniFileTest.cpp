// The settings-file rules the rest of the program relies on.
#include "core/IniFile.h"

#include <thread>

#include <gtest/gtest.h>

#include "core/SettingsWriteError.h"
#include "platform/AtomicFile.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "support/TestEnvironment.h"
#include "support/ThrownMessage.h"

namespace brisko::core {
namespace {

using namespace brisko::test;

TEST(IniFileTest, LookupsIgnoreCaseAndTrimBlanks) {
  TempDir dir;
  WriteFile(dir.Path("a.ini"), "[Common]\r\n  Project Count =  3  \r\nLast Project=  Docs \r\n");
  IniFile ini(dir.Path("a.ini"));
  EXPECT_EQ(ini.ReadInteger("common", "PROJECT COUNT", 0), 3);
  EXPECT_EQ(ini.ReadString("COMMON", "last project", "x"), "Docs");
  EXPECT_EQ(ini.ReadString("Common", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("NoSection", "Last Project", "dflt"), "dflt");
  EXPECT_TRUE(ini.SectionExists("COMMON"));
  EXPECT_TRUE(ini.ValueExists("common", "last PROJECT"));
}

TEST(IniFileTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt) {
  TempDir dir;
  IniFile ini(dir.Path("new.ini"));
  EXPECT_EQ(ini.ReadInteger("S", "K", 42), 42);
  EXPECT_TRUE(ini.ReadBool("S", "K", true));
  ini.WriteString("S", "K", "v");
  EXPECT_EQ(ReadFile(dir.Path("new.ini")), "[S]\nK=v\n");
}

TEST(IniFileTest, IntegerAndBooleanForms) {
  struct Case {
    const char* stored;
    int expected;
  } cases[] = {
      {"12", 12},
      {"-7", -7},
      {"+5", 5},
      {"0x1F", 31},
      {"0X1f", 31},
      {"0xFFFFFFFF", -1},
      {"0x", 99},
      {"0x1G", 99},
      {"12abc", 99},
      {"", 99},
      {"2147483647", 2147483647},
      {"2147483648", 99},
      {"-2147483648", -2147483647 - 1},
      {"0x123456789", 99},
      {"1 2", 99},
  };
  TempDir dir;
  IniFile ini(dir.Path("a.ini"));
  for (const Case& c : cases) {
    ini.WriteString("S", "K", c.stored);
    EXPECT_EQ(ini.ReadInteger("S", "K", 99), c.expected) << "stored '" << c.stored << "'";
  }
  ini.WriteBool("S", "B", true);
  EXPECT_EQ(ini.ReadString("S", "B", ""), "1");
  ini.WriteBool("S", "B", false);
  EXPECT_EQ(ini.ReadString("S", "B", ""), "0");
  ini.WriteString("S", "B", "-3");
  EXPECT_TRUE(ini.ReadBool("S", "B", false));
  ini.WriteString("S", "B", "yes");
  EXPECT_FALSE(ini.ReadBool("S", "B", false));
  EXPECT_TRUE(ini.ReadBool("S", "B", true));
}

TEST(IniFileTest, LongValuesAreCutAt2047Characters) {
  TempDir dir;
  IniFile ini(dir.Path("a.ini"));
  std::string longValue(3000, 'x');
  longValue[2046] = 'y';
  ini.WriteString("S", "K", longValue);
  std::string back = ini.ReadString("S", "K", "");
  ASSERT_EQ(back.size(), 2047u);
  EXPECT_EQ(back.back(), 'y');
  // The file keeps the whole value; only reads are cut.
  EXPECT_NE(ReadFile(dir.Path("a.ini")).find(longValue), std::string::npos);
}

TEST(IniFileTest, WritesReplaceOrAppendWithoutTouchingOtherKeys) {
  TempDir dir;
  // In a folder named beyond ASCII (a user's own folder may be), where a file that cannot be read back
  // would lose every key the write does not name.
  const std::string path = dir.Path("José/a.ini");
  WriteFile(path, "; note\n[One]\nA=1\nB=2\n\n[Two]\nC=3\n");
  IniFile ini(path);
  ini.WriteString("one", "a", "10");   // replaced in place, original spelling kept
  ini.WriteString("One", "New", "x");  // appended after B, before the blank line
  ini.WriteString("Three", "D", "4");  // new section at the end
  EXPECT_EQ(ReadFile(path), "; note\n[One]\nA=10\nB=2\nNew=x\n\n[Two]\nC=3\n[Three]\nD=4\n");
}

TEST(IniFileTest, EraseSectionRemovesItsKeysOnly) {
  TempDir dir;
  WriteFile(dir.Path("a.ini"), "[A]\nx=1\n[B]\ny=2\n[a]\nz=3\n");
  IniFile ini(dir.Path("a.ini"));
  ini.EraseSection("a");
  EXPECT_EQ(ReadFile(dir.Path("a.ini")), "[B]\ny=2\n");
  ini.EraseSection("Missing");
  EXPECT_EQ(ini.ReadInteger("B", "y", 0), 2);
}

TEST(IniFileTest, ListRuleSkipsEmptyItemsAndLeavesStaleKeys) {
  TempDir dir;
  IniFile ini(dir.Path("a.ini"));
  ini.WriteList("P", "Backup Directory Count", "Backup", {"a", "b", "c", "d", "e"});
  ini.WriteList("P", "Backup Directory Count", "Backup", {"x", "y"});
  EXPECT_EQ(ini.ReadList("P", "Backup Directory Count", "Backup"), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(ini.ReadInteger("P", "Backup Directory Count", 0), 2);
  EXPECT_EQ(ini.ReadString("P", "Backup4", ""), "e");  // stale, never read

  WriteFile(dir.Path("b.ini"),
            "[Common]\nProject Count=3\nCount0=Alpha\nCount1=\nCount2=Gamma\nCount3=Delta\n"
            "Count01=Bad\n");
  IniFile other(dir.Path("b.ini"));
  EXPECT_EQ(other.ReadList("Common", "Project Count", "Count"), (std::vector<std::string>{"Alpha", "Gamma"}));
  other.WriteString("Common", "Project Count", "2000000000");  // a huge count costs nothing
  EXPECT_EQ(other.ReadList("Common", "project count", "count").size(), 3u);
}

TEST(IniFileTest, ValuesWithLineBreaksCannotBreakTheFile) {
  TempDir dir;
  IniFile ini(dir.Path("a.ini"));
  ini.WriteString("S", "K", "line\n[Evil]\nX=1");
  EXPECT_FALSE(ini.SectionExists("Evil"));
  EXPECT_EQ(ini.ReadString("S", "K", ""), "line [Evil] X=1");
  // Names with breaks or outer blanks are found again, not appended twice.
  ini.WriteString(" Two\nLines ", " K ", "1");
  ini.WriteString(" Two\nLines ", " K ", "2");
  EXPECT_EQ(ini.Load().Sections(), (std::vector<std::string>{"S", "Two Lines"}));
  EXPECT_EQ(ini.ReadString("two lines", "k", ""), "2");
}

TEST(IniFileTest, LeadingByteOrderMarkIsNoPartOfTheFirstLine) {
  const IniDocument doc = IniDocument::Parse("\xEF\xBB\xBF[Common]\r\nProject Count=1\r\n");
  EXPECT_TRUE(doc.SectionExists("Common"));
  EXPECT_EQ(doc.ReadInteger("Common", "Project Count", 0), 1);
}

// An old Windows editor saved the file in the legacy code page: on Windows it reads as the text it
// was, and is UTF-8 once written back; on POSIX the bytes stay as they are (they may name a file).
TEST(IniFileTest, LegacyCodePageReadsAsItsTextOnWindows) {
  TempDir dir;
  IniFile ini(dir.Write("project.ini", "[Docs]\r\nBackup0=C:\\r\xe9sum\xe9\\*.*\r\n"));
  const IniDocument doc = ini.Load();
  if (platform::kWindows) {
    EXPECT_TRUE(doc.ReadAsLegacyText());
    EXPECT_EQ(doc.ReadString("Docs", "Backup0", ""), "C:\\r\u00e9sum\u00e9\\*.*");
  } else {
    EXPECT_FALSE(doc.ReadAsLegacyText());
    EXPECT_EQ(doc.ReadString("Docs", "Backup0", ""), "C:\\r\xe9sum\xe9\\*.*");
  }
}

TEST(IniFileTest, SectionNamesMayHoldBrackets) {
  TempDir dir;
  IniFile ini(dir.Path("a.ini"));
  ini.WriteString("Docs [old]", "K", "1");
  EXPECT_EQ(ini.ReadString("docs [OLD]", "K", ""), "1");
}

TEST(IniFileTest, NewFilesAreOwnerOnlyAndExistingModesAreKept) {
  BRISKO_POSIX_ONLY("files carry permission bits");
  TempDir dir;
  IniFile ini(dir.Path("a.ini"));
  ini.WriteString("S", "K", "secret");
  EXPECT_EQ(PermissionBits(dir.Path("a.ini")), 0600u);
  SetPermissionBits(dir.Path("a.ini"), 0640);
  ini.WriteString("S", "K", "again");
  EXPECT_EQ(PermissionBits(dir.Path("a.ini")), 0640u);
  // A file that can hold secrets is made the owner's alone again on every write.
  IniFile secret(dir.Path("a.ini"), FileAccess::OwnerOnly);
  secret.WriteString("S", "K", "third");
  EXPECT_EQ(PermissionBits(dir.Path("a.ini")), 0600u);
}

TEST(IniFileTest, RefusedWriteRaisesAndKeepsTheFileWhole) {
  TempDir dir;
  const std::string path = dir.Path("project.ini");
  IniFile ini(path);
  ini.WriteString("Common", "Project Count", "1");
  const std::string before = ReadFile(path);

  // A read-only file refuses writes, whoever the user is.
  SetPermissionBits(path, 0444);
  EXPECT_EQ(ThrownMessage<SettingsWriteError>([&] { ini.WriteString("Common", "Last Project", "x"); }),
            "Unable to write to " + path);
  EXPECT_EQ(ReadFile(path), before);
  SetPermissionBits(path, 0600);

  // A disk that fills up part-way leaves the old content and no temporary file.
  IniFile full(path, FileAccess::KeepMode, [](platform::AtomicFile& file, std::string_view content) {
    file.Write(content.substr(0, 5));
    return false;
  });
  EXPECT_THROW(full.WriteString("Common", "Last Project", "x"), SettingsWriteError);
  EXPECT_EQ(ReadFile(path), before);
  size_t files = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir.Dir())) ++files;
  EXPECT_EQ(files, 1u);

  // A missing folder refuses the write too.
  EXPECT_THROW(IniFile(dir.Path("no/such/dir/x.ini")).WriteString("S", "K", "v"), SettingsWriteError);
}

TEST(IniFileTest, ReadOnlyFolderRefusesWrites) {
  BRISKO_POSIX_ONLY("a folder without write permission refuses new files");
  if (IsSuperuser()) GTEST_SKIP() << "permissions do not stop root";
  TempDir dir;
  const std::string path = dir.Path("project.ini");
  IniFile ini(path);
  ini.WriteString("Common", "Project Count", "1");
  const std::string before = ReadFile(path);
  SetPermissionBits(dir.Dir(), 0555);
  EXPECT_THROW(ini.WriteString("Common", "Project Count", "2"), SettingsWriteError);
  SetPermissionBits(dir.Dir(), 0755);
  EXPECT_EQ(ReadFile(path), before);
}

TEST(IniFileTest, WritesGoThroughSymbolicLinks) {
  BRISKO_POSIX_ONLY("symbolic links");
  TempDir dir;
  IniFile real(dir.Path("real.ini"));
  real.WriteString("S", "K", "1");
  std::filesystem::create_symlink(dir.Path("real.ini"), dir.Path("link.ini"));
  IniFile(dir.Path("link.ini")).WriteString("S", "K", "2");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link.ini")));
  EXPECT_EQ(real.ReadString("S", "K", ""), "2");
}

TEST(IniFileTest, ConcurrentUpdatesLoseNothing) {
  // The desktop program and the command line may update one file at the same moment.
  TempDir dir;
  const std::string path = dir.Path("log.txt");
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t)
    writers.emplace_back([&path] {
      for (int i = 0; i < 25; ++i)
        IniFile(path).Update([](IniDocument& d) {
          d.WriteInteger("Common", "Log Total", d.ReadInteger("Common", "Log Total", 0) + 1);
        });
    });
  for (auto& w : writers) w.join();
  EXPECT_EQ(IniFile(path).ReadInteger("Common", "Log Total", 0), 100);
}

}  // namespace
}  // namespace brisko::core
