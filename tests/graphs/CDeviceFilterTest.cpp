// The device wrappers on the simulated PC: the sound card's capture device with its mixer
// lines and capture format, and the TV stick's video capture device with or without its
// sound pin.
#include "GraphsTest.h"

#include "graphs/CDeviceFilter.h"
#include "graphs/CVideoDeviceFilter.h"
#include "graphs/DeviceUtilities.h"

#include <machine/CaptureAudio.h>
#include <machine/TvStickControl.h>

#include <memory>

namespace {

using plat::ComPtr;

// Reaches the capture-format step on a pin the test prepared.
class CTestDeviceFilter : public CDeviceFilter {
 public:
  using CDeviceFilter::CDeviceFilter;
  using CDeviceFilter::SetAudioFormat;
};

class CDeviceFilterTest : public test::GraphsTest {
 protected:
  static WAVEFORMATEX formatOf(IPin* capture) {
    ComPtr<IAMStreamConfig> config;
    EXPECT_EQ(capture->QueryInterface(IID_IAMStreamConfig, config.putVoid()), S_OK);
    AM_MEDIA_TYPE* type = nullptr;
    EXPECT_EQ(config->GetFormat(&type), S_OK);
    WAVEFORMATEX wave = *reinterpret_cast<WAVEFORMATEX*>(type->pbFormat);
    DeleteMediaType(type);
    return wave;
  }
  plat::CaptureAudio& card() { return machine().service<plat::CaptureAudio>(); }
};

TEST_F(CDeviceFilterTest, TheAudioDeviceJoinsUnderItsGraphNameWithItsInputLinesInOrder) {
  CDeviceFilter device(graph.get(), "Audio Volume Control", "Audio Capture");
  EXPECT_EQ(device.GetPinCount(), 0);
  ASSERT_TRUE(device.Open(0));
  EXPECT_EQ(names(), std::vector<std::wstring>{L"Audio Capture"});
  ASSERT_EQ(device.GetPinCount(), 3);
  EXPECT_STREQ(device.GetPinName(0), "Line In");
  EXPECT_STREQ(device.GetPinName(1), "Microphone");
  EXPECT_STREQ(device.GetPinName(2), "CD Audio");
  EXPECT_STREQ(device.GetPinName(-1), "");
  EXPECT_STREQ(device.GetPinName(3), "");
}

TEST_F(CDeviceFilterTest, OpeningSetsStereoPcmAndSuggests80MillisecondBuffers) {
  CDeviceFilter device(graph.get(), "Audio Volume Control", "Audio Capture");
  ASSERT_TRUE(device.Open(0));
  IPin* capture = device.FindPin(FALSE, nullptr);
  ASSERT_NE(capture, nullptr);
  const WAVEFORMATEX wave = formatOf(capture);
  EXPECT_EQ(wave.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(wave.nChannels, 2);
  EXPECT_EQ(wave.wBitsPerSample, 16);
  EXPECT_EQ(wave.nBlockAlign, 4);
  EXPECT_EQ(wave.nSamplesPerSec, 44100u);
  EXPECT_EQ(wave.nAvgBytesPerSec, 176400u);
  // The suggestion shows in the buffers the pin takes once connected.
  ComPtr<IBaseFilter> renderer = add(CLSID_DSoundRender, L"Renderer");
  ASSERT_EQ(graph->Connect(capture, pin(renderer.get(), L"Audio Input pin (rendered)").get()), S_OK);
  ComPtr<IAMBufferNegotiation> buffers;
  ASSERT_EQ(capture->QueryInterface(IID_IAMBufferNegotiation, buffers.putVoid()), S_OK);
  ALLOCATOR_PROPERTIES props{};
  ASSERT_EQ(buffers->GetAllocatorProperties(&props), S_OK);
  EXPECT_EQ(props.cBuffers, 6);
  EXPECT_EQ(props.cbBuffer, 176400 * 80 / 1000);
  EXPECT_EQ(props.cbAlign, 4);
}

TEST_F(CDeviceFilterTest, AMonoDefaultBecomesAConsistentStereoFormat) {
  ComPtr<IBaseFilter> filter;
  ASSERT_TRUE(FindAudioCaptureDevice("Audio Volume Control", filter.put()));
  ComPtr<IPin> capture = pin(filter.get(), L"Capture");
  ComPtr<IAMStreamConfig> config;
  ASSERT_EQ(capture->QueryInterface(IID_IAMStreamConfig, config.putVoid()), S_OK);
  AM_MEDIA_TYPE* type = nullptr;
  ASSERT_EQ(config->GetFormat(&type), S_OK);
  auto* mono = reinterpret_cast<WAVEFORMATEX*>(type->pbFormat);
  mono->nChannels = 1;
  mono->nSamplesPerSec = 22050;
  mono->nBlockAlign = 2;
  mono->nAvgBytesPerSec = 44100;
  ASSERT_EQ(config->SetFormat(type), S_OK);
  DeleteMediaType(type);

  CTestDeviceFilter device(graph.get(), "Audio Volume Control", "Audio Capture");
  device.SetAudioFormat(capture.get());
  const WAVEFORMATEX wave = formatOf(capture.get());
  EXPECT_EQ(wave.nChannels, 2);
  EXPECT_EQ(wave.nSamplesPerSec, 22050u);
  EXPECT_EQ(wave.nAvgBytesPerSec, 88200u) << "the byte rate follows the new block size";
}

TEST_F(CDeviceFilterTest, EnablingALineChoosesItWithAutomaticGainAndIgnoresIndicesOutside) {
  CDeviceFilter device(graph.get(), "Audio Volume Control", "Audio Capture");
  device.EnableLine(1);
  EXPECT_FALSE(card().lineEnabled(1)) << "no filter, no lines";
  ASSERT_TRUE(device.Open(0));
  device.EnableLine(1);
  EXPECT_TRUE(card().lineEnabled(1));
  EXPECT_EQ(card().mixLevel(1), -1.0);
  device.EnableLine(-1);
  device.EnableLine(3);
  EXPECT_TRUE(card().lineEnabled(1));
  EXPECT_FALSE(card().lineEnabled(0));
  EXPECT_FALSE(card().lineEnabled(2));
}

TEST_F(CDeviceFilterTest, ADeviceOpenedTwiceKeepsItsFirstFilter) {
  CDeviceFilter audio(graph.get(), "Audio Volume Control", "Audio Capture");
  ASSERT_TRUE(audio.Open(0));
  IBaseFilter* first = audio.GetFilter();
  ASSERT_TRUE(audio.Open(0));
  EXPECT_EQ(audio.GetFilter(), first);
  CVideoDeviceFilter video(graph.get(), "USB TV Device", "Video Capture");
  ASSERT_TRUE(video.Open(0));
  first = video.GetFilter();
  ASSERT_TRUE(video.Open(0));
  EXPECT_EQ(video.GetFilter(), first);
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"Audio Capture", L"Video Capture"}));
}

TEST_F(CDeviceFilterTest, MissingDevicesOrGraphsOpenNothing) {
  CDeviceFilter noGraph(nullptr, "Audio Volume Control", "Audio Capture");
  EXPECT_FALSE(noGraph.Open(0));
  CDeviceFilter second(graph.get(), "Audio Volume Control", "Audio Capture");
  EXPECT_FALSE(second.Open(2)) << "one such device only";
  EXPECT_EQ(second.GetFilter(), nullptr);
  CVideoDeviceFilter webcam(graph.get(), "Webcam", "Video Capture");
  EXPECT_FALSE(webcam.Open(0));
  CVideoDeviceFilter videoNoGraph(nullptr, "USB TV Device", "Video Capture");
  EXPECT_FALSE(videoNoGraph.Open(0));
  machine().service<plat::TvStickControl>().setPlugged(false);
  CVideoDeviceFilter unplugged(graph.get(), "USB TV Device", "Video Capture");
  EXPECT_FALSE(unplugged.Open(0));
  EXPECT_EQ(unplugged.GetFilter(), nullptr);
  EXPECT_FALSE(unplugged.HasAudioPin());
  EXPECT_TRUE(names().empty());
}

TEST_F(CDeviceFilterTest, AStickWithoutSoundPinHasNoAudioPin) {
  CVideoDeviceFilter video(graph.get(), "usb tv", "Video Capture");
  ASSERT_TRUE(video.Open(0));
  EXPECT_EQ(names(), std::vector<std::wstring>{L"Video Capture"});
  EXPECT_FALSE(video.HasAudioPin());
  EXPECT_EQ(video.GetAudioPin(), nullptr);
}

TEST_F(CDeviceFilterTest, AStickWithSoundKeepsItsAudioOutPin) {
  machine().ini().setValue("TVStick", "AudioOut", "1");
  auto video = std::make_unique<CVideoDeviceFilter>(graph.get(), "USB TV Device", "Video Capture");
  ASSERT_TRUE(video->Open(0));
  ASSERT_TRUE(video->HasAudioPin());
  ASSERT_NE(video->GetAudioPin(), nullptr);
  ComPtr<IPin> audio = pin(video->GetFilter(), L"AudioOut");
  EXPECT_EQ(video->GetAudioPin(), audio.get());
  // The wrapper lets go of the pin, the filter and its place in the graph, and no more:
  // the test's reference is the one left (a pin counts on its filter's count).
  video.reset();
  EXPECT_EQ((audio->AddRef(), audio->Release()), 1u);
  EXPECT_TRUE(names().empty());
}

}  // namespace
