#include "ControlTest.h"

#include "skin/CSkinLabel.h"
#include "skin/CSkinText.h"
#include "skin/CTextLabel.h"
#include "skin/SkinFonts.h"

#include <algorithm>
#include <climits>

namespace {

constexpr COLORREF kEdge = RGB(0, 0, 160);
constexpr COLORREF kCentre = RGB(200, 230, 255);
constexpr COLORREF kText = RGB(255, 0, 0);

class SkinLabelTest : public test::ControlTest {
 protected:
  // How many pixels of the colour the window's client area holds.
  int count(HWND hwnd, COLORREF color, int cxLimit = INT_MAX) {
    robot.pumpUntilIdle();
    RECT client{};
    GetClientRect(hwnd, &client);
    HDC hdc = GetDC(hwnd);
    int found = 0;
    for (int y = 0; y < client.bottom; ++y) {
      for (int x = 0; x < std::min(static_cast<int>(client.right), cxLimit); ++x) found += GetPixel(hdc, x, y) == color;
    }
    ReleaseDC(hwnd, hdc);
    return found;
  }
  // A 30 x 20 framed image (4-pixel edges) at (10, 5) of a larger picture.
  static HBITMAP MakeFramedSource() {
    return test::MakeBitmap(50, 30, [](int x, int y) {
      const int fx = x - 10;
      const int fy = y - 5;
      if (fx < 0 || fy < 0 || fx >= 30 || fy >= 20) return RGB(0, 0, 0);
      return fx < 4 || fy < 4 || fx >= 26 || fy >= 16 ? kEdge : kCentre;
    });
  }
};

TEST_F(SkinLabelTest, WithoutAnImageNothingIsDrawnNotEvenTheText) {
  CSkinLabel label;
  ASSERT_TRUE(label.Create("Channel 12", WS_CHILD | WS_VISIBLE, CRect(20, 20, 220, 60), parent(), 300));
  EXPECT_EQ(label.GetText(), "Channel 12");  // taken from the window text
  label.SetTextColor(kText);
  label.SetText("Channel 13");
  EXPECT_EQ(count(label.m_hWnd, kText), 0);
  label.SetText(nullptr);
  EXPECT_EQ(label.GetText(), "");
}

TEST_F(SkinLabelTest, TheImageIsFramedAndItsCentreStretchedUnderTheText) {
  CSkinLabel label;
  ASSERT_TRUE(label.Create("", WS_CHILD | WS_VISIBLE, CRect(20, 20, 220, 60), parent(), 300));
  HBITMAP hSource = MakeFramedSource();
  label.SetBitmap(hSource, 10, 5, 40, 25);
  DeleteObject(hSource);
  const RECT image{0, 0, 30, 20};
  const RECT margins{4, 4, 4, 4};
  label.SetImageRect(&image);
  label.SetMargins(&margins);
  label.SetImageRect(nullptr);
  label.SetTextColor(kText);
  label.SetText("");
  EXPECT_EQ(pixel(label.m_hWnd, 100, 1), kEdge);
  EXPECT_EQ(pixel(label.m_hWnd, 198, 20), kEdge);
  EXPECT_EQ(pixel(label.m_hWnd, 100, 20), kCentre);

  label.SetText("WWWW");
  const int centred = count(label.m_hWnd, kText);
  EXPECT_GT(centred, 20);
  // A short centred text leaves the left quarter empty; left-aligned, it starts there.
  label.SetText("I");
  EXPECT_EQ(count(label.m_hWnd, kText, 50), 0);
  label.SetLeftAlign(TRUE);
  label.Invalidate();
  EXPECT_GT(count(label.m_hWnd, kText, 50), 0);
}

TEST(SkinFontsTest, TheLanguageCodeChoosesTheCharacterSet) {
  test::TestMachine machine;
  EXPECT_EQ(CharSetForLanguage(4), 204);
  EXPECT_EQ(CharSetForLanguage(2), ANSI_CHARSET);
  EXPECT_EQ(CharSetForLanguage(3), ANSI_CHARSET);
  HDC hScreenDC = GetDC(nullptr);
  EXPECT_EQ(CharSetForLanguage(7), GetTextCharset(hScreenDC));
  ReleaseDC(nullptr, hScreenDC);

  const LOGFONTA font = MakeLabelFont(18);
  EXPECT_EQ(font.lfHeight, 18);
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(font.lfWidth, 0);
  EXPECT_EQ(font.lfItalic, 0);
  EXPECT_STREQ(font.lfFaceName, "MS Scans Serif");
  EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);  // the default machine's language code is 2
}

TEST_F(SkinLabelTest, ATextAreaShowsItsTextAtOnceOverItsBackground) {
  CSkinText text;
  ASSERT_TRUE(text.Create("old", WS_CHILD | WS_VISIBLE, CRect(20, 100, 320, 220), parent(), 10100));
  text.SetTextColor(kText);
  robot.pumpUntilIdle();
  EXPECT_EQ(pixel(text.m_hWnd, 290, 110), RGB(255, 250, 200));
  text.ShowText("Recording at 21:00");
  char windowText[16] = "x";
  GetWindowTextA(text.m_hWnd, windowText, sizeof windowText);
  EXPECT_STREQ(windowText, "");
  EXPECT_GT(count(text.m_hWnd, kText), 20);
  // Painting again draws the same text.
  text.Invalidate();
  EXPECT_GT(count(text.m_hWnd, kText), 20);
}

}  // namespace

namespace {

// The plain label draws its text from the top left in its colour, nothing else.
TEST_F(SkinLabelTest, ATextLabelDrawsOnlyItsText) {
  CTextLabel label;
  ASSERT_TRUE(label.Create("", WS_CHILD | WS_VISIBLE, CRect(20, 20, 220, 60), parent(), 301));
  EXPECT_EQ(label.GetTextColor(), static_cast<COLORREF>(0xFF0000));
  label.SetTextColor(kText);
  EXPECT_EQ(count(label.m_hWnd, kText), 0);
  label.SetText("Channel 12");
  label.Invalidate();
  EXPECT_GT(count(label.m_hWnd, kText), 40);
  EXPECT_GT(count(label.m_hWnd, kText, 20), 0) << "from the left edge";
  EXPECT_EQ(label.GetText(), "Channel 12");
  label.SetPlacement(1, 2, 3, 4);
  RECT placement{};
  label.GetPlacement(placement);
  EXPECT_EQ(placement.right, 3);
}

}  // namespace
