// The record plan list as the user meets it: its rows and details, ADD and EDIT through
// the entry editor with the clash refusal, DELETE and REMOVEALL, UP and DOWN, the keys and
// the remote, and the schedule file it writes for the scheduler program.
#include "windows/setup/PlanWindowsTest.h"

#include "skin/CDriveFolderList.h"
#include "skin/CSkinButton.h"
#include "skin/CVideoStatic.h"
#include "windows/main/WindowMessages.h"

#include <machine/VideoSurfaces.h>
#include <robot/Screenshot.h>
#include <support/PictureFiles.h>
#include <vendor/language/Language.h>

namespace test {
namespace {

constexpr time_t kNoon = kStartUnixMs / 1000;  // 2024-03-01 12:00:00, a Friday

class PlanListTest : public PlanWindowsTest {
 protected:
  int selected() { return plan().GetList()->GetCurSel(); }
  int marked() { return plan().GetList()->GetHotItem(); }
  void remote(int key) {
    SendMessageA(plan().GetSafeHwnd(), UM_REMOTE_KEY, 0, key);
    robot.pumpUntilIdle();
  }
  // The pointer over a row, which selects it without a click.
  void pointAt(int row) {
    robot.moveTo(rowPoint(row));
    robot.pumpUntilIdle();
  }
  // What the list shows on the screen, band by band of a row's height from its top: how
  // many bands carry text in the list's blue (the entries' dates) and which band carries
  // the mark's icon (-1 none).
  struct Shown {
    int entries = 0;
    int mark = -1;
    bool operator==(const Shown&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Shown& s) {
      return out << s.entries << " entries, mark " << s.mark;
    }
  };
  Shown shown() {
    robot.pumpUntilIdle();
    const auto file = testMachine.root() / "plan_list_window.png";
    EXPECT_TRUE(plat::Screenshot::saveWindow(plan().GetList()->GetSafeHwnd(), file));
    const TestPicture picture = ReadPngFile(file);
    const auto any = [&](int left, int top, int right, int bottom, auto&& is) {
      for (int y = std::max(0, top); y < std::min(bottom, picture.height); ++y)
        for (int x = std::max(0, left); x < std::min(right, picture.width); ++x)
          if (is(picture.at(x, y))) return true;
      return false;
    };
    const auto blue = [](const std::uint8_t* bgr) { return bgr[0] > 200 && bgr[1] < 60 && bgr[2] < 60; };
    // The mark's icon is neither the black fill nor the blue of the row's number beside it.
    const auto icon = [](const std::uint8_t* bgr) { return bgr[1] >= 60 || bgr[2] >= 60; };
    Shown result;
    const int height = CDriveFolderList::kItemHeight;
    for (int band = 0; (band + 1) * height <= picture.height; ++band) {
      const int top = band * height;
      if (any(picture.width - 160, top + 8, picture.width - 8, top + height - 8, blue)) ++result.entries;
      if (any(4, top + 4, 30, top + 30, icon)) result.mark = band;
    }
    return result;
  }
  // After a command: as many entries shown as the file holds, and the mark where it is.
  void expectShownAsFiled(const char* command) {
    EXPECT_EQ(shown(), (Shown{static_cast<int>(fileRecords().size()), marked()})) << command;
  }
};

TEST_F(PlanListTest, AnEmptyPlanShowsEightEmptyRowsAndNoDetails) {
  openPlanList();
  EXPECT_EQ(rows(), std::vector<std::string>(8, ""));
  EXPECT_EQ(plan().GetDetailText(), "");
  screenshot(plan(), "plan_list_empty");
  press(plan(), "ADD_BUTTON");
  EXPECT_EQ(mode(), CScheduleDlg::kDisplayMode);
  EXPECT_FALSE(plan().IsWindowVisible());
  screenshot(editor(), "entry_editor_new");
}

TEST_F(PlanListTest, RowsAreNumberedWithTheirDatesAndKeepAllTheirDigits) {
  for (int i = 0; i < 105; ++i) store({entry(at(2024, 3, 2, 0, 0) + i * 86400, 60, 8)});
  openPlanList();
  ASSERT_EQ(rows().size(), 105u);
  EXPECT_EQ(rowSummary(0), "1 2024-3-2");
  EXPECT_EQ(rowSummary(11), "12 2024-3-13");
  EXPECT_EQ(rowSummary(104), "105 2024-6-14");
  EXPECT_EQ(rows()[0].size(), 100u + std::string("2024-3-2").size());
}

TEST_F(PlanListTest, APastOnceEntryThatIsToGoDisappearsWhenTheListIsFilled) {
  store({entry(at(2024, 3, 1, 11, 0), 60, 8, 0, 1), entry(at(2024, 3, 1, 11, 10), 60, 8, 0, 0),
         entry(at(2024, 2, 1, 11, 20), 60, 7), entry(at(2024, 3, 1, 12, 0, 1), 60, 8, 0, 1)});
  openPlanList();
  EXPECT_EQ(starts(), (std::vector<int>{10, 20, 0}));
  EXPECT_EQ(rowSummary(0), "1 2024-3-1");
  EXPECT_EQ(rowSummary(1), "2 2024-2-1");
  EXPECT_EQ(rowSummary(2), "3 2024-3-1");
  EXPECT_EQ(rows()[3], "");
}

TEST_F(PlanListTest, AnAddedEntryIsShownWrittenAndTheSchedulerIsTold) {
  startSchedulerStandIn();
  openPlanList();
  press(plan(), "ADD_BUTTON");
  pressInEditor("SAVE_BUTTON");
  ASSERT_EQ(schedule().GetCount(), 1);
  EXPECT_EQ(rowSummary(0), "1 2024-3-1");
  EXPECT_EQ(selected(), 0);
  EXPECT_EQ(std::string(plan().GetDetailText()), "Record: 2024-03-01 12:02:00\nCable channel 1\n02 min 00 s, Once");
  const std::vector<ScheduleRecord> file = fileRecords();
  ASSERT_EQ(file.size(), 1u);
  EXPECT_EQ(file[0].start, kNoon + 120);
  EXPECT_EQ(file[0].duration, 120);
  EXPECT_EQ(file[0].recurrence, 8);
  EXPECT_EQ(file[0].channel2, 1);
  EXPECT_EQ(file[0].source, 1);
  EXPECT_EQ(file[0].mode, 1);
  EXPECT_EQ(file[0].flag, 1);
  EXPECT_EQ(schedulerCommands(), std::vector<WPARAM>{CScheduleList::IDC_RELOAD_SCHEDULE});
  screenshot(plan(), "plan_list_one_entry");
}

TEST_F(PlanListTest, WithoutTheSchedulerProgramTheFileIsStillWritten) {
  openPlanList();
  press(plan(), "ADD_BUTTON");
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(fileRecords().size(), 1u);
  EXPECT_TRUE(schedulerCommands().empty());
}

// The new entry (12:02:00) against a stored one that ends ten seconds before it, and one
// second earlier.
TEST_F(PlanListTest, ANewEntryThatClashesIsRefusedWithTheMessage) {
  store({entry(at(2024, 3, 1, 11, 50), 710, 8, 0, 0)});
  openPlanList();
  press(plan(), "ADD_BUTTON");
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(messages(), std::vector<std::string>{GetMessageInfo(2)});
  EXPECT_EQ(schedule().GetCount(), 1);
  EXPECT_EQ(rows()[1], "");

  schedule().GetAt(0)->duration = 709;
  press(plan(), "ADD_BUTTON");
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(messages().size(), 1u);
  EXPECT_EQ(schedule().GetCount(), 2);
}

// A once entry must start at least five seconds after it is saved; one that does not is
// dropped without a word.
TEST_F(PlanListTest, AOnceEntryStartingWithinFiveSecondsIsDroppedSilently) {
  openPlanList();
  press(plan(), "ADD_BUTTON");
  robot.advance(116000);  // 12:01:56, four seconds before the start
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(schedule().GetCount(), 0);
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(mode(), CRecordDlg::kDisplayMode);
}

TEST_F(PlanListTest, AOnceEntryStartingFiveSecondsAfterItIsSavedIsStored) {
  openPlanList();
  press(plan(), "ADD_BUTTON");
  robot.advance(115000);  // 12:01:55
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(schedule().GetCount(), 1);
}

TEST_F(PlanListTest, EditChangesTheMarkedEntryInItsRow) {
  storeThree();
  openPlanList();
  clickRow(1);
  EXPECT_EQ(marked(), 1);
  press(plan(), "EDIT_BUTTON");
  EXPECT_EQ(editor().GetEditFlag(), 1);
  EXPECT_EQ(field("StartMini_Edit"), "20");
  EXPECT_EQ(field("RecordMini_Edit"), "01");
  EXPECT_EQ(starts(), (std::vector<int>{10, 30}));
  typeInto("RecordMini_Edit", "5");
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(starts(), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(schedule().GetAt(1)->duration, 300);
  EXPECT_EQ(fileStarts(), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(fileRecords()[1].duration, 300);
  EXPECT_EQ(marked(), -1);
  EXPECT_EQ(rowSummary(2), "3 2024-3-1");
}

TEST_F(PlanListTest, ASecondClickTakesTheMarkOffAndEditThenDoesNothing) {
  storeThree();
  openPlanList();
  clickRow(1);
  clickRow(1);
  EXPECT_EQ(marked(), -1);
  press(plan(), "EDIT_BUTTON");
  EXPECT_EQ(g_pScheduleDlg, nullptr);
  // A click on an empty row keeps the mark where it was.
  clickRow(2);
  clickRow(5);
  EXPECT_EQ(marked(), 2);
}

TEST_F(PlanListTest, CancelPutsTheEditedEntryBackUnchangedInItsRow) {
  storeThree();
  openPlanList();
  clickRow(0);
  press(plan(), "EDIT_BUTTON");
  typeInto("StartMini_Edit", "45");
  pressInEditor("MAKE_RIGHTBUTTON");
  pressInEditor("CANCEL_BUTTON");
  EXPECT_EQ(starts(), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(schedule().GetAt(0)->action, 0);
  EXPECT_EQ(schedule().GetAt(0)->duration, 60);
  EXPECT_EQ(rowSummary(0), "1 2024-3-1");
  EXPECT_EQ(fileStarts(), (std::vector<int>{10, 20, 30}));
}

// The clash is told while the editor still stands in front, its live picture already
// handed back to the plan list: the editor's picture area keeps the last frame it showed,
// as the screen keeps it, and does not turn white.
TEST_F(PlanListTest, WhileTheClashIsToldTheEditorsPictureAreaKeepsItsLastFrame) {
  store({entry(at(2024, 3, 1, 11, 50), 720, 8, 0, 0)});
  openPlanList();
  press(plan(), "ADD_BUTTON");
  ASSERT_TRUE(untilAPictureShows());
  const HWND area = editor().GetVideoArea()->GetSafeHwnd();
  CRect client;
  ::GetClientRect(area, &client);
  CPoint middle = client.CenterPoint();
  COLORREF shown = CLR_INVALID, expected = CLR_INVALID;
  robot.duringModal([&](plat::Robot& user) {
    const auto surfaces = machine().service<plat::VideoSurfaces>().all();
    ASSERT_EQ(surfaces.size(), 1u);
    const plat::VideoSurface::Frame frame = surfaces[0]->frame();
    const std::uint32_t pixel = surfaces[0]->pixel(middle.x * frame.width / client.Width(),
                                                   middle.y * frame.height / client.Height());
    expected = RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
    CPoint onScreen = middle;
    ::ClientToScreen(area, &onScreen);
    shown = plat::Screenshot::screenPixel(onScreen.x, onScreen.y);
    plat::Screenshot::saveScreen(std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "screenshots" / "plans" /
                                 "entry_editor_clash.png");
    user.key(VK_RETURN);
  });
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(messages(), std::vector<std::string>{GetMessageInfo(2)});
  ASSERT_NE(expected, RGB(255, 255, 255)) << "a pixel of the picture that white would not pass for";
  EXPECT_EQ(shown, expected);
}

TEST_F(PlanListTest, AnEditThatClashesKeepsTheOldEntry) {
  storeThree();
  openPlanList();
  clickRow(2);
  press(plan(), "EDIT_BUTTON");
  typeInto("StartMini_Edit", "20");
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(messages(), std::vector<std::string>{GetMessageInfo(2)});
  EXPECT_EQ(starts(), (std::vector<int>{10, 20, 30}));
}

TEST_F(PlanListTest, DeletingTheSelectedRowEmptiesTheDetails) {
  storeThree();
  openPlanList();
  clickRow(1);
  ASSERT_EQ(selected(), 1);
  ASSERT_NE(plan().GetDetailText(), "");
  press(plan(), "DELETE_BUTTON");
  EXPECT_EQ(starts(), (std::vector<int>{10, 30}));
  EXPECT_EQ(plan().GetDetailText(), "");
  EXPECT_EQ(rowSummary(1), "2 2024-3-1");
  EXPECT_EQ(marked(), -1);
  EXPECT_EQ(fileStarts(), (std::vector<int>{10, 30}));
  // Nothing is marked any more.
  press(plan(), "DELETE_BUTTON");
  EXPECT_EQ(schedule().GetCount(), 2);
}

TEST_F(PlanListTest, DeletingARowAboveTheSelectionKeepsTheSelectedEntry) {
  storeThree();
  openPlanList();
  clickRow(0);
  pointAt(2);
  ASSERT_EQ(selected(), 2);
  ASSERT_EQ(marked(), 0);
  const std::string details(plan().GetDetailText());
  press(plan(), "DELETE_BUTTON");
  EXPECT_EQ(starts(), (std::vector<int>{20, 30}));
  EXPECT_EQ(selected(), 1);
  EXPECT_EQ(std::string(plan().GetDetailText()), details);
}

TEST_F(PlanListTest, RemoveAllEmptiesThePlanAndItsFile) {
  startSchedulerStandIn();
  storeThree();
  openPlanList();
  press(plan(), "REMOVEALL_BUTTON");
  EXPECT_EQ(schedule().GetCount(), 0);
  EXPECT_EQ(rows(), std::vector<std::string>(8, ""));
  EXPECT_EQ(selected(), 0);
  EXPECT_EQ(plan().GetDetailText(), "");
  EXPECT_TRUE(std::filesystem::exists(programFile("schedulefile.she")));
  EXPECT_EQ(std::filesystem::file_size(programFile("schedulefile.she")), 0u);
  EXPECT_EQ(schedulerCommands(), std::vector<WPARAM>{CScheduleList::IDC_RELOAD_SCHEDULE});
}

TEST_F(PlanListTest, DownGoesRoundFromTheLastEntryAndUpStopsAtTheFirst) {
  storeThree();
  openPlanList();
  press(plan(), "DOWN_BUTTON");
  EXPECT_EQ(selected(), 0);
  press(plan(), "DOWN_BUTTON");
  press(plan(), "DOWN_BUTTON");
  EXPECT_EQ(selected(), 2);
  EXPECT_EQ(std::string(plan().GetDetailText()), "Record: 2024-03-01 12:30:00\nAntenna channel 3\n01 min 00 s, Once");
  press(plan(), "DOWN_BUTTON");
  EXPECT_EQ(selected(), 0);
  EXPECT_EQ(std::string(plan().GetDetailText()), "Record: 2024-03-01 12:10:00\nAntenna channel 3\n01 min 00 s, Once");
  press(plan(), "UP_BUTTON");
  EXPECT_EQ(selected(), 0);
}

TEST_F(PlanListTest, DetailsOfRepeatedEntriesNameTheirDay) {
  CScheduleItem daily = entry(at(2024, 3, 1, 7, 5), 3725, 7);
  daily.source = 1;
  daily.channel2 = 12;
  CScheduleItem weekly = entry(at(2024, 3, 1, 22, 30), 59, 0);
  weekly.source = 2;
  weekly.mode = 0;
  store({daily, weekly});
  openPlanList();
  press(plan(), "DOWN_BUTTON");
  EXPECT_EQ(std::string(plan().GetDetailText()), "Record: Every day 07:05:00\nCable channel 12\n62 min 05 s, Daily");
  press(plan(), "DOWN_BUTTON");
  EXPECT_EQ(std::string(plan().GetDetailText()), "View: Sunday 22:30:00\nComposite\n00 min 59 s, Weekly");
  screenshot(plan(), "plan_list_details");
}

// The keys and the remote step a highlight over the buttons from the ninth on (add,
// change, previous, next) and press it; while the editor is in front it takes the keys.
TEST_F(PlanListTest, TheRemoteStepsTheHighlightAndReachesTheEditor) {
  openPlanList();
  ASSERT_EQ(plan().GetSkinButtonCount(), 12);
  remote(21);  // nothing highlighted: nothing happens
  EXPECT_EQ(g_pScheduleDlg, nullptr);
  remote(68);
  EXPECT_EQ(plan().GetHighlighted(), 8);
  for (int i = 0; i < 3; ++i) remote(68);
  EXPECT_EQ(plan().GetHighlighted(), 11);
  remote(68);
  EXPECT_EQ(plan().GetHighlighted(), 8);
  remote(31);
  EXPECT_EQ(plan().GetHighlighted(), 11);
  remote(31);
  EXPECT_EQ(plan().GetHighlighted(), 10);
  plan().SetFocus();
  robot.key(VK_UP);
  robot.key(VK_UP);
  robot.pumpUntilIdle();
  EXPECT_EQ(plan().GetHighlighted(), 8);
  EXPECT_EQ(plan().GetSkinButton(8)->GetName(), "ADD_BUTTON");
  remote(21);
  ASSERT_NE(g_pScheduleDlg, nullptr);
  EXPECT_EQ(plan().GetHighlighted(), -1);
  remote(70);  // to the editor: back without saving
  EXPECT_EQ(g_pScheduleDlg, nullptr);
  EXPECT_TRUE(plan().IsWindowVisible());
  plan().SetFocus();
  robot.key(VK_DOWN);
  robot.key(VK_RETURN);
  robot.pumpUntilIdle();
  EXPECT_NE(g_pScheduleDlg, nullptr);
}

// A once entry coming due while the plan list is open is not run; the schedule runner
// takes it out, and the list follows: rows, selection and file.
TEST_F(PlanListTest, AnEntryTheRunnerTakesOutLeavesTheListInStep) {
  startSchedulerStandIn();
  store({entry(at(2024, 3, 1, 12, 1), 60, 8, 0, 0), entry(at(2024, 3, 1, 12, 30), 60, 8)});
  openPlanList();
  clickRow(1);
  robot.advance(70000);
  EXPECT_EQ(starts(), std::vector<int>{30});
  EXPECT_EQ(rows().size(), 1u);
  EXPECT_EQ(rowSummary(0), "1 2024-3-1");
  EXPECT_EQ(selected(), 0);
  EXPECT_EQ(std::string(plan().GetDetailText()), "Record: 2024-03-01 12:30:00\nAntenna channel 3\n01 min 00 s, Once");
  EXPECT_EQ(fileStarts(), std::vector<int>{30});
  EXPECT_FALSE(g_pAppController->IsRecording());
}

// After each command the rows on the screen are those of the file, and the mark is drawn
// on the marked row only: a row taken away leaves nothing of itself behind.
TEST_F(PlanListTest, AfterEveryCommandTheScreenShowsWhatTheFileHolds) {
  startSchedulerStandIn();
  store({entry(at(2024, 3, 1, 12, 1), 60, 8, 0, 0), entry(at(2024, 3, 2, 12, 10), 60, 8),
         entry(at(2024, 3, 3, 12, 20), 60, 8), entry(at(2024, 3, 4, 12, 30), 60, 8)});
  openPlanList();
  EXPECT_EQ(shown(), (Shown{4, -1})) << "open";
  clickRow(2);
  press(plan(), "EDIT_BUTTON");
  typeInto("RecordMini_Edit", "5");
  pressInEditor("SAVE_BUTTON");
  expectShownAsFiled("change saved");
  clickRow(3);
  ASSERT_EQ(marked(), 3);
  press(plan(), "DELETE_BUTTON");
  expectShownAsFiled("delete right after change");
  screenshot(plan(), "plan_list_deleted_after_change");
  press(plan(), "ADD_BUTTON");
  pressInEditor("SHOWTIME_TOPBUTTON");
  pressInEditor("SAVE_BUTTON");
  expectShownAsFiled("add");
  clickRow(1);
  press(plan(), "EDIT_BUTTON");
  pressInEditor("CANCEL_BUTTON");
  expectShownAsFiled("change cancelled");
  clickRow(3);
  press(plan(), "DELETE_BUTTON");
  expectShownAsFiled("delete");
  press(plan(), "UP_BUTTON");
  expectShownAsFiled("up");
  // The once entry of 12:01 came due: the runner takes it out.
  robot.advance(70000);
  ASSERT_EQ(schedule().GetCount(), 2);
  expectShownAsFiled("taken out by the runner");
  press(plan(), "REMOVEALL_BUTTON");
  expectShownAsFiled("remove all");
}

}  // namespace
}  // namespace test
