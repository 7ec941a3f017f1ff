#include "CaptureTest.h"

#include <machine/CaptureAudio.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>

using plat::ComPtr;

namespace {
class DeviceControlsTest : public dstest::CaptureTest {};
}  // namespace

TEST_F(DeviceControlsTest, TheTunerTunesChannelsByTheirStations) {
  ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
  ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device.get(), nullptr, nullptr), S_OK);
  ComPtr<IAMTVTuner> tuner;
  ASSERT_EQ(builder->FindInterface(&LOOK_UPSTREAM_ONLY, nullptr, device.get(), IID_IAMTVTuner, tuner.putVoid()), S_OK);
  long low = 0, high = 0;
  ASSERT_EQ(tuner->ChannelMinMax(&low, &high), S_OK);
  EXPECT_EQ(tuner->put_Channel(high + 1, AMTUNER_SUBCHAN_DEFAULT, AMTUNER_SUBCHAN_DEFAULT), E_INVALIDARG);

  const auto& stations = machine().service<plat::TvStickControl>().broadcast().stations();
  const auto& first = stations.front();
  long found = 0;
  ASSERT_EQ(tuner->AutoTune(first.scene.number, &found), S_OK);
  EXPECT_EQ(found, 1);
  long frequency = 0;
  ASSERT_EQ(tuner->get_VideoFrequency(&frequency), S_OK);
  EXPECT_EQ(frequency, first.carrierHz);
  long channel = 0, video = 0, audio = 0;
  ASSERT_EQ(tuner->get_Channel(&channel, &video, &audio), S_OK);
  EXPECT_EQ(channel, first.scene.number);
  EXPECT_EQ(video, AMTUNER_SUBCHAN_DEFAULT);

  // A channel nobody broadcasts on: no signal, snow.
  long empty = low;
  while (empty <= high && std::any_of(stations.begin(), stations.end(), [&](const auto& s) { return s.scene.number == empty; }))
    ++empty;
  ASSERT_EQ(tuner->AutoTune(empty, &found), S_OK);
  EXPECT_EQ(found, 0);
  long strength = 1;
  ASSERT_EQ(tuner->SignalPresent(&strength), S_OK);
  EXPECT_EQ(strength, AMTUNER_NOSIGNAL);
  EXPECT_EQ(machine().service<plat::TvStickCapture>().scene().kind, plat::Scene::Kind::Snow);
}

TEST_F(DeviceControlsTest, TheSoundCardsFormatAndBuffersAreNegotiated) {
  ComPtr<IBaseFilter> audio = addDevice(CLSID_AudioInputDeviceCategory, L"Audio Volume Control");
  ComPtr<IPin> out = pin(audio.get(), L"Capture");
  ComPtr<IAMStreamConfig> config = as<IAMStreamConfig>(out.get(), IID_IAMStreamConfig);
  AM_MEDIA_TYPE* type = nullptr;
  ASSERT_EQ(config->GetFormat(&type), S_OK);
  auto* wave = reinterpret_cast<WAVEFORMATEX*>(type->pbFormat);
  EXPECT_EQ(wave->nChannels, 2);
  EXPECT_EQ(wave->nAvgBytesPerSec, wave->nSamplesPerSec * 4);
  wave->nSamplesPerSec = 22050;
  EXPECT_EQ(config->SetFormat(type), VFW_E_INVALIDMEDIATYPE);  // the byte rate no longer fits
  wave->nAvgBytesPerSec = 22050 * 4;
  ASSERT_EQ(config->SetFormat(type), S_OK);
  DeleteMediaType(type);
  int count = 0, size = 0;
  ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), S_OK);
  EXPECT_EQ(size, static_cast<int>(sizeof(AUDIO_STREAM_CONFIG_CAPS)));

  // Six buffers of 80 ms, as asked, once connected.
  ComPtr<IAMBufferNegotiation> buffers = as<IAMBufferNegotiation>(out.get(), IID_IAMBufferNegotiation);
  const ALLOCATOR_PROPERTIES suggested{6, 22050 * 4 * 80 / 1000, 4, -1};
  ASSERT_EQ(buffers->SuggestAllocatorProperties(&suggested), S_OK);
  ALLOCATOR_PROPERTIES actual{};
  EXPECT_EQ(buffers->GetAllocatorProperties(&actual), VFW_E_NOT_CONNECTED);
  ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, audio.get(), nullptr, nullptr), S_OK);
  ASSERT_EQ(buffers->GetAllocatorProperties(&actual), S_OK);
  EXPECT_EQ(actual.cBuffers, 6);
  EXPECT_EQ(actual.cbBuffer, 7056);
  EXPECT_EQ(buffers->SuggestAllocatorProperties(&suggested), VFW_E_ALREADY_CONNECTED);
}

TEST_F(DeviceControlsTest, InputLinesAreSocketsThatChooseWhatIsRecorded) {
  ComPtr<IBaseFilter> audio = addDevice(CLSID_AudioInputDeviceCategory, L"Audio Volume Control");
  const auto& lines = machine().service<plat::CaptureAudio>().lines();
  std::vector<std::wstring> inputs;
  ComPtr<IEnumPins> walk;
  audio->EnumPins(walk.put());
  IPin* next = nullptr;
  while (walk->Next(1, &next, nullptr) == S_OK) {
    PIN_INFO info{};
    next->QueryPinInfo(&info);
    info.pFilter->Release();
    if (info.dir == PINDIR_INPUT) inputs.emplace_back(info.achName);
    next->Release();
  }
  ASSERT_EQ(inputs.size(), lines.size());
  EXPECT_EQ(inputs[0], L"Line In");
  ComPtr<IAMAudioInputMixer> microphone = as<IAMAudioInputMixer>(pin(audio.get(), L"Microphone").get(), IID_IAMAudioInputMixer);
  ComPtr<IAMAudioInputMixer> lineIn = as<IAMAudioInputMixer>(pin(audio.get(), L"Line In").get(), IID_IAMAudioInputMixer);
  ASSERT_EQ(microphone->put_Enable(TRUE), S_OK);
  BOOL enabled = TRUE;
  ASSERT_EQ(lineIn->get_Enable(&enabled), S_OK);
  EXPECT_FALSE(enabled);
  EXPECT_EQ(lineIn->put_MixLevel(1.5), E_INVALIDARG);
  ASSERT_EQ(lineIn->put_MixLevel(0.5), S_OK);
  double level = 0;
  lineIn->get_MixLevel(&level);
  EXPECT_DOUBLE_EQ(level, 0.5);
}

TEST_F(DeviceControlsTest, DeviceMonikersNameAndBindTheirDevices) {
  const auto crossbars = devices(AM_KSCATEGORY_CROSSBAR);
  ASSERT_EQ(crossbars.size(), 1u);
  LPOLESTR name = nullptr;
  ASSERT_EQ(crossbars[0]->GetDisplayName(nullptr, nullptr, &name), S_OK);
  EXPECT_EQ(std::wstring(name).rfind(L"@device:pnp:", 0), 0u);
  CoTaskMemFree(name);
  EXPECT_EQ(property(crossbars[0].get(), L"FriendlyName"), L"USB TV Device Crossbar");
  ComPtr<IAMCrossbar> crossbar;
  EXPECT_EQ(crossbars[0]->BindToObject(nullptr, nullptr, IID_IAMCrossbar, crossbar.putVoid()), S_OK);

  // A graph adds a device straight from its moniker.
  ComPtr<IFilterGraph2> graph2 = graphAs<IFilterGraph2>(IID_IFilterGraph2);
  ComPtr<IBaseFilter> added;
  ASSERT_EQ(graph2->AddSourceFilterForMoniker(devices(CLSID_VideoInputDeviceCategory)[0].get(), nullptr, L"Video Capture",
                                              added.put()),
            S_OK);
  ComPtr<IBaseFilter> found;
  ASSERT_EQ(graph->FindFilterByName(L"Video Capture", found.put()), S_OK);
  EXPECT_EQ(found.get(), added.get());
  // And a live capture cannot show a paused picture.
  ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, added.get(), nullptr, nullptr), S_OK);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Pause(), S_OK);
  OAFilterState state = 0;
  EXPECT_EQ(control->GetState(0, &state), VFW_S_CANT_CUE);
  control->Stop();
}

TEST_F(DeviceControlsTest, TheBuilderWritesAviFilesOnly) {
  ComPtr<IBaseFilter> mux;
  ComPtr<IFileSinkFilter> sink;
  EXPECT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_YUY2, L"C:\\out.avi", mux.put(), sink.put()), E_INVALIDARG);
  ASSERT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, L"C:\\out.avi", mux.put(), sink.put()), S_OK);
  LPOLESTR file = nullptr;
  AM_MEDIA_TYPE type{};
  ASSERT_EQ(sink->GetCurFile(&file, &type), S_OK);
  EXPECT_STREQ(file, L"C:\\out.avi");
  CoTaskMemFree(file);
  const auto list = names();
  EXPECT_EQ(list, (std::vector<std::wstring>{L"Mux", L"File Writer"}));
}
