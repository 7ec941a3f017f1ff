// The skin report list on a real channel list: rows of channel records walked with the
// mouse and the keys, skip flags toggled, names and frequencies edited in place, rows
// moved with the channel list file stored again byte for byte, and the rows' looks.
#include "ControlTest.h"

#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "skin/CChannelListCtrl.h"
#include "skin/CInPlaceCombo.h"
#include "skin/CListCell.h"
#include "skin/CNoScrollListCtrl.h"
#include "skin/CSkinListCtrl.h"

#include <robot/Screenshot.h>
#include <win32/file.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

constexpr int kListId = 6010;
constexpr int kRows = 6;

ChannelRecord MakeRecord(int number, float frequency) {
  ChannelRecord record{};
  std::strcpy(record.StandardName, "PAL_D");
  std::snprintf(record.ChannelName, sizeof record.ChannelName, "Channel%d", number);
  record.Frequency = frequency;
  record.ChannelNumber = number;
  return record;
}

std::vector<char> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CSkinListCtrlTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    s_recorded = {CSkinListCtrl::UM_CHANNEL_ROW_CHANGED, CSkinListCtrl::UM_CHANNEL_FIELD_EDITED,
                  CSkinListCtrl::UM_CHANNEL_ACTIVATE, CSkinListCtrl::UM_CHANNEL_EDITED,
                  CSkinListCtrl::UM_CHANNEL_UPDATED, CSkinListCtrl::UM_GET_COMBO_ITEMS,
                  CSkinListCtrl::UM_COMBO_ITEM_CHOSEN};
    // The parent gives the standard column its choices and notes what the combo reports.
    s_onMessage = [this](const test::ParentMessage& m) {
      if (m.message == CSkinListCtrl::UM_GET_COMBO_ITEMS && m.wParam == 1)
        for (const char* name : {"PAL_B", "PAL_D", "SECAM_D", "PAL_I"})
          reinterpret_cast<CStringList*>(m.lParam)->AddTail(name);
      if (m.message == CSkinListCtrl::UM_COMBO_ITEM_CHOSEN) {
        const auto* info = reinterpret_cast<const NMLVDISPINFOA*>(m.lParam);
        chosen.push_back(info->item.pszText);
        EXPECT_EQ(info->item.iSubItem, 1);
        EXPECT_EQ(m.wParam, static_cast<WPARAM>(kListId));
      }
    };
    g_pAppSettings = new CAppSettings;
    g_pAppSettings->VideoInput = 1;
    g_pChannelList = new CChannelList;
    for (int n = 1; n <= kRows; ++n) {
      auto* record = new ChannelRecord(MakeRecord(n, n == 3 ? 0.0f : 48.25f + 7.0f * n));
      g_pChannelList->AddChannel(1, record);
    }
    g_pChannelList->SetCurrentChannel(1, 1);
    ASSERT_EQ(g_pChannelList->SaveFile(listPath), 1);
    ASSERT_EQ(g_pChannelList->LoadFile(listPath), 1);

    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED,
                            CRect(10, 10, 390, 290), parent(), kListId));
    const char* titles[] = {"Skip", "Standard", "No.", "Name", "MHz"};
    for (int c = 0; c < 5; ++c) list.InsertColumn(c, titles[c], LVCFMT_CENTER, 76);
    for (int n = 1; n <= kRows; ++n) {
      auto* record = new ChannelRecord{};
      ASSERT_TRUE(g_pChannelList->GetChannel(n, 1, record));
      list.InsertRecordRow(n - 1, record);
    }
    robot.pumpUntilIdle();
  }
  void TearDown() override {
    list.DestroyWindow();
    s_onMessage = nullptr;
    delete g_pChannelList;
    g_pChannelList = nullptr;
    delete g_pAppSettings;
    g_pAppSettings = nullptr;
    ControlTest::TearDown();
  }

  // The middle of a cell on screen.
  POINT Cell(int row, int column) {
    CRect rect;
    list.GetSubItemRect(row, column, LVIR_BOUNDS, rect);
    if (column == 0) rect.right = rect.left + list.GetColumnWidth(0);
    return onScreen(list.GetSafeHwnd(), rect.CenterPoint().x, rect.CenterPoint().y);
  }
  COLORREF CellPixel(int row, int column, int dx, int dy) {
    CRect rect;
    list.GetSubItemRect(row, column, LVIR_BOUNDS, rect);
    robot.pumpUntilIdle();
    return plat::Screenshot::windowPixel(list.GetSafeHwnd(), rect.left + dx, rect.top + dy);
  }
  std::vector<LPARAM> Sent(UINT message) const {
    std::vector<LPARAM> values;
    for (const auto& m : received(message)) values.push_back(m.lParam);
    return values;
  }

  HWND Combo() const { return CInPlaceCombo::GetInstance()->GetSafeHwnd(); }

  const char* listPath = "C:\\channels.chl";
  CChannelListCtrl list;
  std::vector<std::string> chosen;
};

TEST_F(CSkinListCtrlTest, RowsShowTheirRecordsAndTheListOwnsThem) {
  EXPECT_EQ(list.GetItemCount(), kRows);
  EXPECT_EQ(list.GetItemText(0, 1), "PAL_D");
  EXPECT_EQ(list.GetItemText(1, 2), "2");
  EXPECT_EQ(list.GetItemText(1, 3), "Channel2");
  EXPECT_EQ(list.GetItemText(1, 4), "62.25");
  // A frequency of 0 shows an empty cell.
  EXPECT_EQ(list.GetItemText(2, 4), "");
  EXPECT_EQ(list.FindRecordItem(list.GetRowRecord(4)), 4);
  const ChannelRecord stranger = MakeRecord(99, 1.0f);
  EXPECT_EQ(list.FindRecordItem(&stranger), -1);
  EXPECT_EQ(list.FindRecordItem(nullptr), -1);
  EXPECT_FALSE(list.SetRowValue(-1, 1.0f));
  EXPECT_FALSE(list.SetRowName(kRows, "x"));
  EXPECT_TRUE(list.SetRowValue(1, 175.25f));
  EXPECT_EQ(list.GetItemText(1, 4), "175.25");
  EXPECT_FLOAT_EQ(list.GetRowRecord(1)->Frequency, 175.25f);
  // A standard name longer than its field is cut, not run into the channel name.
  EXPECT_TRUE(list.SetRowStandard(0, "NTSC(n3.58)"));
  EXPECT_STREQ(list.GetRowRecord(0)->StandardName, "NTSC(n3.5");
  EXPECT_STREQ(list.GetRowRecord(0)->ChannelName, "Channel1");
  EXPECT_TRUE(list.DeleteRecordRow(5));
  EXPECT_EQ(list.GetItemCount(), kRows - 1);
}

TEST_F(CSkinListCtrlTest, TheMouseAndTheArrowsWalkTheFocusedCell) {
  robot.click(Cell(1, 3));
  EXPECT_EQ(list.GetFocusRow(), 1);
  EXPECT_EQ(list.GetFocusColumn(), 3);
  ASSERT_EQ(Sent(CSkinListCtrl::UM_CHANNEL_ROW_CHANGED).size(), 1u);
  // The message carries the record pointer itself.
  EXPECT_EQ(Sent(CSkinListCtrl::UM_CHANNEL_ROW_CHANGED)[0], reinterpret_cast<LPARAM>(list.GetRowRecord(1)));

  clearReceived();
  robot.key(VK_DOWN);
  EXPECT_EQ(list.GetFocusRow(), 2);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
  EXPECT_EQ(Sent(CSkinListCtrl::UM_CHANNEL_ROW_CHANGED), std::vector<LPARAM>{0});
  robot.key(VK_RIGHT);
  robot.key(VK_RIGHT);
  EXPECT_EQ(list.GetFocusColumn(), 4);
  robot.key(VK_LEFT);
  EXPECT_EQ(list.GetFocusColumn(), 3);

  robot.click(Cell(0, 2));
  robot.key(VK_UP);
  EXPECT_EQ(list.GetFocusRow(), 0);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0);

  // A double click on the number activates the channel.
  robot.doubleClick(Cell(4, 2));
  ASSERT_EQ(received(CSkinListCtrl::UM_CHANNEL_ACTIVATE).size(), 1u);
  EXPECT_EQ(received(CSkinListCtrl::UM_CHANNEL_ACTIVATE)[0].wParam, 4u);
}

TEST_F(CSkinListCtrlTest, TheFocusedColumnIsScrolledIntoView) {
  // Columns wider than the list: 5 x 150 pixels in a client 380 wide.
  for (int c = 0; c < CSkinListCtrl::kColumns; ++c) list.SetColumnWidth(c, 150);
  CRect client;
  list.GetClientRect(&client);
  auto cellOf = [&](int column) {
    CRect cell;
    list.GetSubItemRect(1, column, LVIR_BOUNDS, cell);
    cell.right = cell.left + list.GetColumnWidth(column);
    return cell;
  };
  // Column 2 (300 to 450) is half out of sight: a click on its visible part brings it in.
  robot.click(onScreen(list.GetSafeHwnd(), 350, Cell(1, 0).y - onScreen(list.GetSafeHwnd(), 0, 0).y));
  EXPECT_EQ(list.GetFocusColumn(), 2);
  EXPECT_EQ(cellOf(2).right, client.right);
  // Right to the last column: its right edge comes to the client's.
  robot.key(VK_RIGHT);
  robot.key(VK_RIGHT);
  EXPECT_EQ(list.GetFocusColumn(), 4);
  EXPECT_EQ(cellOf(4).right, client.right);
  EXPECT_LT(cellOf(2).left, 0);
  // Left back to the first: its left edge comes to the client's.
  for (int i = 0; i < 4; ++i) robot.key(VK_LEFT);
  EXPECT_EQ(list.GetFocusColumn(), 0);
  EXPECT_EQ(cellOf(0).left, 0);
  // A column already in sight stays where it is.
  robot.key(VK_RIGHT);
  EXPECT_EQ(cellOf(1).left, 150);
  // A column wider than the list shows its left edge.
  list.SetColumnWidth(3, 500);
  robot.key(VK_RIGHT);
  robot.key(VK_RIGHT);
  EXPECT_EQ(list.GetFocusColumn(), 3);
  EXPECT_EQ(cellOf(3).left, 0);
}

TEST_F(CSkinListCtrlTest, ClickingTheSkipColumnTogglesTheFlagAndSaysSo) {
  robot.click(Cell(3, 0));
  robot.click(Cell(3, 0));
  const auto edited = received(CSkinListCtrl::UM_CHANNEL_FIELD_EDITED);
  ASSERT_EQ(edited.size(), 2u);
  EXPECT_EQ(edited[0].wParam, 1u);
  EXPECT_EQ(edited[1].wParam, 0u);
  EXPECT_EQ(edited[0].lParam, reinterpret_cast<LPARAM>(list.GetRowRecord(3)));
  EXPECT_EQ(list.GetRowRecord(3)->SkipFlag, 0u);
}

TEST_F(CSkinListCtrlTest, NamesAndFrequenciesAreEditedInPlace) {
  robot.doubleClick(Cell(1, 3));
  ASSERT_TRUE(list.IsEditing());
  HWND edit = list.GetInPlaceEdit().GetSafeHwnd();
  EXPECT_TRUE(IsWindowVisible(edit));
  EXPECT_EQ(GetFocus(), edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  robot.type("News 24");
  SendMessageA(list.GetSafeHwnd(), CSkinListCtrl::UM_INPLACE_EDIT_ENTER, 0, reinterpret_cast<LPARAM>(edit));
  EXPECT_FALSE(list.IsEditing());
  EXPECT_FALSE(IsWindowVisible(edit));
  EXPECT_STREQ(list.GetRowRecord(1)->ChannelName, "News 24");
  EXPECT_EQ(list.GetItemText(1, 3), "News 24");
  EXPECT_EQ(Sent(CSkinListCtrl::UM_CHANNEL_UPDATED), std::vector<LPARAM>{reinterpret_cast<LPARAM>(list.GetRowRecord(1))});

  // An empty name keeps the old one; the edit takes at most 60 characters.
  CSkinListCtrl::CellRequest name{2, 3, 0};
  ASSERT_TRUE(list.SendMessage(CSkinListCtrl::UM_LIST_EDIT_CELL, 0, reinterpret_cast<LPARAM>(&name)));
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 60);
  SetWindowTextA(edit, "");
  list.SendMessage(CSkinListCtrl::UM_LIST_COMMIT_EDIT, 0, 0);
  EXPECT_STREQ(list.GetRowRecord(2)->ChannelName, "Channel3");

  // Frequencies: two points or a leading point keep the old value; 175.25 is taken.
  CSkinListCtrl::CellRequest frequency{1, 4, 0};
  for (const char* bad : {"1.2.3", ".5", "12a"}) {
    list.SendMessage(CSkinListCtrl::UM_LIST_EDIT_CELL, 0, reinterpret_cast<LPARAM>(&frequency));
    SetWindowTextA(edit, bad);
    list.SendMessage(CSkinListCtrl::UM_LIST_COMMIT_EDIT, 0, 0);
    EXPECT_EQ(list.GetItemText(1, 4), "62.25") << bad;
  }
  list.SendMessage(CSkinListCtrl::UM_LIST_EDIT_CELL, 0, reinterpret_cast<LPARAM>(&frequency));
  SetWindowTextA(edit, "175.25");
  SendMessageA(list.GetSafeHwnd(), CSkinListCtrl::UM_INPLACE_EDIT_ENTER, 0, reinterpret_cast<LPARAM>(edit));
  EXPECT_FLOAT_EQ(list.GetRowRecord(1)->Frequency, 175.25f);
  EXPECT_EQ(received(CSkinListCtrl::UM_CHANNEL_EDITED).size(), 1u);
  // Enter from another window is not the list's edit.
  EXPECT_EQ(list.SendMessage(CSkinListCtrl::UM_INPLACE_EDIT_ENTER, 0, reinterpret_cast<LPARAM>(parentHwnd())), 0);
}

TEST_F(CSkinListCtrlTest, TheWindowsMessageNumbersCommitAndOpenEditsUnderTheirNames) {
  static_assert(CSkinListCtrl::UM_LIST_EDIT_CELL == 7024 && CSkinListCtrl::UM_LIST_COMMIT_EDIT == 7025 &&
                CSkinListCtrl::UM_CHANNEL_ROW_CHANGED == 7026 && CSkinListCtrl::UM_INPLACE_KILLFOCUS == 7027 &&
                CSkinListCtrl::UM_LIST_COMBO_CELL == 7028 && CSkinListCtrl::UM_INPLACE_EDIT_ENTER == 3024);
  HWND edit = list.GetInPlaceEdit().GetSafeHwnd();
  CSkinListCtrl::CellRequest name{0, 3, 0};
  ASSERT_TRUE(SendMessageA(list.GetSafeHwnd(), 7024, 0, reinterpret_cast<LPARAM>(&name)));
  SetWindowTextA(edit, "Harbour");
  EXPECT_EQ(SendMessageA(list.GetSafeHwnd(), 7025, 0, 0), 1);
  EXPECT_STREQ(list.GetRowRecord(0)->ChannelName, "Harbour");
  EXPECT_EQ(SendMessageA(list.GetSafeHwnd(), 7025, 0, 0), 0) << "nothing left to commit";
  ASSERT_TRUE(SendMessageA(list.GetSafeHwnd(), 7024, 0, reinterpret_cast<LPARAM>(&name)));
  SetWindowTextA(edit, "Quay");
  EXPECT_EQ(SendMessageA(list.GetSafeHwnd(), 1677, 0, 0), 1) << "the older number commits as well";
  EXPECT_STREQ(list.GetRowRecord(0)->ChannelName, "Quay");
}

TEST_F(CSkinListCtrlTest, RowMovesSwapNumbersAndStoreTheListAgain) {
  const auto path = testMachine.root() / "C" / "channels.chl";
  std::vector<char> expected = ReadAll(path);
  // Records 1 and 2 change places in the file, each keeping its position's number.
  constexpr std::size_t kHeader = 16, kRecord = 84, kNumber = 80;
  for (std::size_t i = 0; i < kNumber; ++i) std::swap(expected[kHeader + i], expected[kHeader + kRecord + i]);
  // The tuned channel moved: it is tuned again under its new number.
  expected[0] = 2;

  robot.click(Cell(0, 2));
  list.SendMessage(CSkinListCtrl::UM_LIST_MOVE_DOWN, 0, 0);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
  EXPECT_STREQ(list.GetRowRecord(1)->ChannelName, "Channel1");
  EXPECT_EQ(list.GetRowRecord(1)->ChannelNumber, 2);
  EXPECT_EQ(list.GetItemText(0, 2), "1");
  EXPECT_EQ(list.GetItemText(0, 3), "Channel2");
  ASSERT_EQ(g_pChannelList->SaveFile(listPath), 1);
  EXPECT_EQ(ReadAll(path), expected);

  // To the bottom and back to the top: the numbers stay in row order.
  list.SendMessage(CSkinListCtrl::UM_LIST_MOVE_BOTTOM, 0, 0);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), kRows - 1);
  for (int row = 0; row < kRows; ++row) EXPECT_EQ(list.GetRowRecord(row)->ChannelNumber, row + 1);
  EXPECT_STREQ(list.GetRowRecord(kRows - 1)->ChannelName, "Channel1");
  list.SendMessage(CSkinListCtrl::UM_LIST_MOVE_TOP, 0, 0);
  list.SendMessage(CSkinListCtrl::UM_LIST_MOVE_UP, 0, 0);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0);
  ChannelRecord stored{};
  ASSERT_TRUE(g_pChannelList->GetChannel(1, 1, &stored));
  EXPECT_STREQ(stored.ChannelName, "Channel1");
  ASSERT_TRUE(g_pChannelList->GetChannel(kRows, 1, &stored));
  EXPECT_STREQ(stored.ChannelName, "Channel6");
}

TEST_F(CSkinListCtrlTest, RowsAreDrawnWhiteOnBlackOrOnTheGradientWithTheFocusedCellFramed) {
  HBITMAP frame = test::MakeBitmap(20, 20, [](int x, int y) {
    return x < 3 || y < 3 || x >= 17 || y >= 17 ? RGB(200, 0, 0) : RGB(0, 200, 200);
  });
  list.SetBitmaps(frame, frame, frame, frame, frame, frame, CRect(0, 0, 20, 20), CRect(), CRect(0, 0, 20, 20),
                  CRect(0, 0, 20, 20), CRect(0, 0, 20, 20), CRect(0, 0, 20, 20), CRect(0, 0, 20, 20));
  DeleteObject(frame);
  list.SetCellFrameRect(CRect(0, 0, 20, 20));
  list.SetCellFrameMargins(3, 3, 3, 3);
  list.SetRowSkip(0, TRUE);
  list.SetRowSkip(1, TRUE);
  robot.click(Cell(1, 3));

  EXPECT_EQ(CellPixel(0, 1, 3, 3), RGB(0, 0, 0));
  EXPECT_EQ(CellPixel(0, 1, 0, 0), RGB(0xDC, 0xD3, 0xC0));
  // Selected: the gradient starts white at the top.
  const COLORREF top = CellPixel(1, 1, 3, 1);
  EXPECT_GT(GetRValue(top), 240);
  EXPECT_GT(GetBValue(top), 240);
  CRect row;
  list.GetSubItemRect(1, 1, LVIR_BOUNDS, row);
  const COLORREF bottom = CellPixel(1, 1, 3, row.Height() - 2);
  EXPECT_LT(GetBValue(bottom), GetBValue(top));
  // The focused cell: the frame image's edge, then its inside.
  EXPECT_EQ(CellPixel(1, 3, 1, 5), RGB(200, 0, 0));
  EXPECT_EQ(CellPixel(1, 3, 5, 5), RGB(0, 200, 200));
  // Skip marks: white on an unselected row, blue on the selected one.
  CRect skip;
  list.GetSubItemRect(0, 0, LVIR_BOUNDS, skip);
  const int cx = list.GetColumnWidth(0) / 2;
  const int cy = skip.Height() / 2;
  EXPECT_EQ(CellPixel(0, 0, cx, cy), RGB(255, 255, 255));
  EXPECT_EQ(CellPixel(1, 0, cx, cy), RGB(0, 0, 255));
  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
  std::filesystem::create_directories(shots);
  plat::Screenshot::saveWindow(list.GetSafeHwnd(), shots / "reportlist.png");
}

TEST_F(CSkinListCtrlTest, ColumnsAreSizedOnlyOnceThereAreColumns) {
  CSkinListCtrl empty;
  ASSERT_TRUE(empty.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED, CRect(0, 0, 100, 100), parent(), 6011));
  empty.MoveWindow(0, 0, 200, 120);
  empty.InsertColumn(0, "A", LVCFMT_LEFT, 10);
  empty.InsertColumn(1, "B", LVCFMT_LEFT, 10);
  empty.MoveWindow(0, 0, 300, 120);
  EXPECT_EQ(empty.GetColumnWidth(0), 150);
  EXPECT_EQ(empty.GetColumnWidth(1), 150);
  empty.DestroyWindow();
}

TEST_F(CSkinListCtrlTest, TheStandardIsChosenInPlaceAndTheChannelStoredAndTunedAgain) {
  g_pAppSettings->CountryCode = 49;
  list.SetColumnEditable(1, TRUE);
  list.SetColumnEditable(1, TRUE);
  robot.doubleClick(Cell(0, 1));
  ASSERT_TRUE(list.IsComboActive());
  HWND combo = Combo();
  EXPECT_EQ(GetDlgCtrlID(combo), 4999);
  const auto style = static_cast<DWORD>(GetWindowLongA(combo, GWL_STYLE));
  EXPECT_EQ(style & 0x508000C3u, 0x508000C3u);
  EXPECT_EQ(GetFocus(), combo);
  ASSERT_EQ(received(CSkinListCtrl::UM_GET_COMBO_ITEMS).size(), 1u);
  EXPECT_EQ(received(CSkinListCtrl::UM_GET_COMBO_ITEMS)[0].wParam, 1u);
  ASSERT_EQ(received(CSkinListCtrl::UM_CHANNEL_ACTIVATE).size(), 1u);
  EXPECT_EQ(received(CSkinListCtrl::UM_CHANNEL_ACTIVATE)[0].wParam, 0u);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  // The combo stands over the cell.
  CRect cell, rect;
  list.GetSubItemRect(0, 1, LVIR_BOUNDS, cell);
  GetWindowRect(combo, &rect);
  list.ScreenToClient(&rect);
  EXPECT_EQ(rect.TopLeft(), cell.TopLeft());
  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
  std::filesystem::create_directories(shots);
  robot.key(VK_F4);
  ASSERT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  robot.pumpUntilIdle();
  plat::Screenshot::saveScreen(shots / "reportlist-combo.png");

  // The drop-down takes the arrow and Enter; the choice goes into the cell and the record,
  // is stored in the channel list and the tuned channel is tuned again.
  robot.key(VK_DOWN);
  robot.key(VK_RETURN);
  EXPECT_FALSE(list.IsComboActive());
  EXPECT_FALSE(IsWindowVisible(combo));
  EXPECT_EQ(GetFocus(), list.GetSafeHwnd());
  EXPECT_EQ(chosen, std::vector<std::string>{"SECAM_D"});
  EXPECT_EQ(list.GetItemText(0, 1), "SECAM_D");
  EXPECT_STREQ(list.GetRowRecord(0)->StandardName, "SECAM_D");
  ChannelRecord stored{};
  ASSERT_TRUE(g_pChannelList->GetChannel(1, 1, &stored));
  EXPECT_STREQ(stored.StandardName, "SECAM_D");
  ASSERT_NE(g_pCurrentChannelRecord, nullptr);
  EXPECT_STREQ(g_pCurrentChannelRecord->StandardName, "SECAM_D");
}

TEST_F(CSkinListCtrlTest, EscapeInTheComboKeepsTheCellAndAClosedComboEndsOnAnyChange) {
  g_pAppSettings->CountryCode = 49;
  list.SetColumnEditable(1, TRUE);
  // Enter on the focused standard cell opens the combo; Esc keeps the text and says nothing.
  robot.click(Cell(2, 1));
  robot.key(VK_RETURN);
  ASSERT_TRUE(list.IsComboActive());
  robot.key(VK_ESCAPE);
  EXPECT_FALSE(list.IsComboActive());
  EXPECT_EQ(GetFocus(), list.GetSafeHwnd());
  EXPECT_TRUE(chosen.empty());
  EXPECT_EQ(list.GetItemText(2, 1), "PAL_D");
  EXPECT_STREQ(list.GetRowRecord(2)->StandardName, "PAL_D");

  // On a closed combo an arrow changes the selection, which ends the edit at once.
  CSkinListCtrl::CellRequest request{2, 1, 0};
  ASSERT_TRUE(list.SendMessage(CSkinListCtrl::UM_LIST_COMBO_CELL, 0, reinterpret_cast<LPARAM>(&request)));
  robot.key(VK_UP);
  EXPECT_FALSE(list.IsComboActive());
  EXPECT_EQ(chosen, std::vector<std::string>{"PAL_B"});
  EXPECT_STREQ(list.GetRowRecord(2)->StandardName, "PAL_B");

  // A click elsewhere commits an open combo unchanged.
  ASSERT_TRUE(list.SendMessage(CSkinListCtrl::UM_LIST_COMBO_CELL, 0, reinterpret_cast<LPARAM>(&request)));
  robot.click(Cell(4, 3));
  EXPECT_FALSE(list.IsComboActive());
  EXPECT_FALSE(IsWindowVisible(Combo()));
  EXPECT_EQ(chosen.size(), 1u);
}

TEST_F(CSkinListCtrlTest, TheComboOpensOnlyOnAnEditableColumnWhereTheStandardIsChosenPerChannel) {
  CSkinListCtrl::CellRequest request{1, 1, 0};
  g_pAppSettings->CountryCode = 49;
  EXPECT_EQ(list.SendMessage(CSkinListCtrl::UM_LIST_COMBO_CELL, 0, reinterpret_cast<LPARAM>(&request)), 0);
  list.SetColumnEditable(1, TRUE);
  // Countries of the 45.75 MHz standards keep one standard for all channels.
  g_pAppSettings->CountryCode = 1;
  EXPECT_EQ(list.SendMessage(CSkinListCtrl::UM_LIST_COMBO_CELL, 0, reinterpret_cast<LPARAM>(&request)), 0);
  g_pAppSettings->CountryCode = 49;
  CSkinListCtrl::CellRequest outside{kRows, 1, 0};
  EXPECT_EQ(list.SendMessage(CSkinListCtrl::UM_LIST_COMBO_CELL, 0, reinterpret_cast<LPARAM>(&outside)), 0);
  EXPECT_FALSE(list.IsComboActive());
  list.SetColumnEditable(1, FALSE);
  EXPECT_EQ(list.SendMessage(CSkinListCtrl::UM_LIST_COMBO_CELL, 0, reinterpret_cast<LPARAM>(&request)), 0);
  EXPECT_EQ(list.SendMessage(CSkinListCtrl::UM_INPLACE_KILLFOCUS, 0, 0), 0);

  // The channel window's form gives the record of a row or of the selected row.
  EXPECT_EQ(list.GetItemRecord(-1), nullptr);
  EXPECT_EQ(list.GetItemRecord(), nullptr);
  robot.click(Cell(3, 2));
  EXPECT_EQ(list.GetItemRecord(), list.GetRowRecord(3));
  EXPECT_EQ(list.GetItemRecord(2)->ChannelNumber, 3);
}

TEST_F(CSkinListCtrlTest, TheNoScrollListNeverShowsScrollBars) {
  CNoScrollListCtrl plain;
  ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | WS_VSCROLL | WS_HSCROLL, CRect(0, 300, 120, 360), parent(), 6012));
  const auto style = static_cast<DWORD>(GetWindowLongA(plain.GetSafeHwnd(), GWL_STYLE));
  EXPECT_EQ(style & CNoScrollListCtrl::kAddedStyle, CNoScrollListCtrl::kAddedStyle);
  plain.InsertColumn(0, "Name", LVCFMT_LEFT, 300);
  for (int i = 0; i < 20; ++i) plain.InsertItem(i, "row");
  plain.MoveWindow(0, 300, 100, 50);
  robot.pumpUntilIdle();
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(plain.GetSafeHwnd(), GWL_STYLE)) & (WS_HSCROLL | WS_VSCROLL), 0u);
  CRect window, client;
  plain.GetWindowRect(&window);
  plain.GetClientRect(&client);
  EXPECT_EQ(client.Width(), window.Width());
  plain.SetRect(1, 2, 3, 4);
  int l = 0, t = 0, r = 0, b = 0;
  plain.GetRect(l, t, r, b);
  EXPECT_EQ(CRect(l, t, r, b), CRect(1, 2, 3, 4));
  plain.DestroyWindow();
}

// What the user types is stored however the edit ends: by Enter in the edit itself, or by
// a click on another cell.
TEST_F(CSkinListCtrlTest, AnEditEndedByEnterOrAClickElsewhereIsReported) {
  robot.doubleClick(Cell(1, 3));
  ASSERT_TRUE(list.IsEditing());
  HWND edit = list.GetInPlaceEdit().GetSafeHwnd();
  SendMessageA(edit, EM_SETSEL, 0, -1);
  robot.type("Harbour");
  robot.key(VK_RETURN);
  EXPECT_FALSE(list.IsEditing());
  EXPECT_STREQ(list.GetRowRecord(1)->ChannelName, "Harbour");
  EXPECT_EQ(Sent(CSkinListCtrl::UM_CHANNEL_UPDATED), std::vector<LPARAM>{reinterpret_cast<LPARAM>(list.GetRowRecord(1))});
  EXPECT_EQ(GetFocus(), list.GetSafeHwnd());

  robot.doubleClick(Cell(2, 3));
  ASSERT_TRUE(list.IsEditing());
  SendMessageA(edit, EM_SETSEL, 0, -1);
  robot.type("Coast");
  robot.click(Cell(4, 2));
  EXPECT_FALSE(list.IsEditing());
  EXPECT_STREQ(list.GetRowRecord(2)->ChannelName, "Coast");
  EXPECT_EQ(Sent(CSkinListCtrl::UM_CHANNEL_UPDATED).size(), 2u);
  EXPECT_EQ(Sent(CSkinListCtrl::UM_CHANNEL_UPDATED).back(), reinterpret_cast<LPARAM>(list.GetRowRecord(2)));
  // The window's own request to end the edit is not the user's: nothing is reported.
  robot.doubleClick(Cell(3, 3));
  list.SendMessage(CSkinListCtrl::UM_LIST_COMMIT_EDIT, 0, 0);
  EXPECT_EQ(Sent(CSkinListCtrl::UM_CHANNEL_UPDATED).size(), 2u);
}

TEST(CListCellTest, NumbersNamesAndValuesKeepTheirTexts) {
  CListCell cell;
  EXPECT_EQ(cell.GetNumber(), -1);
  EXPECT_EQ(cell.GetValue(), 0.0f);
  cell.SetNumber(12);
  cell.SetNumber(-3);
  EXPECT_EQ(cell.GetNumber(), 12);
  cell.SetValue(175.254f);
  EXPECT_FLOAT_EQ(cell.GetValue(), 175.25f);
  CString name;
  EXPECT_FALSE(cell.GetName(name));
  cell.SetName("News");
  CListCell copy;
  copy.Copy(cell);
  EXPECT_TRUE(copy.GetName(name));
  EXPECT_EQ(name, "News");
  EXPECT_EQ(copy.GetNumber(), 12);
}

}  // namespace
