// Settings and projects moving between project.ini and memory.
#include "core/ProjectStore.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/DataDir.h"
#include "core/DateTimeParseError.h"
#include "core/IniFile.h"
#include "core/ManualClock.h"
#include "core/PasswordCodec.h"
#include "core/ProjectList.h"
#include "core/SettingsFiles.h"
#include "core/SpinValue.h"
#include "core/view/ProjectFormStore.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "support/TestEnvironment.h"
#include "support/ThrownMessage.h"

namespace brisko::core {
namespace {

using namespace brisko::test;

DateTime At(int y, int mo, int d, int h, int mi, int s) {
  return *TryEncodeDate(y, mo, d) + *TryEncodeTime(h, mi, s);
}

class ProjectStoreTest : public ::testing::Test {
 protected:
  IniFile Ini() { return IniFile(ProjectIniPath(dir.Dir())); }
  ProjectForm Load(const std::string& name, ProjectForm form = {}) {
    LoadProject(dir.Dir(), name, form, clock);
    return form;
  }
  TempDir dir;
  ManualClock clock{At(2024, 3, 5, 14, 7, 9)};
};

TEST(PasswordCodecTest, EncodesEveryByteInDecimal) {
  // Key "P1": 'A' ^ 'P' = 17, 'A' ^ '1' = 112.
  EXPECT_EQ(EncodePassword("AA", "P"), "#17#112");
  EXPECT_EQ(EncodePassword("", "P"), "");
}

TEST(PasswordCodecTest, RoundTripsBytesThatEncodeToZeroOrHash) {
  const std::string name = "Docs";  // key "Docs4"
  struct Case {
    const char* label;
    std::string password;
  } cases[] = {
      {"zero byte", "Docs4"},  // every byte equals its key byte
      {"hash", std::string(1, static_cast<char>('#' ^ 'D')) + "x"},
      {"longer than the key", "correct horse battery staple"},
      {"high bytes", "p\xC3\xA4ss\xFF"},
      {"digits", "12345"},
  };
  for (const Case& c : cases) {
    std::string stored = EncodePassword(c.password, name);
    EXPECT_EQ(stored[0], '#') << c.label;
    EXPECT_EQ(DecodePassword(stored, name), c.password) << c.label;
  }
  EXPECT_EQ(EncodePassword("Docs4", name), "#0#0#0#0#0");
}

TEST(PasswordCodecTest, DecodesOddStoredTexts) {
  // Text not starting with '#' is the combined bytes themselves.
  std::string combined = EncodePassword("pw", "N");
  EXPECT_EQ(DecodePassword(std::string{static_cast<char>('p' ^ 'N'), static_cast<char>('w' ^ '1')}, "N"),
            "pw");
  // Any non-digit ends a run; runs above 255 keep their low byte.
  EXPECT_EQ(DecodePassword("#62,#70", "N"), DecodePassword(combined, "N"));
  EXPECT_EQ(DecodePassword("#318#70", "N"), DecodePassword("#62#70", "N"));
  // The key counts characters, not bytes.
  EXPECT_EQ(DecodePassword(EncodePassword("secret", "Müller"), "Müller"), "secret");
  EXPECT_NE(EncodePassword("secret", "Müller"), EncodePassword("secret", "Muller"));
}

TEST(SpinValueTest, ClampingOfTheCounterFields) {
  EXPECT_EQ(NextNumberFromStored(7, 3), 10);
  EXPECT_EQ(NextNumberFromStored(999, 5), 1004);  // the counter goes past 1000
  EXPECT_EQ(NextNumberFromStored(-50, 1), 1);
  EXPECT_EQ(NextNumberFromStored(2147483647, 1000), kCounterMax);
  EXPECT_EQ(NextNumberFromStored(1, 0), 2);  // an increase below 1 reads as 1
  EXPECT_EQ(StoredValueFromNext(10, 3), 7);
  EXPECT_EQ(AdvanceNumber(999, 5), 1004);
  EXPECT_EQ(AdvanceNumber(kCounterMax, 1), kCounterMax);
  EXPECT_EQ(SpinFromText("abc", 2, 1000), 2);
  EXPECT_EQ(SpinFromText(" 5000 ", 2, 1000), 1000);
  EXPECT_EQ(SpinFromText("90", 2, 1000), 90);
}

TEST_F(ProjectStoreTest, MissingFileLoadsDefaults) {
  SettingsState state;
  LoadSettings(dir.Dir(), state);
  EXPECT_TRUE(state.projects.empty());
  EXPECT_EQ(state.selected, -1);
  EXPECT_TRUE(state.settings.enableSchedule);
  EXPECT_EQ(state.settings.logCount, 50);
  EXPECT_EQ(state.settings.byField, 2);
  EXPECT_FALSE(state.startMinimized);

  ProjectForm form = Load("Docs");
  EXPECT_EQ(form.suffix, SuffixKind::Number);
  EXPECT_EQ(form.nextNumber, 2);
  EXPECT_EQ(form.saveFolder, DefaultSaveFolder());
  EXPECT_TRUE(form.includeSubfolders && form.usePassword && form.storePaths && form.useComment);
  EXPECT_EQ(form.packLevel, 6);
  EXPECT_EQ(form.storeNumber, 50);
  EXPECT_EQ(form.scheduleMode, ScheduleMode::None);
  EXPECT_EQ(FormatDate(form.newerDate) + " " + FormatTime(form.newerTime), "2024-03-05 14:07:09");
}

TEST_F(ProjectStoreTest, ProjectListWithAnEmptyNameIsWrittenBackShorter) {
  WriteFile(ProjectIniPath(dir.Dir()),
            "[Common]\nProject Count=3\nCount0=Alpha\nCount1=\nCount2=Gamma\nLast Project=GAMMA\n");
  SettingsState state;
  LoadSettings(dir.Dir(), state);
  ASSERT_EQ(state.projects, (std::vector<std::string>{"Alpha", "Gamma"}));
  EXPECT_EQ(state.selected, 1);  // Last Project matched without regard to case
  SaveSettings(dir.Dir(), state);
  EXPECT_EQ(Ini().ReadInteger("Common", "Project Count", 0), 2);
  EXPECT_EQ(Ini().ReadString("Common", "Count1", ""), "Gamma");
  EXPECT_EQ(Ini().ReadString("Common", "Count2", ""), "Gamma");  // stale, unread
  EXPECT_EQ(Ini().ReadString("Common", "Last Project", ""), "Gamma");
}

TEST_F(ProjectStoreTest, ProjectListLoadsSortedAndKeepsTheSelection) {
  // The wizard appends a new name at the end of the stored list.
  WriteFile(ProjectIniPath(dir.Dir()),
            "[Common]\nProject Count=3\nCount0=papers\nCount1=Music\nCount2=alpha\n"
            "Last Project=Music\n");
  SettingsState state;
  LoadSettings(dir.Dir(), state);
  EXPECT_EQ(state.projects, (std::vector<std::string>{"papers", "Music", "alpha"}));
  EXPECT_EQ(state.selected, 1);
  SortProjectList(state);
  EXPECT_EQ(state.projects, (std::vector<std::string>{"alpha", "Music", "papers"}));
  EXPECT_EQ(state.SelectedName(), "Music");
  SaveSettings(dir.Dir(), state);
  EXPECT_EQ(ReadProjectList(dir.Dir()), state.projects);
}

TEST_F(ProjectStoreTest, SettingsRoundTripAndOutOfRangeMenusKeepTheirState) {
  WriteFile(ProjectIniPath(dir.Dir()),
            "[Common]\nProject Count=1\nCount0=A\nLast Project=Gone\nBy Field=7\nSort=5\n"
            "Auto Run=1\nIs Minimized=1\nWidth=99\nLog Count=3\nEnable schedule=0\n"
            "Wildcard Total=2\nWildcard0=*.doc\nWildcard1=*.txt\n");
  SettingsState state;
  state.settings.byField = 1;
  state.settings.sort = 1;
  LoadSettings(dir.Dir(), state);
  EXPECT_EQ(state.selected, 0);  // Last Project not listed: the first
  EXPECT_EQ(state.settings.byField, 1);
  EXPECT_EQ(state.settings.sort, 1);
  EXPECT_TRUE(state.startMinimized);
  EXPECT_EQ(state.settings.width, 30);
  EXPECT_EQ(state.settings.logCount, 10);
  EXPECT_FALSE(state.settings.enableSchedule);
  EXPECT_EQ(state.settings.wildcards, (std::vector<std::string>{"*.doc", "*.txt"}));

  state.settings.isOverWrite = true;
  state.settings.autoRun = false;  // not written by SaveSettings
  SaveSettings(dir.Dir(), state);
  SettingsState again;
  LoadSettings(dir.Dir(), again);
  EXPECT_TRUE(again.settings.isOverWrite);
  EXPECT_TRUE(again.settings.autoRun);
  EXPECT_EQ(again.settings.byField, 1);
}

TEST_F(ProjectStoreTest, EmptyProjectListLeavesCommonUntouched) {
  const std::string text = "[Common]\nLog Count=20\n";
  WriteFile(ProjectIniPath(dir.Dir()), text);
  SettingsState state;
  LoadSettings(dir.Dir(), state);
  state.settings.logCount = 100;
  SaveSettings(dir.Dir(), state);
  EXPECT_EQ(ReadFile(ProjectIniPath(dir.Dir())), text);
}

ProjectForm SampleForm() {
  ProjectForm f;
  f.prefix = "  Docs ";
  f.suffix = SuffixKind::Number;
  f.nextNumber = 10;
  f.increase = 3;
  f.fileName = " /data/back/Docs10.zip ";
  f.backupList = {"/home/u/a.txt", "/home/u/*.doc"};
  f.excludeList = {"*.tmp"};
  f.includeSubfolders = true;
  f.usePassword = true;
  f.password = " s3cret ";
  f.passwordConfirm = " s3cret ";
  f.storePaths = false;
  f.useComment = true;
  f.comment = " typed as is ";
  f.scheduleMode = ScheduleMode::DailyAt;
  f.scheduleTime = *TryEncodeTime(9, 0, 0);
  f.packLevel = 9;
  f.storeNumber = 3;
  f.onlyNewer = true;
  f.useLastBackup = true;
  f.newerDate = *TryEncodeDate(2024, 1, 1);
  f.newerTime = *TryEncodeTime(12, 0, 0);
  return f;
}

TEST_F(ProjectStoreTest, SaveAndLoadRoundTrip) {
  ProjectForm saved = SampleForm();
  SaveProject(dir.Dir(), " Docs ", saved);
  EXPECT_EQ(saved.saveFolder, "/data/back/");
  IniFile ini = Ini();
  EXPECT_EQ(ini.ReadString("Docs", "Filename prefix", ""), "Docs");
  EXPECT_EQ(ini.ReadInteger("Docs", "Value", 0), 7);
  EXPECT_EQ(ini.ReadString("Docs", "Save Path", ""), "/data/back/");
  EXPECT_EQ(ini.ReadString("Docs", "Password", ""), EncodePassword("s3cret", "Docs"));
  EXPECT_EQ(ini.ReadString("Docs", "StartTime_or_Increase", ""), "09:00:00");
  EXPECT_EQ(ini.ReadString("Docs", "NewDateTime", ""), "2024-01-01 12:00:00");

  ProjectForm loaded = Load("Docs");
  EXPECT_EQ(loaded.prefix, "Docs");
  EXPECT_EQ(loaded.nextNumber, 10);
  EXPECT_EQ(loaded.increase, 3);
  EXPECT_EQ(loaded.saveFolder, "/data/back/");
  EXPECT_EQ(loaded.backupList, saved.backupList);
  EXPECT_EQ(loaded.excludeList, saved.excludeList);
  EXPECT_EQ(loaded.password, "s3cret");
  EXPECT_EQ(loaded.passwordConfirm, "s3cret");
  EXPECT_FALSE(loaded.storePaths);
  EXPECT_EQ(loaded.comment, "typed as is");  // reads trim blanks
  EXPECT_EQ(loaded.scheduleMode, ScheduleMode::DailyAt);
  EXPECT_EQ(FormatTime(loaded.scheduleTime), "09:00:00");
  EXPECT_EQ(loaded.packLevel, 9);
  EXPECT_EQ(loaded.storeNumber, 3);
  EXPECT_TRUE(loaded.onlyNewer && loaded.useLastBackup);
  EXPECT_EQ(FormatDateTime(loaded.NewerThan()), "2024-01-01 12:00:00");

  Project plain = ReadProject(dir.Dir(), "Docs");
  EXPECT_EQ(plain.NextNumber(), 10);
  EXPECT_EQ(plain.password, "s3cret");
  EXPECT_EQ(plain.newDateTime, "2024-01-01 12:00:00");
}

// A record read and written back is the same text, key for key, whichever mode or suffix it holds.
TEST_F(ProjectStoreTest, ReadAndWrittenBackRecordsKeepTheirBytes) {
  struct Case {
    const char* label;
    std::function<void(ProjectForm&)> edit;
  } cases[] = {
      {"daily at, number", [](ProjectForm&) {}},
      {"every minutes, date, no password",
       [](ProjectForm& f) {
         f.scheduleMode = ScheduleMode::DailyEvery;
         f.suffix = SuffixKind::Date;
         f.usePassword = false;
       }},
      {"weekly, no comment",
       [](ProjectForm& f) {
         f.scheduleMode = ScheduleMode::Weekly;
         f.scheduleWeekday = 5;
         f.useComment = false;
       }},
      {"none", [](ProjectForm& f) { f.scheduleMode = ScheduleMode::None; }},
  };
  for (const Case& c : cases) {
    ProjectForm form = SampleForm();
    form.comment = "a note";  // blanks around a value are the INI's, gone on any read
    c.edit(form);
    SaveProject(dir.Dir(), "Docs", form);
    WriteNewDateTime(dir.Dir(), "Docs", At(2024, 2, 1, 9, 30, 15), 1706779815);
    const std::string text = ReadFile(ProjectIniPath(dir.Dir()));
    WriteProject(dir.Dir(), ReadProject(dir.Dir(), "Docs"));
    EXPECT_EQ(ReadFile(ProjectIniPath(dir.Dir())), text) << c.label;
  }
}

TEST_F(ProjectStoreTest, ShorterListsLeaveStaleKeys) {
  ProjectForm form = SampleForm();
  form.backupList = {"1", "2", "3", "4", "5"};
  SaveProject(dir.Dir(), "Docs", form);
  form.backupList = {"1", "2"};
  SaveProject(dir.Dir(), "Docs", form);
  EXPECT_EQ(Ini().ReadInteger("Docs", "Backup Directory Count", 0), 2);
  EXPECT_EQ(Ini().ReadString("Docs", "Backup4", ""), "5");
  EXPECT_EQ(Load("Docs").backupList, (std::vector<std::string>{"1", "2"}));
}

TEST_F(ProjectStoreTest, PasswordAndCommentOffAreStoredEmpty) {
  ProjectForm form = SampleForm();
  form.usePassword = false;
  form.useComment = true;
  form.comment = "   ";
  SaveProject(dir.Dir(), "Docs", form);
  EXPECT_EQ(Ini().ReadString("Docs", "Password", "x"), "");
  EXPECT_TRUE(form.password.empty() && form.passwordConfirm.empty() && form.comment.empty());
  form.usePassword = true;
  SaveProject(dir.Dir(), "Docs", form);
  ProjectForm loaded = Load("Docs");
  EXPECT_TRUE(loaded.usePassword);
  EXPECT_TRUE(loaded.password.empty());
}

TEST_F(ProjectStoreTest, ClampedAndKeptFieldsOnLoad) {
  WriteFile(ProjectIniPath(dir.Dir()),
            "[Num]\nValue=999\nIncrease Value=5\nPackLevel=12\nStore Number=0\n"
            "[Date]\nSuffix=1\nValue=500\nBackupMode=1\nStartTime_or_Increase=abc\n"
            "[Odd]\nSuffix=7\nBackupMode=9\nStartTime_or_Increase=10:00:00\n"
            "[Week]\nBackupMode=2\nStartTime_or_Increase=monday\n"
            "[BadTime]\nBackupMode=0\nStartTime_or_Increase=25:00\n"
            "[Minutes]\nBackupMode=1\nStartTime_or_Increase=5000\n");
  ProjectForm num = Load("Num");
  EXPECT_EQ(num.nextNumber, 1004);
  EXPECT_EQ(num.packLevel, 9);
  EXPECT_EQ(num.storeNumber, 1);  // keeping one archive is a choice; none is not

  ProjectForm previous;
  previous.nextNumber = 42;
  previous.increase = 4;
  previous.scheduleTime = *TryEncodeTime(8, 0, 0);
  previous.scheduleWeekday = 3;
  ProjectForm date = Load("Date", previous);
  EXPECT_EQ(date.suffix, SuffixKind::Date);
  EXPECT_EQ(date.nextNumber, 42);  // counter fields keep their contents
  EXPECT_EQ(date.increase, 4);
  EXPECT_EQ(date.scheduleMinutes, 5);
  EXPECT_EQ(FormatTime(date.scheduleTime), "08:00:00");  // other modes' fields keep theirs
  EXPECT_EQ(date.scheduleWeekday, 3);

  previous.suffix = SuffixKind::None;
  previous.scheduleMode = ScheduleMode::Weekly;
  ProjectForm odd = Load("Odd", previous);
  EXPECT_EQ(odd.suffix, SuffixKind::None);
  EXPECT_EQ(odd.scheduleMode, ScheduleMode::Weekly);
  EXPECT_EQ(odd.scheduleWeekday, 3);

  ProjectForm week = Load("Week");
  EXPECT_EQ(week.scheduleWeekday, 1);
  SaveProject(dir.Dir(), "Week", week);
  EXPECT_EQ(Ini().ReadString("Week", "StartTime_or_Increase", ""), "Monday");

  EXPECT_EQ(FormatTime(Load("BadTime").scheduleTime), "12:00:00");
  EXPECT_EQ(Load("Minutes").scheduleMinutes, 1000);
}

TEST_F(ProjectStoreTest, InvalidNewDateTimeStopsTheLoadAfterTheOtherFields) {
  WriteFile(ProjectIniPath(dir.Dir()),
            "[P]\nFilename prefix=Pre\nSave Path=/x/\nNewDateTime=2024-13-45 10:00:00\n");
  ProjectForm form;
  form.newerDate = 5;
  int composed = 0;
  EXPECT_EQ(ThrownMessage<DateTimeParseError>([&] {
              LoadProject(dir.Dir(), "P", form, clock, [&](ProjectForm& f) {
                ++composed;
                f.fileName = f.saveFolder + f.prefix + ".zip";
              });
            }),
            "'2024-13-45 10:00:00' is not a valid date and time");
  EXPECT_EQ(composed, 1);
  EXPECT_EQ(form.fileName, "/x/Pre.zip");
  EXPECT_EQ(form.packLevel, 6);
  EXPECT_EQ(form.newerDate, 5);
}

TEST_F(ProjectStoreTest, BlankNameLoadsNothing) {
  ProjectForm form;
  form.prefix = "kept";
  LoadProject(dir.Dir(), "   ", form, clock);
  EXPECT_EQ(form.prefix, "kept");
}

TEST_F(ProjectStoreTest, SingleKeysAndSections) {
  WriteProjectValue(dir.Dir(), "Docs", 12);
  WriteNewDateTime(dir.Dir(), "Docs", At(2024, 2, 1, 9, 30, 15), 1706779815);
  WriteAutoRun(dir.Dir(), true, false);
  WriteLastProject(dir.Dir(), "Docs");
  WriteWildcards(dir.Dir(), {"*.a"});
  EXPECT_EQ(Ini().ReadInteger("Docs", "Value", 0), 12);
  EXPECT_EQ(Ini().ReadString("Docs", "NewDateTime", ""), "2024-02-01 09:30:15");
  EXPECT_EQ(Ini().ReadString("Docs", "NewDateTime UTC", ""), "2024-02-01 09:30:15");  // 1706779815 in UTC
  EXPECT_TRUE(Ini().ReadBool("Common", "Auto Run", false));
  EXPECT_EQ(ReadWildcards(dir.Dir()), (std::vector<std::string>{"*.a"}));
  EXPECT_EQ(ReadProject(dir.Dir(), "docs").scheduleMode, ScheduleMode::None);
  EraseProjectSection(dir.Dir(), "DOCS");
  EXPECT_FALSE(Ini().SectionExists("Docs"));
}

TEST(ProjectListTest, LookupAndSortedInsertIgnoreCase) {
  std::vector<std::string> list = {"alpha", "Delta"};
  EXPECT_EQ(IndexOfProject(list, "DELTA"), 1);
  EXPECT_EQ(IndexOfProject(list, "Del"), -1);
  EXPECT_EQ(InsertProjectSorted(list, "charlie"), 1);
  EXPECT_EQ(InsertProjectSorted(list, "Bravo"), 1);
  EXPECT_EQ(InsertProjectSorted(list, "zulu"), 4);
  EXPECT_EQ(list, (std::vector<std::string>{"alpha", "Bravo", "charlie", "Delta", "zulu"}));
}

TEST(ExtractFileDirTest, FolderPartOfTheNameField) {
  EXPECT_EQ(ExtractFileDir("/a/b/c.zip"), "/a/b/");
  EXPECT_EQ(ExtractFileDir("c.zip"), "");
  EXPECT_EQ(ExtractFileDir("/c.zip"), "/");
}

TEST_F(ProjectStoreTest, EncryptionChoiceAndVerifyRoundTripAndTheFileStaysPrivate) {
  Ini().WriteString("Docs", "Filename prefix", "Docs");
  SetPermissionBits(ProjectIniPath(dir.Dir()), 0644);
  // Settings written before the choice existed mean the traditional cipher, verified.
  ProjectForm form = Load("Docs");
  EXPECT_EQ(form.encryption, EncryptionKind::Traditional);
  EXPECT_TRUE(form.verify);
  EXPECT_EQ(ReadProject(dir.Dir(), "Docs").encryption, EncryptionKind::Traditional);
  EXPECT_EQ(ProjectForm().encryption, EncryptionKind::Aes256);  // what new projects start with

  form.encryption = EncryptionKind::Aes256;
  form.verify = false;
  form.fileName = dir.Dir() + "Docs1.zip";
  SaveProject(dir.Dir(), "Docs", form);
  EXPECT_EQ(Ini().ReadString("Docs", "Encryption", ""), "AES256");
  EXPECT_EQ(Ini().ReadString("Docs", "Verify", ""), "0");
  const ProjectForm again = Load("Docs");
  EXPECT_EQ(again.encryption, EncryptionKind::Aes256);
  EXPECT_FALSE(again.verify);
  EXPECT_EQ(ReadProject(dir.Dir(), "Docs").encryption, EncryptionKind::Aes256);
  if (platform::kUnixModes) {
    EXPECT_EQ(PermissionBits(ProjectIniPath(dir.Dir())), 0600u);
  }

  form.encryption = EncryptionKind::Traditional;
  SaveProject(dir.Dir(), "Docs", form);
  EXPECT_EQ(Ini().ReadString("Docs", "Encryption", ""), "Traditional");
}

}  // namespace
}  // namespace brisko::core
