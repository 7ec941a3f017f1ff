// Popup menus: items and their states, and TrackPopupMenu played by the robot with the
// mouse and the keys, with plain and owner-drawn items and a sub-menu.
#include "WindowTest.h"

#include <robot/Robot.h>
#include <win32/gdi.h>

#include <string>

namespace test {
namespace {

constexpr UINT kOpen = 101;
constexpr UINT kSave = 102;
constexpr UINT kClose = 103;
constexpr UINT kNested = 201;

std::string menuText(HMENU menu, UINT item, UINT flags) {
  const int length = GetMenuStringA(menu, item, nullptr, 0, flags);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetMenuStringA(menu, item, text.data(), length + 1, flags);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// The owner of owner-drawn items: every item 120 x 22, red, blue while selected.
LRESULT CALLBACK drawingOwner(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageRecorder::instance().add({hwnd, message, wParam, lParam});
  if (message == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    measure->itemWidth = 120;
    measure->itemHeight = 22;
    return TRUE;
  }
  if (message == WM_DRAWITEM) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    HBRUSH brush = CreateSolidBrush((draw->itemState & ODS_SELECTED) ? RGB(0, 0, 255) : RGB(255, 0, 0));
    FillRect(draw->hDC, &draw->rcItem, brush);
    DeleteObject(brush);
    return TRUE;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class MenuTest : public UserTest {
 protected:
  void SetUp() override {
    registerClass("DrawingOwner", drawingOwner);
    owner = createRecorder("Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, RECT{100, 100, 500, 400});
    menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, kOpen, "Open\tCtrl+O");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | MF_GRAYED, kSave, "Save");
    AppendMenuA(menu, MF_STRING, kClose, "Close");
  }
  void TearDown() override {
    DestroyMenu(menu);
    if (IsWindow(owner)) DestroyWindow(owner);
  }
  std::vector<UINT> commands() const {
    std::vector<UINT> ids;
    for (const Recorded& r : MessageRecorder::instance().all())
      if (r.message == WM_COMMAND) ids.push_back(LOWORD(r.wParam));
    return ids;
  }

  plat::Robot robot;
  HWND owner = nullptr;
  HMENU menu = nullptr;
};

TEST_F(MenuTest, ItemsKeepTheirIdsTextsAndStates) {
  EXPECT_EQ(GetMenuItemCount(menu), 4);
  EXPECT_EQ(GetMenuItemID(menu, 0), kOpen);
  EXPECT_EQ(GetMenuItemID(menu, 1), 0u);
  EXPECT_EQ(GetMenuItemID(menu, 9), static_cast<UINT>(-1));
  EXPECT_EQ(menuText(menu, 0, MF_BYPOSITION), "Open\tCtrl+O");
  EXPECT_EQ(menuText(menu, kClose, MF_BYCOMMAND), "Close");
  EXPECT_EQ(GetMenuState(menu, kSave, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));

  EXPECT_EQ(CheckMenuItem(menu, kClose, MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(menu, kClose, MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(menu, 999, MF_CHECKED), static_cast<DWORD>(-1));
  EXPECT_TRUE(SetMenuDefaultItem(menu, 0, TRUE));
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), kOpen);

  // An item made owner-drawn keeps its id and its text and carries the data.
  int record = 7;
  ASSERT_TRUE(ModifyMenuA(menu, 3, MF_BYPOSITION | MF_OWNERDRAW, kClose, reinterpret_cast<LPCSTR>(&record)));
  EXPECT_EQ(GetMenuItemID(menu, 3), kClose);
  EXPECT_EQ(GetMenuState(menu, 3, MF_BYPOSITION) & MF_OWNERDRAW, static_cast<UINT>(MF_OWNERDRAW));
  EXPECT_EQ(menuText(menu, 3, MF_BYPOSITION), "Close");

  // A sub-menu item has no id, and commands are found inside it.
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, kNested, "Nested");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "More");
  EXPECT_EQ(GetMenuItemID(menu, 4), static_cast<UINT>(-1));
  EXPECT_EQ(GetSubMenu(menu, 4), sub);
  EXPECT_EQ(GetMenuState(menu, 4, MF_BYPOSITION) >> 8, 1u);
  EXPECT_EQ(CheckMenuItem(menu, kNested, MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_TRUE(DeleteMenu(menu, 4, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(sub));
  EXPECT_FALSE(DestroyMenu(sub));
}

TEST_F(MenuTest, ARightClickAsksTheWindowAndThenItsParentForTheContextMenu) {
  HWND parent = createRecorder("parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, RECT{100, 100, 500, 400});
  HWND child = createRecorder("child", WS_CHILD | WS_VISIBLE, parent, 7, RECT{10, 10, 110, 60});
  plat::Robot robot;
  RECT rect{};
  GetWindowRect(child, &rect);
  const POINT at{rect.left + 5, rect.top + 6};
  recorder().clear();
  robot.rightClick(at);
  std::vector<Recorded> menus;
  for (const Recorded& r : recorder().all())
    if (r.message == WM_CONTEXTMENU) menus.push_back(r);
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(menus[0].hwnd, child);
  EXPECT_EQ(menus[1].hwnd, parent) << "unanswered, it goes up to the parent";
  EXPECT_EQ(reinterpret_cast<HWND>(menus[0].wParam), child);
  EXPECT_EQ(GET_X_LPARAM(menus[0].lParam), at.x);
  EXPECT_EQ(GET_Y_LPARAM(menus[0].lParam), at.y);
}

TEST_F(MenuTest, AClickChoosesAndTheOwnerIsToldInWindowsOrder) {
  robot.duringModal([](plat::Robot& user) {
    EXPECT_NE(user.openMenu(), nullptr);
    user.click(user.menuItem(3));
  });
  EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTALIGN, 150, 150, 0, owner, nullptr));
  EXPECT_EQ(robot.openMenu(), nullptr);
  pump();
  EXPECT_EQ(commands(), std::vector<UINT>{kClose});
  const auto order = recorder().of(owner, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP});
  EXPECT_EQ(order, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP}));
}

TEST_F(MenuTest, GrayedItemsSeparatorsAndClicksOutsideChooseNothing) {
  robot.duringModal([](plat::Robot& user) { user.click(user.menuItem(2)); });
  robot.duringModal([](plat::Robot& user) { user.click(user.menuItem(1)); });
  robot.duringModal([](plat::Robot& user) { user.click(POINT{450, 380}); });
  EXPECT_FALSE(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr));
  pump();
  EXPECT_TRUE(commands().empty());
}

TEST_F(MenuTest, KeysWalkPastSeparatorsAndGrayedItemsAreSkippedOnlyForChoosing) {
  // Down lands on Open, Down skips the separator to the grayed Save, Down to Close.
  robot.duringModal([](plat::Robot& user) {
    user.key(VK_DOWN);
    user.key(VK_DOWN);
    user.key(VK_DOWN);
    user.key(VK_RETURN);
  });
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr), static_cast<BOOL>(kClose));
  pump();
  // TPM_RETURNCMD: the id comes back, no WM_COMMAND.
  EXPECT_TRUE(commands().empty());

  robot.duringModal([](plat::Robot& user) { user.key(VK_ESCAPE); });
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr), 0);
}

TEST_F(MenuTest, WithNobodyToAnswerTheMenuIsDismissed) {
  EXPECT_FALSE(TrackPopupMenu(menu, 0, 150, 150, 0, owner, nullptr));
  EXPECT_EQ(robot.openMenu(), nullptr);
  EXPECT_FALSE(TrackPopupMenu(reinterpret_cast<HMENU>(0x1234), 0, 150, 150, 0, owner, nullptr));
}

TEST_F(MenuTest, ASubMenuOpensOnTheRightAndItsItemIsChosen) {
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, kNested, "Nested");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "More");
  HWND first = nullptr;
  robot.duringModal([&](plat::Robot& user) {
    first = user.openMenu();
    user.moveTo(user.menuItem(4));
  });
  robot.duringModal([&](plat::Robot& user) {
    HWND second = user.openMenu();
    ASSERT_NE(second, first);
    RECT outer{}, inner{};
    GetWindowRect(first, &outer);
    GetWindowRect(second, &inner);
    EXPECT_GE(inner.left, outer.right - 1);
    EXPECT_TRUE(user.chooseMenuCommand(kNested));
  });
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr), static_cast<BOOL>(kNested));
}

TEST_F(MenuTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
  HWND drawer = CreateWindowExA(0, "DrawingOwner", "Drawer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                                nullptr, nullptr, nullptr, nullptr);
  HMENU drawn = CreatePopupMenu();
  int records[2] = {1, 2};
  AppendMenuA(drawn, MF_OWNERDRAW, kOpen, reinterpret_cast<LPCSTR>(&records[0]));
  AppendMenuA(drawn, MF_OWNERDRAW, kClose, reinterpret_cast<LPCSTR>(&records[1]));
  COLORREF normal = 0, selected = 0;
  RECT item{};
  robot.duringModal([&](plat::Robot& user) {
    HWND popup = user.openMenu();
    GetMenuItemRect(popup, drawn, 1, &item);
    user.moveTo(user.menuItem(1));
  });
  robot.duringModal([&](plat::Robot&) {
    HDC screen = GetDC(nullptr);
    normal = GetPixel(screen, item.left + 5, item.top - 5);
    selected = GetPixel(screen, item.left + 5, item.top + 5);
    ReleaseDC(nullptr, screen);
  });
  robot.duringModal([](plat::Robot& user) { user.key(VK_RETURN); });
  EXPECT_EQ(TrackPopupMenu(drawn, TPM_RETURNCMD, 150, 150, 0, drawer, nullptr), static_cast<BOOL>(kClose));
  // Beyond the owner's width, a check mark's less one, as Windows gives owner-drawn items.
  EXPECT_EQ(item.right - item.left, 120 + GetSystemMetrics(SM_CXMENUCHECK) - 1);
  EXPECT_EQ(GetSystemMetrics(SM_CXMENUCHECK), 13);
  EXPECT_EQ(item.bottom - item.top, 22);
  EXPECT_EQ(normal, RGB(255, 0, 0));
  EXPECT_EQ(selected, RGB(0, 0, 255));
  std::vector<ULONG_PTR> measured;
  for (const Recorded& r : recorder().all())
    if (r.hwnd == drawer && r.message == WM_MEASUREITEM) measured.push_back(1);
  EXPECT_EQ(measured.size(), 2u);
  DestroyMenu(drawn);
  DestroyWindow(drawer);
}

// What a thread hook sees of the popup window's placing.
struct Placing {
  WINDOWPOS pos;
  bool visible;
};
std::vector<Placing> g_placings;

LRESULT CALLBACK placingHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  char name[16] = {};
  if (code >= 0 && sent->message == WM_WINDOWPOSCHANGING && GetClassNameA(sent->hwnd, name, sizeof name) &&
      std::string(name) == POPUPMENU_CLASS)
    g_placings.push_back({*reinterpret_cast<const WINDOWPOS*>(sent->lParam), IsWindowVisible(sent->hwnd) != FALSE});
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MenuTest, ThePopupWindowIsPlacedAndSizedAsItIsShown) {
  g_placings.clear();
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, placingHook, nullptr, GetCurrentThreadId());
  RECT window{};
  robot.duringModal([&](plat::Robot& user) {
    GetWindowRect(user.openMenu(), &window);
    user.key(VK_ESCAPE);
  });
  TrackPopupMenu(menu, TPM_RETURNCMD, 150, 160, 0, owner, nullptr);
  UnhookWindowsHookEx(hook);
  ASSERT_FALSE(g_placings.empty());
  const Placing& first = g_placings.front();
  EXPECT_FALSE(first.visible);
  EXPECT_EQ(first.pos.flags & (SWP_NOMOVE | SWP_NOSIZE), 0u);
  EXPECT_NE(first.pos.flags & SWP_SHOWWINDOW, 0u);
  EXPECT_EQ(first.pos.x, 150);
  EXPECT_EQ(first.pos.y, 160);
  EXPECT_EQ(first.pos.cx, window.right - window.left);
  EXPECT_EQ(first.pos.cy, window.bottom - window.top);
}

}  // namespace
}  // namespace test
