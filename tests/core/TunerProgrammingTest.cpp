// Tuner programming against the simulated stick: the bytes each channel frequency gives in
// 45.75 MHz and 38 MHz countries, the station the stick then receives and its signal bit,
// the write's retries and waits on the machine clock, the standard lookups, and tuning
// through the channel list.
#include "CChannelListTest.h"

#include "core/data/TunerProgramming.h"

#include <machine/TvStickControl.h>
#include <vendor/qxmdll/QXUSBControl.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using plat::TvStickControl;
using Bytes = std::vector<std::uint8_t>;

class TunerTest : public test::ChannelListTest {
 protected:
  TunerTest() {
    // Stations of a 38 MHz country beside the default region's NTSC ones.
    machine().ini().setValue("Broadcast", "Channel6", "471.25,PAL_B,21,Erste 21,500");
    machine().ini().setValue("Broadcast", "Channel7", "783.25,PAL_D,59,Jiangsu 59,600");
  }
  ~TunerTest() override { closeDevice(); }

  TvStickControl& stick() { return machine().service<TvStickControl>(); }

  void openDevice() {
    g_pDeviceControl = new CQXUSB_Control;
    ASSERT_NE(g_pDeviceControl->OpenControlInterface("Talvik Device Control Filter"), 0);
  }
  void closeDevice() {
    delete g_pDeviceControl;
    g_pDeviceControl = nullptr;
  }

  std::vector<TvStickControl::Write> tunerWrites() {
    std::vector<TvStickControl::Write> writes;
    for (const auto& write : stick().writes()) {
      if (write.kind == TvStickControl::Write::Kind::I2C) writes.push_back(write);
    }
    return writes;
  }
  Bytes lastTunerBytes() {
    const auto writes = tunerWrites();
    return writes.empty() ? Bytes{} : writes.back().data;
  }
  std::string receivedStation() {
    const auto station = stick().tunedStation();
    return station ? station->scene.name : std::string();
  }
};

TEST_F(TunerTest, A4575CountryGetsTheBytesOfEachBand) {
  settings().CountryCode = 1;  // United States, NTSC_M
  openDevice();
  struct Case {
    float mhz;
    Bytes bytes;
    const char* station;
  };
  // Dividers by hand: (55.25 + 45.75) × 16 = 1616, (175.25 + 45.75) × 16 = 3536,
  // (471.25 + 45.75) × 16 = 8272.
  for (const Case& c : {Case{55.25f, {0x06, 0x50, 0xCE, 0x01}, "Metro 2"},
                        Case{175.25f, {0x0D, 0xD0, 0xCE, 0x02}, "Coast 7"},
                        Case{471.25f, {0x20, 0x50, 0xCE, 0x08}, "Harbor 14"}}) {
    TunerTuneFrequency(c.mhz);
    EXPECT_EQ(lastTunerBytes(), c.bytes) << c.mhz;
    EXPECT_EQ(receivedStation(), c.station) << c.mhz;
    EXPECT_EQ(TunerReadSignalLock(), 1) << c.mhz;
  }
  const auto writes = tunerWrites();
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_EQ(writes[0].address, 0xC0);
  EXPECT_EQ(writes[0].subAddress, 0);
  EXPECT_EQ(writes[0].mode, 2);
}

TEST_F(TunerTest, A38CountryGetsItsOwnDividerAndTheSignalFollowsTheBroadcast) {
  settings().CountryCode = 49;  // Germany, PAL_B
  openDevice();
  TunerTuneFrequency(471.25f);
  EXPECT_EQ(lastTunerBytes(), (Bytes{0x1F, 0xD4, 0xCE, 0x08})) << "(471.25 + 38) × 16 = 8148";
  EXPECT_EQ(receivedStation(), "Erste 21");
  EXPECT_EQ(TunerReadSignalLock(), 1);

  TunerTuneFrequency(487.25f);  // E23: nothing on air
  EXPECT_EQ(lastTunerBytes(), (Bytes{0x20, 0xD4, 0xCE, 0x08})) << "8404";
  EXPECT_EQ(TunerReadSignalLock(), 0);

  settings().CountryCode = 86;  // China, PAL_D
  TunerTuneFrequency(783.25f);
  EXPECT_EQ(lastTunerBytes(), (Bytes{0x33, 0x54, 0xCE, 0x08})) << "(783.25 + 38) × 16 = 13140";
  EXPECT_EQ(receivedStation(), "Jiangsu 59");

  settings().CountryCode = 1;  // the same carrier with the NTSC IF misses the PAL station
  TunerTuneFrequency(471.25f);
  EXPECT_EQ(receivedStation(), "Harbor 14");
}

TEST_F(TunerTest, BandEdgesAndTruncation) {
  EXPECT_EQ(TunerBandForFrequency(164.25f), 1);
  EXPECT_EQ(TunerBandForFrequency(164.26f), 2);
  EXPECT_EQ(TunerBandForFrequency(464.25f), 2);
  EXPECT_EQ(TunerBandForFrequency(464.26f), 8);
  EXPECT_EQ(TunerBandForFrequency(45.0f), 1);
  // Just below 55.25 the product is 1615.9999…, which truncates.
  EXPECT_EQ(TunerDivider(std::nextafter(55.25f, 0.0f), 45.75), 1615);
  EXPECT_EQ(TunerDivider(55.25f, 45.75), 1616);
}

TEST_F(TunerTest, AWriteThatSucceedsWaitsOnceAndIsNotRepeated) {
  openDevice();
  EXPECT_EQ(waited([] { TunerWritePll(0x1234, 2); }), 20u);
  const auto writes = tunerWrites();
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].data, (Bytes{0x12, 0x34, 0xCE, 0x02}));
}

TEST_F(TunerTest, AFailingWriteIsTriedThreeTimesThenDropped) {
  openDevice();
  stick().setPlugged(false);
  EXPECT_EQ(waited([] { TunerWritePll(1616, 1); }), 75u);
  EXPECT_TRUE(tunerWrites().empty());
  EXPECT_EQ(TunerReadSignalLock(), 0) << "a failed read is no signal";
}

TEST_F(TunerTest, WithoutTheDeviceControlObjectNothingIsWritten) {
  EXPECT_EQ(waited([] { TunerWritePll(1616, 1); }), 0u);
  EXPECT_TRUE(tunerWrites().empty());
  // Even with a station under the oscillator, the read reports nothing.
  openDevice();
  settings().CountryCode = 1;
  TunerTuneFrequency(55.25f);
  ASSERT_TRUE(stick().hasSignal());
  closeDevice();
  EXPECT_EQ(TunerReadSignalLock(), 0);
}

TEST_F(TunerTest, OnlyBitThreeOfTheStatusCountsAsSignal) {
  settings().CountryCode = 1;
  openDevice();
  TunerTuneFrequency(55.25f);
  ASSERT_EQ(g_pDeviceControl->SetRegData(0xC037, 0xF7), 0);
  EXPECT_EQ(TunerReadSignalLock(), 1) << "0xFF";
  TunerTuneFrequency(60.0f);
  ASSERT_EQ(g_pDeviceControl->SetRegData(0xC037, 0xFF), 0);
  EXPECT_EQ(TunerReadSignalLock(), 0) << "0xF7";
  ASSERT_EQ(g_pDeviceControl->SetRegData(0xC037, 0x00), 0);
  TunerTuneFrequency(55.25f);
  EXPECT_EQ(TunerReadSignalLock(), 1) << "0x08";
}

TEST_F(TunerTest, TheIfFollowsTheStandardNotTheLineFamily) {
  EXPECT_EQ(IsIf38Standard("NTSC_M"), 0);
  EXPECT_EQ(IsIf38Standard("NTSC_433"), 0);
  EXPECT_EQ(IsIf38Standard("PAL_M"), 0);
  EXPECT_EQ(IsIf38Standard("PAL_N"), 0);
  EXPECT_EQ(IsIf38Standard("ntsc_m"), 1) << "case counts";
  EXPECT_EQ(IsIf38Standard("NTSC_M_J"), 1);
  EXPECT_EQ(IsIf38Standard(""), 1);
  EXPECT_EQ(IsIf38Standard(nullptr), 1);
  EXPECT_EQ(CountryUsesIf38(81), 1) << "Japan, NTSC_M_J";
  EXPECT_EQ(GetCountryStandardCode(81), 4);
  EXPECT_EQ(CountryUsesIf38(54), 0) << "Argentina, PAL_N";
  EXPECT_EQ(GetCountryStandardCode(54), 3);
  EXPECT_EQ(CountryUsesIf38(55), 0) << "Brazil, PAL_M";
  EXPECT_EQ(CountryUsesIf38(999), 1) << "no table";
  settings().CountryCode = 54;
  EXPECT_EQ(CurrentCountryUsesIf38(), 0);
  settings().CountryCode = 86;
  EXPECT_EQ(CurrentCountryUsesIf38(), 1) << "read afresh each time";
}

TEST_F(TunerTest, StandardNamesAreCopiedBoundedAndOnlyForKnownCountries) {
  char name[kStandardNameSize] = "untouched";
  EXPECT_EQ(GetCountryStandardName(999, name, sizeof name), 0);
  EXPECT_STREQ(name, "untouched");
  EXPECT_EQ(GetCountryStandardName(81, name, sizeof name), 1);
  EXPECT_STREQ(name, "NTSC_M_J");
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetCountryStandardName(81, small, sizeof small), 1);
  EXPECT_STREQ(small, "NTS") << "cut and terminated, never overrun";
  EXPECT_EQ(GetCountryStandardName(33, name, sizeof name), 1);
  EXPECT_STREQ(name, "SECAM_L");
}

TEST_F(TunerTest, LineFamiliesAndFineTuneSpans) {
  for (const char* name : {"PAL_D", "PAL_B", "PAL_H", "PAL_I", "PAL_N", "PAL_60", "PAL_N_COMBO", "SECAM_B", "SECAM_D",
                           "SECAM_G", "SECAM_H", "SECAM_K", "SECAM_K1", "SECAM_L", "SECAM_L1"})
    EXPECT_EQ(GetStandardFamilyCode(name), 3) << name;
  for (const char* name : {"NTSC_M", "NTSC_M_J", "NTSC_433", "PAL_M"}) EXPECT_EQ(GetStandardFamilyCode(name), 4) << name;
  EXPECT_EQ(GetStandardFamilyCode("PAL"), -1);
  EXPECT_EQ(GetStandardFamilyCode(nullptr), -1);

  EXPECT_EQ(GetFineTuneSpanForStandard("NTSC_M_J"), 3.0);
  EXPECT_EQ(GetFineTuneSpanForStandard("PAL_N"), 3.0);
  EXPECT_EQ(GetFineTuneSpanForStandard("PAL_I"), 3.5);
  EXPECT_EQ(GetFineTuneSpanForStandard("SECAM_K1"), 4.0);
  EXPECT_EQ(GetFineTuneSpanForStandard("SECAM_K"), 0.0);
  EXPECT_EQ(GetFineTuneSpan(44), 3.5) << "United Kingdom, PAL_I";
  EXPECT_EQ(GetFineTuneSpan(7), 4.0) << "Russia, SECAM_D";
  EXPECT_EQ(GetFineTuneSpan(999), 0.0);

  EXPECT_EQ(GetCountryStandardCode(999), -1);
  settings().CountryCode = 1;
  EXPECT_EQ(GetCurrentCountryStandardCode(), 4);
}

TEST(TunerWithoutSettings, TheCurrentCountryHasNoStandardCode) {
  ASSERT_EQ(g_pAppSettings, nullptr);
  EXPECT_EQ(GetCurrentCountryStandardCode(), -1);
}

TEST_F(TunerTest, ChannelListTuningProgramsTheTuner) {
  settings().CountryCode = 49;
  openDevice();
  ASSERT_EQ(channels.AddChannel(1, test::NewRecord(21, "Erste", 471.25f, 0, "PAL_B")), 1);
  ASSERT_EQ(channels.AddChannel(1, test::NewRecord(4, "Low", 62.25f, 0, "PAL_B")), 1);
  ASSERT_EQ(channels.TuneChannel(21, 1), 1);
  EXPECT_EQ(lastTunerBytes(), (Bytes{0x1F, 0xD4, 0xCE, 0x08}));
  EXPECT_EQ(TunerReadSignalLock(), 1);
  ASSERT_EQ(channels.TuneChannel(4, 1), 1);
  EXPECT_EQ(lastTunerBytes(), (Bytes{0x06, 0x44, 0xCE, 0x01})) << "(62.25 + 38) × 16 = 1604";
  ASSERT_EQ(channels.TunePreviousChannel(), 1);
  EXPECT_EQ(receivedStation(), "Erste 21");
  // Plan entry 12 of the German antenna plan is E21, 471250000 Hz. In single precision
  // that is 471.24997 MHz, so the truncated divider lands one step (62.5 kHz) low; the
  // station is still received.
  ASSERT_EQ(channels.TuneNumber(12, 1), 1);
  EXPECT_EQ(lastTunerBytes(), (Bytes{0x1F, 0xD3, 0xCE, 0x08}));
  EXPECT_EQ(receivedStation(), "Erste 21");
  EXPECT_EQ(tunerWrites().size(), 4u);
}

}  // namespace
