// The channel mosaic in the TV window, played by the robot on the simulated stick: the
// wall opened by its button, one channel after the other shown live and kept as a still
// (read back against the broadcast's pictures), stepping by the channel-up rule over gaps
// and skipped channels, the ways it closes, and its own full screen.
#include "windows/WindowsTest.h"

#include "core/CDisplayMode.h"
#include "core/data/CChannelList.h"
#include "skin/CSkinButton.h"
#include "skin/CVideoStaticEx.h"
#include "windows/main/CChannelMosaicWnd.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CMosaicCell.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/WindowMessages.h"

#include <machine/TestPicture.h>
#include <machine/TvStickControl.h>
#include <machine/VideoSurfaces.h>
#include <robot/Screenshot.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>

namespace {

class ChannelMosaicTest : public test::WindowsTest {
 protected:
  void SetUp() override { writeSkins(); }

  CTVDlg& tv() { return *launcher->GetTVDlg(); }
  CChannelMosaicWnd* mosaic() { return tv().GetMosaic(); }
  int tuned() const { return g_pTunedChannelRecord->ChannelNumber; }

  // The active list becomes channels on the broadcast's five stations, numbered with a gap
  // at 3 and at 6, channel 1 tuned.
  void stationChannels() {
    static const float carriers[] = {55.25f, 67.25f, 175.25f, 199.25f, 471.25f};
    const int list = GetActiveChannelListIndex();
    g_pChannelList->ClearList(list);
    for (int i = 0; i < 5; ++i) {
      auto* record = new ChannelRecord{};
      std::strcpy(record->StandardName, "NTSC_M");
      std::snprintf(record->ChannelName, sizeof record->ChannelName, "Channel%d", kNumbers[i]);
      record->Frequency = carriers[i];
      record->ChannelNumber = static_cast<std::uint32_t>(kNumbers[i]);
      ASSERT_EQ(g_pChannelList->AddChannel(list, record), 1);
    }
    g_pChannelList->SetCurrentChannel(1, list);
    g_pAppController->RetuneCurrentChannel();
  }
  void skip(int number) {
    const int list = GetActiveChannelListIndex();
    ChannelRecord record{};
    ASSERT_EQ(g_pChannelList->GetChannel(number, list, &record), 1);
    record.SkipFlag = 1;
    g_pChannelList->UpdateChannel(number, list, &record);
  }
  // The background colour of the station a channel of stationChannels() carries.
  plat::Rgb stationColour(int number) {
    const auto& stations = machine().service<plat::TvStickControl>().broadcast().stations();
    for (int i = 0; i < 5; ++i)
      if (kNumbers[i] == number) return plat::TestPicture::stationColour(stations.at(i).scene.number);
    ADD_FAILURE() << "no station for channel " << number;
    return {};
  }
  // A cell shows the station's picture: its background colour low in the cell, where
  // neither the channel's number nor its name are written (the sweeping bar may cover
  // one of the two points).
  bool cellShows(int index, plat::Rgb colour) {
    HWND cell = mosaic()->GetCellWindow(index);
    RECT rect{};
    GetWindowRect(cell, &rect);
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    for (int x : {w * 3 / 5, w * 4 / 5}) {
      const COLORREF pixel = plat::Screenshot::windowPixel(cell, x, h * 17 / 20);
      if (std::abs(GetRValue(pixel) - colour.r) < 24 && std::abs(GetGValue(pixel) - colour.g) < 24 &&
          std::abs(GetBValue(pixel) - colour.b) < 24)
        return true;
    }
    return false;
  }
  // The window the live picture is drawn into.
  HWND liveWindow() {
    HWND owner = nullptr;
    for (const auto& surface : machine().service<plat::VideoSurfaces>().all())
      if (surface->placement().visible) owner = surface->placement().owner;
    return owner;
  }
  // Moves the clock `ms` on a frame at a time, the streaming threads settled after each,
  // so that the still a step takes is of the channel shown before it.
  void advanceWithPictures(int ms) {
    for (int done = 0; done < ms; done += 40) robot.advance(40);
    robot.pumpUntilIdle();
  }
  void openWall() {
    openTV();
    stationChannels();
    ASSERT_TRUE(untilAPictureShows());
    clickButton(tv(), "TVWALL_BUTTON");
    ASSERT_NE(mosaic(), nullptr);
  }
  // The green text on the live picture in the video area: its pixels in the top right
  // sixth of the frame, where the tuned channel's number is written.
  std::set<std::pair<int, int>> channelTextOnPicture() {
    advanceWithPictures(400);
    const auto surfaces = machine().service<plat::VideoSurfaces>().ownedBy(tv().GetVideoArea()->GetSafeHwnd());
    std::set<std::pair<int, int>> green;
    if (surfaces.empty()) return green;
    const auto frame = surfaces.front()->frame();
    for (int y = 0; y < frame.height / 6; ++y)
      for (int x = frame.width / 2; x < frame.width; ++x) {
        const std::uint32_t pixel = frame.pixels[static_cast<std::size_t>(y) * frame.width + x];
        if (((pixel >> 8) & 0xFF) > 200 && (pixel >> 16) < 100 && (pixel & 0xFF) < 100) green.insert({x, y});
      }
    return green;
  }

  static constexpr int kNumbers[5] = {1, 2, 4, 5, 7};
};

TEST_F(ChannelMosaicTest, TheWallShowsTheChannelsOneAfterAnotherAndKeepsTheirPictures) {
  openWall();
  EXPECT_EQ(g_pAppController->GetRunState(), 7);
  EXPECT_FALSE(tv().GetVideoArea()->IsWindowVisible());
  EXPECT_EQ(mosaic()->GetCell(0)->GetChannel(), 1);
  EXPECT_EQ(liveWindow(), mosaic()->GetCellWindow(0)) << "channel 1 live in the first cell";
  EXPECT_FALSE(tv().FindSkinButton("TVWALL_BUTTON")->IsEnabled());
  EXPECT_EQ(GetFocus(), tv().GetSafeHwnd());

  // Every three seconds the next channel by channel up: over the gaps at 3 and 6.
  const int order[] = {1, 2, 4, 5, 7};
  for (int step = 1; step < 5; ++step) {
    advanceWithPictures(3000);
    EXPECT_EQ(tv().GetMosaicStep(), step + 1);
    EXPECT_EQ(mosaic()->GetCell(step)->GetChannel(), order[step]);
    EXPECT_EQ(liveWindow(), mosaic()->GetCellWindow(step));
    EXPECT_EQ(mosaic()->GetCell(step - 1)->GetChannel(), order[step - 1]) << "the channel it really showed";
    EXPECT_EQ(tuned(), order[step]);
  }
  // The cells left behind keep stills of their own stations, all different.
  for (int cell = 0; cell < 4; ++cell)
    EXPECT_TRUE(cellShows(cell, stationColour(order[cell]))) << "cell " << cell << " channel " << order[cell];
  EXPECT_FALSE(cellShows(0, stationColour(2)));

  // Past the last channel the wall ends on the channel it started from.
  advanceWithPictures(3000);
  EXPECT_EQ(mosaic(), nullptr);
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_EQ(tuned(), 1);
  EXPECT_TRUE(tv().GetVideoArea()->IsWindowVisible());
  EXPECT_EQ(liveWindow(), tv().GetVideoArea()->GetSafeHwnd());
  EXPECT_FALSE(KillTimer(tv().GetSafeHwnd(), CTVSkinDlg::kMosaicTimer)) << "the step timer is gone";
}

TEST_F(ChannelMosaicTest, SkippedChannelsAreLeftOutAsChannelUpLeavesThem) {
  openTV();
  stationChannels();
  skip(1);
  skip(4);
  ASSERT_TRUE(untilAPictureShows());
  clickButton(tv(), "TVWALL_BUTTON");
  ASSERT_NE(mosaic(), nullptr);
  EXPECT_EQ(mosaic()->GetCell(0)->GetChannel(), 2) << "the first channel that takes part";
  advanceWithPictures(3000);
  EXPECT_EQ(mosaic()->GetCell(1)->GetChannel(), 5);
}

TEST_F(ChannelMosaicTest, ADoubleClickOnACellTunesItsChannelAndAnEmptyCellIgnoresIt) {
  openWall();
  advanceWithPictures(3000);
  advanceWithPictures(3000);
  robot.doubleClick(mosaic()->GetCellWindow(9));  // not shown yet
  EXPECT_NE(mosaic(), nullptr);
  robot.doubleClick(mosaic()->GetCellWindow(1));
  EXPECT_EQ(mosaic(), nullptr);
  EXPECT_EQ(tuned(), 2);
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_TRUE(tv().FindSkinButton("TVWALL_BUTTON")->IsEnabled());
}

// The channel picked on the wall is the one whose number the picture shows, as it is when
// the channel is tuned by channel up; so does the channel kept on closing with Enter.
TEST_F(ChannelMosaicTest, ThePictureShowsTheNumberOfThePickedChannel) {
  openTV();
  stationChannels();
  ASSERT_TRUE(untilAPictureShows());
  const auto one = channelTextOnPicture();
  SendMessageA(tv().GetSafeHwnd(), UM_BAR_COMMAND, reinterpret_cast<WPARAM>("PRE_CHANNELS"), 0);
  ASSERT_EQ(tuned(), 2);
  const auto two = channelTextOnPicture();
  SendMessageA(tv().GetSafeHwnd(), UM_BAR_COMMAND, reinterpret_cast<WPARAM>("PRE_CHANNELS"), 0);
  ASSERT_EQ(tuned(), 4);
  const auto four = channelTextOnPicture();
  ASSERT_GT(two.size(), 20u);
  ASSERT_NE(one, two);
  ASSERT_NE(four, two);
  SendMessageA(tv().GetSafeHwnd(), UM_BAR_COMMAND, reinterpret_cast<WPARAM>("NEXT_CHANNELS"), 0);
  SendMessageA(tv().GetSafeHwnd(), UM_BAR_COMMAND, reinterpret_cast<WPARAM>("NEXT_CHANNELS"), 0);
  ASSERT_EQ(tuned(), 1);

  clickButton(tv(), "TVWALL_BUTTON");
  ASSERT_NE(mosaic(), nullptr);
  advanceWithPictures(3000);
  advanceWithPictures(3000);
  robot.doubleClick(mosaic()->GetCellWindow(1));
  ASSERT_EQ(mosaic(), nullptr);
  ASSERT_EQ(tuned(), 2);
  EXPECT_EQ(channelTextOnPicture(), two) << "the number of the channel picked";
  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "windows-screens";
  std::filesystem::create_directories(shots);
  EXPECT_TRUE(plat::Screenshot::saveScreen(shots / "channel_wall_picked.png"));

  clickButton(tv(), "TVWALL_BUTTON");
  ASSERT_NE(mosaic(), nullptr);
  advanceWithPictures(3000);
  advanceWithPictures(3000);
  robot.key(VK_RETURN);
  ASSERT_EQ(tuned(), 4);
  EXPECT_EQ(channelTextOnPicture(), four) << "the number of the channel kept";
}

TEST_F(ChannelMosaicTest, EscapeEnterStopTheRemoteAndTheBarCloseTheWall) {
  openWall();
  advanceWithPictures(3000);
  robot.key(VK_ESCAPE);  // back to the channel before the wall
  EXPECT_EQ(mosaic(), nullptr);
  EXPECT_EQ(tuned(), 1);

  // Ctrl+Shift+S opens it again; Enter keeps the channel on screen.
  robot.press(VK_CONTROL);
  robot.press(VK_SHIFT);
  robot.key('S');
  robot.release(VK_SHIFT);
  robot.release(VK_CONTROL);
  ASSERT_NE(mosaic(), nullptr);
  advanceWithPictures(3000);
  robot.key(VK_RETURN);
  EXPECT_EQ(mosaic(), nullptr);
  EXPECT_EQ(tuned(), 2);

  clickButton(tv(), "TVWALL_BUTTON");
  ASSERT_NE(mosaic(), nullptr);
  remoteKey(21);
  EXPECT_EQ(mosaic(), nullptr);
  clickButton(tv(), "TVWALL_BUTTON");
  ASSERT_NE(mosaic(), nullptr);
  SendMessageA(tv().GetSafeHwnd(), UM_BAR_COMMAND, reinterpret_cast<WPARAM>("STOP_MOVIE"), 0);
  robot.pumpUntilIdle();
  EXPECT_EQ(mosaic(), nullptr);
  EXPECT_EQ(g_pAppController->GetRunState(), 2);

  // Ctrl+S and the remote's stop key are the bar's stop.
  clickButton(tv(), "TVWALL_BUTTON");
  ASSERT_NE(mosaic(), nullptr);
  robot.press(VK_CONTROL);
  robot.key('S');
  robot.release(VK_CONTROL);
  EXPECT_EQ(mosaic(), nullptr) << "Ctrl+S";
  clickButton(tv(), "TVWALL_BUTTON");
  ASSERT_NE(mosaic(), nullptr);
  remoteKey(23);
  EXPECT_EQ(mosaic(), nullptr) << "remote key 23";
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
}

TEST_F(ChannelMosaicTest, ASecondCloseQueuedBehindTheFirstChangesNothing) {
  openWall();
  advanceWithPictures(3000);
  advanceWithPictures(3000);
  PostMessageA(tv().GetSafeHwnd(), UM_MOSAIC_CLOSED, 2, 4);
  PostMessageA(tv().GetSafeHwnd(), UM_MOSAIC_CLOSED, 3, 0);
  robot.pumpUntilIdle();
  EXPECT_EQ(tuned(), 4) << "the user's choice stays";
}

// The wall reaches a little past the video area on the right and at the bottom: once it
// has closed, the window shows its own background there again, not the cells' frames.
TEST_F(ChannelMosaicTest, AClosedWallLeavesNothingOfItselfAroundTheVideoArea) {
  useBuiltSkins();
  openTV();
  stationChannels();
  ASSERT_TRUE(untilAPictureShows());
  HWND window = tv().GetSafeHwnd();
  RECT frame{}, video{};
  GetWindowRect(window, &frame);
  GetWindowRect(tv().GetVideoArea()->GetSafeHwnd(), &video);
  // Points of the strips beside and below the video area, in the window's coordinates, and
  // what the window shows there before the wall.
  const POINT right{video.right + 1 - frame.left, (video.top + video.bottom) / 2 - frame.top};
  const POINT below{(video.left + video.right) / 2 - frame.left, video.bottom + 1 - frame.top};
  const COLORREF rightBackground = plat::Screenshot::windowPixel(window, right.x, right.y);
  const COLORREF belowBackground = plat::Screenshot::windowPixel(window, below.x, below.y);
  clickButton(tv(), "TVWALL_BUTTON");
  ASSERT_NE(mosaic(), nullptr);
  RECT wall{};
  GetWindowRect(mosaic()->GetSafeHwnd(), &wall);
  ASSERT_GT(wall.right, video.right + 1);
  ASSERT_GT(wall.bottom, video.bottom + 1);
  ASSERT_NE(plat::Screenshot::windowPixel(window, right.x, right.y), rightBackground) << "the wall shows there";
  advanceWithPictures(3000);

  robot.key(VK_ESCAPE);
  ASSERT_EQ(mosaic(), nullptr);
  robot.pumpUntilIdle();
  EXPECT_EQ(plat::Screenshot::windowPixel(window, right.x, right.y), rightBackground);
  EXPECT_EQ(plat::Screenshot::windowPixel(window, below.x, below.y), belowBackground);
}

TEST_F(ChannelMosaicTest, TheWallHasItsOwnFullScreenAndClosesBackToTheWindow) {
  openWall();
  robot.press(VK_MENU);
  robot.key(VK_RETURN);
  robot.release(VK_MENU);
  robot.pumpUntilIdle();
  ASSERT_TRUE(mosaic()->IsFullScreen());
  CRect cell;
  GetClientRect(mosaic()->GetSafeHwnd(), &cell);
  EXPECT_EQ(test::Text(cell), "0,0,1024,768");
  EXPECT_FALSE(tv().FindSkinButton("RETURN_BUTTON")->IsWindowVisible());
  remoteKey(74);
  EXPECT_FALSE(mosaic()->IsFullScreen());
  EXPECT_TRUE(tv().FindSkinButton("RETURN_BUTTON")->IsWindowVisible());

  remoteKey(74);
  ASSERT_TRUE(mosaic()->IsFullScreen());
  robot.key(VK_ESCAPE);
  EXPECT_EQ(mosaic(), nullptr);
  EXPECT_FALSE(tv().IsFullScreen()) << "closing a full-screen wall gives the window back";
  EXPECT_TRUE(tv().FindSkinButton("RETURN_BUTTON")->IsWindowVisible());
}

TEST_F(ChannelMosaicTest, TheLiveCellMovesAlongTheRowsAndWrapsAfterSixteen) {
  openTV();
  ASSERT_TRUE(untilAPictureShows());
  const int list = GetActiveChannelListIndex();
  ASSERT_GE(g_pChannelList->GetChannelCount(list), 18);
  clickButton(tv(), "TVWALL_BUTTON");
  ASSERT_NE(mosaic(), nullptr);
  for (int step = 1; step <= 16; ++step) {
    // A step tunes, which takes its own time: the clock goes on until the next one.
    for (int waited = 0; waited < 4000 && tv().GetMosaicStep() == step; waited += 100) robot.advance(100);
    ASSERT_NE(mosaic(), nullptr);
    ASSERT_EQ(tv().GetMosaicStep(), step + 1);
    advanceWithPictures(40);
    EXPECT_EQ(liveWindow(), mosaic()->GetCellWindow(step % 16)) << step;
  }
  EXPECT_EQ(mosaic()->GetCell(0)->GetChannel(), tuned()) << "the first cell shows its second channel live";
  EXPECT_GT(tuned(), 16);
}

TEST_F(ChannelMosaicTest, ItLooksLikeTheRestOfTheProduct) {
  useBuiltSkins();
  openWall();
  for (int step = 0; step < 4; ++step) advanceWithPictures(3000);
  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "windows-screens";
  std::filesystem::create_directories(shots);
  EXPECT_TRUE(plat::Screenshot::saveScreen(shots / "channel_mosaic.png"));
}

}  // namespace
