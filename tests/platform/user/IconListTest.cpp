// A list view in icon mode: its items laid out in a grid of cells sized by the normal image
// list, drawn with their icons and the selection frame, hit and found by point, scrolled
// to show an item, and moved through by the arrow keys; and files dropped on a window.
#include "WindowTest.h"

#include <robot/Robot.h>
#include <win32/gdi.h>
#include <win32/gdi/imagelist.h>
#include <win32/shell/dropfiles.h>
#include <win32/user/listview.h>

namespace {

// A list of `count` items, each with its own solid 10 x 10 icon (red, green, blue, ...);
// the windows and the image list go at the end of each test.
class IconListTest : public test::UserTest {
 protected:
  ~IconListTest() override {
    if (parent) DestroyWindow(parent);
    if (images) ImageList_Destroy(images);
  }
  HWND makeParent() {
    parent = test::createRecorder("Parent", WS_POPUP | WS_VISIBLE, nullptr, 0, RECT{0, 0, 200, 200});
    return parent;
  }
  HWND makeIconList(HWND owner, int count, int width, int height);
  HWND parent = nullptr;
  HIMAGELIST images = nullptr;
};

HWND IconListTest::makeIconList(HWND owner, int count, int width, int height) {
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_AUTOARRANGE, 0, 0, width,
                              height, owner, reinterpret_cast<HMENU>(7), nullptr, nullptr);
  images = ImageList_Create(10, 10, ILC_COLOR24, 0, 1);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  for (int i = 0; i < count; ++i) {
    HBITMAP icon = CreateCompatibleBitmap(screen, 10, 10);
    HGDIOBJ old = SelectObject(dc, icon);
    HBRUSH brush = CreateSolidBrush(RGB(i % 3 == 0 ? 255 : 0, i % 3 == 1 ? 255 : 0, i % 3 == 2 ? 255 : 0));
    RECT all{0, 0, 10, 10};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    ImageList_Add(images, icon, nullptr);
    DeleteObject(icon);
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = const_cast<char*>("");
    item.iImage = i;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  return list;
}

RECT itemRect(HWND list, int item, int code) {
  RECT r{code, 0, 0, 0};
  SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
  return r;
}

TEST_F(IconListTest, ItemsFillRowsOfCellsAndAreFoundByPoint) {
  makeParent();
  // Cells are 10 + 16 wide and 10 + 8 high: three across in 80 pixels.
  HWND list = makeIconList(parent, 5, 80, 40);
  const RECT first = itemRect(list, 0, LVIR_ICON);
  EXPECT_EQ(first.left, 8);
  EXPECT_EQ(first.top, 4);
  EXPECT_EQ(itemRect(list, 2, LVIR_ICON).left, 2 * 26 + 8);
  EXPECT_EQ(itemRect(list, 3, LVIR_ICON).top, 18 + 4) << "the fourth item starts the second row";
  LVHITTESTINFO hit{};
  hit.pt = POINT{2 * 26 + 12, 8};
  EXPECT_EQ(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
  hit.pt = POINT{79, 8};  // beyond the third column
  EXPECT_EQ(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  hit.pt = POINT{2 * 26 + 12, 22};  // the empty sixth cell
  EXPECT_EQ(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0), 6);
}

TEST_F(IconListTest, PaintsIconsAndTheSelectionFrame) {
  HWND list = makeIconList(makeParent(), 2, 80, 40);
  SendMessageA(list, LVM_SETBKCOLOR, 0, RGB(0, 0, 0));
  LVITEMA state{};
  state.state = state.stateMask = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  UpdateWindow(list);
  HDC dc = GetDC(list);
  EXPECT_EQ(GetPixel(dc, 8 + 5, 4 + 5), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 26 + 8 + 5, 4 + 5), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 26 + 8 - 2, 4), GetSysColor(COLOR_HIGHLIGHT)) << "the selected icon is framed";
  EXPECT_EQ(GetPixel(dc, 8 - 2, 4), RGB(0, 0, 0)) << "the other is not";
  ReleaseDC(list, dc);
}

TEST_F(IconListTest, ScrollsToShowAnItemAndArrowsMoveThroughTheGrid) {
  // Four rows of three, two rows showing, beside the scroll bar that takes 16 of the 96.
  HWND list = makeIconList(makeParent(), 12, 96, 40);
  EXPECT_TRUE(SendMessageA(list, LVM_ENSUREVISIBLE, 10, FALSE));
  EXPECT_EQ(itemRect(list, 10, LVIR_BOUNDS).bottom <= 40, true);
  // Scrolled just far enough: the last row's bottom (4 x 18) at the client's (40).
  EXPECT_EQ(itemRect(list, 9, LVIR_ICON).top, 3 * 18 + 4 - 32);
  SendMessageA(list, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(itemRect(list, 0, LVIR_ICON).top, 4);
  SendMessageA(list, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(itemRect(list, 11, LVIR_BOUNDS).top >= 18, true);
  SendMessageA(list, WM_VSCROLL, SB_LINEDOWN, 0);  // no further than the last row
  EXPECT_EQ(itemRect(list, 9, LVIR_ICON).top, 3 * 18 + 4 - 32);

  SetFocus(list);
  LVITEMA state{};
  state.state = state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, 4, reinterpret_cast<LPARAM>(&state));
  SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 7);
  SendMessageA(list, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 8);
  SendMessageA(list, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 5);
}

TEST_F(IconListTest, DroppedFilesReachTheWindowThatAcceptsThem) {
  makeParent();
  test::createRecorder("Child", WS_CHILD | WS_VISIBLE, parent, 3, RECT{10, 10, 60, 60});
  plat::Robot robot;
  EXPECT_FALSE(robot.dropFiles({"C:\\a.jpg"}, POINT{20, 20})) << "nobody accepts files yet";
  DragAcceptFiles(parent, TRUE);
  test::MessageRecorder::instance().clear();
  ASSERT_TRUE(robot.dropFiles({"C:\\a.jpg", "C:\\folder\\b.png"}, POINT{20, 20}));
  HDROP drop = nullptr;
  for (const test::Recorded& r : test::MessageRecorder::instance().all())
    if (r.message == WM_DROPFILES) {
      EXPECT_EQ(r.hwnd, parent) << "the child does not accept them, its parent does";
      drop = reinterpret_cast<HDROP>(r.wParam);
    }
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
  char name[8];
  EXPECT_EQ(DragQueryFileA(drop, 1, name, sizeof(name)), 15u);
  EXPECT_STREQ(name, "C:\\fold");
  EXPECT_EQ(DragQueryFileA(drop, 2, name, sizeof(name)), 0u);
  POINT at{};
  DragQueryPoint(drop, &at);
  EXPECT_EQ(at.x, 20);
  DragFinish(drop);
}

}  // namespace
