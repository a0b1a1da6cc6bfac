// The settings-file rules the rest of the program relies on.
#include "core/IniFile.h"

#include <sys/stat.h>

#include <unistd.h>
#include <thread>

#include <gtest/gtest.h>

#include "StoreTestDir.h"
#include "core/SettingsWriteError.h"

namespace brisko::core {
namespace {

using testing::StoreTestDir;

TEST(IniFileTest, LookupsIgnoreCaseAndTrimBlanks) {
  StoreTestDir dir;
  StoreTestDir::Write(dir.File("a.ini"), "[Common]\r\n  Project Count =  3  \r\nLast Project=  Docs \r\n");
  IniFile ini(dir.File("a.ini"));
  EXPECT_EQ(ini.ReadInteger("common", "PROJECT COUNT", 0), 3);
  EXPECT_EQ(ini.ReadString("COMMON", "last project", "x"), "Docs");
  EXPECT_EQ(ini.ReadString("Common", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("NoSection", "Last Project", "dflt"), "dflt");
  EXPECT_TRUE(ini.SectionExists("COMMON"));
  EXPECT_TRUE(ini.ValueExists("common", "last PROJECT"));
}

TEST(IniFileTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt) {
  StoreTestDir dir;
  IniFile ini(dir.File("new.ini"));
  EXPECT_EQ(ini.ReadInteger("S", "K", 42), 42);
  EXPECT_TRUE(ini.ReadBool("S", "K", true));
  ini.WriteString("S", "K", "v");
  EXPECT_EQ(StoreTestDir::Read(dir.File("new.ini")), "[S]\nK=v\n");
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
  StoreTestDir dir;
  IniFile ini(dir.File("a.ini"));
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
  StoreTestDir dir;
  IniFile ini(dir.File("a.ini"));
  std::string longValue(3000, 'x');
  longValue[2046] = 'y';
  ini.WriteString("S", "K", longValue);
  std::string back = ini.ReadString("S", "K", "");
  ASSERT_EQ(back.size(), 2047u);
  EXPECT_EQ(back.back(), 'y');
  // The file keeps the whole value; only reads are cut.
  EXPECT_NE(StoreTestDir::Read(dir.File("a.ini")).find(longValue), std::string::npos);
}

TEST(IniFileTest, WritesReplaceOrAppendWithoutTouchingOtherKeys) {
  StoreTestDir dir;
  StoreTestDir::Write(dir.File("a.ini"), "; note\n[One]\nA=1\nB=2\n\n[Two]\nC=3\n");
  IniFile ini(dir.File("a.ini"));
  ini.WriteString("one", "a", "10");   // replaced in place, original spelling kept
  ini.WriteString("One", "New", "x");  // appended after B, before the blank line
  ini.WriteString("Three", "D", "4");  // new section at the end
  EXPECT_EQ(StoreTestDir::Read(dir.File("a.ini")),
            "; note\n[One]\nA=10\nB=2\nNew=x\n\n[Two]\nC=3\n[Three]\nD=4\n");
}

TEST(IniFileTest, EraseSectionRemovesItsKeysOnly) {
  StoreTestDir dir;
  StoreTestDir::Write(dir.File("a.ini"), "[A]\nx=1\n[B]\ny=2\n[a]\nz=3\n");
  IniFile ini(dir.File("a.ini"));
  ini.EraseSection("a");
  EXPECT_EQ(StoreTestDir::Read(dir.File("a.ini")), "[B]\ny=2\n");
  ini.EraseSection("Missing");
  EXPECT_EQ(ini.ReadInteger("B", "y", 0), 2);
}

TEST(IniFileTest, ListRuleSkipsEmptyItemsAndLeavesStaleKeys) {
  StoreTestDir dir;
  IniFile ini(dir.File("a.ini"));
  ini.WriteList("P", "Backup Directory Count", "Backup", {"a", "b", "c", "d", "e"});
  ini.WriteList("P", "Backup Directory Count", "Backup", {"x", "y"});
  EXPECT_EQ(ini.ReadList("P", "Backup Directory Count", "Backup"), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(ini.ReadInteger("P", "Backup Directory Count", 0), 2);
  EXPECT_EQ(ini.ReadString("P", "Backup4", ""), "e");  // stale, never read

  StoreTestDir::Write(dir.File("b.ini"),
                      "[Common]\nProject Count=3\nCount0=Alpha\nCount1=\nCount2=Gamma\nCount3=Delta\n"
                      "Count01=Bad\n");
  IniFile other(dir.File("b.ini"));
  EXPECT_EQ(other.ReadList("Common", "Project Count", "Count"), (std::vector<std::string>{"Alpha", "Gamma"}));
  other.WriteString("Common", "Project Count", "2000000000");  // a huge count costs nothing
  EXPECT_EQ(other.ReadList("Common", "project count", "count").size(), 3u);
}

TEST(IniFileTest, ValuesWithLineBreaksCannotBreakTheFile) {
  StoreTestDir dir;
  IniFile ini(dir.File("a.ini"));
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

TEST(IniFileTest, SectionNamesMayHoldBrackets) {
  StoreTestDir dir;
  IniFile ini(dir.File("a.ini"));
  ini.WriteString("Docs [old]", "K", "1");
  EXPECT_EQ(ini.ReadString("docs [OLD]", "K", ""), "1");
}

TEST(IniFileTest, NewFilesAreOwnerOnlyAndExistingModesAreKept) {
  StoreTestDir dir;
  IniFile ini(dir.File("a.ini"));
  ini.WriteString("S", "K", "secret");
  struct stat st {};
  ASSERT_EQ(::stat(dir.File("a.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ::chmod(dir.File("a.ini").c_str(), 0640);
  ini.WriteString("S", "K", "again");
  ASSERT_EQ(::stat(dir.File("a.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // A file that can hold secrets is made the owner's alone again on every write.
  IniFile secret(dir.File("a.ini"), FileAccess::OwnerOnly);
  secret.WriteString("S", "K", "third");
  ASSERT_EQ(::stat(dir.File("a.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(IniFileTest, RefusedWriteRaisesAndKeepsTheFileWhole) {
  StoreTestDir dir;
  const std::string path = dir.File("project.ini");
  IniFile ini(path);
  ini.WriteString("Common", "Project Count", "1");
  const std::string before = StoreTestDir::Read(path);

  // A read-only file refuses writes, whoever the user is.
  ::chmod(path.c_str(), 0444);
  try {
    ini.WriteString("Common", "Last Project", "x");
    FAIL() << "no error";
  } catch (const SettingsWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
  }
  EXPECT_EQ(StoreTestDir::Read(path), before);
  ::chmod(path.c_str(), 0600);

  // A disk that fills up part-way leaves the old content and no temporary file.
  SetWriteFailureAfterBytesForTesting(5);
  EXPECT_THROW(ini.WriteString("Common", "Last Project", "x"), SettingsWriteError);
  SetWriteFailureAfterBytesForTesting(std::nullopt);
  EXPECT_EQ(StoreTestDir::Read(path), before);
  size_t files = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir.Dir())) ++files;
  EXPECT_EQ(files, 1u);

  // A missing folder refuses the write too.
  EXPECT_THROW(IniFile(dir.File("no/such/dir/x.ini")).WriteString("S", "K", "v"), SettingsWriteError);
}

TEST(IniFileTest, ReadOnlyFolderRefusesWrites) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  StoreTestDir dir;
  const std::string path = dir.File("project.ini");
  IniFile ini(path);
  ini.WriteString("Common", "Project Count", "1");
  const std::string before = StoreTestDir::Read(path);
  ::chmod(dir.Dir().c_str(), 0555);
  EXPECT_THROW(ini.WriteString("Common", "Project Count", "2"), SettingsWriteError);
  ::chmod(dir.Dir().c_str(), 0755);
  EXPECT_EQ(StoreTestDir::Read(path), before);
}

TEST(IniFileTest, WritesGoThroughSymbolicLinks) {
  StoreTestDir dir;
  IniFile real(dir.File("real.ini"));
  real.WriteString("S", "K", "1");
  std::filesystem::create_symlink(dir.File("real.ini"), dir.File("link.ini"));
  IniFile(dir.File("link.ini")).WriteString("S", "K", "2");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.ini")));
  EXPECT_EQ(real.ReadString("S", "K", ""), "2");
}

TEST(IniFileTest, ConcurrentUpdatesLoseNothing) {
  // The desktop program and the command line may update one file at the same moment.
  StoreTestDir dir;
  const std::string path = dir.File("log.txt");
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
