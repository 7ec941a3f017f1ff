#include "ControlTest.h"

#include "skin/CSkinRadioButton.h"
#include "skin/SkinMessages.h"

namespace {

constexpr COLORREF kOff = RGB(10, 20, 30);
constexpr COLORREF kOn = RGB(240, 200, 10);

class CSkinRadioButtonTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    s_recorded = {UM_RADIO_CLICKED};
    // Each image sits at its own place in its own source.
    HBITMAP hOff = test::MakeBitmap(60, 40, [](int x, int y) { return x >= 10 && y >= 5 && x < 30 && y < 25 ? kOff : 0; });
    HBITMAP hOn = test::MakeBitmap(60, 40, [](int x, int y) { return x >= 30 && y >= 10 && x < 50 && y < 30 ? kOn : 0; });
    for (int i = 0; i < 2; ++i) {
      ASSERT_TRUE(radios[i].Create("", WS_CHILD | WS_VISIBLE, CRect(20 + 50 * i, 20, 60 + 50 * i, 60), parent(), 6100 + i));
      radios[i].SetBitmaps(hOff, hOn, CRect(10, 5, 30, 25), CRect(30, 10, 50, 30));
      radios[i].SetValue(i);
    }
    DeleteObject(hOff);
    DeleteObject(hOn);
  }

  CSkinRadioButton radios[2];
};

TEST_F(CSkinRadioButtonTest, APressTellsTheParentAndTheParentSwitchesTheGroup) {
  EXPECT_EQ(pixel(radios[0].m_hWnd, 20, 20), kOff);
  // The parent keeps one radio checked: the one it is told was pressed.
  s_onMessage = [&](const test::ParentMessage& m) {
    if (m.message != UM_RADIO_CLICKED) return;
    for (auto& radio : radios) radio.SetCheck(radio.GetDlgCtrlID() == static_cast<int>(m.wParam), TRUE);
  };
  robot.click(radios[1].m_hWnd);
  auto clicks = received(UM_RADIO_CLICKED);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].wParam, 6101u);
  EXPECT_TRUE(radios[1].GetCheck());
  EXPECT_FALSE(radios[0].GetCheck());
  EXPECT_EQ(pixel(radios[1].m_hWnd, 20, 20), kOn);

  robot.click(radios[0].m_hWnd);
  EXPECT_TRUE(radios[0].GetCheck());
  EXPECT_FALSE(radios[1].GetCheck());
  EXPECT_EQ(pixel(radios[0].m_hWnd, 20, 20), kOn);
  EXPECT_EQ(pixel(radios[1].m_hWnd, 20, 20), kOff);

  // Pressing the checked one tells the parent again.
  robot.click(radios[0].m_hWnd);
  EXPECT_EQ(received(UM_RADIO_CLICKED).size(), 3u);
}

TEST_F(CSkinRadioButtonTest, APressAloneDoesNotChangeTheImage) {
  robot.click(radios[0].m_hWnd);
  EXPECT_EQ(received(UM_RADIO_CLICKED).size(), 1u);
  EXPECT_FALSE(radios[0].GetCheck());
  EXPECT_EQ(pixel(radios[0].m_hWnd, 20, 20), kOff);
}

TEST_F(CSkinRadioButtonTest, IsOwnerDrawn) {
  EXPECT_EQ(radios[0].GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
}

TEST_F(CSkinRadioButtonTest, ImagesNeedBothSources) {
  HBITMAP hOther = test::MakeBitmap(10, 10, [](int, int) { return RGB(1, 2, 3); });
  const std::size_t before = liveBitmaps();
  radios[0].SetBitmaps(hOther, nullptr, CRect(0, 0, 10, 10), CRect(0, 0, 10, 10));
  EXPECT_EQ(liveBitmaps(), before);
  EXPECT_EQ(pixel(radios[0].m_hWnd, 20, 20), kOff);
  // Cutting again releases the two old images.
  radios[0].SetBitmaps(hOther, hOther, CRect(0, 0, 10, 10), CRect(0, 0, 10, 10));
  EXPECT_EQ(liveBitmaps(), before);
  DeleteObject(hOther);
}

}  // namespace
