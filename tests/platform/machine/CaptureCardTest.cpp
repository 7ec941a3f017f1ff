// The PCI capture card: its tuner chip behind I2C address 0xC0 picks the station shown,
// and its GPIO lines carry the remote's code to lines set as inputs.
#include <machine/CaptureCard.h>
#include <support/TestMachine.h>

#include <gtest/gtest.h>

namespace {

class CaptureCardTest : public test::MachineTest {
 protected:
  void SetUp() override {
    machine().ini().setValue("CaptureCard", "Present", "1");
    machine().ini().setValue("Broadcast", "Channel1", "471.25,PAL_B,21,Heron Twenty-One,440");
  }
  plat::CaptureCard& card() { return machine().service<plat::CaptureCard>(); }
};

}  // namespace

TEST_F(CaptureCardTest, TheTunerReceivesTheStationOneIntermediateFrequencyBelowItsOscillator) {
  EXPECT_FALSE(card().signalPresent());
  const std::uint8_t tune[] = {0x1F, 0xE2, 0xCE, 0x08};  // 510.125 MHz
  card().writeI2C(0xC0, tune, 4);
  EXPECT_EQ(card().oscillatorHz(), 510'125'000);
  EXPECT_EQ(card().scene().name, "Heron Twenty-One");
  // Other addresses and lengths are kept in the log only.
  const std::uint8_t other[] = {0x05, 0x8A, 0xCE, 0x01};
  card().writeI2C(0xC2, other, 4);
  card().writeI2C(0xC0, other, 3);
  EXPECT_EQ(card().scene().name, "Heron Twenty-One");
  ASSERT_EQ(card().i2cWrites().size(), 3u);
  EXPECT_EQ(card().i2cWrites()[1].address, 0xC2);
  card().writeI2C(0xC0, other, 4);  // 88.625 MHz: nothing on air there
  EXPECT_EQ(card().scene().kind, plat::Scene::Kind::Snow);
}

TEST_F(CaptureCardTest, OnlyInputLinesReadTheRemotesCode) {
  card().setRemoteCode(0b10011);
  int value = -1;
  ASSERT_TRUE(card().readLine(0, &value));
  EXPECT_EQ(value, 0);  // lines start as outputs
  for (int line = 0; line < 5; ++line) card().setLineDirection(line, 0);
  int code = 0;
  for (int line = 4; line >= 0; --line) {
    ASSERT_TRUE(card().readLine(line, &value));
    code = code << 1 | value;
  }
  EXPECT_EQ(code, 19);
  EXPECT_FALSE(card().readLine(5, &value));
  EXPECT_FALSE(card().readLine(-1, &value));
}

TEST(CaptureCardAbsentTest, AMachineWithoutTheCardShowsNothing) {
  test::TestMachine machine;
  auto& card = machine.machine().service<plat::CaptureCard>();
  EXPECT_FALSE(card.present());
  const std::uint8_t tune[] = {0x1F, 0xE2, 0xCE, 0x08};
  card.writeI2C(0xC0, tune, 4);
  EXPECT_EQ(card.scene().kind, plat::Scene::Kind::Snow);
}
