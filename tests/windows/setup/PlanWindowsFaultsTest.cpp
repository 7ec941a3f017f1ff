// What the record plan list and its editor do when things go wrong around them: a file
// that cannot be written, the window closing or the schedule runner taking an entry out
// while an entry is under EDIT, a planned recording running while an entry is saved, a
// stray layout message, a channel typed outside its list, numbers pasted or set into the
// editor's fields beyond their limits, and key 20 with its flag.
#include "windows/setup/PlanWindowsTest.h"

#include "skin/CDigitEdit.h"
#include "skin/CDriveFolderList.h"
#include "windows/main/WindowMessages.h"

#include <win32/user/clipboard.h>
#include <com/globalmem.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace test {
namespace {

using PlanWindowsFaults = PlanWindowsTest;

// Key 20 closes the program, whatever flag comes with it, from the plan list and from the
// editor in front of it.
TEST_F(PlanWindowsFaults, KeyTwentyClosesTheProgramWhateverItsFlag) {
  openPlanList();
  const auto send = [&](WPARAM flag) {
    SendMessageA(plan().GetSafeHwnd(), UM_REMOTE_KEY, flag, 20);
    robot.pumpUntilIdle();
  };
  EXPECT_EQ(askedOfMainWindow([&] { send(1); }), std::vector<WPARAM>{SC_CLOSE});
  press(plan(), "ADD_BUTTON");
  EXPECT_EQ(askedOfMainWindow([&] { send(1); }), std::vector<WPARAM>{SC_CLOSE});
  EXPECT_EQ(askedOfMainWindow([&] { send(0); }), std::vector<WPARAM>{SC_CLOSE});
  EXPECT_TRUE(powerLog().empty());
}

// The entry under EDIT is out of the list; the runner taking out an entry before it
// moves its row, so CANCEL still finds its place, and files written meanwhile hold it.
TEST_F(PlanWindowsFaults, AnEntryUnderEditKeepsItsPlaceWhenTheRunnerTakesOneOut) {
  store({entry(at(2024, 3, 1, 12, 1), 60, 8, 0, 0), entry(at(2024, 3, 1, 12, 20), 60, 8),
         entry(at(2024, 3, 1, 12, 30), 60, 8)});
  openPlanList();
  clickRow(2);
  press(plan(), "EDIT_BUTTON");
  robot.advance(70000);
  EXPECT_EQ(starts(), std::vector<int>{20});
  EXPECT_EQ(fileStarts(), (std::vector<int>{20, 30}));
  pressInEditor("CANCEL_BUTTON");
  EXPECT_EQ(starts(), (std::vector<int>{20, 30}));
  EXPECT_EQ(fileStarts(), (std::vector<int>{20, 30}));
}

TEST_F(PlanWindowsFaults, AnEntryUnderEditIsPutBackWhenTheWindowCloses) {
  storeThree();
  openPlanList();
  clickRow(1);
  press(plan(), "EDIT_BUTTON");
  ASSERT_EQ(starts(), (std::vector<int>{10, 30}));
  closePlanList();
  EXPECT_EQ(starts(), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(fileStarts(), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(g_pScheduleDlg, nullptr);
}

// An entry saved while a planned recording runs leaves that recording's own copy alone.
TEST_F(PlanWindowsFaults, SavingAnEntryLeavesTheRunningEntryAlone) {
  CScheduleItem running = entry(at(2024, 3, 1, 11, 59), 600, 8, 3);
  CScheduleList::CopyItem(&schedule().CurrentItem(), &running);
  openPlanList();
  press(plan(), "ADD_BUTTON");
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(schedule().CurrentItem().duration, 600);
  EXPECT_EQ(schedule().CurrentItem().action, 3);
  EXPECT_EQ(schedule().GetAt(0)->duration, 120);
}

// A file that cannot be written is said, and the scheduler program is not told to read it.
TEST_F(PlanWindowsFaults, AFailedSaveIsToldAndTheSchedulerIsNotAsked) {
  startSchedulerStandIn();
  std::filesystem::create_directories(programFile("schedulefile.she"));
  openPlanList();
  press(plan(), "ADD_BUTTON");
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(schedule().GetCount(), 1);
  EXPECT_EQ(messages(), std::vector<std::string>{"The record plans could not be saved."});
  EXPECT_TRUE(schedulerCommands().empty());
}

// A layout message that no editor sent stores nothing.
TEST_F(PlanWindowsFaults, ALayoutMessageWithoutAnEditorStoresNothing) {
  openPlanList();
  const CScheduleItem stray = entry(at(2024, 3, 1, 13, 0), 60, 8);
  CScheduleList::CopyItem(&schedule().WorkingItem(), &stray);
  SendMessageA(plan().GetSafeHwnd(), UM_REFRESH_LAYOUT, 0, 1);
  SendMessageA(plan().GetSafeHwnd(), UM_REFRESH_LAYOUT, 1, 1);
  robot.pumpUntilIdle();
  EXPECT_EQ(schedule().GetCount(), 0);
  EXPECT_FALSE(std::filesystem::exists(programFile("schedulefile.she")));
}

// A channel typed below the list and saved without a channel button is saved within it.
TEST_F(PlanWindowsFaults, ATypedChannelIsSavedWithinItsList) {
  openPlanList();
  press(plan(), "ADD_BUTTON");
  const int first = editor().GetFirstChannel(2);
  typeInto("Channel_Edit", "0");
  pressInEditor("SAVE_BUTTON");
  ASSERT_EQ(schedule().GetCount(), 1);
  EXPECT_EQ(schedule().GetAt(0)->channel2, first);
}

// Numbers pasted (Ctrl+V) or set into the editor's fields go in only within the fields'
// limits, so SAVE stores no length beyond 23:59:59 and no channel beyond its list, and
// nothing a field holds overflows the length's reckoning.
TEST_F(PlanWindowsFaults, PastedOrSetNumbersStayWithinTheFieldsLimits) {
  openPlanList();
  press(plan(), "ADD_BUTTON");
  const auto paste = [this](const char* name, const char* text) {
    OpenClipboard(nullptr);
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::memcpy(GlobalLock(block), text, std::strlen(text) + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    typeInto(name, "");
    robot.press(VK_CONTROL);
    robot.key('V');
    robot.release(VK_CONTROL);
    robot.pumpUntilIdle();
  };
  const int last = editor().GetLastChannel(2);
  for (const std::string name : {"RecordHour_Edit", "RecordMini_Edit", "RecordSecond_Edit", "StartHour_Edit", "Channel_Edit"}) {
    const std::string before = field(name.c_str());
    const std::string beyond = name == "Channel_Edit" ? std::to_string(last + 1) : "99";
    for (const std::string& text : {std::string("99999999999"), std::string("999"), beyond}) {
      paste(name.c_str(), text.c_str());
      EXPECT_EQ(field(name.c_str()), before) << name << " " << text;
    }
  }
  paste("Channel_Edit", std::to_string(last).c_str());
  EXPECT_EQ(field("Channel_Edit"), std::to_string(last));
  paste("RecordHour_Edit", "23");
  editor().FindEdit("RecordMini_Edit")->SetWindowText("99");
  ::SendMessageA(editor().FindEdit("RecordSecond_Edit")->GetSafeHwnd(), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>("99999999999"));
  EXPECT_EQ(field("RecordMini_Edit"), "59");
  EXPECT_EQ(field("RecordSecond_Edit"), "59");
  screenshot(editor(), "entry_editor_at_the_limits");
  pressInEditor("SAVE_BUTTON");
  ASSERT_EQ(schedule().GetCount(), 1);
  EXPECT_EQ(schedule().GetAt(0)->duration, 23 * 3600 + 59 * 60 + 59);
  EXPECT_EQ(schedule().GetAt(0)->channel2, last);
}

// A skin without the list's place opens the window all the same: it shows no rows, and ADD
// still plans and writes.
TEST_F(PlanWindowsFaults, AWindowWhoseSkinPlacesNoListStillAddsEntries) {
  const auto ini = programFile("Skin\\Record\\skin.ini");
  std::ifstream in(ini);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  text.replace(text.find("[Record-ListCtrl]"), std::string("[Record-ListCtrl]").size(), "[Elsewhere]");
  WriteIniFile(ini, text);
  openPlanList();
  EXPECT_EQ(plan().GetList(), nullptr);
  EXPECT_NE(plan().GetVideoArea(), nullptr);
  press(plan(), "ADD_BUTTON");
  pressInEditor("SAVE_BUTTON");
  EXPECT_EQ(schedule().GetCount(), 1);
  EXPECT_EQ(fileRecords().size(), 1u);
  press(plan(), "DOWN_BUTTON");
  press(plan(), "DELETE_BUTTON");
  EXPECT_EQ(schedule().GetCount(), 1);
}

}  // namespace
}  // namespace test
