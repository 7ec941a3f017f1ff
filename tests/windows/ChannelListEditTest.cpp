// The channel list edited in the channel window, each change written back into the active
// list and the tuner: skip flags, names, frequencies (within the plan's span only), the
// standard column's choices, the row and selection moves, activation, and the fine-tuning
// slider with both ends of its span.
#include "windows/ChannelWindowTest.h"

#include "core/data/CAppSettings.h"
#include "skin/CChannelListCtrl.h"
#include "skin/CSkinLabel.h"
#include "skin/CSkinSlider.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/WindowMessages.h"

#include <cmath>

namespace {

class ChannelListEditTest : public test::ChannelWindowTest {
 protected:
  // The United States' antenna plan in the window: channel n at row n - 1.
  void SetUp() override {
    openChannels();
    press("LEFT_BUTTON");
    ASSERT_EQ(rowNumbers().size(), 68u);
  }
  CChannelListCtrl& list() { return *channels().GetChannelList(); }
  HWND edit() { return list().GetInPlaceEdit().GetSafeHwnd(); }
  // A cell's in-place edit, its text replaced by what the user types, ended with Enter.
  void typeInto(int row, int column, const std::string& text) {
    if (column == 3) {
      robot.doubleClick(cell(row, column));
    } else {
      CSkinListCtrl::CellRequest request{row, column, 0};
      list().SendMessage(CSkinListCtrl::UM_LIST_EDIT_CELL, 0, reinterpret_cast<LPARAM>(&request));
    }
    ASSERT_TRUE(list().IsEditing());
    SendMessageA(edit(), EM_SETSEL, 0, -1);
    if (text.empty()) robot.key(VK_DELETE);
    else robot.type(text);
    robot.key(VK_RETURN);
  }
  int tuned() const { return g_pTunedChannelRecord ? g_pTunedChannelRecord->ChannelNumber : 0; }
  // A release of the fine-tuning slider at `pos`, as the slider reports it.
  void release(int pos) {
    channels().PostMessage(UM_SLIDER_SET, CChannelSkinDlg::kFineTuneSliderId, pos);
    robot.pumpUntilIdle();
  }
  float frequency(int number, int list = 1) { return stored(number, list).Frequency; }
};

TEST_F(ChannelListEditTest, AClickInTheFirstColumnSkipsAChannelThatChannelUpThenPassesOver) {
  robot.click(cell(2, 0));
  EXPECT_EQ(stored(3, 1).SkipFlag, 1u);
  EXPECT_EQ(list().GetItemRecord(2)->SkipFlag, 1u);
  g_pChannelList->SetCurrentChannel(2, 1);
  g_pAppController->RetuneCurrentChannel();
  ASSERT_EQ(tuned(), 2);
  g_pAppController->StepChannel(1);
  EXPECT_EQ(tuned(), 4);
  robot.click(cell(2, 0));
  EXPECT_EQ(stored(3, 1).SkipFlag, 0u);
  g_pAppController->StepChannel(0);
  EXPECT_EQ(tuned(), 3);
}

TEST_F(ChannelListEditTest, ANameIsStoredAndNothingTunedAndAnEmptyNameRefused) {
  const std::size_t writes = tunerWrites();
  typeInto(4, 3, "Harbour News");
  EXPECT_STREQ(stored(5, 1).ChannelName, "Harbour News");
  EXPECT_EQ(rowNames()[4], "Harbour News");
  EXPECT_EQ(tunerWrites(), writes) << "a name edit only stores";
  typeInto(4, 3, "");
  EXPECT_STREQ(stored(5, 1).ChannelName, "Harbour News");
  EXPECT_EQ(rowNames()[4], "Harbour News");
}

TEST_F(ChannelListEditTest, AFrequencyIsStoredAndTunedOnlyWithinThePlanAndItsSpan) {
  // Channel 3 of 61.25 MHz moved onto the station of 67.25 MHz.
  typeInto(2, 4, "67.25");
  EXPECT_FLOAT_EQ(frequency(3), 67.25f);
  EXPECT_EQ(tuned(), 3);
  EXPECT_EQ(tunedStation(), "Valley 4");
  EXPECT_EQ(label("Slider_Static"), "0");
  // The plan runs from 55.25 to 801.25 MHz, and a channel may be tuned 3 MHz beyond.
  typeInto(2, 4, "804.25");
  EXPECT_FLOAT_EQ(frequency(3), 804.25f);
  typeInto(2, 4, "52.25");
  EXPECT_FLOAT_EQ(frequency(3), 52.25f);
  const std::size_t writes = tunerWrites();
  for (const char* outside : {"804.26", "52.24", "0", "99999"}) {
    typeInto(2, 4, outside);
    EXPECT_FLOAT_EQ(frequency(3), 52.25f) << outside;
    EXPECT_EQ(rowFrequencies()[2], "52.25") << outside;
  }
  EXPECT_EQ(tunerWrites(), writes) << "nothing out of the plan reaches the tuner";
}

TEST_F(ChannelListEditTest, TheStandardColumnOffersTheSixStandardsToTheListOnly) {
  auto offered = [this](int column) {
    CStringList items;
    items.AddTail("left over");
    channels().SendMessage(UM_GET_COMBO_ITEMS, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&items));
    std::vector<std::string> names;
    for (POSITION p = items.GetHeadPosition(); p;) names.emplace_back(items.GetNext(p));
    return names;
  };
  list().SetFocus();
  EXPECT_EQ(offered(1), (std::vector<std::string>{"PAL_B", "PAL_D", "PAL_I", "SECAM_B", "SECAM_D", "SECAM_K1"}));
  EXPECT_TRUE(offered(3).empty());
  channels().SetFocus();
  EXPECT_TRUE(offered(1).empty()) << "only for the list's own editor";
}

TEST_F(ChannelListEditTest, MovesSwapNumbersInRowOrderAndTheSelectionMovesAlone) {
  selectRow(1);
  press("UP_BUTTON");
  EXPECT_FLOAT_EQ(frequency(1), 61.25f) << "channel 2 became channel 1";
  EXPECT_STREQ(stored(1, 1).ChannelName, "Channel2");
  EXPECT_FLOAT_EQ(frequency(2), 55.25f);
  EXPECT_EQ(rowNumbers()[0], 1);
  EXPECT_EQ(rowFrequencies()[0], "61.25");
  press("PAGEDOWN_BUTTON");
  EXPECT_FLOAT_EQ(frequency(68), 61.25f) << "to the last row";
  EXPECT_EQ(rowNumbers().back(), 68);
  press("PAGEUP_BUTTON");
  EXPECT_FLOAT_EQ(frequency(1), 61.25f) << "and back to the first";
  press("DOWN_BUTTON");
  EXPECT_FLOAT_EQ(frequency(2), 61.25f);
  ASSERT_EQ(list().GetNextItem(-1, LVNI_SELECTED), 1);

  const std::vector<std::string> before = rowFrequencies();
  press("MOVEDOWN_BUTTON");
  press("MOVEDOWN_BUTTON");
  EXPECT_EQ(list().GetNextItem(-1, LVNI_SELECTED), 3);
  press("MOVEUP_BUTTON");
  EXPECT_EQ(list().GetNextItem(-1, LVNI_SELECTED), 2);
  EXPECT_EQ(rowFrequencies(), before) << "moving the selection moves no channel";
}

TEST_F(ChannelListEditTest, ADoubleClickOnTheNumberTunesTheChannel) {
  robot.doubleClick(cell(5, 2));
  EXPECT_EQ(tuned(), 6);
  EXPECT_EQ(g_pChannelList->GetCurrentChannel(1), 6);
}

// A country of PAL_I, whose channels fine-tune 3.5 MHz either way in 16 steps.
class FineTuningTest : public ChannelListEditTest {
 protected:
  void SetUp() override {
    openTV();
    ASSERT_EQ(g_pAppController->SetCountryFromList(44), 1);
    robot.advance(1000);
    clickButton(*launcher->GetTVDlg(), "CHANNEL_BUTTON");
    ASSERT_NE(g_pChannelDlg, nullptr);
    ASSERT_EQ(rowFrequencies().front(), "471.25");
    selectRow(0);
  }
  float frequency(int number) { return stored(number, 2).Frequency; }
};

TEST_F(FineTuningTest, EachReleaseMovesTheChannelWithinTheSpanAroundItsFrequency) {
  g_pAppController->RetuneCurrentChannel();
  const long long atChannel = oscillatorHz();
  release(8);
  EXPECT_FLOAT_EQ(frequency(1), 473.0f) << "8 steps of 3.5 / 16 MHz";
  EXPECT_EQ(rowFrequencies()[0], "473.00");
  EXPECT_EQ(label("Slider_Static"), "8");
  EXPECT_EQ(tuned(), 1);
  EXPECT_EQ(oscillatorHz() - atChannel, 1750000) << "tuned there";
  release(0);
  EXPECT_FLOAT_EQ(frequency(1), 471.25f) << "back where it was";
  EXPECT_EQ(oscillatorHz(), atChannel);
  release(0);
  EXPECT_FLOAT_EQ(frequency(1), 471.25f) << "the same position again changes nothing";
  EXPECT_EQ(label("Slider_Static"), "0");
  release(16);
  EXPECT_FLOAT_EQ(frequency(1), 474.75f);
  release(-16);
  EXPECT_FLOAT_EQ(frequency(1), 467.75f);
}

TEST_F(FineTuningTest, APositionBeyondEitherEndResetsTheSliderAndChangesNothing) {
  release(4);
  ASSERT_FLOAT_EQ(frequency(1), 472.125f);
  for (int beyond : {17, -17}) {
    release(beyond);
    EXPECT_FLOAT_EQ(frequency(1), 472.125f) << beyond;
    EXPECT_EQ(channels().GetFineTuneSlider()->GetPos(), 0);
    EXPECT_EQ(label("Slider_Static"), "0");
  }
}

TEST_F(FineTuningTest, TheSliderDraggedToItsEndRaisesTheChannelByTheSpan) {
  CSkinSlider& slider = *channels().GetFineTuneSlider();
  CRect track;
  slider.GetWindowRect(&track);
  robot.drag(POINT{track.CenterPoint().x, track.CenterPoint().y}, POINT{track.right + 40, track.CenterPoint().y});
  EXPECT_EQ(slider.GetPos(), 16);
  EXPECT_FLOAT_EQ(frequency(1), 474.75f);
  EXPECT_EQ(label("Slider_Static"), "16");
}

// Release positions that arrive without a drag in between (a key step, say) each apply
// only what they moved since the one before.
TEST_F(FineTuningTest, ReleasesWithoutADragBetweenDoNotAddUp) {
  release(1);
  release(2);
  EXPECT_FLOAT_EQ(frequency(1), 471.25f + 2 * 3.5f / 16);
}

TEST_F(FineTuningTest, ANewRowPutsTheSliderBackToNoughtAndChangesNoFrequency) {
  release(8);
  const std::vector<std::string> before = rowFrequencies();
  selectRow(3);
  EXPECT_EQ(channels().GetFineTuneSlider()->GetPos(), 0);
  EXPECT_EQ(label("Slider_Static"), "0");
  EXPECT_EQ(rowFrequencies(), before);
  release(8);
  EXPECT_FLOAT_EQ(frequency(4), 495.25f + 1.75f);
  EXPECT_FLOAT_EQ(frequency(1), 473.0f);
}

TEST_F(FineTuningTest, WithoutASelectionTheChannelOnScreenIsTunedAndACountryWithoutSpanResets) {
  list().SetItemState(0, 0, LVIS_SELECTED);
  g_pChannelList->SetCurrentChannel(3, 2);
  g_pAppController->RetuneCurrentChannel();
  release(8);
  EXPECT_FLOAT_EQ(frequency(3), 487.25f + 1.75f);
  EXPECT_EQ(rowFrequencies()[2], "489.00");
  // A country the frequency table does not know has no span: the slider goes back to 0.
  g_pAppSettings->CountryCode = 999;
  release(12);
  EXPECT_FLOAT_EQ(frequency(3), 489.0f);
  EXPECT_EQ(channels().GetFineTuneSlider()->GetPos(), 0);
}

}  // namespace
