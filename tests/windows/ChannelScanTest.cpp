// The channel scan from the channel window on the simulated stick: the list ends up with
// exactly the stations on air, the progress shows while it runs, the window's buttons and
// radios follow the scan, an empty sky keeps the old list, and the scan button and remote
// key 23 stop a running scan.
#include "windows/ChannelWindowTest.h"

#include "core/data/CAppSettings.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinComboBox.h"
#include "skin/CSkinLabel.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinSlider.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/WindowMessages.h"


namespace {

class ChannelScanTest : public test::ChannelWindowTest {
 protected:
  // What the window showed at each step of the scan.
  struct Seen {
    std::vector<int> percents;
    bool sliderFollowed = true;
    bool buttonsLocked = true;
    bool radiosLocked = true;
  };
  void look(Seen& seen, int percent) {
    seen.percents.push_back(percent);
    seen.sliderFollowed &= label("Produce_Static") == std::to_string(percent) &&
                           channels().GetProgressSlider()->GetPos() == percent;
    for (int i = 0; i < channels().GetSkinButtonCount(); ++i) {
      const CSkinButton* button = channels().GetSkinButton(i);
      const bool mayAct = button->GetName() == "MINISIZE_BUTTON" || button->GetName() == "NORMAL_BUTTON" ||
                          button->GetName() == "HELP_BUTTON" || button->GetName() == "AUTOSCAN_BUTTON";
      seen.buttonsLocked &= button->IsEnabled() == mayAct;
    }
    seen.radiosLocked &= !channels().GetRegionRadio()->IsWindowEnabled() && !channels().GetListRadio()->IsWindowEnabled();
  }
  void useAntenna() {
    press("LEFT_BUTTON");
    ASSERT_EQ(label("Source_Static"), "Antenna");
  }
};

TEST_F(ChannelScanTest, TheListEndsUpWithExactlyTheStationsOnAir) {
  openChannels();
  useAntenna();
  const std::vector<int> cableBefore = listNumbers(2);
  Seen seen;
  afterEachScanStep([&](int percent) { look(seen, percent); });
  ASSERT_TRUE(scanToEnd());

  // The United States' antenna plan, channels 2 to 69: the default sky's five stations
  // keep their places in the plan.
  EXPECT_EQ(rowNumbers(), (std::vector<int>{1, 3, 6, 10, 13}));
  EXPECT_EQ(rowNames(), (std::vector<std::string>{"Channel1", "Channel3", "Channel6", "Channel10", "Channel13"}));
  EXPECT_EQ(rowFrequencies(), (std::vector<std::string>{"55.25", "67.25", "175.25", "199.25", "471.25"}));
  EXPECT_EQ(listNumbers(1), (std::vector<int>{1, 3, 6, 10, 13}));
  EXPECT_EQ(listNumbers(2), cableBefore) << "the other plan is left alone";
  EXPECT_EQ(tunedStation(), "Metro 2") << "the first channel found is on screen";

  // While it ran: each step's progress, measured against the last channel number 69, in
  // the label and on the slider; only the scan, minimise, maximise and help buttons
  // usable; the radios off.
  ASSERT_EQ(seen.percents.size(), 68u);
  EXPECT_EQ(seen.percents.front(), 1);
  EXPECT_EQ(seen.percents.back(), 98);
  EXPECT_TRUE(seen.sliderFollowed);
  EXPECT_TRUE(seen.buttonsLocked);
  EXPECT_TRUE(seen.radiosLocked);
  // After it: everything back, the progress at 0, the lists in their file.
  EXPECT_EQ(label("Produce_Static"), "0");
  EXPECT_EQ(channels().GetProgressSlider()->GetPos(), 0);
  EXPECT_TRUE(channels().GetRegionRadio()->IsWindowEnabled());
  EXPECT_TRUE(enabled("RETURN_BUTTON"));
  EXPECT_TRUE(enabled("SAVE_BUTTON"));
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  CChannelList saved;
  ASSERT_EQ(saved.LoadFile(programPath("ZRQChannels.chl").c_str()), 1);
  EXPECT_EQ(saved.GetChannelCount(1), 5);
}

TEST_F(ChannelScanTest, AnEmptySkyLeavesTheListAndItsRowsAsTheyWere) {
  putOnAir({});
  openChannels();
  useAntenna();
  const std::vector<int> rows = rowNumbers();
  ASSERT_EQ(rows.size(), 68u);
  ASSERT_TRUE(scanToEnd());
  EXPECT_EQ(rowNumbers(), rows);
  EXPECT_EQ(listNumbers(1).size(), 68u);
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
}

TEST_F(ChannelScanTest, TheScanButtonStopsARunningScan) {
  openChannels();
  useAntenna();
  const std::size_t before = tunerWrites();
  // The scan button, pressed as the first step shows (the worker waits for the window).
  const UINT scanButton = static_cast<UINT>(channels().FindSkinButton("AUTOSCAN_BUTTON")->GetCommandId());
  int steps = 0;
  afterEachScanStep([&](int) {
    if (++steps == 1) channels().SendMessage(WM_COMMAND, scanButton, 0);
  });
  ASSERT_TRUE(scanToEnd());
  EXPECT_EQ(steps, 1);
  EXPECT_EQ(tunerWrites() - before, 2u) << "the one channel scanned, then the channel found tuned";
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_EQ(label("Produce_Static"), "0");
  EXPECT_TRUE(enabled("RETURN_BUTTON"));
  EXPECT_EQ(rowNumbers(), (std::vector<int>{1})) << "the station found on that channel is kept";
  EXPECT_EQ(listNumbers(1), (std::vector<int>{1}));
}

TEST_F(ChannelScanTest, RemoteKey23OnlyStopsAScan) {
  openChannels();
  useAntenna();
  remoteKey(23);
  EXPECT_EQ(g_pAppController->GetRunState(), 2) << "it does not start one";
  int steps = 0;
  afterEachScanStep([&](int) {
    if (++steps == 3) SendMessageA(launcherWindow(), UM_REMOTE_KEY, 0, 23);
  });
  ASSERT_TRUE(scanToEnd());
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(rowNumbers(), (std::vector<int>{1, 3}));
}

TEST_F(ChannelScanTest, InListModeTheCountryBoxComesBackAfterTheScan) {
  openChannels();
  useAntenna();
  robot.click(channels().GetListRadio()->GetSafeHwnd());
  robot.pumpUntilIdle();
  ASSERT_TRUE(channels().GetCountryCombo()->IsWindowVisible());
  channels().SendMessage(UM_SCAN_MODE, 0, 0);
  EXPECT_FALSE(channels().GetCountryCombo()->IsWindowVisible());
  EXPECT_TRUE(channels().FindLabel("Country_Static")->IsWindowVisible());
  ASSERT_TRUE(scanToEnd());
  EXPECT_TRUE(channels().GetCountryCombo()->IsWindowVisible());
  EXPECT_FALSE(channels().FindLabel("Country_Static")->IsWindowVisible());
}

}  // namespace
