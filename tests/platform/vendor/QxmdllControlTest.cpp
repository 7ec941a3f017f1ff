// The device control library over the machine's TV stick: opening by the control filter's
// name, registers kept, the tuner set by I2C and the signal bit following the broadcast,
// and every call failing once the stick is gone.
#include <support/TestMachine.h>

#include <machine/TvStickControl.h>
#include <vendor/qxmdll/QXUSBControl.h>

namespace {

constexpr char kFilter[] = "Talvik Device Control Filter";

class QxmdllControlTest : public test::MachineTest {
 protected:
  plat::TvStickControl& stick() { return machine().service<plat::TvStickControl>(); }

  // The 4-byte tuner write for a picture carrier at the broadcast's IF of 45.75 MHz.
  long tune(CQXUSB_Control& control, double mhz, BYTE band = 1) {
    int divider = static_cast<int>((mhz + 45.75) * 16.0);
    BYTE data[4] = {static_cast<BYTE>(divider >> 8), static_cast<BYTE>(divider), 0xCE, band};
    BYTE address = 0xC0;
    WORD subAddress = 0;
    return control.SetI2CData(&address, &subAddress, 2, data, 4);
  }

  int signal(CQXUSB_Control& control) {
    BYTE status = 0;
    if (control.GetRegData(0xC037, &status, 1) < 0) return -1;
    return (status & 0x08) ? 1 : 0;
  }
};

TEST_F(QxmdllControlTest, OpensOnlyAPluggedStickByItsFilterName) {
  CQXUSB_Control control;
  EXPECT_EQ(control.OpenControlInterface("Some Other Filter"), 0);
  EXPECT_EQ(control.OpenControlInterface(nullptr), 0);
  EXPECT_NE(control.OpenControlInterface(kFilter), 0);
  control.CloseControlInterface();

  stick().setPlugged(false);
  EXPECT_EQ(control.OpenControlInterface(kFilter), 0);
}

TEST_F(QxmdllControlTest, TheStickIsAbsentWhenMachineIniSaysSo) {
  machine().ini().setValue("TVStick", "Present", "0");
  CQXUSB_Control control;
  EXPECT_EQ(control.OpenControlInterface(kFilter), 0);
}

TEST_F(QxmdllControlTest, OnlyStationsOfTheBroadcastAreReceived) {
  machine().ini().removeSection("Broadcast");
  machine().ini().setValue("Broadcast", "Channel1", "175.25,PAL_B,5,Erste,440");  // IF 38.0 MHz
  CQXUSB_Control control;
  ASSERT_NE(control.OpenControlInterface(kFilter), 0);
  ASSERT_EQ(tune(control, 55.25), 0);
  EXPECT_EQ(signal(control), 0);
  // 175.25 MHz with the 45.75 MHz IF puts the oscillator 7.75 MHz too high: nothing.
  ASSERT_EQ(tune(control, 175.25), 0);
  EXPECT_EQ(signal(control), 0);
  BYTE data[4] = {0x0D, 0x54, 0xCE, 0x02};  // (175.25 + 38.0) x 16 = 3412
  BYTE address = 0xC0;
  WORD subAddress = 0;
  ASSERT_EQ(control.SetI2CData(&address, &subAddress, 2, data, 4), 0);
  EXPECT_EQ(signal(control), 1);
}

TEST_F(QxmdllControlTest, RegistersKeepWhatWasWritten) {
  CQXUSB_Control control;
  ASSERT_NE(control.OpenControlInterface(kFilter), 0);
  BYTE value = 0x55;
  ASSERT_EQ(control.GetRegData(0xC16F, &value, 1), 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(control.SetRegData(0xC16F, 255), 0);
  ASSERT_EQ(control.GetRegData(0xC16F, &value, 1), 0);
  EXPECT_EQ(value, 255);

  // A second object on the same stick sees the same registers.
  CQXUSB_Control other;
  ASSERT_NE(other.OpenControlInterface(kFilter), 0);
  ASSERT_EQ(other.GetRegData(0xC16F, &value, 1), 0);
  EXPECT_EQ(value, 255);
}

TEST_F(QxmdllControlTest, TheSignalBitFollowsTheTunedChannel) {
  CQXUSB_Control control;
  ASSERT_NE(control.OpenControlInterface(kFilter), 0);
  EXPECT_EQ(signal(control), 0);  // not tuned yet

  ASSERT_EQ(tune(control, 55.25), 0);  // channel 2, on air on the default machine
  EXPECT_EQ(signal(control), 1);
  ASSERT_TRUE(stick().tunedStation().has_value());
  EXPECT_EQ(stick().tunedStation()->scene.number, 2);

  ASSERT_EQ(tune(control, 61.25), 0);  // channel 3, silent
  EXPECT_EQ(signal(control), 0);
  EXPECT_FALSE(stick().tunedStation().has_value());
  ASSERT_EQ(tune(control, 58.0), 0);  // between channels
  EXPECT_EQ(signal(control), 0);
  ASSERT_EQ(tune(control, 471.25, 8), 0);  // channel 14
  EXPECT_EQ(signal(control), 1);
  EXPECT_EQ(stick().tunedStation()->scene.name, "Harbor 14");
}

TEST_F(QxmdllControlTest, TheTunerBytesAreTheDividerAndBand) {
  CQXUSB_Control control;
  ASSERT_NE(control.OpenControlInterface(kFilter), 0);
  BYTE data[4] = {0x06, 0x50, 0xCE, 0x01};  // divider 1616: 101.0 MHz, one IF above 55.25
  BYTE address = 0xC0;
  WORD subAddress = 0;
  ASSERT_EQ(control.SetI2CData(&address, &subAddress, 2, data, 4), 0);
  EXPECT_EQ(stick().oscillatorHz(), 101'000'000);

  std::vector<plat::TvStickControl::Write> writes = stick().writes();
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].kind, plat::TvStickControl::Write::Kind::I2C);
  EXPECT_EQ(writes[0].address, 0xC0);
  EXPECT_EQ(writes[0].mode, 2);
  EXPECT_EQ(writes[0].data, (std::vector<std::uint8_t>{0x06, 0x50, 0xCE, 0x01}));

  // Another device on the bus, or another length, leaves the tuner alone.
  BYTE otherAddress = 0x86;
  ASSERT_EQ(control.SetI2CData(&otherAddress, &subAddress, 2, data, 4), 0);
  BYTE shortData[2] = {0x1F, 0xD4};
  ASSERT_EQ(control.SetI2CData(&address, &subAddress, 2, shortData, 2), 0);
  EXPECT_EQ(stick().oscillatorHz(), 101'000'000);
}

TEST_F(QxmdllControlTest, OtherStatusBitsAreKept) {
  CQXUSB_Control control;
  ASSERT_NE(control.OpenControlInterface(kFilter), 0);
  ASSERT_EQ(control.SetRegData(0xC037, 0xFF), 0);
  BYTE status = 0;
  ASSERT_EQ(control.GetRegData(0xC037, &status, 1), 0);
  EXPECT_EQ(status, 0xF7);  // no signal: bit 3 clear, the rest as written
  ASSERT_EQ(tune(control, 67.25), 0);  // channel 4, on air
  ASSERT_EQ(control.GetRegData(0xC037, &status, 1), 0);
  EXPECT_EQ(status, 0xFF);
  // A read of several registers passes the status in its place.
  BYTE two[2] = {};
  ASSERT_EQ(control.GetRegData(0xC036, two, 2), 0);
  EXPECT_EQ(two[0], 0x00);
  EXPECT_EQ(two[1], 0xFF);
}

TEST_F(QxmdllControlTest, EveryCallFailsWhenNotOpenOrWhenTheStickIsPulled) {
  CQXUSB_Control control;
  BYTE value = 0;
  EXPECT_LT(control.SetRegData(0xC16F, 0), 0);
  EXPECT_LT(control.GetRegData(0xC037, &value, 1), 0);
  EXPECT_LT(tune(control, 55.25), 0);

  ASSERT_NE(control.OpenControlInterface(kFilter), 0);
  ASSERT_EQ(tune(control, 55.25), 0);
  ASSERT_EQ(control.SetRegData(0xC16F, 255), 0);
  stick().setPlugged(false);
  EXPECT_LT(control.SetRegData(0xC16F, 0), 0);
  EXPECT_LT(control.GetRegData(0xC037, &value, 1), 0);
  EXPECT_LT(tune(control, 55.25), 0);
  EXPECT_FALSE(stick().hasSignal());

  // Plugged in again, it starts afresh: registers cleared, tuner unset.
  stick().setPlugged(true);
  ASSERT_EQ(control.GetRegData(0xC16F, &value, 1), 0);
  EXPECT_EQ(value, 0);
  EXPECT_FALSE(stick().oscillatorHz().has_value());

  control.CloseControlInterface();
  EXPECT_LT(control.GetRegData(0xC16F, &value, 1), 0);
}

}  // namespace
