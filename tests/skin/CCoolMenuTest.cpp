// Owner-drawn menus on a real owner window, tracked by the robot: conversion of every
// item into a record, measuring, drawing with the theme and the sidebar, choosing by
// mouse and keys, the popup frame hook and the shared state's lifetime.
#include "ControlTest.h"

#include "skin/CCoolMenu.h"
#include "skin/CCoolMenuPopup.h"

#include <robot/Screenshot.h>

#include <filesystem>
#include <memory>

namespace {

constexpr UINT kOpen = 301;
constexpr UINT kSave = 302;
constexpr UINT kRecentA = 303;
constexpr UINT kExit = 304;

const CoolMenuItem* RecordAt(HMENU menu, int position) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA | MIIM_FTYPE;
  if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) return nullptr;
  if (!(info.fType & MFT_OWNERDRAW)) return nullptr;
  return reinterpret_cast<const CoolMenuItem*>(info.dwItemData);
}

class CCoolMenuTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    CCoolMenu::Theme() = CoolMenuTheme::Default();
    CCoolMenu::SetLogoText("", 0xFF0000);
    CCoolMenu::SetLogoBitmap(static_cast<HBITMAP>(nullptr), 0);
  }

  // A bar with one popup: Open<Tab>Ctrl+O, a separator, Save (checked), a Recent
  // sub-menu and Exit.
  static HMENU MakeBar() {
    HMENU recent = CreatePopupMenu();
    AppendMenuA(recent, MF_STRING, kRecentA, "First\tF1\tmore");
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kOpen, "Open\tCtrl+O");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING | MF_CHECKED, kSave, "Save");
    AppendMenuA(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "Recent");
    AppendMenuA(file, MF_STRING, kExit, "Exit");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
    return bar;
  }

  // Tracks the first popup of `menu` at the parent's corner while `play` acts.
  UINT Track(CCoolMenu& menu, const std::function<void(plat::Robot&)>& play) {
    robot.duringModal(play);
    return Track(menu);
  }
  // Tracks it with the robot's actions queued before.
  UINT Track(CCoolMenu& menu) {
    POINT at = onScreen(parentHwnd(), 20, 20);
    return static_cast<UINT>(TrackPopupMenu(GetSubMenu(menu, 0), TPM_RETURNCMD, at.x, at.y, 0, parentHwnd(), nullptr));
  }
  // The top-bar item "File" drawn in the owner's window DC at `rect`: by the hooked owner,
  // or straight, knowing no owner.
  void DrawBarItem(CCoolMenu& menu, const RECT& rect, UINT state, bool throughOwner = true) {
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_MENU;
    d.itemAction = ODA_DRAWENTIRE;
    d.itemState = state;
    d.itemData = reinterpret_cast<ULONG_PTR>(RecordAt(menu, 0));
    d.rcItem = rect;
    d.hDC = GetWindowDC(parentHwnd());
    if (throughOwner) SendMessageA(parentHwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    else EXPECT_TRUE(CCoolMenu::DrawItem(&d));
    ReleaseDC(parentHwnd(), d.hDC);
  }
  // The extent of a text in the system menu font.
  static int MenuTextExtent(const char* text) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE size{};
    GetTextExtentPoint32A(screen, text, static_cast<int>(strlen(text)), &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return static_cast<int>(size.cx);
  }
  static COLORREF Scaled(COLORREF color, int factor) {
    return RGB(GetRValue(color) * factor / 255, GetGValue(color) * factor / 255, GetBValue(color) * factor / 255);
  }
};

TEST_F(CCoolMenuTest, ConversionGivesEveryItemARecordWithLevelIdAndSplitText) {
  CCoolMenu menu;
  ASSERT_TRUE(menu.AttachMenu(MakeBar()));
  EXPECT_EQ(menu.GetItemCount(), 7);
  HMENU file = GetSubMenu(menu, 0);

  const CoolMenuItem* bar = RecordAt(menu, 0);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->level, CoolMenuItem::kBar);
  EXPECT_EQ(bar->id, CoolMenuItem::kBarButton);
  EXPECT_EQ(bar->text, "File");

  const CoolMenuItem* open = RecordAt(file, 0);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->text, "Open");
  EXPECT_EQ(open->accel, "Ctrl+O");
  EXPECT_EQ(open->level, CoolMenuItem::kPopup);
  EXPECT_EQ(open->id, static_cast<int>(kOpen));
  EXPECT_EQ(open->menu, file);
  EXPECT_EQ(RecordAt(file, 1)->id, CoolMenuItem::kSeparator);
  EXPECT_EQ(RecordAt(file, 2)->accel, "");
  EXPECT_EQ(RecordAt(file, 3)->id, CoolMenuItem::kSubMenu);
  EXPECT_EQ(RecordAt(file, 4)->level, CoolMenuItem::kLastInPopup);
  // The item keeps its state and id through the conversion.
  EXPECT_EQ(GetMenuState(file, kSave, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(GetMenuItemID(file, 4), kExit);

  // Two tabs: split at the first, the second stays in the accelerator.
  const CoolMenuItem* first = RecordAt(GetSubMenu(file, 3), 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->text, "First");
  EXPECT_EQ(first->accel, "F1\tmore");
  EXPECT_EQ(first->level, CoolMenuItem::kLastInPopup);

  // Converting again replaces the records; the texts survive.
  ASSERT_TRUE(menu.ConvertMenu(menu, CoolMenuItem::kBar));
  EXPECT_EQ(menu.GetItemCount(), 7);
  EXPECT_EQ(RecordAt(file, 0)->text, "Open");
  EXPECT_FALSE(menu.ConvertMenu(nullptr, CoolMenuItem::kBar));
  EXPECT_EQ(menu.GetItemCount(), 0);
}

TEST_F(CCoolMenuTest, MeasuringFollowsTheTextTheAcceleratorAndTheSidebar) {
  CCoolMenu menu;
  ASSERT_TRUE(menu.AttachMenu(MakeBar()));
  HMENU file = GetSubMenu(menu, 0);
  auto measure = [](const CoolMenuItem* item) {
    MEASUREITEMSTRUCT m{ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(item)};
    EXPECT_TRUE(CCoolMenu::MeasureItem(&m));
    return CSize(static_cast<int>(m.itemWidth), static_cast<int>(m.itemHeight));
  };
  auto extent = [](const char* text) { return MenuTextExtent(text); };

  EXPECT_EQ(measure(RecordAt(file, 1)), CSize(50, 5));
  EXPECT_EQ(measure(RecordAt(file, 2)), CSize(extent("Save") + 31, 19));
  const int both = extent("OpenCtrl+O");
  EXPECT_EQ(measure(RecordAt(file, 0)).cx, both - (both / 10) * (10 % 8) + 62 + 31);
  EXPECT_EQ(measure(RecordAt(menu, 0)).cx, extent("File") - 6);

  CCoolMenu::SetLogoText("Orvane", 0xFF0000);
  EXPECT_EQ(measure(RecordAt(file, 2)).cx, extent("Save") + 31 + 20);
  // Bar items sit beside no sidebar.
  EXPECT_EQ(measure(RecordAt(menu, 0)).cx, extent("File") - 6);

  // Item data that is no live record is neither measured nor drawn.
  int stranger = 5;
  MEASUREITEMSTRUCT m{ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(&stranger)};
  EXPECT_FALSE(CCoolMenu::MeasureItem(&m));
  DRAWITEMSTRUCT d{};
  d.CtlType = ODT_MENU;
  d.itemData = reinterpret_cast<ULONG_PTR>(&stranger);
  EXPECT_FALSE(CCoolMenu::DrawItem(&d));
}

TEST_F(CCoolMenuTest, TheHookedOwnerDrawsTheMenuAndTheRobotChoosesByMouseAndKeys) {
  CCoolMenu menu;
  ASSERT_TRUE(menu.AttachMenu(MakeBar()));
  CCoolMenu::HookOwnerWindow(parentHwnd());
  CCoolMenu::SetColorTheme(4);
  HMENU file = GetSubMenu(menu, 0);

  COLORREF plain = 0, highlighted = 0, text = 0;
  RECT exitRect{};
  robot.duringModal([&](plat::Robot& user) {
    HWND popup = user.openMenu();
    ASSERT_NE(popup, nullptr);
    GetMenuItemRect(popup, file, 4, &exitRect);
    user.moveTo(user.menuItem(4));
  });
  EXPECT_EQ(Track(menu, [&](plat::Robot& user) {
              plain = plat::Screenshot::screenPixel(exitRect.right - 3, exitRect.top - 19 + 9);
              highlighted = plat::Screenshot::screenPixel(exitRect.left + 1, exitRect.top + 9);
              text = plat::Screenshot::screenPixel(exitRect.right - 3, exitRect.top + 9);
              user.click(user.menuItem(4));
            }),
            kExit);
  EXPECT_EQ(exitRect.bottom - exitRect.top, 19);
  EXPECT_EQ(plain, 0xDCEBDCu);                 // theme 4's MenuColor
  EXPECT_EQ(highlighted, 0xEAFAF0u);          // the gradient starts with LightBarStartColor
  EXPECT_NE(text, 0xDCEBDCu);                 // the bar spans the item

  // Keys: Down to Open, Down past the separator to Save, Enter.
  EXPECT_EQ(Track(menu, [](plat::Robot& user) {
              user.key(VK_DOWN);
              user.key(VK_DOWN);
              user.key(VK_RETURN);
            }),
            kSave);
  // Right opens Recent, Enter takes its item.
  EXPECT_EQ(Track(menu, [](plat::Robot& user) {
              for (int i = 0; i < 3; ++i) user.key(VK_DOWN);
              user.key(VK_RIGHT);
              user.key(VK_RETURN);
            }),
            kRecentA);
  CCoolMenu::HookOwnerWindow(static_cast<HWND>(nullptr));
}

// An item's text is drawn from the icon column to 11 pixels short of its right edge, so the
// popup's item must be wider than the measured width, as Windows makes it: "Retune Channel"
// shows whole, its last letter too.
TEST_F(CCoolMenuTest, APopupItemShowsItsWholeText) {
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, kOpen, "Retune Channel");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "TV");
  CCoolMenu menu;
  ASSERT_TRUE(menu.AttachMenu(bar));
  CCoolMenu::HookOwnerWindow(parentHwnd());

  RECT item{};
  int inked = 0;
  const int textLeft = 16 + 10;
  const int whole = MenuTextExtent("Retune Channel");
  const int lastLetter = whole - MenuTextExtent("Retune Channe");
  Track(menu, [&](plat::Robot& user) {
    GetMenuItemRect(user.openMenu(), popup, 0, &item);
    for (int x = item.left + textLeft + whole - lastLetter; x < item.left + textLeft + whole; ++x)
      for (int y = item.top; y < item.bottom; ++y)
        inked += plat::Screenshot::screenPixel(x, y) == CCoolMenu::Theme().TextColor;
    user.key(VK_ESCAPE);
  });
  EXPECT_GE(item.right - item.left - textLeft - 11, whole) << "the text's place holds the whole text";
  EXPECT_GT(inked, 3) << "the last letter is drawn";
  CCoolMenu::HookOwnerWindow(static_cast<HWND>(nullptr));
}

TEST_F(CCoolMenuTest, TheSharedHookStaysUntilTheLastMenuGoes) {
  auto first = std::make_unique<CCoolMenu>();
  CCoolMenu second;
  ASSERT_TRUE(first->AttachMenu(MakeBar()));
  ASSERT_TRUE(second.AttachMenu(MakeBar()));
  CCoolMenu::HookOwnerWindow(parentHwnd());
  CCoolMenu::InstallPopupHook();
  first.reset();
  EXPECT_TRUE(CCoolMenuPopup::IsInstalled());

  RECT item{};
  EXPECT_EQ(Track(second, [&](plat::Robot& user) {
              GetMenuItemRect(user.openMenu(), GetSubMenu(second, 0), 0, &item);
              user.key(VK_ESCAPE);
            }),
            0u);
  // Still measured by the hook: a cool item is 19 pixels high.
  EXPECT_EQ(item.bottom - item.top, 19);
}

TEST_F(CCoolMenuTest, ThePopupHookFramesEveryShowingOfThePopupWindow) {
  CCoolMenu menu;
  ASSERT_TRUE(menu.AttachMenu(MakeBar()));
  CCoolMenu::HookOwnerWindow(parentHwnd());
  CCoolMenu::InstallPopupHook();
  CCoolMenu::Theme().Frame0Color = RGB(200, 0, 0);
  CCoolMenu::Theme().Frame1Color = RGB(0, 0, 200);
  for (int showing = 0; showing < 2; ++showing) {
    bool subclassed = false;
    // The inner frame lies under the client area the hook leaves; the outer shows.
    COLORREF outer = 0, inner = 0;
    Track(menu, [&](plat::Robot& user) {
      HWND popup = user.openMenu();
      subclassed = GetPropA(popup, CCoolMenuPopup::kOldProcProp) != nullptr;
      RECT window{};
      GetWindowRect(popup, &window);
      outer = plat::Screenshot::screenPixel(window.left, window.top + 5);
      inner = plat::Screenshot::screenPixel(window.right - 1, window.top + 5);
      user.key(VK_ESCAPE);
    });
    EXPECT_TRUE(subclassed) << showing;
    EXPECT_EQ(outer, RGB(200, 0, 0)) << showing;
    EXPECT_EQ(inner, RGB(0, 0, 200)) << showing;
  }
}

TEST_F(CCoolMenuTest, TheSidebarRunsDownThePopupWithItsTextOrLogo) {
  CCoolMenu menu;
  ASSERT_TRUE(menu.AttachMenu(MakeBar()));
  CCoolMenu::HookOwnerWindow(parentHwnd());
  CCoolMenu::SetLogoText("Orvane", RGB(0, 0, 255));
  COLORREF top = 0, bottom = 0;
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
  std::filesystem::create_directories(folder);
  robot.duringModal([&](plat::Robot& user) {
    HWND popup = user.openMenu();
    RECT first{}, last{};
    GetMenuItemRect(popup, GetSubMenu(menu, 0), 0, &first);
    GetMenuItemRect(popup, GetSubMenu(menu, 0), 4, &last);
    top = plat::Screenshot::screenPixel(first.left + 18, first.top + 1);
    bottom = plat::Screenshot::screenPixel(last.left + 18, last.bottom - 1);
    user.moveTo(user.menuItem(2));
  });
  robot.duringModal([&](plat::Robot& user) {
    plat::Screenshot::saveWindow(user.openMenu(), folder / "coolmenu-sidebar.png");
    user.key(VK_ESCAPE);
  });
  Track(menu);
  // From 0x5A5A5A at the top towards blue at the bottom.
  EXPECT_NEAR(GetRValue(top), 0x5A, 3);
  EXPECT_NEAR(GetBValue(top), 0x5A, 8);
  EXPECT_LT(GetRValue(bottom), 10);
  EXPECT_GT(GetBValue(bottom), 240);

  // The logo variant paints the bitmap from the bottom up instead.
  HBITMAP logo = test::MakeBitmap(20, 30, [](int, int y) { return y < 15 ? RGB(255, 200, 0) : RGB(0, 120, 0); });
  ASSERT_TRUE(CCoolMenu::SetLogoBitmap(logo, 0));
  Track(menu, [&](plat::Robot& user) {
    HWND popup = user.openMenu();
    RECT last{};
    GetMenuItemRect(popup, GetSubMenu(menu, 0), 4, &last);
    bottom = plat::Screenshot::screenPixel(last.left + 5, last.bottom - 1);
    top = plat::Screenshot::screenPixel(last.left + 5, last.bottom - 16);
    plat::Screenshot::saveWindow(popup, folder / "coolmenu-logo.png");
    user.key(VK_ESCAPE);
  });
  EXPECT_EQ(bottom, RGB(0, 120, 0));
  EXPECT_EQ(top, RGB(255, 200, 0));
  CCoolMenu::SetLogoBitmap(static_cast<HBITMAP>(nullptr), 0);
  EXPECT_FALSE(CCoolMenu::SetLogoBitmap(0u, 0));
}

TEST_F(CCoolMenuTest, ItemsDrawTheirToolbarImagesShadedByState) {
  // The tests' toolbar 170: red, green and blue squares for 9001, 9002 and 9003 on the
  // toolbar grey; 9004 lies past the picture.
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 9001, "Red");
  AppendMenuA(popup, MF_STRING | MF_GRAYED, 9002, "Green");
  AppendMenuA(popup, MF_STRING | MF_CHECKED, 9003, "Blue");
  AppendMenuA(popup, MF_STRING | MF_CHECKED, 9004, "None");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "Colours");
  CCoolMenu menu;
  ASSERT_TRUE(menu.AttachMenu(bar, 170));
  EXPECT_EQ(CCoolMenu::LoadToolbar(4242), 0);
  EXPECT_EQ(CCoolMenu::LoadToolbar(170), 4);
  CCoolMenu::HookOwnerWindow(parentHwnd());
  CCoolMenu::SetColorTheme(3);

  // The middle and the corner of each item's 16 x 16 icon place.
  std::vector<COLORREF> middle, corner;
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
  std::filesystem::create_directories(folder);
  robot.duringModal([&](plat::Robot& user) {
    ASSERT_NE(user.openMenu(), nullptr);
    user.moveTo(user.menuItem(0));
  });
  Track(menu, [&](plat::Robot& user) {
    HWND window = user.openMenu();
    for (int i = 0; i < 4; ++i) {
      RECT item{};
      GetMenuItemRect(window, popup, static_cast<UINT>(i), &item);
      middle.push_back(plat::Screenshot::screenPixel(item.left + 10, item.top + 9));
      corner.push_back(plat::Screenshot::screenPixel(item.left + 3, item.top + 2));
    }
    plat::Screenshot::saveWindow(window, folder / "coolmenu-toolbar.png");
    user.key(VK_ESCAPE);
  });
  ASSERT_EQ(middle.size(), 4u);
  // Highlighted: each channel brightened to 255 - 0.9 x (255 - c).
  EXPECT_EQ(middle[0], RGB(223, 25, 25));
  // Disabled: grey of the green's luma.
  EXPECT_EQ(middle[1], RGB(126, 126, 126));
  // Normal, in the check box of a checked command.
  EXPECT_EQ(middle[2], RGB(0, 0, 220));
  // The toolbar grey is transparent: the menu's colour shows.
  EXPECT_EQ(corner[1], 0xFFFFFFu);
  EXPECT_EQ(corner[2], 0xEBEBEBu);
  // Without an image a checked command shows the box and its mark.
  EXPECT_NE(middle[3], RGB(0, 0, 220));
  CCoolMenu::HookOwnerWindow(static_cast<HWND>(nullptr));
}

TEST_F(CCoolMenuTest, PresetThemesSetTheirColoursAndOtherNumbersChangeNothing) {
  CCoolMenu::SetColorTheme(2);
  EXPECT_EQ(CCoolMenu::Theme().LightBarStartColor, 0x6A240Au);
  EXPECT_EQ(CCoolMenu::Theme().flags & CoolMenuTheme::kIconBar, 0u);
  CCoolMenu::SetColorTheme(6);
  EXPECT_EQ(CCoolMenu::Theme().IconBarColor, 0xFFFFFFu);
  EXPECT_EQ(CCoolMenu::Theme().flags & CoolMenuTheme::kIconBar, CoolMenuTheme::kIconBar);
  const CoolMenuTheme before = CCoolMenu::Theme();
  CCoolMenu::SetColorTheme(7);
  CCoolMenu::SetColorTheme(0);
  EXPECT_EQ(CCoolMenu::Theme().MenuColor, before.MenuColor);
  EXPECT_EQ(CCoolMenu::LoadToolbar(0), -1);
}

TEST_F(CCoolMenuTest, ASelectedBarItemLooksPressedWithAShadowAndIsKeptForItsPopup) {
  CCoolMenu menu;
  ASSERT_TRUE(menu.AttachMenu(MakeBar()));
  CCoolMenu::HookOwnerWindow(parentHwnd());
  robot.pumpUntilIdle();
  const RECT item{10, 10, 70, 29};
  DrawBarItem(menu, item, ODS_SELECTED);
  const HWND owner = parentHwnd();
  const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  // The pressed frame ends four pixels short of the item; the shadow fills those columns,
  // each lighter outward, from four pixels down.
  EXPECT_EQ(plat::Screenshot::windowPixel(owner, 10, 20), dark);
  EXPECT_EQ(plat::Screenshot::windowPixel(owner, 65, 20), dark);
  const int factors[4] = {90, 210, 222, 240};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(plat::Screenshot::windowPixel(owner, 66 + i, 20), Scaled(face, factors[i])) << i;
    EXPECT_EQ(plat::Screenshot::windowPixel(owner, 66 + i, 13), face) << i;
  }
  EXPECT_EQ(CCoolMenu::GetBarItemRect(), CRect(110, 110, 170, 129));
  // Drawn plain it is forgotten; drawn hot it is kept again, without the shadow.
  DrawBarItem(menu, item, 0);
  EXPECT_TRUE(CCoolMenu::GetBarItemRect().IsRectEmpty());
  EXPECT_EQ(plat::Screenshot::windowPixel(owner, 67, 20), face);
  DrawBarItem(menu, item, ODS_HOTLIGHT);
  EXPECT_EQ(CCoolMenu::GetBarItemRect(), CRect(110, 110, 170, 129));
  EXPECT_NE(plat::Screenshot::windowPixel(owner, 67, 20), Scaled(face, 210));
  // Without an owner the rectangle stays as drawn.
  DrawBarItem(menu, item, ODS_SELECTED, false);
  EXPECT_EQ(CCoolMenu::GetBarItemRect(), CRect(item));
  CCoolMenu::HookOwnerWindow(static_cast<HWND>(nullptr));
}

TEST_F(CCoolMenuTest, APopupUnderItsBarItemIsJoinedToItAndCastsASoftCorneredShadow) {
  // No system drop shadow: the popup draws its own.
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETDROPSHADOW, 0, reinterpret_cast<PVOID>(FALSE), 0));
  CCoolMenu menu;
  ASSERT_TRUE(menu.AttachMenu(MakeBar()));
  CCoolMenu::HookOwnerWindow(parentHwnd());
  CCoolMenu::InstallPopupHook();
  CCoolMenu::Theme().Frame0Color = RGB(200, 0, 0);
  robot.pumpUntilIdle();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  DrawBarItem(menu, RECT{10, 10, 70, 29}, ODS_SELECTED);
  auto trackUnder = [&](const std::function<void(HWND)>& look) {
    robot.duringModal([&](plat::Robot& user) {
      look(user.openMenu());
      user.key(VK_ESCAPE);
    });
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_RETURNCMD, 110, 129, 0, parentHwnd(), nullptr);
  };
  RECT window{};
  std::vector<COLORREF> top;
  std::vector<COLORREF> shadow;
  trackUnder([&](HWND popup) {
    GetWindowRect(popup, &window);
    for (int x : {111, 164, 165, 180}) top.push_back(plat::Screenshot::screenPixel(x, 129));
    top.push_back(plat::Screenshot::screenPixel(window.left, 129));
    const int r = window.right, b = window.bottom;
    for (POINT p : {POINT{r - 4, window.top + 20}, POINT{r - 1, window.top + 20}, POINT{r - 4, window.top + 3},
                    POINT{r - 4, window.top + 7}, POINT{r - 1, window.top + 4}, POINT{r - 4, b - 4}, POINT{r - 3, b - 3},
                    POINT{r - 1, b - 1}, POINT{window.left + 20, b - 4}, POINT{window.left + 20, b - 1},
                    POINT{window.left + 7, b - 4}, POINT{window.left + 3, b - 4}})
      shadow.push_back(plat::Screenshot::screenPixel(p.x, p.y));
  });
  EXPECT_EQ(window.top, 129);
  // The top line is the button face across the item's inside, the frame colour elsewhere.
  EXPECT_EQ(top, (std::vector<COLORREF>{face, face, RGB(200, 0, 0), RGB(200, 0, 0), RGB(200, 0, 0)}));
  // Rows darkened 140 to 240 outward; corners by their distance from the popup: 170 at the
  // nearest pixel, up to 255 (untouched) at the farthest; nothing above the strip's start.
  EXPECT_EQ(shadow, (std::vector<COLORREF>{Scaled(face, 140), Scaled(face, 240), face, Scaled(face, 170),
                                            Scaled(face, 255), Scaled(face, 170), Scaled(face, 220), face,
                                            Scaled(face, 140), Scaled(face, 240), Scaled(face, 170), face}));

  // Once the item is drawn plain, the same popup keeps its whole frame.
  DrawBarItem(menu, RECT{10, 10, 70, 29}, 0);
  top.clear();
  trackUnder([&](HWND) { top.push_back(plat::Screenshot::screenPixel(111, 129)); });
  EXPECT_EQ(top, std::vector<COLORREF>{RGB(200, 0, 0)});
  // Nor is a popup opened elsewhere joined to the kept item.
  DrawBarItem(menu, RECT{10, 10, 70, 29}, ODS_SELECTED);
  top.clear();
  robot.duringModal([&](plat::Robot& user) {
    HWND popup = user.openMenu();
    GetWindowRect(popup, &window);
    top.push_back(plat::Screenshot::screenPixel(window.left + 5, window.top));
    user.key(VK_ESCAPE);
  });
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_RETURNCMD, 110, 140, 0, parentHwnd(), nullptr);
  EXPECT_EQ(top, std::vector<COLORREF>{RGB(200, 0, 0)});
  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
  std::filesystem::create_directories(shots);
  plat::Screenshot::saveScreen(shots / "coolmenu-joined.png");
  CCoolMenu::HookOwnerWindow(static_cast<HWND>(nullptr));
}

}  // namespace
