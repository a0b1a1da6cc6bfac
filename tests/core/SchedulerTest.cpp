// The scheduler: due moments of the three modes and a day of ticks driven by a manual clock.
#include "core/Scheduler.h"

#include <gtest/gtest.h>

#include "BackupFixture.h"

namespace brisko::core::test {
namespace {

TEST(ScheduleEntry, ModesAndFallBacks) {
  const DateTime friday1300 = At(2024, 3, 8, 13, 0, 0);  // 2024-03-08 is a Friday
  const DateTime saturday = At(2024, 3, 9, 8, 0, 0);
  const DateTime minute = 1.0 / kMinutesPerDay;
  struct Case {
    const char* label;
    int mode;
    std::string value;
    DateTime now;
    std::optional<DateTime> due, interval;
  } cases[] = {
      {"daily at a passed time is due today", 0, "09:00:00", friday1300, At(2024, 3, 8, 9, 0, 0), 1.0},
      {"daily at a later time", 0, "18:30:00", friday1300, At(2024, 3, 8, 18, 30, 0), 1.0},
      {"daily with no time falls back to noon", 0, "soon", friday1300, At(2024, 3, 8, 12, 0, 0), 1.0},
      {"every 90 minutes", 1, "90", friday1300, friday1300 + 90 * minute, 90 * minute},
      {"every 5 minutes", 1, "5", friday1300, friday1300 + 5 * minute, 5 * minute},
      {"minutes not a number: one hour", 1, "abc", friday1300, friday1300 + 60 * minute, 60 * minute},
      {"a day or more of minutes: one hour", 1, "1440", friday1300, friday1300 + 60 * minute, 60 * minute},
      {"zero minutes count as two", 1, "0", friday1300, friday1300 + 2 * minute, 2 * minute},
      {"weekly on the same day after noon", 2, "Friday", friday1300, At(2024, 3, 8, 12, 0, 0), 7.0},
      {"weekly from a Saturday", 2, "Friday", saturday, At(2024, 3, 15, 12, 0, 0), 7.0},
      {"weekly on the next day", 2, "Sunday", saturday, At(2024, 3, 10, 12, 0, 0), 7.0},
      {"weekday compared exactly", 2, "friday", friday1300, At(2024, 3, 16, 12, 0, 0), 7.0},
      {"no weekday: eight days ahead", 2, "", saturday, At(2024, 3, 17, 12, 0, 0), 7.0},
      {"none", 3, "", friday1300, std::nullopt, std::nullopt},
      {"unknown mode", 7, "09:00:00", friday1300, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto entry = MakeScheduleEntry("P", c.mode, c.value, c.now);
    ASSERT_EQ(entry.has_value(), c.due.has_value()) << c.label;
    if (!entry) continue;
    EXPECT_EQ(FormatDateTime(entry->nextDue), FormatDateTime(*c.due)) << c.label;
    EXPECT_NEAR(entry->interval, *c.interval, 1e-9) << c.label;
  }
}

class SchedulerTest : public BackupFixture {
 protected:
  // Number of backup runs so far (each leaves one "Backup" entry in the log; scheduled runs show no box).
  size_t Runs() const {
    size_t runs = 0;
    const int total = LogIni().ReadInteger("Common", "Log Total", 0);
    for (int i = 1; i <= total; ++i)
      runs += LogIni().ReadString("Log" + std::to_string(i), "Operate", "") == "Backup";
    return runs;
  }
  void TickAt(DateTime moment, MainModel& model) {
    clock.Set(moment);
    model.ScheduleTick();
  }
};

// A scenario of starts and ticks: the model is started anew at each start, as after a restart of
// the program, and must remember what ran.
struct Step {
  enum { Start, Tick } kind;
  DateTime moment;
};
struct Scenario {
  const char* label;
  int mode;
  const char* value;
  std::vector<Step> steps;
  size_t runs;
  int catchUps;
};

TEST_F(SchedulerTest, RestartsNeitherRepeatNorDelayARun) {
  const DateTime minute = 1.0 / kMinutesPerDay;
  const DateTime t10 = At(2024, 3, 5, 10, 0, 0);  // a Tuesday
  const auto S = [](DateTime m) { return Step{Step::Start, m}; };
  const auto T = [](DateTime m) { return Step{Step::Tick, m}; };
  const Scenario scenarios[] = {
      {"daily with its time passed, three restarts",
       0,
       "09:00:00",
       {S(t10), T(t10 + 0.5 * minute), S(t10 + minute), T(t10 + 1.5 * minute), S(t10 + 2 * minute),
        T(t10 + 2.5 * minute)},
       1,
       1},
      {"daily, days missed while stopped, catch up once",
       0,
       "09:00:00",
       {S(At(2024, 3, 5, 8)), T(At(2024, 3, 5, 9, 0, 30)), S(At(2024, 3, 8, 10)),
        T(At(2024, 3, 8, 10, 0, 30)), T(At(2024, 3, 8, 10, 1)), S(At(2024, 3, 8, 11)),
        T(At(2024, 3, 8, 11, 0, 30)), T(At(2024, 3, 9, 9, 0, 30))},
       3,
       1},
      {"every 2 minutes, restarted every 100 seconds",
       1,
       "2",
       {S(t10), T(t10 + 1.5 * minute), S(t10 + 100 * minute / 60), T(t10 + 130 * minute / 60),
        S(t10 + 200 * minute / 60), T(t10 + 230 * minute / 60), T(t10 + 260 * minute / 60)},
       2,
       0},
      {"every 5 minutes, two hours stopped, catch up once",
       1,
       "5",
       {S(t10), T(t10 + 5.5 * minute), S(t10 + 120 * minute), T(t10 + 120.5 * minute), T(t10 + 121 * minute),
        T(t10 + 125.4 * minute), T(t10 + 125.6 * minute)},
       3,
       1},
      {"weekly on Friday, restarted on Friday and Saturday",
       2,
       "Friday",
       {S(At(2024, 3, 8, 13)), T(At(2024, 3, 8, 13, 0, 30)), S(At(2024, 3, 8, 14)),
        T(At(2024, 3, 8, 14, 0, 30)), S(At(2024, 3, 9, 9)), T(At(2024, 3, 9, 9, 0, 30)),
        T(At(2024, 3, 15, 12, 0, 30))},
       2,
       1},
  };
  for (const Scenario& c : scenarios) {
    SetUp();
    ui.calls.clear();
    WriteOneProject({{"BackupMode", std::to_string(c.mode)}, {"StartTime_or_Increase", c.value}});
    std::unique_ptr<MainModel> model;
    for (const Step& step : c.steps) {
      clock.Set(step.moment);
      if (step.kind == Step::Start) {
        model.reset();
        model = StartModel();
      } else {
        model->ScheduleTick();
      }
    }
    EXPECT_EQ(Runs(), c.runs) << c.label;
    int catchUps = 0;
    for (int i = 1; i <= LogIni().ReadInteger("Common", "Log Total", 0); ++i)
      catchUps += LogIni().ReadString("Log" + std::to_string(i), "Status", "") == "Catch-up";
    EXPECT_EQ(catchUps, c.catchUps) << c.label;
  }
}

TEST_F(SchedulerTest, DailyAtTimeRunsAtTheFirstTickAfterItAndThenTomorrow) {
  WriteOneProject({{"BackupMode", "0"}, {"StartTime_or_Increase", "09:00:00"}});
  clock.Set(At(2024, 3, 5, 8, 0, 0));
  auto model = StartModel();
  ASSERT_EQ(model->Schedule().size(), 1u);
  EXPECT_TRUE(model->TimerActive());
  ASSERT_EQ(model->TrayItems().size(), 1u);
  EXPECT_TRUE(model->TrayItems()[0].scheduled);

  TickAt(At(2024, 3, 5, 8, 59, 30), *model);
  TickAt(At(2024, 3, 5, 9, 0, 0), *model);  // not strictly later yet
  EXPECT_EQ(Runs(), 0u);
  TickAt(At(2024, 3, 5, 9, 0, 20), *model);
  EXPECT_EQ(Runs(), 1u);
  EXPECT_EQ(FormatDateTime(model->Schedule()[0].nextDue), "2024-03-06 09:00:00");
  TickAt(At(2024, 3, 5, 23, 59, 50), *model);
  EXPECT_EQ(Runs(), 1u);
  TickAt(At(2024, 3, 6, 9, 0, 10), *model);
  EXPECT_EQ(Runs(), 2u);
  EXPECT_EQ(DestFiles(), (std::vector<std::string>{"Docs1.zip", "Docs2.zip"}));

  model->ShowPage(MainPage::Restore);  // a scheduled run leaves the user's page in front
  TickAt(At(2024, 3, 7, 9, 0, 10), *model);
  EXPECT_EQ(Runs(), 3u);
  EXPECT_EQ(model->Page(), MainPage::Restore);
}

TEST_F(SchedulerTest, DailyAtTimeMissedBeforeStartRunsAtOnce) {
  WriteOneProject({{"BackupMode", "0"}, {"StartTime_or_Increase", "09:00:00"}});
  clock.Set(At(2024, 3, 5, 10, 30, 0));
  auto model = StartModel();
  TickAt(At(2024, 3, 5, 10, 30, 30), *model);
  EXPECT_EQ(Runs(), 1u);
  EXPECT_EQ(FormatDateTime(model->Schedule()[0].nextDue), "2024-03-06 09:00:00");
}

TEST_F(SchedulerTest, AfterSleepAProjectRunsOnceAndThenAtItsNextMomentAhead) {
  WriteOneProject({{"BackupMode", "1"}, {"StartTime_or_Increase", "5"}});
  const DateTime start = At(2024, 3, 5, 10, 0, 0);
  clock.Set(start);
  auto model = StartModel();
  const DateTime minute = 1.0 / kMinutesPerDay;
  TickAt(start + 4 * minute, *model);
  EXPECT_EQ(Runs(), 0u);
  // Asleep for an hour: one run, not one per missed interval.
  const DateTime woke = start + 60 * minute + 10.0 / kSecondsPerDay;
  for (int i = 0; i < 9; ++i) TickAt(woke + i * 0.5 * minute, *model);  // up to 11:04:10
  EXPECT_EQ(Runs(), 1u);
  // The next moment is one interval after the run.
  EXPECT_EQ(FormatDateTime(model->Schedule()[0].nextDue), FormatDateTime(woke + 5 * minute));
  TickAt(woke + 5 * minute + 1.0 / kSecondsPerDay, *model);
  EXPECT_EQ(Runs(), 2u);
}

TEST_F(SchedulerTest, WeeklyOnItsDayAndAWeekdayThatIsNone) {
  WriteProjectIni(
      {{"Fri",
        ProjectKeys({{"Filename prefix", "Fri"}, {"BackupMode", "2"}, {"StartTime_or_Increase", "Friday"}})},
       {"Bad", ProjectKeys(
                   {{"Filename prefix", "Bad"}, {"BackupMode", "2"}, {"StartTime_or_Increase", "friday"}})}});
  clock.Set(At(2024, 3, 8, 13, 0, 0));  // a Friday afternoon
  auto model = StartModel();
  ASSERT_EQ(model->Schedule().size(), 2u);
  TickAt(At(2024, 3, 8, 13, 0, 30), *model);
  EXPECT_EQ(DestFiles(), std::vector<std::string>{"Fri1.zip"});
  auto dueOf = [&](const std::string& name) {
    for (const ScheduleEntry& e : model->Schedule())
      if (e.projectName == name) return FormatDateTime(e.nextDue);
    return std::string("missing");
  };
  EXPECT_EQ(dueOf("Fri"), "2024-03-15 12:00:00");
  EXPECT_EQ(dueOf("Bad"), "2024-03-16 12:00:00");
  TickAt(At(2024, 3, 15, 12, 0, 30), *model);
  EXPECT_EQ(DestFiles(), (std::vector<std::string>{"Fri1.zip", "Fri2.zip"}));
  TickAt(At(2024, 3, 16, 12, 0, 30), *model);
  EXPECT_EQ(DestFiles(), (std::vector<std::string>{"Bad1.zip", "Fri1.zip", "Fri2.zip"}));
}

TEST_F(SchedulerTest, SwitchOffEditingAndBusyKeepTicksIdle) {
  WriteOneProject({{"BackupMode", "0"}, {"StartTime_or_Increase", "09:00:00"}});
  clock.Set(At(2024, 3, 5, 10, 0, 0));
  auto model = StartModel();
  const DateTime due = model->Schedule()[0].nextDue;

  ui.confirmAnswers = {false, true};
  EXPECT_TRUE(model->SetSchedulingByUser(false));  // answered No: stays on
  EXPECT_EQ(ui.CallsOf("Confirm").back().text, "Do you want to disable all scheduling?");
  EXPECT_FALSE(model->SetSchedulingByUser(false));
  EXPECT_EQ(model->SchedulingCaption(), "Disabled Scheduling");
  EXPECT_EQ(model->SchedulingIcon(), "fornormal");
  TickAt(At(2024, 3, 5, 10, 0, 30), *model);
  EXPECT_EQ(Runs(), 0u);
  EXPECT_DOUBLE_EQ(model->Schedule()[0].nextDue, due);

  const size_t questions = ui.CallsOf("Confirm").size();
  EXPECT_TRUE(model->SetSchedulingByUser(true));  // turning on never asks
  EXPECT_EQ(ui.CallsOf("Confirm").size(), questions);
  EXPECT_EQ(model->SchedulingIcon(), "forauto");

  model->SetEditState(true);
  TickAt(At(2024, 3, 5, 10, 1, 0), *model);
  EXPECT_EQ(Runs(), 0u);
  EXPECT_DOUBLE_EQ(model->Schedule()[0].nextDue, due);  // editing does not move due moments
  model->SetEditState(false);

  model->SetBusy(true);
  TickAt(At(2024, 3, 5, 10, 1, 30), *model);
  EXPECT_EQ(Runs(), 0u);
  model->SetBusy(false);

  TickAt(At(2024, 3, 5, 10, 2, 0), *model);
  EXPECT_EQ(Runs(), 1u);
}

TEST_F(SchedulerTest, ConfirmationIsSuppressedAndRestoredAlsoAfterAFailedCheck) {
  WriteProjectIni(
      {{"A", ProjectKeys({{"Filename prefix", "A"},
                          {"BackupMode", "0"},
                          {"StartTime_or_Increase", "09:00:00"},
                          {"Backup Directory Count", "0"}})},
       {"B",
        ProjectKeys({{"Filename prefix", "B"}, {"BackupMode", "0"}, {"StartTime_or_Increase", "09:00:00"}})}},
      {{"PromptBeforeBackup", "1"}});
  clock.Set(At(2024, 3, 5, 10, 0, 0));
  auto model = StartModel();
  ASSERT_TRUE(model->Settings().promptBeforeBackup);
  TickAt(At(2024, 3, 5, 10, 0, 30), *model);
  // A fails its check: one notice and no box; the tick ends there, B runs at the next tick.
  EXPECT_TRUE(ui.CallsOf("ShowMessage").empty());
  ASSERT_EQ(ui.CallsOf("Notify").size(), 1u);
  EXPECT_EQ(ui.CallsOf("Notify")[0].caption, "Backup of 'A' failed");
  EXPECT_EQ(ui.CallsOf("Notify")[0].text, "Please select files to backup");
  EXPECT_TRUE(DestFiles().empty());
  EXPECT_TRUE(model->Settings().promptBeforeBackup);
  TickAt(At(2024, 3, 5, 10, 1, 0), *model);
  EXPECT_EQ(DestFiles(), std::vector<std::string>{"B1.zip"});
  EXPECT_TRUE(ui.CallsOf("Confirm").empty());
  EXPECT_TRUE(model->Settings().promptBeforeBackup);
  EXPECT_EQ(model->SelectedName(), "B");
  // A success is quiet.
  EXPECT_EQ(ui.CallsOf("Notify").size(), 1u);
  EXPECT_TRUE(ui.CallsOf("ShowTimedMessage").empty());
}

TEST_F(SchedulerTest, ProjectMissingFromTheListIsPassedOver) {
  WriteOneProject({{"BackupMode", "1"}, {"StartTime_or_Increase", "5"}});
  clock.Set(At(2024, 3, 5, 10, 0, 0));
  auto model = StartModel();
  model->Schedule()[0].projectName = "Gone";
  TickAt(At(2024, 3, 5, 10, 6, 0), *model);
  EXPECT_EQ(Runs(), 0u);
  EXPECT_EQ(FormatDateTime(model->Schedule()[0].nextDue), "2024-03-05 10:11:00");
}

}  // namespace
}  // namespace brisko::core::test
