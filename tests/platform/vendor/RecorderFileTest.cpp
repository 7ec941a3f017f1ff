#include "MpegFileProbe.h"
#include "RecorderTest.h"

#include <com/oleauto.h>
#include <dshow/amvideo.h>
#include <machine/StreamActivity.h>
#include <machine/TestPicture.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <support/CaptureDevice.h>
#include <support/Settling.h>

#include <filesystem>

using rectest::ComPtr;
using rectest::MpegFileProbe;

namespace {

// The TV stick with its own sound output, its picture and sound inputs wired to a recorder.
class RecorderFileTest : public rectest::RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    machine().ini().setValue("TVStick", "AudioOut", "1");
    device = test::AddFirstVideoCapture(graph.get());
    ASSERT_TRUE(device);
    recorder = addRecorder();
    ASSERT_TRUE(recorder);
    settings = as<IQnMpegVideoSettings>(recorder.get(), IID_IQnMpegVideoSettings);
    auto& stick = machine().service<plat::TvStickCapture>();
    stick.tuneCarrier(stick.control().broadcast().stations()[1].carrierHz);
    channel = stick.scene().number;
  }
  void TearDown() override {
    settings.reset();
    recorder.reset();
    device.reset();
    RecorderTest::TearDown();
  }

  void capturePicture(const GUID& subtype, LONG width, LONG height) {
    test::SetCapturePicture(device.get(), subtype, width, height, 400000);
  }
  void connect() {
    ASSERT_EQ(graph->ConnectDirect(pin(device.get(), L"Capture").get(), pin(recorder.get(), L"InputVideo").get(), nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(pin(device.get(), L"AudioOut").get(), pin(recorder.get(), L"InputAudio").get(), nullptr), S_OK);
  }
  void nameFile(const wchar_t* name) {
    ASSERT_EQ(as<IFileSinkFilter>(recorder.get(), IID_IFileSinkFilter)->SetFileName(name, nullptr), S_OK);
  }
  LONG frames() {
    LONG count = 0;
    settings->GetEncodedFrames(&count);
    return count;
  }
  // Runs the graph for `ms` of the machine clock, one frame period at a time, the
  // streaming threads settled after each (every picture and sound due encoded); then
  // stops it.
  void record(int ms) {
    auto control = as<IMediaControl>(graph.get(), IID_IMediaControl);
    plat::StreamActivity& streams = plat::StreamActivity::instance();
    ASSERT_EQ(control->Run(), S_OK);
    streams.settle(machine().clock());
    ASSERT_GE(frames(), 1);
    for (int now = 40; now <= ms; now += 40) {
      machine().clock().advance(40);
      streams.settle(machine().clock());
      ASSERT_GE(frames(), now / 40 + 1) << now;
    }
    auto probe = as<IQnMpegRecorderProbe>(recorder.get(), IID_IQnMpegRecorderProbe);
    ComPtr<IPin> sound;
    if (pin(recorder.get(), L"InputAudio")->ConnectedTo(sound.put()) == S_OK) {
      LONG written = 0;
      probe->GetSoundWrittenMs(&written);
      EXPECT_GE(written, ms - 40);
    }
    ASSERT_EQ(control->Stop(), S_OK);
  }
  std::filesystem::path onC(const char* name) { return machine().paths().driveFolder('C') / name; }
  // The picture's background (bottom right, clear of the text and the bar) in the station's colour.
  void expectStationColour(const MpegFileProbe& file) {
    const auto pixel = file.firstPicturePixel(file.video().width - 6, file.video().height - 6);
    const plat::Rgb seen = plat::TestPicture::yuvToRgb(pixel.y, pixel.u, pixel.v);
    const plat::Rgb wanted = plat::TestPicture::stationColour(channel);
    EXPECT_NEAR(seen.r, wanted.r, 16);
    EXPECT_NEAR(seen.g, wanted.g, 16);
    EXPECT_NEAR(seen.b, wanted.b, 16);
  }

  ComPtr<IBaseFilter> device;
  ComPtr<IBaseFilter> recorder;
  ComPtr<IQnMpegVideoSettings> settings;
  int channel = 0;
};

}  // namespace

TEST_F(RecorderFileTest, AnMpeg2RecordingIsAProgramStreamOfTheSetSizeWithMp2Sound) {
  capturePicture(MEDIASUBTYPE_YUY2, 320, 240);
  connect();
  ASSERT_EQ(settings->SetStreamType(2), S_OK);
  ASSERT_EQ(settings->SetVideoBitRate(2000000), S_OK);
  ASSERT_EQ(settings->SetFrameRateCode(3), S_OK);
  ASSERT_EQ(settings->SetPictureSize(352, 288), S_OK);
  nameFile(L"C:\\cap00.mpg");
  record(3000);
  EXPECT_EQ(frames(), 76);  // 0 to 3 s at 25 a second, kept after the stop

  const MpegFileProbe file(onC("cap00.mpg").string());
  ASSERT_TRUE(file.ok());
  EXPECT_EQ(file.container(), "mpeg");
  ASSERT_TRUE(file.video().found);
  EXPECT_EQ(file.video().codec, "mpeg2video");
  EXPECT_EQ(file.video().width, 352);
  EXPECT_EQ(file.video().height, 288);
  EXPECT_EQ(file.video().packets, 76);
  EXPECT_NEAR(file.video().seconds, 3.04, 0.05);
  ASSERT_TRUE(file.audio().found);
  EXPECT_EQ(file.audio().codec, "mp2");
  EXPECT_EQ(file.audio().sampleRate, 44100);
  EXPECT_EQ(file.audio().channels, 2);
  EXPECT_NEAR(file.audio().seconds, 3.0, 0.2);
  expectStationColour(file);
}

TEST_F(RecorderFileTest, AnMpeg1RecordingOfRgbPicturesTakesTheStreamTypesOwnSize) {
  capturePicture(MEDIASUBTYPE_RGB24, 160, 120);
  connect();
  nameFile(L"C:\\rgb.mpg");
  record(1000);

  const MpegFileProbe file(onC("rgb.mpg").string());
  ASSERT_TRUE(file.ok());
  EXPECT_EQ(file.video().codec, "mpeg1video");
  EXPECT_EQ(file.video().width, 320);
  EXPECT_EQ(file.video().height, 240);
  EXPECT_EQ(file.video().packets, 26);
  EXPECT_EQ(file.audio().codec, "mp2");
  EXPECT_NEAR(file.audio().seconds, 1.0, 0.2);
  expectStationColour(file);
}

TEST_F(RecorderFileTest, SettingsWaitForTheStopAndTheNextRunWritesAFreshFile) {
  capturePicture(MEDIASUBTYPE_YUY2, 160, 120);
  connect();
  nameFile(L"C:\\first.mpg");
  auto control = as<IMediaControl>(graph.get(), IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return frames() >= 1; }));
  EXPECT_EQ(settings->SetStreamType(8), VFW_E_WRONG_STATE);
  EXPECT_EQ(settings->SetPictureSize(720, 576), VFW_E_WRONG_STATE);
  EXPECT_EQ(as<IFileSinkFilter>(recorder.get(), IID_IFileSinkFilter)->SetFileName(L"C:\\other.mpg", nullptr),
            VFW_E_WRONG_STATE);
  ASSERT_EQ(control->Stop(), S_OK);
  EXPECT_EQ(MpegFileProbe(onC("first.mpg").string()).video().codec, "mpeg1video");

  ASSERT_EQ(settings->SetStreamType(8), S_OK);
  nameFile(L"C:\\second.mpg");
  record(400);
  EXPECT_EQ(frames(), 11);  // counted afresh
  const MpegFileProbe second(onC("second.mpg").string());
  EXPECT_EQ(second.video().codec, "mpeg2video");
  EXPECT_EQ(second.video().width, 720);  // the DVD size
  EXPECT_EQ(second.video().height, 576);
}

TEST_F(RecorderFileTest, RunningWithoutAUsableFileNameFailsAndWritesNothing) {
  capturePicture(MEDIASUBTYPE_YUY2, 160, 120);
  connect();
  auto control = as<IMediaControl>(graph.get(), IID_IMediaControl);
  EXPECT_TRUE(FAILED(control->Run()));
  control->Stop();
  EXPECT_EQ(frames(), 0);

  nameFile(L"C:\\No Such Folder\\cap00.mpg");
  EXPECT_TRUE(FAILED(control->Run()));
  control->Stop();
  EXPECT_FALSE(std::filesystem::exists(onC("No Such Folder")));

  // A good name afterwards records as usual.
  nameFile(L"C:\\cap00.mpg");
  record(80);
  EXPECT_TRUE(MpegFileProbe(onC("cap00.mpg").string()).video().found);
}
