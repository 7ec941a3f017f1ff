// The skinned combo box played by the robot: its own texts, the face and the arrow drawn
// from the skin, the drop-down list chosen from by mouse and keys, and hover on the clock.
#include "ControlTest.h"

#include "skin/CSkinComboBox.h"

#include <robot/Screenshot.h>

#include <filesystem>

namespace {

class CSkinComboBoxTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(20, 20, 220, 50), parent(), 7100));
    // Arrow images: a green, yellow, red or grey disc on white; a dark frame; a teal bar.
    auto disc = [](COLORREF color) {
      return test::MakeBitmap(16, 16, [color](int x, int y) {
        return (x - 8) * (x - 8) + (y - 8) * (y - 8) < 40 ? color : RGB(255, 255, 255);
      });
    };
    HBITMAP sources[7] = {disc(RGB(0, 180, 0)), disc(RGB(230, 200, 0)), disc(RGB(200, 0, 0)), disc(RGB(128, 128, 128)),
                          test::MakeBitmap(20, 20, [](int x, int y) {
                            return x < 2 || y < 2 || x >= 18 || y >= 18 ? RGB(40, 40, 90) : RGB(235, 235, 250);
                          }),
                          test::MakeBitmap(20, 20, [](int, int) { return RGB(90, 40, 40); }),
                          test::MakeBitmap(10, 10, [](int, int) { return RGB(0, 128, 128); })};
    const RECT rects[7] = {{0, 0, 16, 16}, {0, 0, 16, 16}, {0, 0, 16, 16}, {0, 0, 16, 16},
                           {0, 0, 20, 20}, {0, 0, 20, 20}, {0, 0, 10, 10}};
    combo.SetBitmaps(sources, rects);
    for (HBITMAP bitmap : sources) DeleteObject(bitmap);
    combo.SetFrameRect(CRect(0, 0, 20, 20));
    combo.SetFrameMargins(2, 2, 2, 2);
    combo.SetAltFrameRect(CRect(0, 0, 20, 20));
    combo.SetAltFrameMargins(3, 3, 3, 3);
    for (const char* text : {"Antenna", "Cable", "Composite"}) combo.AddItem(text);
    robot.pumpUntilIdle();
  }
  int Changes() const {
    int count = 0;
    for (const auto& m : received(WM_COMMAND))
      if (LOWORD(m.wParam) == 7100 && HIWORD(m.wParam) == CBN_SELCHANGE) ++count;
    return count;
  }
  POINT ArrowPoint() { return onScreen(combo.GetSafeHwnd(), combo.GetArrowRect().CenterPoint().x, combo.GetArrowRect().CenterPoint().y); }

  CSkinComboBox combo;
};

TEST_F(CSkinComboBoxTest, TheControlKeepsItsOwnTexts) {
  CString text = "unchanged";
  combo.GetItemText(3, text);
  EXPECT_EQ(text, "unchanged");
  combo.GetItemText(-1, text);
  EXPECT_EQ(text, "unchanged");
  combo.GetItemText(1, text);
  EXPECT_EQ(text, "Cable");
  EXPECT_EQ(combo.Find("cable"), 1);
  EXPECT_EQ(combo.Find("satellite"), -1);
  // The combo box's own entries are empty.
  CString own;
  combo.GetLBText(1, own);
  EXPECT_EQ(own, "");
  EXPECT_EQ(combo.GetItemHeight(0), GetSystemMetrics(SM_CYSCREEN) * 26 / 768);
  combo.Reset();
  EXPECT_EQ(combo.GetCount(), 0);
  EXPECT_EQ(combo.Find("Cable"), -1);
}

TEST_F(CSkinComboBoxTest, TheFaceShowsTheChoiceAndTheArrowItsShape) {
  EXPECT_EQ(combo.SetCurSel(1), 1);
  const CRect arrow = combo.GetArrowRect();
  EXPECT_EQ(arrow.Width(), GetSystemMetrics(SM_CXHTHUMB));
  // The arrow's disc, with the control's own pixels where the image is white.
  EXPECT_EQ(pixel(combo.GetSafeHwnd(), arrow.CenterPoint().x, arrow.CenterPoint().y), RGB(0, 180, 0));
  EXPECT_EQ(pixel(combo.GetSafeHwnd(), 2, 4), RGB(40, 40, 90));
  int dark = 0;
  robot.pumpUntilIdle();
  for (int x = 4; x < arrow.left; ++x)
    for (int y = 6; y < 26; ++y) dark += plat::Screenshot::windowPixel(combo.GetSafeHwnd(), x, y) == RGB(0, 0, 0);
  EXPECT_GT(dark, 5);
}

TEST_F(CSkinComboBoxTest, TheListDropsAndIsChosenFromByMouseAndKeys) {
  combo.SetCurSel(0);
  robot.click(ArrowPoint());
  ASSERT_TRUE(combo.GetDroppedState());
  HWND list = FindWindowA("ComboLBox", nullptr);
  ASSERT_NE(list, nullptr);
  const int height = combo.GetItemHeight(0);
  robot.moveTo(onScreen(list, 20, 1 + height + height / 2));
  robot.pumpUntilIdle();
  // The entry under the mouse: image 7 behind blue text.
  EXPECT_EQ(plat::Screenshot::windowPixel(list, 3, 1 + height + 2), RGB(0, 128, 128));
  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
  std::filesystem::create_directories(shots);
  plat::Screenshot::saveScreen(shots / "combobox-dropped.png");
  robot.click(onScreen(list, 20, 1 + 2 * height + height / 2));
  EXPECT_FALSE(combo.GetDroppedState());
  EXPECT_EQ(combo.GetCurSel(), 2);
  EXPECT_EQ(Changes(), 1);

  // Keys on the closed box step the choice; Escape in the list keeps it.
  robot.key(VK_UP);
  EXPECT_EQ(combo.GetCurSel(), 1);
  EXPECT_EQ(Changes(), 2);
  robot.key(VK_F4);
  ASSERT_TRUE(combo.GetDroppedState());
  robot.key(VK_DOWN);
  robot.key(VK_ESCAPE);
  EXPECT_EQ(combo.GetCurSel(), 1);
  robot.key(VK_F4);
  robot.key(VK_DOWN);
  robot.key(VK_RETURN);
  EXPECT_EQ(combo.GetCurSel(), 2);
  // A press outside the list closes it unchosen.
  robot.click(ArrowPoint());
  robot.click(onScreen(parentHwnd(), 350, 250));
  EXPECT_FALSE(combo.GetDroppedState());
  EXPECT_EQ(combo.GetCurSel(), 2);
}

TEST_F(CSkinComboBoxTest, APressedFaceShowsTheAlternateFrameUntilItsListCloses) {
  combo.SetCurSel(0);
  const HWND hwnd = combo.GetSafeHwnd();
  EXPECT_EQ(pixel(hwnd, 2, 4), RGB(40, 40, 90));
  // The alternate frame's edges are 3 pixels wide, the face frame's 2.
  EXPECT_NE(pixel(hwnd, 4, 6), RGB(90, 40, 40));
  robot.click(onScreen(hwnd, combo.GetFaceRect().CenterPoint().x, 15));
  ASSERT_TRUE(combo.GetDroppedState());
  EXPECT_TRUE(combo.IsFacePressed());
  EXPECT_EQ(pixel(hwnd, 2, 4), RGB(90, 40, 40));
  EXPECT_EQ(pixel(hwnd, 4, 6), RGB(90, 40, 40));
  robot.key(VK_ESCAPE);
  EXPECT_FALSE(combo.GetDroppedState());
  EXPECT_FALSE(combo.IsFacePressed());
  EXPECT_EQ(pixel(hwnd, 2, 4), RGB(40, 40, 90));
  // The parent still hears of the closing.
  int closed = 0;
  for (const auto& m : received(WM_COMMAND)) closed += HIWORD(m.wParam) == CBN_CLOSEUP;
  EXPECT_EQ(closed, 1);
  // A press on the arrow leaves the face frame as it is.
  robot.click(ArrowPoint());
  EXPECT_FALSE(combo.IsFacePressed());
  EXPECT_EQ(pixel(hwnd, 2, 4), RGB(40, 40, 90));
  robot.key(VK_ESCAPE);
}

TEST_F(CSkinComboBoxTest, AFrameWorkedOutAnewWidensTheClientByElevenPixels) {
  // Created: the client is the window, as the creation's calculation asks for no widening.
  CRect client;
  combo.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 200);
  combo.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  combo.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 200 + CSkinComboBox::kClientWidening);
  EXPECT_EQ(combo.GetArrowRect().right, client.right - 2);
  combo.SetWindowPos(nullptr, 0, 0, 150, 30, SWP_NOMOVE | SWP_NOZORDER);
  combo.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 150 + CSkinComboBox::kClientWidening);
  EXPECT_EQ(client.Height(), 30);
  // Without the valid-rectangle calculation the default answers.
  RECT plain{0, 0, 120, 30};
  combo.SendMessage(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&plain));
  EXPECT_EQ(plain.right, 120);
}

TEST_F(CSkinComboBoxTest, AnExistingComboBoxMadeIntoOneBecomesOwnerDrawn) {
  HWND plain = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 20, 100, 200, 30,
                               parentHwnd(), reinterpret_cast<HMENU>(7200), nullptr, nullptr);
  ASSERT_NE(plain, nullptr);
  SendMessageA(plain, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("before"));
  const LRESULT plainHeight = SendMessageA(plain, CB_GETITEMHEIGHT, 0, 0);
  EXPECT_EQ(GetWindowLongA(plain, GWL_STYLE) & CBS_OWNERDRAWVARIABLE, 0);
  SendMessageA(plain, CB_RESETCONTENT, 0, 0);
  CSkinComboBox skinned;
  ASSERT_TRUE(skinned.SubclassWindow(plain));
  EXPECT_NE(GetWindowLongA(plain, GWL_STYLE) & CBS_OWNERDRAWVARIABLE, 0);
  EXPECT_EQ(GetWindowLongA(plain, GWL_STYLE) & CBS_DROPDOWNLIST, CBS_DROPDOWNLIST);
  skinned.AddItem("Orvane");
  const int skinHeight = GetSystemMetrics(SM_CYSCREEN) * 26 / 768;
  EXPECT_EQ(skinned.GetItemHeight(0), skinHeight);
  EXPECT_NE(plainHeight, skinHeight);
  skinned.DestroyWindow();
}

TEST_F(CSkinComboBoxTest, HoverEndsAtTheNextTickAfterTheMouseLeaves) {
  robot.moveTo(onScreen(combo.GetSafeHwnd(), combo.GetFaceRect().CenterPoint().x, 15));
  EXPECT_TRUE(combo.IsFaceHot());
  robot.moveTo(onScreen(parentHwnd(), 350, 250));
  EXPECT_TRUE(combo.IsFaceHot());
  robot.advance(CSkinComboBox::kHoverCheckMs);
  EXPECT_FALSE(combo.IsFaceHot());
}

}  // namespace
