// The channel window where a fault would cost a user the list or the picture: reports
// that arrive late or for rows gone, edits while the tuner is not the input or while a
// scan runs, channel numbers far apart, the scan's last channel found as the worker ends,
// and a skin that lacks its radios and pictures.
#include "windows/ChannelWindowTest.h"

#include "core/CRunState.h"
#include "core/data/CAppSettings.h"
#include "skin/CChannelListCtrl.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinSlider.h"
#include "skin/SkinValues.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/WindowMessages.h"

#include <cstring>

namespace {

class ChannelWindowFaults : public test::ChannelWindowTest {
 protected:
  CChannelListCtrl& list() { return *channels().GetChannelList(); }
  int tuned() const { return g_pTunedChannelRecord ? g_pTunedChannelRecord->ChannelNumber : 0; }
  static ChannelRecord* Found(int number, float mhz) {
    auto* record = new ChannelRecord{};
    std::strcpy(record->StandardName, "NTSC_M");
    std::snprintf(record->ChannelName, sizeof record->ChannelName, "Channel%d", number);
    record->Frequency = mhz;
    record->ChannelNumber = number;
    return record;
  }
};

TEST_F(ChannelWindowFaults, AnActivationForARowNoLongerThereTunesNothing) {
  openChannels();
  const int before = tuned();
  channels().PostMessage(UM_CHANNEL_ACTIVATE, 500, 0);
  channels().PostMessage(UM_CHANNEL_ACTIVATE, static_cast<WPARAM>(-1), 0);
  robot.pumpUntilIdle();
  EXPECT_EQ(tuned(), before);
}

// On Composite the active list is none: edits stay in the rows and reach no list.
TEST_F(ChannelWindowFaults, EditsWhileTheTunerIsNotTheInputReachNoList) {
  openChannels();
  g_pAppSettings->VideoInput = 3;
  const ChannelRecord first = stored(1, 2);
  robot.click(cell(0, 0));
  EXPECT_EQ(list().GetItemRecord(0)->SkipFlag, 1u);
  EXPECT_EQ(stored(1, 2).SkipFlag, first.SkipFlag);
  ChannelRecord edited = *list().GetItemRecord(0);
  edited.Frequency = 100.0f;
  channels().SendMessage(UM_CHANNEL_EDITED, 0, reinterpret_cast<LPARAM>(&edited));
  channels().SendMessage(UM_CHANNEL_UPDATED, 0, reinterpret_cast<LPARAM>(&edited));
  EXPECT_FLOAT_EQ(stored(1, 2).Frequency, first.Frequency);
  selectRow(0);
  channels().PostMessage(UM_SLIDER_SET, CChannelSkinDlg::kFineTuneSliderId, 8);
  robot.pumpUntilIdle();
  EXPECT_FLOAT_EQ(list().GetItemRecord(0)->Frequency, first.Frequency);
  EXPECT_EQ(channels().GetFineTuneSlider()->GetPos(), 0);
}

// The tuner is never set from the window while the scan worker sets it.
TEST_F(ChannelWindowFaults, AFrequencyEditStopsARunningScanFirst) {
  openChannels();
  press("LEFT_BUTTON");
  int steps = 0;
  afterEachScanStep([&](int) {
    if (++steps != 2) return;
    // Channel 1 is in the list whether or not the scan's first report has replaced it.
    ChannelRecord edited = stored(1, 1);
    edited.Frequency = 55.5f;
    channels().SendMessage(UM_CHANNEL_EDITED, 0, reinterpret_cast<LPARAM>(&edited));
    EXPECT_FALSE(CAppController::IsScanning());
  });
  ASSERT_TRUE(scanToEnd());
  EXPECT_EQ(steps, 2);
}

TEST_F(ChannelWindowFaults, ChannelNumbersFarApartMakeTwoRowsAtOnce) {
  openChannels();
  g_pChannelList->ClearList(2);
  g_pChannelList->AddChannel(2, Found(1, 73.25f));
  g_pChannelList->AddChannel(2, Found(2147483647, 77.25f));
  press("LEFT_BUTTON");
  press("RIGHT_BUTTON");
  EXPECT_EQ(rowNumbers(), (std::vector<int>{1, 2147483647}));
}

// A row is tuned by its record's number: numbers may have gaps.
TEST_F(ChannelWindowFaults, ASelectedRowIsTunedByItsNumberWhateverTheGaps) {
  openChannels();
  g_pChannelList->ClearList(2);
  for (int number : {1, 2, 5}) g_pChannelList->AddChannel(2, Found(number, 55.25f + static_cast<float>(number)));
  press("LEFT_BUTTON");
  press("RIGHT_BUTTON");
  channels().SendMessage(UM_CHANNEL_SELECT, 2, 0);
  EXPECT_EQ(tuned(), 5);
  EXPECT_EQ(g_pChannelList->GetCurrentChannel(2), 5);
  channels().SendMessage(UM_CHANNEL_SELECT, 7, 0);
  EXPECT_EQ(tuned(), 5) << "no such row";
}

// The worker's last report comes after its running flag is down; the scan's run state still
// holds until its end is handled, and the channel is kept.
TEST_F(ChannelWindowFaults, AChannelReportedAsTheWorkerEndsIsKept) {
  openChannels();
  press("LEFT_BUTTON");
  g_pAppController->SetScanTargetWnd(channels().GetSafeHwnd());
  g_pAppController->GetRunStateHolder()->SetState(6);
  robot.pumpUntilIdle();
  ASSERT_FALSE(CAppController::IsScanning());
  channels().PostMessage(UM_SCAN_CHANNEL_FOUND, 0, reinterpret_cast<LPARAM>(Found(13, 471.25f)));
  channels().PostMessage(UM_SCAN_CHANNEL_FOUND, 0, 0);
  channels().PostMessage(UM_SCAN_DONE, 0, 0);
  robot.pumpUntilIdle();
  EXPECT_EQ(rowNumbers(), (std::vector<int>{13}));
  EXPECT_EQ(listNumbers(1), (std::vector<int>{13}));
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_EQ(tuned(), 13);
  // Outside a scan a report is dropped, its record freed.
  channels().PostMessage(UM_SCAN_CHANNEL_FOUND, 0, reinterpret_cast<LPARAM>(Found(20, 519.25f)));
  robot.pumpUntilIdle();
  EXPECT_EQ(rowNumbers(), (std::vector<int>{13}));
}

TEST_F(ChannelWindowFaults, ASkinWithoutRadiosOrPicturesStillMakesAWorkingWindow) {
  writeIni("Skin\\Channel\\skin.ini",
           "[Setting-Buttons]\n1=RETURN_BUTTON,missing.bmp,848,704,1000,752,0\n"
           "2=AUTOSCAN_BUTTON,missing.bmp,24,140,132,188,0\n"
           "[Channel-Static]\n1=Produce_Static,missing.bmp,944,620,1004,652,0\n");
  openChannels();
  EXPECT_EQ(channels().GetRegionRadio(), nullptr);
  channels().SendMessage(UM_RADIO_CLICKED, CChannelSkinDlg::kListRadioId, 0);
  EXPECT_EQ(g_pAppSettings->FollowRegionCountry, 1) << "no radios: nothing to switch";
  EXPECT_EQ(label("Produce_Static"), "0");
  EXPECT_EQ(label("Slider_Static"), "(none)");
  channels().PostMessage(UM_SLIDER_SET, CChannelSkinDlg::kFineTuneSliderId, 4);
  robot.pumpUntilIdle();
  EXPECT_EQ(rowNumbers().size(), listNumbers(2).size());
  press("RETURN_BUTTON");
  robot.pumpUntilIdle();
  EXPECT_EQ(g_pChannelDlg, nullptr);
}

// Radios whose rectangles reach to the end of the int range, far from the window: each is
// as large as a skin's picture gets, placed where its rectangle's corner scales to, and
// one turned over has no size; the window works.
TEST_F(ChannelWindowFaults, RadiosSpanningTheIntRangeAreMadeAndPlacedWithinBounds) {
  test::WriteBmpFile(programFile("Skin\\Channel\\radio.bmp"), 40, 10, [](int, int) { return RGB(0, 200, 0); });
  writeIni("Skin\\Channel\\skin.ini",
           "[Setting-Buttons]\n1=RETURN_BUTTON,missing.bmp,848,704,1000,752,0\n"
           "[Setting-Radio]\n1=radio.bmp,2100000,0,2147483647,2147483647,radio.bmp,40,40,8,8\n");
  openChannels();
  ASSERT_NE(channels().GetRegionRadio(), nullptr);
  CRect client;
  channels().GetClientRect(&client);
  CRect region;
  channels().GetRegionRadio()->GetWindowRect(&region);
  channels().ScreenToClient(&region);
  EXPECT_EQ(region, CRect(static_cast<int>(2100000LL * client.Width() / 1024), 0,
                          static_cast<int>(2100000LL * client.Width() / 1024) + kLargestSkinExtent,
                          kLargestSkinExtent));
  CRect list;
  channels().GetListRadio()->GetClientRect(&list);
  EXPECT_EQ(list.Size(), CSize(0, 0)) << "turned over";
  channels().SendMessage(UM_RADIO_CLICKED, CChannelSkinDlg::kListRadioId, 0);
  EXPECT_EQ(g_pAppSettings->FollowRegionCountry, 0);
  press("RETURN_BUTTON");
  robot.pumpUntilIdle();
  EXPECT_EQ(g_pChannelDlg, nullptr);
}

}  // namespace
