#include <machine/CaptureAudio.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>

#include <support/TestMachine.h>

#include <gtest/gtest.h>

using plat::Scene;
using plat::TvStickCapture;
using plat::TvStickControl;

namespace {
class TvStickCaptureTest : public test::MachineTest {
 protected:
  TvStickCapture& stick() { return machine().service<TvStickCapture>(); }
  TvStickControl& control() { return machine().service<TvStickControl>(); }
};
}  // namespace

TEST_F(TvStickCaptureTest, TuningAStationShowsItAndRaisesTheSignalBit) {
  EXPECT_EQ(stick().scene().kind, Scene::Kind::Snow);
  EXPECT_FALSE(stick().signalPresent());
  const auto& stations = control().broadcast().stations();
  ASSERT_GE(stations.size(), 2u);
  ASSERT_TRUE(stick().tuneCarrier(stations[1].carrierHz));
  EXPECT_EQ(stick().scene().number, stations[1].scene.number);
  EXPECT_EQ(stick().tunedCarrier(), stations[1].carrierHz);
  std::uint8_t status = 0;
  ASSERT_TRUE(control().readRegisters(TvStickControl::kDecoderStatusRegister, &status, 1));
  EXPECT_TRUE(status & TvStickControl::kSignalBit);

  // The control side's own tuning (an I2C write between channels) changes the picture.
  const std::uint8_t between[4] = {0x10, 0x00, 0xCE, 0x02};
  ASSERT_TRUE(control().writeI2C(TvStickControl::kTunerAddress, 0, 2, between, 4));
  EXPECT_EQ(stick().scene().kind, Scene::Kind::Snow);
  EXPECT_EQ(stick().scene().toneHz, 0.0);
}

TEST_F(TvStickCaptureTest, ExternalInputsShowTheirSourcesWithTheirStandard) {
  stick().setInput(TvStickCapture::Input::Composite);
  EXPECT_EQ(stick().scene().kind, Scene::Kind::External);
  EXPECT_EQ(stick().scene().name, "Camcorder");
  stick().setDecoderStandard(0x20);
  EXPECT_EQ(stick().detectedStandard(), 0x1);  // the camcorder's NTSC_M, not the decoder's setting
  stick().setInput(TvStickCapture::Input::SVideo);
  EXPECT_FALSE(stick().signalPresent());
  stick().setExternalSource(TvStickCapture::Input::SVideo, Scene{Scene::Kind::External, 0, "DVD", "SECAM_B", 300});
  EXPECT_EQ(stick().detectedStandard(), 0x1000);
  stick().setInput(TvStickCapture::Input::Tuner);
  EXPECT_EQ(stick().detectedStandard(), 0x20);
}

TEST_F(TvStickCaptureTest, UnpluggedShowsSnow) {
  stick().tuneCarrier(control().broadcast().stations()[0].carrierHz);
  ASSERT_TRUE(stick().signalPresent());
  control().setPlugged(false);
  EXPECT_FALSE(stick().present());
  EXPECT_EQ(stick().scene().kind, Scene::Kind::Snow);
  stick().setInput(TvStickCapture::Input::Composite);
  EXPECT_FALSE(stick().signalPresent());
}

TEST_F(TvStickCaptureTest, PictureControlsStayInsideTheirRanges) {
  const auto range = stick().procAmpRange(0);
  EXPECT_EQ(stick().procAmp(0), range.def);
  EXPECT_TRUE(stick().setProcAmp(0, range.max));
  EXPECT_FALSE(stick().setProcAmp(0, range.max + 1));
  EXPECT_FALSE(stick().setProcAmp(0, range.min - 1));
  EXPECT_EQ(stick().procAmp(0), range.max);
  EXPECT_FALSE(stick().setProcAmp(7, 0));
}

TEST_F(TvStickCaptureTest, RangesComeFromMachineIni) {
  machine().ini().setValue("TVStick", "ProcAmpHue", "-50,50,5,10");
  machine().ini().setValue("TVStick", "ProcAmpContrast", "9,1,1,1");  // damaged: the default stays
  TvStickCapture stick(machine());
  EXPECT_EQ(stick.procAmpRange(2).min, -50);
  EXPECT_EQ(stick.procAmpRange(2).def, 10);
  EXPECT_EQ(stick.procAmpRange(1).max, 127);
}

TEST_F(TvStickCaptureTest, CaptureAudioRecordsTheStickOnlyThroughItsLine) {
  machine().ini().setValue("AudioCapture", "Lines", "Microphone,Line In");
  plat::CaptureAudio audio(machine());
  ASSERT_EQ(audio.lines().size(), 2u);
  EXPECT_EQ(audio.tvLine(), 1);
  stick().tuneCarrier(control().broadcast().stations()[0].carrierHz);
  EXPECT_EQ(audio.toneHz(stick()), 0.0);  // the microphone is enabled
  audio.setLineEnabled(1, true);
  EXPECT_FALSE(audio.lineEnabled(0));
  EXPECT_EQ(audio.toneHz(stick()), control().broadcast().stations()[0].scene.toneHz);
}
