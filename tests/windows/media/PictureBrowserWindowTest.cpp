// The picture browser driven as a user drives it: thumbnails, the picture, the sliders,
// smoothing, undo, the histogram, saving, deleting and the remote.
#include "windows/media/PictureBrowserTest.h"

#include "core/CDisplayMode.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinButtonEx.h"
#include "skin/CSkinSlider.h"
#include "skin/CVideoStatic.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"
#include "windows/media/CDibLock.h"
#include "windows/media/CThumbnailListWnd.h"

#include <com/globalmem.h>
#include <robot/Screenshot.h>
#include <win32/commdlg/commdlg.h>
#include <vendor/language/Language.h>
#include <vendor/pictorin/Pictorin.h>

#include <fstream>

namespace test {
namespace {

using Browser = CPICSkinDlg;
constexpr UINT kSliders[] = {Browser::kLightnessSlider, Browser::kHueSlider, Browser::kContrastSlider,
                             Browser::kSaturationSlider};
constexpr const char* kLabels[] = {"VideoLightness_Static", "VideoChroma_Static", "VideoContrast_Static",
                                   "VideoSaturation_Static"};

class PictureBrowserWindowTest : public PictureBrowserTest {
 protected:
  // Two pictures listed, the first opened.
  void openFirstOfTwo() {
    first = putPicture("first.bmp", TestPicture::ramps(64, 48, 1));
    second = putPicture("second.bmp", TestPicture::solid(40, 30, 200, 100, 50));
    writeHistory({first, second});
    openBrowser();
    openItem(0);
  }
  std::string first, second;
};

TEST_F(PictureBrowserWindowTest, ThePicturesButtonOpensTheBrowserWithTheHistoryAndNothingToChange) {
  const auto a = putPicture("a.bmp", TestPicture::ramps(32, 32, 1));
  const auto b = putPicture("b.bmp", TestPicture::ramps(32, 32, 2));
  const auto c = putPicture("c.bmp", TestPicture::ramps(32, 32, 3));
  writeHistory({a, b, c});
  openBrowser();

  EXPECT_EQ(FindWindowA("#32770", "Orvane Media_PICDlg"), browser->GetSafeHwnd());
  EXPECT_TRUE(browser->IsWindowVisible());
  EXPECT_FALSE(launcher->IsWindowVisible());
  EXPECT_EQ(g_pDisplayMode->GetMode(), Browser::kDisplayMode);
  // The thumbnails in the file's order.
  ASSERT_EQ(browser->GetThumbnailList()->GetItemCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(std::string(view().GetItem(i)->GetImagePath()), (std::vector{a, b, c}[i]));
  EXPECT_EQ(CPICSkinDlg::GetCurrentPicture(), nullptr);
  for (const char* name : {"XIAOCHU_BUTTON", "PINGHUA_BUTTON", "SAVE_BUTTON", "RETURNOP_BUTTON"})
    EXPECT_FALSE(buttonEnabled(name)) << name;
  EXPECT_TRUE(browser->GetRadioButton()->IsDisabled());
  EXPECT_EQ(labelText("VideoLightness_Static"), "0");

  // Sliders and filters wait for a picture.
  setSlider(Browser::kLightnessSlider, 50);
  EXPECT_TRUE(temporaryFiles().empty());
  EXPECT_EQ(labelText("VideoLightness_Static"), "0");
}

TEST_F(PictureBrowserWindowTest, ADoubleClickedThumbnailIsShownLargeAndReadyToChange) {
  const auto grey = putPicture("grey.bmp", TestPicture::solid(80, 60, 90, 90, 90));
  const auto red = putPicture("red.bmp", TestPicture::solid(80, 60, 0, 0, 220));
  writeHistory({grey, red});
  openBrowser();
  openItem(1);

  ASSERT_NE(CPICSkinDlg::GetCurrentPicture(), nullptr);
  EXPECT_EQ(std::string(CPICSkinDlg::GetCurrentPictureName()), red);
  EXPECT_EQ(areaPixel(20, 20), RGB(220, 0, 0));
  for (const char* name : {"XIAOCHU_BUTTON", "PINGHUA_BUTTON", "SAVE_BUTTON"}) EXPECT_TRUE(buttonEnabled(name)) << name;
  EXPECT_FALSE(buttonEnabled("RETURNOP_BUTTON"));
  EXPECT_FALSE(browser->GetRadioButton()->IsDisabled());

  openItem(0);
  EXPECT_EQ(std::string(CPICSkinDlg::GetCurrentPictureName()), grey);
  EXPECT_EQ(areaPixel(20, 20), RGB(90, 90, 90));
}

TEST_F(PictureBrowserWindowTest, EachSliderAddsItsEffectAtItsStrengthFromNoneToTheMost) {
  openFirstOfTwo();
  for (int s = 0; s < 4; ++s) {
    // 50 gives the library 63, 100 gives 127, 0 gives 0; beyond the ends counts as the end.
    for (const auto& [position, strength] : std::vector<std::pair<int, int>>{{50, 63}, {100, 127}, {0, 0}, {-20, 0},
                                                                             {250, 127}, {1, 1}, {99, 125}}) {
      const auto before = pictureBytes();
      setSlider(kSliders[s], position);
      EXPECT_EQ(pictureBytes(), adjusted(before, kSliders[s], strength)) << kLabels[s] << " at " << position;
      EXPECT_EQ(labelText(kLabels[s]), std::to_string(std::clamp(position, 0, 100)));
    }
  }
  // The other labels show their own sliders' last positions.
  EXPECT_TRUE(buttonEnabled("RETURNOP_BUTTON"));
}

TEST_F(PictureBrowserWindowTest, DraggingASliderShowsItsPositionAndChangesThePictureOnRelease) {
  openFirstOfTwo();
  const auto original = pictureBytes();
  PostMessageA(browser->GetSafeHwnd(), UM_SLIDER_TRACK, Browser::kContrastSlider, 42);
  robot.pumpUntilIdle();
  EXPECT_EQ(labelText("VideoContrast_Static"), "42");
  EXPECT_EQ(pictureBytes(), original);

  // The thumb dragged past the right end of the lightness slider.
  CSkinSlider* slider = browser->GetSlider(Browser::kLightnessSlider);
  CRect track;
  slider->GetWindowRect(&track);
  robot.drag({track.left + 3, track.CenterPoint().y}, {track.right + 40, track.CenterPoint().y});
  robot.pumpUntilIdle();
  EXPECT_EQ(labelText("VideoLightness_Static"), "100");
  EXPECT_EQ(pictureBytes(), adjusted(original, Browser::kLightnessSlider, 127));
  EXPECT_EQ(browser->GetUndo().GetCount(), 1);
}

TEST_F(PictureBrowserWindowTest, SmoothingAndNoiseRemovalFilterThePictureWithoutUndoEntries) {
  openFirstOfTwo();
  auto before = pictureBytes();
  press("PINGHUA_BUTTON");
  EXPECT_EQ(pictureBytes(), smoothed(before, false));
  before = pictureBytes();
  press("XIAOCHU_BUTTON");
  EXPECT_EQ(pictureBytes(), smoothed(before, true));
  EXPECT_EQ(browser->GetUndo().GetCount(), 0);
  EXPECT_TRUE(temporaryFiles().empty());
}

// Each press brings back the picture as it was before the latest change; the five
// newest changes can be undone.
TEST_F(PictureBrowserWindowTest, UndoKeepsTheLastFiveChangesAndStepsBackThroughThem) {
  openFirstOfTwo();
  std::vector<std::vector<std::uint8_t>> states{pictureBytes()};
  for (int change = 1; change <= 7; ++change) {
    setSlider(Browser::kLightnessSlider, 10);
    states.push_back(pictureBytes());
  }
  // Five entries, the pictures before the third change to before the seventh; the seventh
  // reused 0.bmp.
  const CPictureUndo& undo = browser->GetUndo();
  ASSERT_EQ(undo.GetCount(), 5);
  EXPECT_EQ(std::string(undo.GetAt(0)), std::string(CSkinDialog::GetAppFolder()) + "2.bmp");
  EXPECT_EQ(std::string(undo.GetAt(4)), std::string(CSkinDialog::GetAppFolder()) + "0.bmp");
  EXPECT_EQ(undo.GetDiscarded().GetSize(), 2);
  EXPECT_EQ(temporaryFiles().size(), 6u);

  // From the seventh change back to the picture after the second.
  for (int after = 6; after >= 2; --after) {
    press("RETURNOP_BUTTON");
    EXPECT_EQ(pictureBytes(), states[static_cast<std::size_t>(after)]) << "after change " << after;
    EXPECT_TRUE(buttonEnabled("RETURNOP_BUTTON"));
  }
  // Past the depth: nothing older is kept; the press on the empty stack disables the button.
  press("RETURNOP_BUTTON");
  EXPECT_EQ(pictureBytes(), states[2]);
  EXPECT_FALSE(buttonEnabled("RETURNOP_BUTTON"));
}

TEST_F(PictureBrowserWindowTest, UndoRightAfterTheFirstChangeBringsBackThePictureOpened) {
  openFirstOfTwo();
  const auto opened = pictureBytes();
  setSlider(Browser::kHueSlider, 30);
  ASSERT_NE(pictureBytes(), opened);
  press("RETURNOP_BUTTON");
  EXPECT_EQ(pictureBytes(), opened);
  EXPECT_TRUE(buttonEnabled("RETURNOP_BUTTON"));
  press("RETURNOP_BUTTON");
  EXPECT_EQ(pictureBytes(), opened);
  EXPECT_FALSE(buttonEnabled("RETURNOP_BUTTON"));
}

// The smoothing filters are no changes of the undo stack: an undo right after one goes
// back exactly one change, to the picture before the latest slider change.
TEST_F(PictureBrowserWindowTest, UndoRightAfterASmoothingGoesBackExactlyOneChange) {
  openFirstOfTwo();
  const auto opened = pictureBytes();
  setSlider(Browser::kSaturationSlider, 80);
  const auto saturated = pictureBytes();
  setSlider(Browser::kContrastSlider, 40);
  ASSERT_EQ(browser->GetUndo().GetCount(), 2);
  press("PINGHUA_BUTTON");
  ASSERT_EQ(browser->GetUndo().GetCount(), 2);
  press("RETURNOP_BUTTON");
  EXPECT_EQ(pictureBytes(), saturated);
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(plat::Screenshot::saveWindow(browser->GetSafeHwnd(), folder / "picture_browser_undone.png"));
  press("RETURNOP_BUTTON");
  EXPECT_EQ(pictureBytes(), opened);
}

TEST_F(PictureBrowserWindowTest, OpeningAnotherPictureEmptiesTheUndoAndLeavingDeletesItsFiles) {
  openFirstOfTwo();
  setSlider(Browser::kLightnessSlider, 20);
  setSlider(Browser::kContrastSlider, 70);
  EXPECT_EQ(temporaryFiles(), (std::vector<std::string>{"0.bmp", "1.bmp"}));
  openItem(1);
  EXPECT_EQ(browser->GetUndo().GetCount(), 0);
  EXPECT_FALSE(buttonEnabled("RETURNOP_BUTTON"));
  for (const char* label : kLabels) EXPECT_EQ(labelText(label), "0");
  for (UINT id : kSliders) EXPECT_EQ(browser->GetSlider(id)->GetPos(), 0);
  // The counter starts again at 0.bmp.
  setSlider(Browser::kHueSlider, 5);
  EXPECT_EQ(std::string(browser->GetUndo().GetAt(0)), std::string(CSkinDialog::GetAppFolder()) + "0.bmp");

  press("RETURN_BUTTON");
  EXPECT_TRUE(temporaryFiles().empty());
  EXPECT_EQ(launcher->GetPICDlg(), nullptr);
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
}

TEST_F(PictureBrowserWindowTest, TheHistogramIsDrawnOverThePictureAndGoesAgain) {
  const auto grey = putPicture("grey.bmp", TestPicture::solid(120, 90, 128, 128, 128));
  writeHistory({grey});
  openBrowser();
  // Without a picture the latching button is disabled and does nothing.
  PostMessageA(browser->GetSafeHwnd(), WM_COMMAND, Browser::kFirstRadioCommand, 0);
  robot.pumpUntilIdle();
  EXPECT_FALSE(browser->IsHistogramShown());

  openItem(0);
  // The curves' pixels: pure red, green or blue, which the grey picture has none of.
  auto countRed = [&] {
    HWND area = browser->GetPictureArea()->GetSafeHwnd();
    CRect client;
    ::GetClientRect(area, &client);
    HDC dc = GetDC(area);
    int curves = 0;
    for (int y = 0; y < client.Height(); ++y)
      for (int x = 0; x < client.Width(); ++x) {
        const COLORREF pixel = GetPixel(dc, x, y);
        curves += pixel == RGB(255, 0, 0) || pixel == RGB(0, 255, 0) || pixel == RGB(0, 0, 255);
      }
    ReleaseDC(area, dc);
    return curves;
  };
  EXPECT_EQ(countRed(), 0);
  robot.click(browser->GetRadioButton()->GetSafeHwnd());
  robot.pumpUntilIdle();
  EXPECT_TRUE(browser->IsHistogramShown());
  EXPECT_GT(countRed(), 0);
  // A change keeps it drawn over the changed picture.
  setSlider(Browser::kLightnessSlider, 40);
  EXPECT_GT(countRed(), 0);
  robot.click(browser->GetRadioButton()->GetSafeHwnd());
  robot.pumpUntilIdle();
  EXPECT_FALSE(browser->IsHistogramShown());
  EXPECT_EQ(countRed(), 0);
}

TEST_F(PictureBrowserWindowTest, SaveWritesThePictureAsABitmapAndListsItOnce) {
  openFirstOfTwo();
  setSlider(Browser::kLightnessSlider, 60);
  const auto changed = pictureBytes();

  robot.cancelNextFileDialog();
  press("SAVE_BUTTON");
  EXPECT_FALSE(std::filesystem::exists(linuxOf("C:\\Pictures\\saved.bmp")));

  robot.answerNextFileDialog("C:\\Pictures\\saved.bmp");
  press("SAVE_BUTTON");
  ASSERT_TRUE(std::filesystem::exists(linuxOf("C:\\Pictures\\saved.bmp")));
  HGLOBAL saved = DIBRead("C:\\Pictures\\saved.bmp");
  ASSERT_NE(saved, nullptr);
  {
    const CDibLock lock(saved);
    EXPECT_EQ(std::vector<std::uint8_t>(lock.GetBits(), lock.GetBits() + lock.GetImageSize()), changed);
  }
  GlobalFree(saved);
  const auto dialogs = robot.fileDialogs();
  ASSERT_FALSE(dialogs.empty());
  EXPECT_TRUE(dialogs.back().save);
  EXPECT_TRUE(dialogs.back().flags & OFN_OVERWRITEPROMPT);
  ASSERT_EQ(dialogs.back().types.size(), 1u);
  EXPECT_EQ(dialogs.back().types[0].second, "*.bmp");
  ASSERT_EQ(browser->GetThumbnailList()->GetItemCount(), 3);
  EXPECT_EQ(std::string(view().GetItem(2)->GetImagePath()), "C:\\Pictures\\saved.bmp");
  EXPECT_EQ(historyPaths(), (std::vector<std::string>{first, second, "C:\\Pictures\\saved.bmp"}));

  // Saving over it asks first; the file is not listed twice.
  robot.answerNextMessageBox(IDYES);
  robot.answerNextFileDialog("C:\\Pictures\\saved.bmp");
  press("SAVE_BUTTON");
  EXPECT_EQ(browser->GetThumbnailList()->GetItemCount(), 3);
  EXPECT_EQ(historyPaths().size(), 3u);

  // A name without an extension gets ".bmp", also in a folder whose name has a dot.
  std::filesystem::create_directories(linuxOf("C:\\Pictures\\set.v2"));
  robot.answerNextFileDialog("C:\\Pictures\\set.v2\\copy");
  press("SAVE_BUTTON");
  EXPECT_TRUE(std::filesystem::exists(linuxOf("C:\\Pictures\\set.v2\\copy.bmp")));
  ASSERT_EQ(browser->GetThumbnailList()->GetItemCount(), 4);
  EXPECT_EQ(std::string(view().GetItem(3)->GetImagePath()), "C:\\Pictures\\set.v2\\copy.bmp");
}

TEST_F(PictureBrowserWindowTest, TheViewsDeleteAsksAndRemovesTheFileOnlyWhenTheUserAgrees) {
  openFirstOfTwo();
  auto deleteFirst = [&](int answer) {
    view().SelectItem(0, FALSE);
    robot.answerNextMessageBox(answer);
    robot.duringModal([](plat::Robot& r) { EXPECT_TRUE(r.chooseMenuCommand(CImageListView::ID_LIST_DELETE)); });
    robot.rightClick(itemOnScreen(0));
    robot.pumpUntilIdle();
  };
  deleteFirst(IDCANCEL);
  EXPECT_TRUE(std::filesystem::exists(linuxOf(first)));
  EXPECT_EQ(browser->GetThumbnailList()->GetItemCount(), 2);
  deleteFirst(IDOK);
  EXPECT_FALSE(std::filesystem::exists(linuxOf(first)));
  EXPECT_EQ(browser->GetThumbnailList()->GetItemCount(), 1);
  EXPECT_EQ(robot.messageBoxes().back().text, GetMessageInfo(10));
}

TEST_F(PictureBrowserWindowTest, RemoteKeysReachTheBrowserThroughTheLauncher) {
  openFirstOfTwo();
  setSlider(Browser::kLightnessSlider, 30);
  // Keys the window does not use change nothing.
  remoteKey(31);
  remoteKey(21);
  EXPECT_NE(launcher->GetPICDlg(), nullptr);
  // 70: back to the launcher, the temporary files gone.
  remoteKey(70);
  EXPECT_EQ(launcher->GetPICDlg(), nullptr);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
  EXPECT_TRUE(temporaryFiles().empty());
}

TEST_F(PictureBrowserWindowTest, RemoteKeyTwentyClosesTheProgramWhateverItsFlagSays) {
  openFirstOfTwo();
  setSlider(Browser::kLightnessSlider, 30);
  // Any program may send the key: the flag that would shut the computer down is not honoured.
  remoteKey(20, 1);
  EXPECT_TRUE(temporaryFiles().empty());
  EXPECT_FALSE(launcher->IsWindowVisible());
  robot.advance(1000);
  EXPECT_TRUE(powerLog().empty());
}

TEST_F(PictureBrowserWindowTest, KeysNeitherCloseTheWindowNorMissBackspaceAndHelp) {
  openFirstOfTwo();
  SetFocus(browser->GetSafeHwnd());
  robot.key(VK_ESCAPE);
  robot.key(VK_RETURN);
  EXPECT_TRUE(browser->IsWindowVisible());
  robot.key(VK_F1);
  EXPECT_EQ(helpRequests().size(), 1u);
  robot.key(VK_BACK);
  robot.pumpUntilIdle();
  EXPECT_EQ(launcher->GetPICDlg(), nullptr);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
}

TEST_F(PictureBrowserWindowTest, OpeningAndClosingKeepsTheHistoryInItsOrder) {
  const auto a = putPicture("a.bmp", TestPicture::ramps(24, 24, 1));
  const auto b = putPicture("b.bmp", TestPicture::ramps(24, 24, 2));
  const auto c = putPicture("c.bmp", TestPicture::ramps(24, 24, 3));
  writeHistory({a, b, c});
  openBrowser();
  press("RETURN_BUTTON");
  EXPECT_EQ(launcher->GetPICDlg(), nullptr);
  EXPECT_EQ(historyPaths(), (std::vector<std::string>{a, b, c}));
}

TEST_F(PictureBrowserWindowTest, RestoredTheButtonsFollowTheSmallerDesignAndTheRestTheClientArea) {
  openFirstOfTwo();
  press("NORMAL_BUTTON");
  ASSERT_EQ(g_isMaximized, 0);
  CRect client;
  browser->GetClientRect(&client);
  CRect slider;
  browser->GetSlider(Browser::kHueSlider)->GetWindowRect(&slider);
  browser->ScreenToClient(&slider);
  EXPECT_EQ(slider, CRect(57 * client.Width() / 1024, 494 * client.Height() / 768, 237 * client.Width() / 1024,
                          506 * client.Height() / 768));
  // The fifth button (the home button) uses the 800 x 600 design.
  CSkinButton* home = browser->FindSkinButton("MAIN_BUTTON");
  RECT design{};
  home->GetSkinRect(design);
  CRect placed;
  home->GetWindowRect(&placed);
  browser->ScreenToClient(&placed);
  EXPECT_EQ(placed.left, design.left * client.Width() / 800);
  EXPECT_EQ(placed.top, design.top * client.Height() / 600);
}

// Nine thumbnails fill the list's one row; a tenth starts a row the list has no room for:
// its scroll bar shows, and its arrows, its track, its thumb and the wheel bring that row in
// and take it out again.
TEST_F(PictureBrowserWindowTest, FromTheTenthPictureOnTheListScrollsToTheRest) {
  std::vector<std::string> paths;
  for (int i = 0; i < 10; ++i)
    paths.push_back(putPicture("p" + std::to_string(i) + ".bmp", TestPicture::ramps(48, 36, i)));
  writeHistory({paths.begin(), paths.begin() + 9});
  openBrowser();
  HWND list = view().GetSafeHwnd();
  CRect client;
  GetClientRect(list, &client);
  const auto bounds = [&](int item) {
    CRect r;
    view().GetItemRect(item, &r, LVIR_BOUNDS);
    return r;
  };
  ASSERT_EQ(view().GetItemCount(), 9);
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL, 0) << "nine show whole";
  EXPECT_LE(bounds(8).bottom, client.bottom);

  ASSERT_TRUE(browser->GetThumbnailList()->AddMediaFile(paths[9].c_str(), FALSE, FALSE));
  robot.pumpUntilIdle();
  EXPECT_NE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL, 0) << "the tenth does not";
  GetClientRect(list, &client);
  EXPECT_GT(bounds(9).bottom, client.bottom);
  CRect bar;
  GetWindowRect(list, &bar);
  bar.left = bar.right - GetSystemMetrics(SM_CXVSCROLL);
  const int x = bar.CenterPoint().x;

  robot.click(POINT{x, bar.bottom - 4});  // the down arrow
  EXPECT_LE(bounds(9).bottom, client.bottom) << "the second row in whole";
  EXPECT_LT(bounds(0).top, 0);
  robot.click(POINT{x, bar.top + 4});
  EXPECT_GE(bounds(0).top, 0);
  robot.click(POINT{x, bar.bottom - 20});  // the track below the thumb
  EXPECT_LE(bounds(9).bottom, client.bottom);
  robot.drag(POINT{x, bar.bottom - 24}, POINT{x, bar.top});  // the thumb, to the top
  EXPECT_GE(bounds(0).top, 0);

  view().SetFocus();
  robot.moveTo(itemOnScreen(0));
  robot.wheel(-WHEEL_DELTA);
  EXPECT_LE(bounds(9).bottom, client.bottom) << "the wheel turned towards the user";
  robot.wheel(WHEEL_DELTA);
  EXPECT_GE(bounds(0).top, 0);
  robot.wheel(-WHEEL_DELTA);
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(plat::Screenshot::saveWindow(browser->GetSafeHwnd(), folder / "picture_browser_scrolled.png"));
}

TEST_F(PictureBrowserWindowTest, ThePictureWithItsHistogramLooksLikeTheRestOfTheProgram) {
  TestPicture picture = TestPicture::ramps(360, 240, 4);
  const auto file = putPicture("ramps.bmp", picture);
  const auto other = putPicture("solid.bmp", TestPicture::solid(120, 90, 40, 140, 200));
  writeHistory({other, file});
  openBrowser();
  openItem(1);
  setSlider(Browser::kLightnessSlider, 25);
  robot.click(browser->GetRadioButton()->GetSafeHwnd());
  robot.pumpUntilIdle();
  ASSERT_TRUE(browser->IsHistogramShown());
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(plat::Screenshot::saveWindow(browser->GetSafeHwnd(), folder / "picture_browser.png"));
}

}  // namespace
}  // namespace test
