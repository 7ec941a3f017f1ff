// The schedule entry editor as the user meets it, opened by the plan list's ADD: its
// fields and their limits (start, length, date across month and year ends, weekdays,
// channels of the two lists, Composite), the texts it shows, and what SAVE writes into
// the schedule list's working entry, with the stand-by look-ahead.
#include "windows/setup/PlanWindowsTest.h"

#include "skin/CDigitEdit.h"
#include "skin/CSkinLabel.h"
#include "skin/CSkinRadioButton.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <vendor/language/Language.h>

namespace test {
namespace {

constexpr time_t kNoon = kStartUnixMs / 1000;  // 2024-03-01 12:00:00, a Friday

class ScheduleEditorTest : public PlanWindowsTest {
 protected:
  explicit ScheduleEditorTest(SIZE screen = {0, 0}) : PlanWindowsTest(screen) {}
  // The plan list open and its ADD pressed.
  void openNewEntry() {
    if (!isPlanOpen()) openPlanList();
    press(plan(), "ADD_BUTTON");
  }
  void setClock(int year, int month, int day, int hour, int minute, int second = 0) {
    machine().clock().setManual(static_cast<std::int64_t>(at(year, month, day, hour, minute, second)) * 1000);
  }
  // SAVE pressed; the entry the plan list stored last.
  const CScheduleItem& saveNew() {
    const int before = schedule().GetCount();
    pressInEditor("SAVE_BUTTON");
    EXPECT_EQ(schedule().GetCount(), before + 1);
    return *schedule().GetAt(schedule().GetCount() - 1);
  }
  BOOL checked(UINT id) { return editor().GetRadio(id) && editor().GetRadio(id)->GetCheck(); }
  void clickRadio(UINT id) {
    ASSERT_NE(editor().GetRadio(id), nullptr);
    robot.click(editor().GetRadio(id)->GetSafeHwnd());
    robot.pumpUntilIdle();
  }
  void clickDropWhenPast() {
    robot.click(editor().GetRemoveWhenPastRadio()->GetSafeHwnd());
    robot.pumpUntilIdle();
  }
  bool fits(const char* name) {
    CSkinLabel* field = editor().FindLabel(name);
    return field && RoomForText(*field) >= 0;
  }
  void setLength(const std::string& hours, const std::string& minutes, const std::string& seconds) {
    typeInto("RecordHour_Edit", hours);
    typeInto("RecordMini_Edit", minutes);
    typeInto("RecordSecond_Edit", seconds);
  }
};

TEST_F(ScheduleEditorTest, ANewEntryStartsInTwoMinutesOnceFromCableAndRecords) {
  openNewEntry();
  EXPECT_EQ(mode(), CScheduleDlg::kDisplayMode);
  EXPECT_EQ(field("StartHour_Edit"), "12");
  EXPECT_EQ(field("StartMini_Edit"), "02");
  EXPECT_EQ(field("RecordHour_Edit"), "00");
  EXPECT_EQ(field("RecordMini_Edit"), "02");
  EXPECT_EQ(field("RecordSecond_Edit"), "00");
  EXPECT_EQ(field("Channel_Edit"), "1");
  EXPECT_EQ(label("Mei_Static"), "Once");
  EXPECT_EQ(label("ShowTime_Static"), "2024 - 3 - 1");
  EXPECT_EQ(label("Mode_Static"), "Record");
  EXPECT_EQ(label("Make_Static"), "Nothing to do");
  EXPECT_FALSE(checked(CScheduleDlg::kAntennaRadio));
  EXPECT_TRUE(checked(CScheduleDlg::kCableRadio));
  EXPECT_FALSE(checked(CScheduleDlg::kCompositeRadio));
  EXPECT_TRUE(editor().GetRemoveWhenPastRadio()->GetCheck());
  // Today is the earliest date.
  EXPECT_FALSE(enabled(editor(), "SHOWTIME_BOTTOMBUTTON"));

  const CScheduleItem& saved = saveNew();
  EXPECT_EQ(saved.start, kNoon + 120);
  EXPECT_EQ(saved.duration, 120);
  EXPECT_EQ(saved.recurrence, 8);
  EXPECT_EQ(saved.channel2, 1);
  EXPECT_EQ(saved.source, 1);
  EXPECT_EQ(saved.mode, 1);
  EXPECT_EQ(saved.action, 0);
  EXPECT_EQ(saved.flag, 1);
  EXPECT_EQ(g_pScheduleDlg, nullptr);
  EXPECT_TRUE(plan().IsWindowVisible());
  EXPECT_EQ(mode(), CRecordDlg::kDisplayMode);
}

TEST_F(ScheduleEditorTest, TheStartIsTheMachinesLocalTime) {
  machine().clock().setUtcOffsetMinutes(90);
  openNewEntry();
  EXPECT_EQ(field("StartHour_Edit"), "13");
  EXPECT_EQ(field("StartMini_Edit"), "32");
  typeInto("StartHour_Edit", "21");
  typeInto("StartMini_Edit", "5");
  // Local 21:05 is 19:35 UTC.
  EXPECT_EQ(saveNew().start, kNoon + 7 * 3600 + 35 * 60);
}

TEST_F(ScheduleEditorTest, LengthsOfThreeSecondsOrLessAreStoredAsThree) {
  openPlanList();
  const struct {
    const char* minute;
    const char* hours;
    const char* minutes;
    const char* seconds;
    int stored;
  } cases[] = {{"10", "0", "0", "0", 3}, {"20", "0", "0", "1", 3}, {"30", "0", "0", "3", 3},
               {"40", "0", "0", "4", 4}, {"50", "23", "59", "59", 86399}};
  for (const auto& c : cases) {
    openNewEntry();
    typeInto("StartMini_Edit", c.minute);
    typeInto("RecordHour_Edit", c.hours);
    typeInto("RecordMini_Edit", c.minutes);
    typeInto("RecordSecond_Edit", c.seconds);
    EXPECT_EQ(saveNew().duration, c.stored) << c.hours << ":" << c.minutes << ":" << c.seconds;
  }
}

TEST_F(ScheduleEditorTest, FieldsTakeNoNumberBeyondTheirLimit) {
  openNewEntry();
  typeInto("StartHour_Edit", "23");
  EXPECT_EQ(field("StartHour_Edit"), "23");
  typeInto("StartHour_Edit", "24");  // the 4 would make 24
  EXPECT_EQ(field("StartHour_Edit"), "2");
  typeInto("StartMini_Edit", "59");
  EXPECT_EQ(field("StartMini_Edit"), "59");
  typeInto("RecordSecond_Edit", "60");
  EXPECT_EQ(field("RecordSecond_Edit"), "6");
  typeInto("RecordHour_Edit", "24");
  EXPECT_EQ(field("RecordHour_Edit"), "2");
  const int last = editor().GetLastChannel(2);
  typeInto("Channel_Edit", std::to_string(last));
  EXPECT_EQ(field("Channel_Edit"), std::to_string(last));
  typeInto("Channel_Edit", std::to_string(last + 1));
  EXPECT_LE(std::stoi(field("Channel_Edit")), last);
}

TEST_F(ScheduleEditorTest, TheDateStepsAcrossMonthEndsAndNotBeforeToday) {
  setClock(2024, 2, 28, 10, 0);
  openNewEntry();
  EXPECT_EQ(label("ShowTime_Static"), "2024 - 2 - 28");
  EXPECT_FALSE(enabled(editor(), "SHOWTIME_BOTTOMBUTTON"));
  pressInEditor("SHOWTIME_BOTTOMBUTTON");  // disabled: no day before today
  EXPECT_EQ(label("ShowTime_Static"), "2024 - 2 - 28");
  pressInEditor("SHOWTIME_TOPBUTTON");
  EXPECT_EQ(label("ShowTime_Static"), "2024 - 2 - 29");
  EXPECT_TRUE(enabled(editor(), "SHOWTIME_BOTTOMBUTTON"));
  pressInEditor("SHOWTIME_TOPBUTTON");
  EXPECT_EQ(label("ShowTime_Static"), "2024 - 3 - 1");
  pressInEditor("SHOWTIME_BOTTOMBUTTON");
  EXPECT_EQ(label("ShowTime_Static"), "2024 - 2 - 29");
  EXPECT_TRUE(enabled(editor(), "SHOWTIME_BOTTOMBUTTON"));
  pressInEditor("SHOWTIME_BOTTOMBUTTON");
  EXPECT_EQ(label("ShowTime_Static"), "2024 - 2 - 28");
  EXPECT_FALSE(enabled(editor(), "SHOWTIME_BOTTOMBUTTON"));
  pressInEditor("SHOWTIME_TOPBUTTON");
  EXPECT_EQ(saveNew().start, at(2024, 2, 29, 10, 2));
}

TEST_F(ScheduleEditorTest, TheDateStepsIntoTheNextYear) {
  setClock(2024, 12, 31, 8, 0);
  openNewEntry();
  pressInEditor("SHOWTIME_TOPBUTTON");
  EXPECT_EQ(label("ShowTime_Static"), "2025 - 1 - 1");
  EXPECT_EQ(saveNew().start, at(2025, 1, 1, 8, 2));
}

// Two minutes from 23:59 lie in the next day, which is both shown and saved.
TEST_F(ScheduleEditorTest, ANewEntryInADaysLastMinutesIsForTheNextDay) {
  setClock(2024, 3, 31, 23, 59, 10);
  openNewEntry();
  EXPECT_EQ(label("ShowTime_Static"), "2024 - 4 - 1");
  EXPECT_EQ(field("StartHour_Edit"), "00");
  EXPECT_EQ(field("StartMini_Edit"), "01");
  EXPECT_TRUE(enabled(editor(), "SHOWTIME_BOTTOMBUTTON"));
  EXPECT_EQ(saveNew().start, at(2024, 4, 1, 0, 1));
}

TEST_F(ScheduleEditorTest, RepeatStepsBetweenOnceDailyAndTheDatesWeekday) {
  openNewEntry();
  pressInEditor("MEI_RIGHTBUTTON");
  EXPECT_EQ(label("Mei_Static"), "Daily");
  EXPECT_EQ(label("ShowTime_Static"), "2024 - 3 - 1");
  pressInEditor("MEI_RIGHTBUTTON");
  EXPECT_EQ(label("Mei_Static"), "Weekly");
  EXPECT_EQ(label("ShowTime_Static"), "Friday");
  EXPECT_EQ(editor().GetRecurrence(), 5);
  EXPECT_TRUE(enabled(editor(), "SHOWTIME_BOTTOMBUTTON"));
  pressInEditor("MEI_RIGHTBUTTON");
  EXPECT_EQ(label("Mei_Static"), "Once");
  EXPECT_FALSE(enabled(editor(), "SHOWTIME_BOTTOMBUTTON"));
  pressInEditor("MEI_LEFTBUTTON");
  EXPECT_EQ(label("Mei_Static"), "Weekly");
  pressInEditor("MEI_LEFTBUTTON");
  EXPECT_EQ(label("Mei_Static"), "Daily");
  pressInEditor("MEI_LEFTBUTTON");
  EXPECT_EQ(label("Mei_Static"), "Once");
}

// A weekly entry's date buttons step its weekday instead: the later button goes to the
// day before, the earlier one to the day after, round the week both ways.
TEST_F(ScheduleEditorTest, WeekdaysStepRoundTheWeek) {
  openNewEntry();
  pressInEditor("MEI_LEFTBUTTON");
  ASSERT_EQ(label("ShowTime_Static"), "Friday");
  pressInEditor("SHOWTIME_BOTTOMBUTTON");
  EXPECT_EQ(label("ShowTime_Static"), "Saturday");
  pressInEditor("SHOWTIME_BOTTOMBUTTON");
  EXPECT_EQ(label("ShowTime_Static"), "Sunday");
  EXPECT_EQ(editor().GetRecurrence(), 0);
  pressInEditor("SHOWTIME_TOPBUTTON");
  EXPECT_EQ(label("ShowTime_Static"), "Saturday");
  pressInEditor("SHOWTIME_TOPBUTTON");
  EXPECT_EQ(label("ShowTime_Static"), "Friday");
  for (int i = 0; i < 5; ++i) pressInEditor("SHOWTIME_TOPBUTTON");
  EXPECT_EQ(label("ShowTime_Static"), "Sunday");
  pressInEditor("SHOWTIME_TOPBUTTON");
  EXPECT_EQ(label("ShowTime_Static"), "Saturday");
  const CScheduleItem& saved = saveNew();
  EXPECT_EQ(saved.recurrence, 6);
  EXPECT_EQ(CTime(saved.start).GetHour(), 12);
  EXPECT_EQ(CTime(saved.start).GetMinute(), 2);
}

TEST_F(ScheduleEditorTest, ChannelsGoRoundTheirListAndTypedOnesComeBackIntoIt) {
  openNewEntry();
  const int first = editor().GetFirstChannel(2);
  const int last = editor().GetLastChannel(2);
  ASSERT_LT(first, last);
  typeInto("Channel_Edit", std::to_string(first));
  pressInEditor("CHANNEL_BOTTOMBUTTON");
  EXPECT_EQ(field("Channel_Edit"), std::to_string(last));
  pressInEditor("CHANNEL_TOPBUTTON");
  EXPECT_EQ(field("Channel_Edit"), std::to_string(first));
  pressInEditor("CHANNEL_TOPBUTTON");
  EXPECT_EQ(field("Channel_Edit"), std::to_string(first + 1));
  // Below the list: the down button finds the first channel, not one below it.
  typeInto("Channel_Edit", "0");
  pressInEditor("CHANNEL_BOTTOMBUTTON");
  EXPECT_EQ(field("Channel_Edit"), std::to_string(first));
  EXPECT_EQ(editor().GetChannel(2), first);

  // The antenna list keeps its own channel.
  clickRadio(CScheduleDlg::kAntennaRadio);
  EXPECT_TRUE(checked(CScheduleDlg::kAntennaRadio));
  EXPECT_FALSE(checked(CScheduleDlg::kCableRadio));
  EXPECT_EQ(field("Channel_Edit"), "1");
  pressInEditor("CHANNEL_TOPBUTTON");
  pressInEditor("CHANNEL_TOPBUTTON");
  EXPECT_EQ(editor().GetChannel(1), 3);
  EXPECT_EQ(editor().GetChannel(2), first);
}

TEST_F(ScheduleEditorTest, CompositeEmptiesTheChannelFieldAndKeepsBothChannels) {
  openNewEntry();
  pressInEditor("CHANNEL_TOPBUTTON");  // cable 2
  clickRadio(CScheduleDlg::kAntennaRadio);
  typeInto("Channel_Edit", "4");
  pressInEditor("CHANNEL_TOPBUTTON");  // antenna 5
  clickRadio(CScheduleDlg::kCompositeRadio);
  EXPECT_EQ(field("Channel_Edit"), "");
  EXPECT_FALSE(editor().FindEdit("Channel_Edit")->IsEditEnabled());
  EXPECT_FALSE(enabled(editor(), "CHANNEL_TOPBUTTON"));
  EXPECT_FALSE(enabled(editor(), "CHANNEL_BOTTOMBUTTON"));
  const CScheduleItem& saved = saveNew();
  EXPECT_EQ(saved.source, 2);
  EXPECT_EQ(saved.channel1, 5);
  EXPECT_EQ(saved.channel2, 2);
}

TEST_F(ScheduleEditorTest, ModeAndActionStepWithTheirTexts) {
  openNewEntry();
  pressInEditor("MODE_RIGHTBUTTON");
  EXPECT_EQ(label("Mode_Static"), "View");
  pressInEditor("MODE_LEFTBUTTON");
  EXPECT_EQ(label("Mode_Static"), "Record");
  pressInEditor("MODE_LEFTBUTTON");
  EXPECT_EQ(label("Mode_Static"), "View");
  pressInEditor("MAKE_LEFTBUTTON");
  EXPECT_EQ(label("Make_Static"), "PC shut-down");
  EXPECT_TRUE(fits("Make_Static"));
  pressInEditor("MAKE_RIGHTBUTTON");
  EXPECT_EQ(label("Make_Static"), "Nothing to do");
  pressInEditor("MAKE_RIGHTBUTTON");
  EXPECT_EQ(label("Make_Static"), "Orvane Media shut-down");
  EXPECT_TRUE(fits("Make_Static"));
  pressInEditor("MAKE_RIGHTBUTTON");
  EXPECT_EQ(label("Make_Static"), "Entering the Stand-by mode");
  EXPECT_TRUE(fits("Make_Static")) << "the longest text shows whole";
  screenshot(editor(), "entry_editor_afterwards");
  pressInEditor("MAKE_RIGHTBUTTON");
  EXPECT_EQ(label("Make_Static"), "PC shut-down");
  // Shut-down is saved after its warning.
  const CScheduleItem& saved = saveNew();
  EXPECT_EQ(saved.mode, 0);
  EXPECT_EQ(saved.action, 3);
  EXPECT_EQ(messages(), std::vector<std::string>{GetMessageInfo(5)});
}

TEST_F(ScheduleEditorTest, TheLastRadioTogglesDroppingAPastOnceEntry) {
  openNewEntry();
  clickDropWhenPast();
  EXPECT_FALSE(editor().GetRemoveWhenPastRadio()->GetCheck());
  EXPECT_TRUE(checked(CScheduleDlg::kCableRadio));
  clickDropWhenPast();
  clickDropWhenPast();
  EXPECT_EQ(saveNew().flag, 0);
}

// Stand-by after an entry whose end lies nine minutes or less before another entry's
// start is refused: SAVE stays in the editor, each time it is pressed.
TEST_F(ScheduleEditorTest, StandbyIsRefusedWhenAnotherEntryStartsWithinNineMinutes) {
  // The new entry runs 12:02:00 to 12:04:00.
  store({entry(kNoon + 4 * 60 + 540, 60, 8)});
  openNewEntry();
  pressInEditor("MAKE_RIGHTBUTTON");
  pressInEditor("MAKE_RIGHTBUTTON");
  pressInEditor("SAVE_BUTTON");
  const std::string refused = GetMessageInfo(6);
  EXPECT_EQ(messages(), std::vector<std::string>{refused});
  ASSERT_NE(g_pScheduleDlg, nullptr);
  EXPECT_EQ(mode(), CScheduleDlg::kDisplayMode);
  EXPECT_EQ(schedule().WorkingItem().action, 0);
  EXPECT_EQ(schedule().GetCount(), 1);
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(messages(), (std::vector<std::string>{refused, refused}));
  EXPECT_NE(g_pScheduleDlg, nullptr);
}

TEST_F(ScheduleEditorTest, StandbyIsSavedWhenTheNextEntryStartsNineMinutesAndASecondLater) {
  store({entry(kNoon + 4 * 60 + 541, 60, 8)});
  openNewEntry();
  pressInEditor("MAKE_LEFTBUTTON");
  pressInEditor("MAKE_LEFTBUTTON");
  ASSERT_EQ(label("Make_Static"), "Entering the Stand-by mode");
  EXPECT_EQ(saveNew().action, 2);
  EXPECT_TRUE(messages().empty());
}

// A weekly run going past midnight ends on the next weekday, where another entry starts
// soon after.
TEST_F(ScheduleEditorTest, StandbyLooksPastMidnight) {
  store({entry(at(2024, 3, 9, 0, 15), 60, 6)});  // Saturdays at 00:15
  openNewEntry();
  pressInEditor("MEI_LEFTBUTTON");  // Fridays
  typeInto("StartHour_Edit", "23");
  typeInto("StartMini_Edit", "50");
  setLength("0", "20", "0");
  pressInEditor("MAKE_RIGHTBUTTON");
  pressInEditor("MAKE_RIGHTBUTTON");
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(messages(), std::vector<std::string>{GetMessageInfo(6)});
  EXPECT_EQ(schedule().GetCount(), 1);
}

// Each pair of kinds, on both sides of the nine minutes (and of the day or week where
// they differ). The edited entry ends at 12:04:00 on Friday 1 March.
TEST_F(ScheduleEditorTest, TheStandbyLookAheadOfEveryPairOfKinds) {
  openNewEntry();
  const time_t end = kNoon + 4 * 60;
  const time_t friday = 5, thursday = 4;
  const struct {
    int edited;
    CScheduleItem stored;
    bool soon;
    const char* what;
  } cases[] = {
      {8, entry(end + 540, 60, 8), true, "once, once at +9 min"},
      {8, entry(end + 541, 60, 8), false, "once, once at +9 min 1 s"},
      {8, entry(end - 1, 60, 8), false, "once, once a second before"},
      {8, entry(end + 480 - 3 * 86400, 60, 7), true, "once, daily at +8 min"},
      {8, entry(end + 540, 60, 7), false, "once, daily at +9 min"},
      {8, entry(end + 480, 60, static_cast<int>(friday)), true, "once, weekly that day at +8 min"},
      {8, entry(end + 540, 60, static_cast<int>(friday)), false, "once, weekly that day at +9 min"},
      {8, entry(end + 480, 60, static_cast<int>(thursday)), false, "once, weekly another day"},
      {7, entry(end + 539 + 5 * 86400, 60, 8), true, "daily, once at +8 min 59 s another day"},
      {7, entry(end + 540 + 5 * 86400, 60, 8), false, "daily, once at +9 min another day"},
      {7, entry(end + 480, 60, 2), true, "daily, weekly at +8 min"},
      {static_cast<int>(friday), entry(end + 540 + 7 * 86400, 60, 8), true, "weekly, once a week on at +9 min"},
      {static_cast<int>(friday), entry(end + 541 + 7 * 86400, 60, 8), false, "weekly, once at +9 min 1 s"},
      {static_cast<int>(friday), entry(end + 480 + 86400, 60, 8), false, "weekly, once the next day"},
      {static_cast<int>(friday), entry(end + 540, 60, 7), true, "weekly, daily at +9 min"},
      {static_cast<int>(friday), entry(end + 600, 60, 7), false, "weekly, daily at +10 min"},
      {static_cast<int>(friday), entry(end + 480, 60, static_cast<int>(friday)), true, "weekly, same weekday +8 min"},
      {static_cast<int>(friday), entry(end + 540, 60, static_cast<int>(friday)), false, "weekly, same weekday +9 min"},
      {static_cast<int>(friday), entry(end + 480, 60, 1), false, "weekly, another weekday"},
      {8, entry(end + 480, 60, 9), false, "a weekday no day has"},
  };
  for (const auto& c : cases) {
    schedule().RemoveAll();
    schedule().Add(&c.stored);
    EXPECT_EQ(editor().StartsSoonAfter(end, c.edited) != FALSE, c.soon) << c.what;
  }
  // Across midnight: an end at 23:55 and a daily start at 00:02; a daily end at 23:58 and
  // a once start at 00:03 on any later day.
  schedule().RemoveAll();
  const CScheduleItem daily = entry(at(2024, 3, 1, 0, 2), 60, 7);
  schedule().Add(&daily);
  EXPECT_TRUE(editor().StartsSoonAfter(at(2024, 3, 5, 23, 55), 8));
  EXPECT_FALSE(editor().StartsSoonAfter(at(2024, 3, 5, 23, 52), 8));
  schedule().RemoveAll();
  const CScheduleItem once = entry(at(2024, 3, 9, 0, 3), 60, 8);
  schedule().Add(&once);
  EXPECT_TRUE(editor().StartsSoonAfter(at(2024, 3, 1, 23, 58), 7));
  EXPECT_FALSE(editor().StartsSoonAfter(at(2024, 3, 1, 23, 53), 7));
}

TEST_F(ScheduleEditorTest, RemoteKeysAndBackspaceLeaveWithoutSaving) {
  openNewEntry();
  SendMessageA(plan().GetSafeHwnd(), UM_REMOTE_KEY, 0, 70);
  robot.pumpUntilIdle();
  EXPECT_EQ(g_pScheduleDlg, nullptr);
  EXPECT_EQ(mode(), CRecordDlg::kDisplayMode);
  EXPECT_EQ(schedule().GetCount(), 0);

  openNewEntry();
  editor().SetFocus();
  robot.key(VK_ESCAPE);
  robot.key(VK_RETURN);
  robot.pumpUntilIdle();
  ASSERT_NE(g_pScheduleDlg, nullptr);
  EXPECT_TRUE(editor().IsWindowVisible());
  robot.key(VK_BACK);
  robot.pumpUntilIdle();
  EXPECT_EQ(g_pScheduleDlg, nullptr);
  EXPECT_EQ(schedule().GetCount(), 0);
}

// Backspace typed in a field takes a digit away and stays in the editor.
TEST_F(ScheduleEditorTest, BackspaceInAFieldEditsIt) {
  openNewEntry();
  typeInto("StartHour_Edit", "15");
  robot.key(VK_BACK);
  robot.pumpUntilIdle();
  EXPECT_EQ(field("StartHour_Edit"), "1");
  EXPECT_NE(g_pScheduleDlg, nullptr);
  pressInEditor("CANCEL_BUTTON");
  EXPECT_EQ(g_pScheduleDlg, nullptr);
  EXPECT_EQ(schedule().GetCount(), 0);
}

// The fields' texts are as high as the fields, so what fits depends on the window's shape:
// on a 5:4 screen (1280 x 1024), maximised and restored, the longest action still shows
// whole, as on the 4:3 screen above.
class ScheduleEditorOnA54ScreenTest : public ScheduleEditorTest {
 protected:
  ScheduleEditorOnA54ScreenTest() : ScheduleEditorTest(SIZE{1280, 1024}) {}
};

TEST_F(ScheduleEditorOnA54ScreenTest, TheLongestActionShowsWholeInBothLayouts) {
  openNewEntry();
  pressInEditor("MAKE_LEFTBUTTON");
  pressInEditor("MAKE_LEFTBUTTON");
  ASSERT_EQ(label("Make_Static"), "Entering the Stand-by mode");
  CRect window;
  editor().GetWindowRect(&window);
  ASSERT_EQ(window.Width(), 1280);
  EXPECT_TRUE(fits("Make_Static"));
  pressInEditor("NORMAL_BUTTON");
  ASSERT_EQ(g_isMaximized, 0);
  EXPECT_TRUE(fits("Make_Static")) << "restored";
  screenshot(editor(), "entry_editor_afterwards_5_4");
}

}  // namespace
}  // namespace test
