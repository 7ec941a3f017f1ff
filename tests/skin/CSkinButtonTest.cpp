#include "ControlTest.h"

#include "skin/CSkinButton.h"

#include <win32/gdi/Surface.h>
#include <win32/user/Desktop.h>

#include <filesystem>
#include <fstream>
#include <utility>

namespace {

constexpr COLORREF kNormal = RGB(200, 0, 0);
constexpr COLORREF kHover = RGB(0, 200, 0);
constexpr COLORREF kPressed = RGB(0, 0, 200);
constexpr COLORREF kDisabled = RGB(90, 90, 90);

class CSkinButtonTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    HBITMAP hStrip = MakeStrip(100, 40, {kNormal, kHover, kPressed, kDisabled});
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, CRect(20, 20, 120, 60), parent(), 5002));
    button.SetImage(hStrip, 0, 0, 100, 40);
    button.SetCommandId(5002);
    button.SetName("TV_BUTTON");
    DeleteObject(hStrip);
  }
  COLORREF shown() { return pixel(button.m_hWnd, 90, 35); }
  POINT inside() const { return onScreen(button.m_hWnd, 50, 20); }
  POINT outside() const { return onScreen(parentHwnd(), 300, 250); }
  // The skin's own commands: WM_COMMAND with lParam 0 (a button control's BN_CLICKED
  // carries its window).
  std::vector<WPARAM> commands() const {
    std::vector<WPARAM> found;
    for (const auto& m : received(WM_COMMAND)) {
      if (m.lParam == 0) found.push_back(m.wParam);
    }
    return found;
  }

  CSkinButton button;
};

TEST_F(CSkinButtonTest, ShowsItsImageForHoverPressAndRelease) {
  EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  EXPECT_EQ(shown(), kNormal);
  robot.moveTo(inside());
  EXPECT_TRUE(button.GetHover());
  EXPECT_EQ(GetCapture(), button.m_hWnd);
  EXPECT_EQ(shown(), kHover);
  SendMessageA(button.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 20));
  EXPECT_TRUE(button.GetPressed());
  EXPECT_EQ(shown(), kPressed);
  SendMessageA(button.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(50, 20));
  EXPECT_EQ(commands(), std::vector<WPARAM>{5002});
  EXPECT_FALSE(button.GetHover());
  EXPECT_FALSE(button.GetPressed());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(shown(), kNormal);
}

TEST_F(CSkinButtonTest, ARobotClickSendsOneCommand) {
  robot.moveTo(inside());
  robot.click(inside());
  EXPECT_EQ(commands(), std::vector<WPARAM>{5002});
}

TEST_F(CSkinButtonTest, ReleasingOutsideSendsNoCommand) {
  robot.moveTo(inside());
  robot.drag(inside(), outside());
  EXPECT_TRUE(commands().empty());
  EXPECT_NE(GetCapture(), button.m_hWnd);
}

TEST_F(CSkinButtonTest, LeavingGivesUpTheHover) {
  robot.moveTo(inside());
  robot.moveTo(outside());
  EXPECT_FALSE(button.GetHover());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(shown(), kNormal);
}

TEST_F(CSkinButtonTest, ADisabledButtonNeitherHoversNorClicks) {
  button.SetDisabled(TRUE);
  EXPECT_FALSE(button.IsEnabled());
  EXPECT_EQ(shown(), kDisabled);
  robot.moveTo(inside());
  EXPECT_FALSE(button.GetHover());
  robot.click(inside());
  EXPECT_TRUE(commands().empty());
  // The press is noted without showing.
  EXPECT_TRUE(button.GetPressed());
  EXPECT_EQ(shown(), kDisabled);
  button.SetDisabled(FALSE);
  EXPECT_EQ(shown(), kNormal);
}

TEST_F(CSkinButtonTest, WithoutHoverTheMouseShowsNoHoverOrPressedImage) {
  button.SetNoHover(TRUE);
  EXPECT_TRUE(button.GetNoHover());
  robot.moveTo(inside());
  EXPECT_FALSE(button.GetHover());
  EXPECT_NE(GetCapture(), button.m_hWnd);
  EXPECT_EQ(shown(), kNormal);
  robot.click(inside());
  EXPECT_EQ(shown(), kNormal);
  EXPECT_EQ(commands(), std::vector<WPARAM>{5002});
}

TEST_F(CSkinButtonTest, LosingTheCaptureClearsTheHoverAndLeavesTheNewOwnersCapture) {
  robot.moveTo(inside());
  button.SetPressed(TRUE);
  SetCapture(parentHwnd());
  EXPECT_FALSE(button.GetHover());
  EXPECT_FALSE(button.GetPressed());
  EXPECT_EQ(GetCapture(), parentHwnd());
  EXPECT_EQ(shown(), kNormal);
  ReleaseCapture();
}

TEST_F(CSkinButtonTest, TheCaptionTurnsBlueOnHover) {
  button.SetShowCaption(TRUE);
  button.SetCaption("TV");
  EXPECT_EQ(button.GetCaption(), "TV");
  button.SetTextColor(RGB(1, 2, 3));
  button.Invalidate();
  robot.pumpUntilIdle();
  EXPECT_EQ(button.GetTextColor(), 0xFFFFFFu);
  robot.moveTo(inside());
  robot.pumpUntilIdle();
  EXPECT_EQ(button.GetTextColor(), 0xFF0000u);
  // The caption sits 30 pixels in from the left, in its colour: counted on one picture of
  // the screen.
  robot.pumpUntilIdle();
  const auto screen = plat::Desktop::compose();
  POINT origin{0, 0};
  ClientToScreen(button.m_hWnd, &origin);
  int blue = 0;
  for (int x = 30; x < 100; ++x) {
    for (int y = 5; y < 20; ++y)
      blue += plat::colorRefFromPixel(screen->pixel(origin.x + x, origin.y + y)) == RGB(0, 0, 255);
  }
  EXPECT_GT(blue, 0);
}

TEST_F(CSkinButtonTest, KeepsItsSkinRectangleAndReleasesOldImages) {
  RECT rect{};
  button.GetSkinRect(rect);
  EXPECT_EQ(CRect(rect), CRect(0, 0, 100, 40));
  EXPECT_EQ(button.GetName(), "TV_BUTTON");
  const std::size_t before = liveBitmaps();
  HBITMAP hStrip = MakeStrip(10, 10, {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4)});
  button.SetImage(hStrip, 5, 6, 15, 16);
  EXPECT_EQ(liveBitmaps(), before + 1);  // the strip; the four old images made way for four new
  button.GetSkinRect(rect);
  EXPECT_EQ(CRect(rect), CRect(5, 6, 15, 16));
  EXPECT_EQ(shown(), RGB(1, 1, 1));
  // Without a strip only the rectangle changes.
  button.SetImage(nullptr, 0, 0, 1, 1);
  EXPECT_EQ(shown(), RGB(1, 1, 1));
  DeleteObject(hStrip);
}

// Without the help program's hand cursor (no "winhlp32.exe" in the Windows folder, or a
// file of that name that is no module) the button keeps no cursor of its own: the pointer
// over it is what default handling sets, as over a plain button, and it still clicks.
TEST_F(CSkinButtonTest, WithoutTheHandCursorTheButtonLeavesThePointerToDefaultHandling) {
  const std::filesystem::path windows = machine().paths().driveFolder('C') / "WINDOWS";
  EXPECT_TRUE(std::filesystem::is_directory(windows));
  std::ofstream(windows / "winhlp32.exe") << "not a module";
  CSkinButton broken;
  ASSERT_TRUE(broken.Create("", WS_CHILD | WS_VISIBLE, CRect(140, 20, 240, 60), parent(), 5003));
  HWND plain = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, 260, 20, 100, 40, parentHwnd(), nullptr,
                               nullptr, nullptr);

  const auto cursorAfterSetCursor = [](HWND hwnd) {
    SetCursor(nullptr);
    const LRESULT handled =
        SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return std::make_pair(handled, GetCursor());
  };
  const auto byDefault = cursorAfterSetCursor(plain);
  EXPECT_EQ(cursorAfterSetCursor(button.m_hWnd), byDefault);
  EXPECT_EQ(cursorAfterSetCursor(broken.m_hWnd), byDefault);

  robot.moveTo(inside());
  robot.click(inside());
  EXPECT_EQ(commands(), std::vector<WPARAM>{5002});
}

}  // namespace
