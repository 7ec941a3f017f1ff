// Skin rectangles anywhere, of any size: a shaped button or progress bar whose rectangle
// spans the whole int range, or lies outside the bar's pictures, a skinned window frame
// whose parts, buttons and caption buttons lie outside its frame picture or span the int
// range, the push, latching and radio buttons and the labels of every window, and a
// window's skin buttons in both layouts, load and draw without overflowing a size or
// reading past a picture; the sound entries still work.
#include "windows/WindowsTest.h"

#include "core/CDisplayMode.h"
#include "skin/CShapeButton.h"
#include "skin/CShapeSlider.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinButtonEx.h"
#include "skin/CSkinLabel.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinWindow.h"
#include "skin/SkinValues.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/WindowMessages.h"

#include <robot/Screenshot.h>
#include <support/ProgramRun.h>
#include <win32/gdi.h>

#include <climits>

namespace {

class SkinRangeTest : public test::WindowsTest {
 protected:
  void TearDown() override {
    if (bar && bar->GetSafeHwnd()) bar->DestroyWindow();
    bar.reset();
    if (owner.GetSafeHwnd()) owner.DestroyWindow();
    delete g_pDisplayMode;
    g_pDisplayMode = nullptr;
  }
  // The fixture's bar skin with the given extra entries: buttons 13 on, progress 2 on.
  void loadBar(const std::string& buttons, const std::string& progress) {
    test::WriteBarSkin(testMachine.programFolder());
    const auto file = programFile("skins\\elegance\\skin.ini");
    std::string ini = test::ReadWhole(file);
    ini.insert(ini.find("[ShapeButtonInfo]\n") + 18, buttons);
    ini.insert(ini.find("[ShapeProgressInfo]\n") + 20, progress);
    test::WriteIniFile(file, ini);
    g_pDisplayMode = new CDisplayMode;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                               nullptr));
    bar = std::make_unique<CControlBarDlg>(&owner);
    ASSERT_TRUE(bar->Create(CControlBarDlg::IDD, &owner));
    // Whether the load goes on past a control it cannot make is the bar's own affair.
    bar->LoadSkin(programPath("skins\\elegance\\skin.ini").c_str());
  }

  CWnd owner;
  std::unique_ptr<CControlBarDlg> bar;
};

TEST(SkinExtentTest, AnExtentIsItsDifferenceHeldBetweenNoneAndTheLargest) {
  EXPECT_EQ(SkinExtent(10, 42), 32);
  EXPECT_EQ(SkinExtent(42, 10), 0) << "turned over";
  EXPECT_EQ(SkinExtent(INT_MIN, INT_MAX), kLargestSkinExtent);
  EXPECT_EQ(SkinExtent(INT_MAX, INT_MIN), 0);
  EXPECT_EQ(SkinExtent(0, kLargestSkinExtent), kLargestSkinExtent);
  EXPECT_EQ(SkinExtent(0, kLargestSkinExtent + 1), kLargestSkinExtent);
  EXPECT_EQ(SkinExtent(-1, kLargestSkinExtent - 1), kLargestSkinExtent);
  EXPECT_EQ(SkinWidth(RECT{INT_MIN, 0, INT_MAX, 5}), kLargestSkinExtent);
  EXPECT_EQ(SkinHeight(RECT{0, INT_MAX, 5, INT_MIN}), 0);
}

TEST_F(SkinRangeTest, ShapedControlsSpanningTheIntRangeOrOutsideThePicturesLeaveTheBarWorking) {
  loadBar("Button13=WIDE,-2147483648,-2147483648,2147483647,2147483647,Wide,FALSE,FALSE\n"
          "Button14=FAR,5000,5000,5032,5032,Far,FALSE,TRUE,255,255,255\n"
          "Button15=BACKWARD,40,40,8,8,Backward,FALSE,FALSE\n",
          "Progress2=WIDEPOS,Wide,-2147483648,0,2147483647,16,H,FALSE,FALSE\n"
          "Progress3=FARPOS,Far,-7000,-7000,-6000,-6990,V,FALSE,FALSE\n");
  ASSERT_NE(bar->FindButton("STOP_MOVIE"), nullptr) << "the bar's own buttons are made";
  bar->ShowWindow(SW_SHOW);
  bar->ShowNow();
  RedrawWindow(bar->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  robot.pumpUntilIdle();
  for (const char* name : {"WIDE", "FAR", "BACKWARD"}) {
    if (CShapeButton* button = bar->FindButton(name)) {
      CRect rect;
      button->GetClientRect(&rect);
      EXPECT_GE(rect.Width(), 0) << name;
      EXPECT_GE(rect.Height(), 0) << name;
    }
  }
  if (CShapeSlider* wide = bar->FindProgress("WIDEPOS")) {
    bar->EnableSliderByName("WIDEPOS", TRUE);
    for (const int position : {0, 50, 100}) EXPECT_TRUE(bar->SetSliderPosByName("WIDEPOS", position));
    wide->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    wide->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(30000, 3));
  }
  // The bar still sends its commands.
  EXPECT_EQ(bar->SendMessage(UM_BAR_STATE, 2, 0), 0);
  EXPECT_TRUE(IsWindow(bar->GetSafeHwnd()));
}

// Four 10 x 10 images side by side: red, green, blue, white.
HBITMAP Strip() {
  HDC screen = GetDC(nullptr);
  HBITMAP strip = CreateCompatibleBitmap(screen, 40, 10);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, strip);
  const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)};
  for (int i = 0; i < 4; ++i) {
    HBRUSH brush = CreateSolidBrush(colours[i]);
    const RECT part{i * 10, 0, i * 10 + 10, 10};
    FillRect(dc, &part, brush);
    DeleteObject(brush);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return strip;
}

// Each control cuts its pictures at most the largest extent wide and high: a rectangle
// from 0 to the end of the int range shows the strip's first image at its left.
TEST_F(SkinRangeTest, ButtonsRadiosAndLabelsCutRectanglesOfAnySizeWithinTheLargestExtent) {
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                             nullptr));
  HBITMAP strip = Strip();
  const auto shows = [](CWnd& control) {
    control.ShowWindow(SW_SHOW);
    RedrawWindow(control.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return plat::Screenshot::windowPixel(control.GetSafeHwnd(), 0, 0) == RGB(255, 0, 0);
  };
  const RECT cut{0, 0, 40, 10};
  // The red image shows from a strip cut at the strip's left; a radio and a label cut at
  // the rectangle's own place, so only from a left of 0; a rectangle turned over has none.
  for (const RECT rect : {RECT{0, 0, INT_MAX, 10}, RECT{0, 0, INT_MAX, INT_MAX}, RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                          RECT{40, 10, 0, 0}}) {
    const bool turned = rect.right < rect.left;
    const bool atItsPlace = rect.left == 0 && !turned;
    CSkinButton button;
    button.SetImage(strip, rect.left, rect.top, rect.right, rect.bottom);
    ASSERT_TRUE(button.Create("", WS_CHILD, cut, &owner, 1));
    EXPECT_EQ(shows(button), !turned) << test::Text(rect);
    CSkinButtonEx latching;
    latching.SetImage(strip, rect.left, rect.top, rect.right, rect.bottom);
    ASSERT_TRUE(latching.Create("", WS_CHILD, cut, &owner, 2));
    EXPECT_EQ(shows(latching), !turned) << test::Text(rect);
    CSkinRadioButton radio;
    radio.SetBitmaps(strip, strip, rect, rect);
    ASSERT_TRUE(radio.Create("", WS_CHILD, cut, &owner, 3));
    EXPECT_EQ(shows(radio), atItsPlace) << test::Text(rect);
    CSkinLabel label;
    label.SetBitmap(strip, rect.left, rect.top, rect.right, rect.bottom);
    ASSERT_TRUE(label.Create("", WS_CHILD, cut, &owner, 4));
    shows(label);
    for (CWnd* control : {static_cast<CWnd*>(&button), static_cast<CWnd*>(&latching), static_cast<CWnd*>(&radio),
                          static_cast<CWnd*>(&label)})
      control->DestroyWindow();
  }
  DeleteObject(strip);
}

// A window's button spanning the int range is laid out in both layouts without
// overflowing, as large as a skin's picture gets: restored, the fifth button on scales
// from 800 x 600 units.
TEST_F(SkinRangeTest, AWindowsSkinButtonSpanningTheIntRangeIsLaidOutInBothLayouts) {
  std::string buttons;
  for (int key = 1; key <= 4; ++key) buttons += std::to_string(key) + "=B" + std::to_string(key) + ",b.bmp,900,700,910,710,0\n";
  buttons += "5=WIDE,b.bmp,0,0,2147483647,2147483647,0\n";
  test::WriteIniFile(programFile("Skin\\Normal\\skin.ini"), "[Main-SystemButtons]\n" + buttons +
                                                                 "[Main-SystemButtonsMin]\n" + buttons);
  openLauncher();
  for (const bool maximised : {true, false}) {
    if (maximised) launcher->MaximizeToWorkArea(FALSE);
    else launcher->RestorePlacement();
    robot.pumpUntilIdle();
    CRect client;
    launcher->GetClientRect(&client);
    CRect place;
    launcher->GetSkinButton(4)->GetWindowRect(&place);
    launcher->ScreenToClient(&place);
    // As large as a skin's picture gets, in the layout's design space.
    const CSize design = maximised ? CSize(1024, 768) : CSize(800, 600);
    EXPECT_EQ(place, CRect(0, 0, kLargestSkinExtent * client.Width() / design.cx,
                           kLargestSkinExtent * client.Height() / design.cy))
        << maximised;
  }
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST_F(SkinRangeTest, AFrameWhosePartsLieOutsideItsPictureOrSpanTheIntRangeDrawsWhatThePictureHolds) {
  test::WriteBmpFile(programFile("Frame\\frame.bmp"), 30, 35, [](int, int) { return RGB(0, 0, 200); });
  std::string parts;
  const char* names[] = {"TopLeft", "MiddleTop", "TopRight", "MiddleLeft", "MiddleRight", "BottomLeft", "MiddleBottom",
                         "BottomRight"};
  for (int look = 0; look < 2; ++look) {
    for (const char* name : names) parts += std::string(name) + std::to_string(look) + "=0,0,10,20\n";
  }
  parts += "MiddleTop0=-2147483648,-2147483648,2147483647,2147483647\nTopRight0=5000,5000,5010,5020\n"
           "MiddleLeft1=-40,-40,5,30\n";
  test::WriteBmpFile(programFile("Frame\\bar.bmp"), 40, 10, [](int, int) { return RGB(0, 200, 0); });
  test::WriteIniFile(programFile("Frame\\frame.ini"),
                     "[DialogResInfo]\nFrameImage=frame.bmp\n" + parts +
                         "ShapeWindow=1\nMaskColor=2147483647,2147483647,2147483647\n"
                         "[ShapeButtonInfo]\n1=WIDE,bar.bmp,-2147483648,-2147483648,2147483647,2147483647,0\n"
                         "2=LOW,bar.bmp,0,0,10,-2147483648,0\n");
  WNDCLASSA wc{};
  wc.lpfnWndProc = PlainProc;
  wc.lpszClassName = "SkinRangeFrame";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "SkinRangeFrame", "Orvane Video", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300,
                                200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  {
    CSkinWindow skin;
    ASSERT_TRUE(skin.LoadSkin(programPath("Frame\\frame.ini").c_str()));
    skin.SetSkinnedWnd(window);
    ASSERT_TRUE(skin.Attach(window));
    for (const SIZE size : {SIZE{300, 200}, SIZE{1, 1}, SIZE{640, 480}}) {
      SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
      SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
      RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    skin.CreateShapeButtons();
    robot.pumpUntilIdle();
    // The top-left part, whole inside the picture, shows it.
    EXPECT_EQ(plat::Screenshot::windowPixel(window, 2, 2), RGB(0, 0, 200));
    // The bar's buttons: the one spanning the int range as large as a skin's picture gets,
    // the one turned over without a height.
    ASSERT_EQ(skin.GetButtonCount(), 2);
    CRect wide;
    skin.GetButton(0)->GetClientRect(&wide);
    EXPECT_EQ(wide.Size(), CSize(kLargestSkinExtent, kLargestSkinExtent));
    CRect low;
    skin.GetButton(1)->GetClientRect(&low);
    EXPECT_EQ(low.Size(), CSize(10, 0));
  }
  DestroyWindow(window);
}

}  // namespace
