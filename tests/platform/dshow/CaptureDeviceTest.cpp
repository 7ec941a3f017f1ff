#include "CaptureTest.h"

#include <dshow/filters/TvVideoPin.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>

using plat::ComPtr;

namespace {

class CaptureDeviceTest : public dstest::CaptureTest {
 protected:
  static GUID categoryOf(IPin* pin) {
    ComPtr<IKsPropertySet> properties;
    GUID category = GUID_NULL;
    DWORD returned = 0;
    if (SUCCEEDED(pin->QueryInterface(IID_IKsPropertySet, properties.putVoid())))
      properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category, sizeof(category), &returned);
    return category;
  }
};

}  // namespace

TEST_F(CaptureDeviceTest, TheEnumeratorListsTheMachinesDevices) {
  const auto video = devices(CLSID_VideoInputDeviceCategory);
  ASSERT_EQ(video.size(), 1u);
  EXPECT_EQ(property(video[0].get(), L"FriendlyName"), L"USB TV Device");
  EXPECT_NE(property(video[0].get(), L"DevicePath").find(L"vid_0000"), std::wstring::npos);
  ComPtr<IBaseFilter> filter;
  ASSERT_EQ(video[0]->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.putVoid()), S_OK);
  CLSID clsid{};
  ASSERT_EQ(filter->GetClassID(&clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_TvStickCapture);

  const auto audio = devices(CLSID_AudioInputDeviceCategory);
  ASSERT_EQ(audio.size(), 1u);
  EXPECT_EQ(property(audio[0].get(), L"FriendlyName"), L"Audio Volume Control");

  // The platform's own compressors, one of each kind.
  const auto videoCompressors = devices(CLSID_VideoCompressorCategory);
  ASSERT_EQ(videoCompressors.size(), 1u);
  EXPECT_EQ(property(videoCompressors[0].get(), L"FriendlyName"), L"Motion JPEG Compressor");
  const auto audioCompressors = devices(CLSID_AudioCompressorCategory);
  ASSERT_EQ(audioCompressors.size(), 1u);
  EXPECT_EQ(property(audioCompressors[0].get(), L"FriendlyName"), L"G.711 A-law Compressor");

  // An empty category gives S_FALSE and no enumerator.
  static const GUID kNobodysCategory = {0x6A1C4D3F, 0x2E5F, 0x4B7A, {0x9C, 0x8D, 0x0E, 0x1F, 0x2A, 0x3B, 0x4C, 0x51}};
  ComPtr<ICreateDevEnum> enumerator;
  CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum, enumerator.putVoid());
  ComPtr<IEnumMoniker> none;
  EXPECT_EQ(enumerator->CreateClassEnumerator(kNobodysCategory, none.put(), 0), S_FALSE);
  EXPECT_FALSE(none);

  machine().service<plat::TvStickControl>().setPlugged(false);
  EXPECT_TRUE(devices(CLSID_VideoInputDeviceCategory).empty());
}

TEST_F(CaptureDeviceTest, TheStickHasCaptureAndPreviewPinsAndAnAnalogueInput) {
  ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
  ASSERT_TRUE(device);
  EXPECT_EQ(categoryOf(pin(device.get(), L"Capture").get()), PIN_CATEGORY_CAPTURE);
  EXPECT_EQ(categoryOf(pin(device.get(), L"Preview").get()), PIN_CATEGORY_PREVIEW);
  EXPECT_EQ(categoryOf(pin(device.get(), L"Analog Video In").get()), PIN_CATEGORY_ANALOGVIDEOIN);
  ComPtr<IPin> none;
  EXPECT_EQ(device->FindPin(L"AudioOut", none.put()), VFW_E_NOT_FOUND);

  ComPtr<IPin> found;
  ASSERT_EQ(builder->FindPin(device.get(), PINDIR_OUTPUT, &PIN_CATEGORY_PREVIEW, nullptr, FALSE, 0, found.put()), S_OK);
  EXPECT_EQ(found.get(), pin(device.get(), L"Preview").get());
  EXPECT_EQ(builder->FindPin(device.get(), PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE, nullptr, FALSE, 1, found.put()), E_FAIL);
  ASSERT_EQ(builder->FindPin(device.get(), PINDIR_INPUT, nullptr, nullptr, TRUE, 0, found.put()), S_OK);
  EXPECT_EQ(found.get(), pin(device.get(), L"Analog Video In").get());
}

TEST_F(CaptureDeviceTest, AnAudioOutPinWhenMachineIniSaysSo) {
  // The stick reads machine.ini when it is first used, which is now.
  machine().ini().setValue("TVStick", "AudioOut", "1");
  ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
  ASSERT_TRUE(device);
  ComPtr<IPin> audio = pin(device.get(), L"AudioOut");
  ComPtr<IAMStreamConfig> config = as<IAMStreamConfig>(audio.get(), IID_IAMStreamConfig);
  AM_MEDIA_TYPE* type = nullptr;
  ASSERT_EQ(config->GetFormat(&type), S_OK);
  EXPECT_EQ(type->majortype, MEDIATYPE_Audio);
  EXPECT_EQ(reinterpret_cast<WAVEFORMATEX*>(type->pbFormat)->wFormatTag, WAVE_FORMAT_PCM);
  DeleteMediaType(type);
}

TEST_F(CaptureDeviceTest, StreamFormatsAreCheckedAndKept) {
  ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
  ComPtr<IAMStreamConfig> config;
  ASSERT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, device.get(), IID_IAMStreamConfig,
                                   config.putVoid()),
            E_FAIL);
  ASSERT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device.get(), IID_IAMStreamConfig,
                                   config.putVoid()),
            S_OK);
  AM_MEDIA_TYPE* type = nullptr;
  ASSERT_EQ(config->GetFormat(&type), S_OK);
  ASSERT_EQ(type->cbFormat, 88u);
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
  EXPECT_EQ(type->subtype, MEDIASUBTYPE_YUY2);
  EXPECT_EQ(info->bmiHeader.biBitCount, 16);
  EXPECT_EQ(info->bmiHeader.biWidth, 720);
  EXPECT_EQ(info->bmiHeader.biHeight, 480);  // the machine's NTSC stations
  EXPECT_EQ(info->AvgTimePerFrame, 333667);

  info->bmiHeader.biHeight = 576;
  info->bmiHeader.biSizeImage = 720 * 576 * 2;
  info->AvgTimePerFrame = 400000;
  EXPECT_EQ(config->SetFormat(type), S_OK);
  info->bmiHeader.biWidth = 700;  // not a multiple of 16
  EXPECT_EQ(config->SetFormat(type), VFW_E_INVALIDMEDIATYPE);
  DeleteMediaType(type);
  ASSERT_EQ(config->GetFormat(&type), S_OK);
  EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat)->bmiHeader.biHeight, 576);
  DeleteMediaType(type);

  int count = 0, size = 0;
  ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), S_OK);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(size, 128);
  VIDEO_STREAM_CONFIG_CAPS caps{};
  ASSERT_EQ(config->GetStreamCaps(1, &type, reinterpret_cast<BYTE*>(&caps)), S_OK);
  EXPECT_EQ(type->subtype, MEDIASUBTYPE_RGB24);
  EXPECT_EQ(caps.MaxOutputSize.cx, 720);
  EXPECT_EQ(caps.OutputGranularityX, 16);
  DeleteMediaType(type);
}

TEST_F(CaptureDeviceTest, AFormatSetOnAConnectedPinReconnectsItWhileStopped) {
  ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
  ASSERT_TRUE(device);
  auto* sink = add(new dstest::SinkFilter(), L"Sink");
  ComPtr<IPin> capture = pin(device.get(), L"Capture");
  ASSERT_EQ(graph->ConnectDirect(capture.get(), dstest::firstPin(sink, PINDIR_INPUT), nullptr), S_OK);
  auto config = as<IAMStreamConfig>(capture.get(), IID_IAMStreamConfig);
  CMediaType smaller = plat::TvVideoPin::videoFormat(MEDIASUBTYPE_YUY2, 352, 240, 333667);
  ASSERT_EQ(config->SetFormat(&smaller), S_OK);
  AM_MEDIA_TYPE connected{};
  ASSERT_EQ(capture->ConnectionMediaType(&connected), S_OK);
  EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(connected.pbFormat)->bmiHeader.biWidth, 352);
  FreeMediaType(connected);

  ASSERT_EQ(graphAs<IMediaControl>(IID_IMediaControl)->Pause(), S_OK);
  CMediaType larger = plat::TvVideoPin::videoFormat(MEDIASUBTYPE_YUY2, 720, 480, 333667);
  EXPECT_EQ(config->SetFormat(&larger), VFW_E_NOT_STOPPED);
}

TEST_F(CaptureDeviceTest, PictureControlsRefuseValuesOutsideTheirRange) {
  ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
  ComPtr<IAMVideoProcAmp> procAmp = as<IAMVideoProcAmp>(device.get(), IID_IAMVideoProcAmp);
  long min = 0, max = 0, step = 0, def = 0, caps = 0;
  ASSERT_EQ(procAmp->GetRange(VideoProcAmp_Contrast, &min, &max, &step, &def, &caps), S_OK);
  EXPECT_EQ(caps, VideoProcAmp_Flags_Manual);
  EXPECT_EQ(procAmp->Set(VideoProcAmp_Contrast, max, VideoProcAmp_Flags_Manual), S_OK);
  EXPECT_EQ(procAmp->Set(VideoProcAmp_Contrast, max + 1, VideoProcAmp_Flags_Manual), E_INVALIDARG);
  long value = 0, flags = 0;
  ASSERT_EQ(procAmp->Get(VideoProcAmp_Contrast, &value, &flags), S_OK);
  EXPECT_EQ(value, max);
  EXPECT_EQ(procAmp->GetRange(VideoProcAmp_Gamma, &min, &max, &step, &def, &caps), E_PROP_ID_UNSUPPORTED);
}

TEST_F(CaptureDeviceTest, TheDecoderKeepsItsStandardAndReportsTheLock) {
  ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
  ComPtr<IAMAnalogVideoDecoder> decoder = as<IAMAnalogVideoDecoder>(device.get(), IID_IAMAnalogVideoDecoder);
  EXPECT_EQ(decoder->put_TVFormat(AnalogVideo_PAL_D | AnalogVideo_PAL_B), E_INVALIDARG);
  ASSERT_EQ(decoder->put_TVFormat(AnalogVideo_PAL_D), S_OK);
  long standard = 0, locked = -1;
  ASSERT_EQ(decoder->get_TVFormat(&standard), S_OK);
  EXPECT_EQ(standard, AnalogVideo_PAL_D);
  ASSERT_EQ(decoder->get_HorizontalLocked(&locked), S_OK);
  EXPECT_EQ(locked, 0);  // nothing tuned yet
  auto& stick = machine().service<plat::TvStickCapture>();
  stick.tuneCarrier(stick.control().broadcast().stations()[0].carrierHz);
  ASSERT_EQ(decoder->get_HorizontalLocked(&locked), S_OK);
  EXPECT_EQ(locked, 1);
}

#include <dshow/baseclasses/FilterRegistration.h>

#include <algorithm>

// Compressors installed by other modules follow the platform's own, in the registry's
// order; one registered without a name has no "FriendlyName", and one whose class no
// module serves is listed but cannot be bound.
TEST_F(CaptureDeviceTest, RegisteredCompressorsFollowWithOrWithoutANameAndBindOnlyWhenServed) {
  static const CLSID kNameless = {0x5B2E7C10, 0x1D3A, 0x4E8F, {0xA1, 0x52, 0x63, 0x74, 0x85, 0x96, 0xA7, 0x01}};
  static const CLSID kUnserved = {0x5B2E7C10, 0x1D3A, 0x4E8F, {0xA1, 0x52, 0x63, 0x74, 0x85, 0x96, 0xA7, 0x02}};
  plat::RegisteredFilter nameless;
  nameless.clsid = kNameless;
  plat::RegisteredFilter unserved;
  unserved.clsid = kUnserved;
  unserved.name = L"Orvane Test Codec";
  ASSERT_EQ(plat::FilterRegistration::registerFilter(nameless, CLSID_VideoCompressorCategory), S_OK);
  ASSERT_EQ(plat::FilterRegistration::registerFilter(unserved, CLSID_VideoCompressorCategory), S_OK);

  const auto compressors = devices(CLSID_VideoCompressorCategory);
  ASSERT_EQ(compressors.size(), 3u);
  EXPECT_EQ(property(compressors[0].get(), L"FriendlyName"), L"Motion JPEG Compressor");
  std::vector<std::wstring> names;
  for (std::size_t i = 1; i < compressors.size(); ++i) {
    ComPtr<IPropertyBag> bag;
    ASSERT_EQ(compressors[i]->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.putVoid()), S_OK);
    VARIANT value;
    VariantInit(&value);
    const HRESULT hr = bag->Read(L"FriendlyName", &value, nullptr);
    names.push_back(SUCCEEDED(hr) ? std::wstring(value.bstrVal) : L"(none)");
    VariantClear(&value);
    ComPtr<IBaseFilter> filter;
    EXPECT_FALSE(SUCCEEDED(compressors[i]->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.putVoid())));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"(none)", L"Orvane Test Codec"}));
}
