// The broadcast the TV stick receives, from machine.ini: the default region's channel
// plan, custom sections, lines that do not parse, and the tuning tolerance.
#include <support/TestMachine.h>

#include <machine/Broadcast.h>
#include <machine/IniDocument.h>

#include <algorithm>

namespace {

TEST(QxmdllBroadcastTest, TheDefaultMachineReceivesTheUnitedStatesPlan) {
  plat::IniDocument ini(plat::defaultMachineIni());
  EXPECT_EQ(ini.valueOr("Windows", "RegionCountry", ""), "1");
  plat::Broadcast broadcast(ini);
  EXPECT_DOUBLE_EQ(broadcast.intermediateFrequencyMhz(), 45.75);
  ASSERT_EQ(broadcast.channels().size(), 68u);  // channels 2 to 69
  const auto& first = broadcast.channels().front();
  EXPECT_EQ(first.label, "CH2");
  EXPECT_DOUBLE_EQ(first.mhz, 55.25);
  EXPECT_EQ(first.standard, "NTSC_M");
  EXPECT_DOUBLE_EQ(broadcast.channels()[3].mhz, 77.25);   // channel 5
  EXPECT_DOUBLE_EQ(broadcast.channels()[5].mhz, 175.25);  // channel 7
  EXPECT_DOUBLE_EQ(broadcast.channels()[12].mhz, 471.25);  // channel 14
  EXPECT_DOUBLE_EQ(broadcast.channels().back().mhz, 801.25);  // channel 69
  auto onAir = std::count_if(broadcast.channels().begin(), broadcast.channels().end(),
                             [](const plat::Broadcast::Channel& c) { return c.onAir; });
  EXPECT_EQ(onAir, 5);
  ASSERT_TRUE(broadcast.channelAt(175.25).has_value());
  EXPECT_EQ(broadcast.channelAt(175.25)->name, "Coast 7");
}

TEST(QxmdllBroadcastTest, ACustomSectionSkipsLinesThatDoNotParse) {
  plat::IniDocument ini(
      "[Broadcast]\n"
      "IF=38.9\n"
      "E5=175.25,PAL_B,Erste,1\n"
      "E6=182.25,PAL_B,Zweite,0\n"
      "bad1=not a number,PAL_B,X,1\n"
      "bad2=189.25,PAL_B,Y\n"
      "bad3=196.25,PAL_B,Z,yes\n"
      "bad4=-5,PAL_B,Z,1\n");
  plat::Broadcast broadcast(ini);
  EXPECT_DOUBLE_EQ(broadcast.intermediateFrequencyMhz(), 38.9);
  ASSERT_EQ(broadcast.channels().size(), 2u);
  EXPECT_EQ(broadcast.channels()[0].name, "Erste");
  EXPECT_FALSE(broadcast.channels()[1].onAir);
  EXPECT_FALSE(broadcast.hasSignalAt(182.25));
}

TEST(QxmdllBroadcastTest, ATunerLocksWithinTheToleranceOnly) {
  plat::Broadcast broadcast(plat::IniDocument("[Broadcast]\nCH2=55.25,NTSC_M,Metro,1\n"));
  EXPECT_DOUBLE_EQ(broadcast.intermediateFrequencyMhz(), 45.75);  // the default IF
  EXPECT_TRUE(broadcast.hasSignalAt(55.25));
  EXPECT_TRUE(broadcast.hasSignalAt(55.25 - 0.0625));  // one divider step low
  EXPECT_TRUE(broadcast.hasSignalAt(55.25 + plat::Broadcast::kToleranceMhz));
  EXPECT_FALSE(broadcast.hasSignalAt(55.25 + 0.5));
  EXPECT_FALSE(broadcast.hasSignalAt(55.25 - 7.75));  // tuned with the other region's IF
}

TEST(QxmdllBroadcastTest, AnEmptySectionHasNoChannels) {
  plat::Broadcast broadcast(plat::IniDocument("[Windows]\nRegionCountry=1\n"));
  EXPECT_TRUE(broadcast.channels().empty());
  EXPECT_FALSE(broadcast.hasSignalAt(55.25));
}

}  // namespace
