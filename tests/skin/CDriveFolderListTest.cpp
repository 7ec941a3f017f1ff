// The drive and folder list on the machine's drives and folders: drives by type, folders
// browsed, the selection walked by mouse, wheel and the wrap mode, marks, and the records
// kept safe against long names and removed entries.
#include "ControlTest.h"

#include "skin/CDriveFolderList.h"

#include <robot/Screenshot.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

class CDriveFolderListTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    s_recorded = {CDriveFolderList::UM_LIST_SELCHANGE, CDriveFolderList::UM_FOLDER_SELECTED};
    ASSERT_TRUE(list.Create(0, CRect(10, 10, 210, 290), parent(), 1));
  }
  std::vector<CString> Names() const {
    std::vector<CString> names;
    for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetRecord(i) ? list.GetRecord(i)->szName : "");
    return names;
  }
  POINT Item(int index) {
    RECT rect{};
    list.GetItemRect(index, &rect);
    return onScreen(list.GetSafeHwnd(), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  }

  CDriveFolderList list;
};

TEST_F(CDriveFolderListTest, DrivesAreListedWithoutDiscNetworkOrUnknownOnes) {
  for (char letter : {'D', 'E', 'F', 'G'}) {
    std::filesystem::create_directories(testMachine.root() / std::string(1, letter));
    machine().paths().mapDrive(letter, testMachine.root() / std::string(1, letter));
  }
  machine().ini().setValue("DriveTypes", "D", "cdrom");
  machine().ini().setValue("DriveTypes", "E", "remote");
  machine().ini().setValue("DriveTypes", "F", "removable");
  machine().ini().setValue("DriveTypes", "G", "unknown");
  ASSERT_TRUE(list.ListDrives());
  EXPECT_EQ(Names(), (std::vector<CString>{"C:\\", "F:\\", "Z:\\"}));
}

TEST_F(CDriveFolderListTest, FoldersAreBrowsedDownAndUpAndLongNamesAreCut) {
  const auto root = testMachine.root() / "C" / "Media";
  std::filesystem::create_directories(root / "Clips");
  std::filesystem::create_directories(root / "Stills");
  std::ofstream(root / "notes.txt") << "x";
  EXPECT_EQ(list.AddSubFolders("C:\\Media\\", 7, 8, TRUE), 2);
  auto names = Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<CString>{"Clips", "Stills"}));
  const DriveFolderItem* first = list.GetRecord(0);
  EXPECT_EQ(CString(first->szPath), CString("C:\\Media\\") + first->szName);
  EXPECT_TRUE(first->bFolder);
  EXPECT_EQ(first->nValue1, 7);
  list.ResetContent();
  EXPECT_EQ(list.AddSubFolders("C:\\Media\\", 0, 0, FALSE), 3);
  EXPECT_EQ(list.GetItemCount(), 3);

  CString path = "C:\\Media\\Clips\\";
  EXPECT_TRUE(CDriveFolderList::ParentFolder(path));
  EXPECT_EQ(path, "C:\\Media\\");
  EXPECT_TRUE(CDriveFolderList::ParentFolder(path));
  EXPECT_EQ(path, "C:\\");
  CString bare = "Clips";
  EXPECT_FALSE(CDriveFolderList::ParentFolder(bare));

  // A name longer than the record's field is cut, never run past it.
  const std::string longName(300, 'n');
  list.AddItem(longName.c_str(), 0, 0);
  EXPECT_EQ(std::strlen(list.GetRecord(list.GetCount() - 1)->szName), 255u);
}

TEST_F(CDriveFolderListTest, TheMouseTheWheelAndTheWrapModeMoveTheSelection) {
  for (const char* text : {"One", "Two", "Three", "Four", "Five", "Six"}) list.AddItem(text, 0, 0);
  robot.moveTo(Item(1));
  EXPECT_EQ(list.GetCurSel(), 1);
  robot.click(Item(2));
  EXPECT_EQ(list.GetCurSel(), 2);
  EXPECT_EQ(list.GetCurSelText(), "Three");
  auto changes = received(CDriveFolderList::UM_LIST_SELCHANGE);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[1].wParam, 2u);
  robot.doubleClick(Item(2));
  EXPECT_EQ(received(CDriveFolderList::UM_FOLDER_SELECTED).size(), 1u);

  list.SetWrapMode(TRUE);
  list.SetVisibleLimit(3);
  list.SetCurSel(2);
  list.SelectNext();
  EXPECT_EQ(list.GetCurSel(), 2);
  list.SetCurSel(5);
  list.SelectNext();
  EXPECT_EQ(list.GetCurSel(), 0);
  list.SelectPrev();
  EXPECT_EQ(list.GetCurSel(), 0);

  list.SetWrapMode(FALSE);
  list.SetCurSel(-1);
  EXPECT_EQ(list.GetCurSelText(), "");
  EXPECT_FALSE(list.GetCurSelIsFolder());
  list.SelectNext();
  EXPECT_EQ(list.GetCurSel(), 0);
}

TEST_F(CDriveFolderListTest, MarksToggleAndRemovedRecordsLeaveSafeEntries) {
  for (const char* text : {"One", "Two", "Three", "Four"}) list.AddItem(text, 0, 0);
  list.SetVisibleLimit(3);
  list.ToggleMark(1);
  EXPECT_EQ(list.GetHotItem(), 1);
  list.ToggleMark(3);
  EXPECT_EQ(list.GetHotItem(), 1);
  list.ToggleMark(1);
  EXPECT_EQ(list.GetHotItem(), -1);

  list.RemoveItemData(1);
  EXPECT_EQ(list.GetCount(), 4);
  EXPECT_EQ(list.GetItemCount(), 3);
  list.SetCurSel(1);
  EXPECT_EQ(list.GetCurSelText(), "");
  list.RemoveItemData(-1);
  list.RemoveItemData(9);
  // Replacing a row frees the old record; a row past the end is added first.
  EXPECT_EQ(list.SetItem(-1, "x"), -1);
  EXPECT_EQ(list.SetItem(0, ""), 0);
  list.SetItem(0, "First");
  list.SetItem(4, "Fifth");
  EXPECT_EQ(list.GetCount(), 5);
  EXPECT_STREQ(list.GetRecord(4)->szName, "Fifth");
  EXPECT_STREQ(list.GetRecord(0)->szName, "First");
  robot.pumpUntilIdle();
  saveParent("drivefolderlist");
}

TEST_F(CDriveFolderListTest, TheOptionFlagSplitsTheTextLeftAndRight) {
  list.SetOptionFlag(TRUE);
  list.SetFillColor(RGB(0, 0, 0));
  list.AddItem("Monday 20:00", 0, 0);
  list.AddItem("Single", 0, 0);
  robot.pumpUntilIdle();
  RECT row{};
  list.GetItemRect(1, &row);
  const auto white = [&](int left, int right) {
    const auto pixels = plat::Screenshot::windowPixels(list.GetSafeHwnd(), RECT{left, row.top + 12, right, row.top + 30});
    return std::count(pixels.begin(), pixels.end(), RGB(255, 255, 255));
  };
  EXPECT_EQ(white(3, 40), 0);
  EXPECT_GT(white(100, 195), 10);
}

// Rows as the list draws them, into the device context it is given with the list's font
// selected: a frame in the item background, the fill within it, and the text in the text
// colour from the row shrunk by 2 and moved 2 right and 10 down, at its top; with the
// option flag the first word on the left and the last one followed by seven spaces
// against the right edge.
TEST_F(CDriveFolderListTest, RowsAreFramedFilledAndWrittenFromTheirTopLeft) {
  constexpr int kWidth = 240, kHeight = 55;
  constexpr COLORREF kText = RGB(255, 255, 0);
  list.SetFillColor(RGB(0, 0, 0));
  list.SetItemBkColor(RGB(255, 255, 255));
  list.SetTextColor(kText);
  list.SetOptionFlag(TRUE);
  list.AddItem("Monday 20:00", 0, 0);

  LOGFONTA face{};
  face.lfHeight = 16;
  std::strcpy(face.lfFaceName, "Arial");
  HFONT font = CreateFontIndirectA(&face);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP row = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bits, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, row);
  HGDIOBJ oldFont = SelectObject(dc, font);
  DRAWITEMSTRUCT draw{ODT_LISTBOX, 1, 0, ODA_DRAWENTIRE, 0, list.GetSafeHwnd(), dc, {0, 0, kWidth, kHeight},
                      reinterpret_cast<ULONG_PTR>(list.GetRecord(0))};
  list.DrawItem(&draw);
  SIZE spaces{};
  GetTextExtentPoint32A(dc, "       ", 7, &spaces);
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  const auto at = [&](int x, int y) {
    const std::uint32_t pixel = pixels[y * kWidth + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  };
  EXPECT_EQ(at(0, 30), RGB(255, 255, 255)) << "the frame";
  EXPECT_EQ(at(1, 30), RGB(0, 0, 0)) << "the fill";

  // The text's extent on each half of the row.
  RECT left{kWidth, kHeight, 0, 0};
  int rightEnd = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (at(x, y) != kText) continue;
      if (x >= kWidth / 2) {
        rightEnd = std::max(rightEnd, x);
        continue;
      }
      left = {std::min<LONG>(left.left, x), std::min<LONG>(left.top, y), std::max<LONG>(left.right, x),
              std::max<LONG>(left.bottom, y)};
    }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  DeleteObject(row);
  DeleteObject(font);
  EXPECT_GE(left.left, 4);
  EXPECT_LE(left.left, 6) << "4 pixels in";
  EXPECT_GE(left.top, 12);
  EXPECT_LE(left.bottom, 12 + 16) << "a line of the given 16-pixel font from 12 down";
  const int gap = kWidth - 1 - rightEnd;
  EXPECT_GE(gap, spaces.cx) << "seven spaces after the last word";
  EXPECT_LE(gap, spaces.cx + 3);
}

}  // namespace
