// The country and the tuner plan in the channel window: the region and list radios, a
// country picked from the box (its code from the frequency-table library, its plans as
// the rows), the region's country back, and the antenna and cable plans in turn.
#include "windows/ChannelWindowTest.h"

#include "core/data/CAppSettings.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinComboBox.h"
#include "skin/CSkinLabel.h"
#include "skin/CSkinRadioButton.h"
#include "windows/main/CMainDlg.h"

namespace {

class ChannelCountryTest : public test::ChannelWindowTest {
 protected:
  void SetUp() override { openChannels(); }
  CSkinComboBox& combo() { return *channels().GetCountryCombo(); }
  void click(CWnd* control) {
    robot.click(control->GetSafeHwnd());
    robot.pumpUntilIdle();
  }
  // The box dropped with its arrow and the entry `steps` away from the chosen one taken.
  void chooseCountry(int steps) {
    const CRect arrow = combo().GetArrowRect();
    POINT point{arrow.CenterPoint().x, arrow.CenterPoint().y};
    ClientToScreen(combo().GetSafeHwnd(), &point);
    robot.click(point);
    ASSERT_TRUE(combo().GetDroppedState());
    for (int i = 0; i < std::abs(steps); ++i) robot.key(steps < 0 ? VK_UP : VK_DOWN);
    robot.key(VK_RETURN);
    robot.pumpUntilIdle();
  }
  int countryIndex(const char* name) {
    CStringArray names;
    g_pAppController->CopyCountryNames(names);
    for (int i = 0; i < names.GetSize(); ++i)
      if (names.GetAt(i) == name) return i;
    return -1;
  }
};

TEST_F(ChannelCountryTest, AChoiceFromTheListChangesTheCountryAndItsPlans) {
  click(channels().GetListRadio());
  EXPECT_TRUE(channels().GetListRadio()->GetCheck());
  EXPECT_FALSE(channels().GetRegionRadio()->GetCheck());
  EXPECT_EQ(g_pAppSettings->FollowRegionCountry, 0);
  EXPECT_TRUE(combo().IsWindowVisible());
  EXPECT_FALSE(channels().FindLabel("Country_Static")->IsWindowVisible());
  EXPECT_TRUE(enabled("CountryLeft_Button"));
  EXPECT_TRUE(enabled("CountryRight_Button"));

  // The United Kingdom sits just before the United States.
  chooseCountry(countryIndex("United Kingdom") - countryIndex("United States"));
  EXPECT_EQ(g_pAppSettings->CountryCode, 44);
  EXPECT_EQ(label("CountryCode_Static"), "44");
  EXPECT_EQ(label("Country_Static"), "United Kingdom");
  EXPECT_FALSE(enabled("CountryLeft_Button"));
  // Its cable plan is the UHF channels 21 to 69: 49 rows from 471.25 MHz.
  ASSERT_EQ(rowNumbers().size(), 49u);
  EXPECT_EQ(rowFrequencies().front(), "471.25");
  EXPECT_EQ(rowFrequencies().back(), "855.25");
  EXPECT_EQ(listNumbers(2).size(), 49u);

  // The same country again changes nothing.
  const std::size_t writes = tunerWrites();
  chooseCountry(0);
  EXPECT_EQ(g_pAppSettings->CountryCode, 44);
  EXPECT_EQ(tunerWrites(), writes);
}

TEST_F(ChannelCountryTest, TheRegionRadioBringsTheRegionsCountryBackAndStaysOnWhenClickedAgain) {
  click(channels().GetListRadio());
  chooseCountry(countryIndex("Germany") - countryIndex("United States"));
  ASSERT_EQ(g_pAppSettings->CountryCode, 49);
  click(channels().GetRegionRadio());
  EXPECT_EQ(g_pAppSettings->FollowRegionCountry, 1);
  EXPECT_EQ(g_pAppSettings->CountryCode, 1) << "the machine's region is the United States";
  EXPECT_EQ(label("Country_Static"), "United States");
  EXPECT_TRUE(channels().FindLabel("Country_Static")->IsWindowVisible());
  EXPECT_FALSE(combo().IsWindowVisible());
  EXPECT_EQ(rowFrequencies().front(), "73.25") << "the United States' cable plan";
  click(channels().GetRegionRadio());
  EXPECT_EQ(g_pAppSettings->FollowRegionCountry, 1);
  EXPECT_TRUE(channels().GetRegionRadio()->GetCheck());
  EXPECT_FALSE(enabled("CountryRight_Button"));
}

TEST_F(ChannelCountryTest, AntennaAndCableInTurnWithTheirCurrentChannelTuned) {
  g_pChannelList->SetCurrentChannel(3, 1);
  press("LEFT_BUTTON");
  EXPECT_EQ(label("Source_Static"), "Antenna");
  EXPECT_EQ(g_pAppSettings->TunerSource, 1);
  EXPECT_EQ(g_pAppSettings->VideoInput, 1);
  EXPECT_EQ(rowNumbers().size(), 68u);
  EXPECT_EQ(rowFrequencies().front(), "55.25");
  EXPECT_EQ(tunedStation(), "Valley 4") << "channel 3 of the antenna plan, 67.25 MHz";
  press("RIGHT_BUTTON");
  EXPECT_EQ(label("Source_Static"), "Cable");
  EXPECT_EQ(g_pAppSettings->TunerSource, 2);
  EXPECT_EQ(rowFrequencies().front(), "73.25");
  EXPECT_EQ(g_pChannelList->GetCurrentChannel(2), g_pTunedChannelRecord->ChannelNumber);
}

TEST_F(ChannelCountryTest, ThePlanShowsItsChannelsInNumberOrderWithoutGaps) {
  g_pChannelList->ClearList(2);
  for (int number : {5, 1, 2}) {
    ChannelRecord record{};
    record.ChannelNumber = number;
    std::snprintf(record.ChannelName, sizeof record.ChannelName, "Channel%d", number);
    record.Frequency = 100.0f + number;
    g_pChannelList->AddChannel(2, new ChannelRecord(record));
  }
  press("LEFT_BUTTON");
  press("RIGHT_BUTTON");
  EXPECT_EQ(rowNumbers(), (std::vector<int>{1, 2, 5}));
}

}  // namespace
