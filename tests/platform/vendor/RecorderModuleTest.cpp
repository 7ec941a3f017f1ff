#include "RecorderTest.h"

#include <com/GuidText.h>

#include <cwchar>

using rectest::ComPtr;

namespace {

// Calls the method at a position of an interface's table (IUnknown's three counted), as
// a caller compiled against the maker's header does.
template <class... Args>
HRESULT callSlot(IUnknown* itf, int slot, Args... args) {
  using Method = HRESULT (*)(IUnknown*, Args...);
  void** table = *reinterpret_cast<void***>(itf);
  return reinterpret_cast<Method>(table[slot - 1])(itf, args...);
}

struct Expected {
  LONG itf;
  LONG slot;
  std::vector<LONG> args;
  HRESULT result;
};

void expectCalls(const std::vector<QnMpegRecorderCall>& calls, const std::vector<Expected>& expected) {
  ASSERT_EQ(calls.size(), expected.size());
  for (size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(calls[i].itf, expected[i].itf);
    EXPECT_EQ(calls[i].slot, expected[i].slot);
    EXPECT_EQ(std::vector<LONG>(calls[i].args, calls[i].args + calls[i].argCount), expected[i].args);
    EXPECT_EQ(calls[i].result, expected[i].result);
  }
}

constexpr LONG kVideo = QnMpegRecorderCall::VideoSettings;
constexpr LONG kMux = QnMpegRecorderCall::Multiplex;

class RecorderModuleTest : public rectest::RecorderTest {};

}  // namespace

TEST_F(RecorderModuleTest, RegistrationMakesTheRecorderCreatableWithItsPinsAndInterfaces) {
  ComPtr<IBaseFilter> filter;
  EXPECT_EQ(CoCreateInstance(CLSID_QnMpegRecorder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()),
            REGDB_E_CLASSNOTREG);
  filter = addRecorder();
  ASSERT_TRUE(filter);
  CLSID clsid{};
  ASSERT_EQ(filter->GetClassID(&clsid), S_OK);
  EXPECT_EQ(plat::GuidText::format(clsid), "{5083B9E8-713F-40AA-B5F3-2AD35D3D7498}");

  for (const wchar_t* name : {L"InputVideo", L"InputAudio"}) {
    ComPtr<IPin> input = pin(filter.get(), name);
    ASSERT_TRUE(input);
    PIN_DIRECTION direction{};
    input->QueryDirection(&direction);
    EXPECT_EQ(direction, PINDIR_INPUT);
  }
  // Nothing else: a sink.
  ComPtr<IEnumPins> walk;
  ASSERT_EQ(filter->EnumPins(walk.put()), S_OK);
  IPin* pins[3] = {};
  ULONG fetched = 0;
  walk->Next(3, pins, &fetched);
  for (ULONG i = 0; i < fetched; ++i) pins[i]->Release();
  EXPECT_EQ(fetched, 2u);

  for (const GUID* iid : {&IID_IFileSinkFilter, &IID_IQnMpegVideoSettings, &IID_IQnMpegMultiplexSettings,
                          &IID_IQnMpegEncoderInfo, &IID_IQnMpegEncoderControl}) {
    ComPtr<IUnknown> itf;
    EXPECT_EQ(filter->QueryInterface(*iid, itf.putVoid()), S_OK) << plat::GuidText::format(*iid);
  }

  // Unregistered, it cannot be created again.
  EXPECT_EQ(callModule("DllUnregisterServer"), S_OK);
  ComPtr<IBaseFilter> again;
  EXPECT_EQ(CoCreateInstance(CLSID_QnMpegRecorder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, again.putVoid()),
            REGDB_E_CLASSNOTREG);
}

TEST_F(RecorderModuleTest, SettingsMethodsSitAtTheirTablePositionsAndEveryCallIsRecorded) {
  ComPtr<IBaseFilter> filter = addRecorder();
  ASSERT_TRUE(filter);
  auto video = as<IUnknown>(filter.get(), IID_IQnMpegVideoSettings);
  auto mux = as<IUnknown>(filter.get(), IID_IQnMpegMultiplexSettings);

  // The sequence a DVD recording at the second quality sends.
  EXPECT_EQ(callSlot(video.get(), 4, LONG{8}), S_OK);
  EXPECT_EQ(callSlot(video.get(), 6, LONG{6000000}), S_OK);
  EXPECT_EQ(callSlot(video.get(), 9, LONG{3}), S_OK);
  EXPECT_EQ(callSlot(video.get(), 55, LONG{0}, LONG{0}), S_OK);
  EXPECT_EQ(callSlot(video.get(), 11, LONG{4096}), S_OK);
  EXPECT_EQ(callSlot(video.get(), 14, LONG{0}), S_OK);
  EXPECT_EQ(callSlot(video.get(), 20, LONG{1}), S_OK);
  EXPECT_EQ(callSlot(video.get(), 13, LONG{0}), S_OK);
  EXPECT_EQ(callSlot(video.get(), 28, LONG{224}), S_OK);
  EXPECT_EQ(callSlot(video.get(), 46, LONG{1}), S_OK);
  for (int slot : {4, 14, 12, 6, 8, 10}) EXPECT_EQ(callSlot(mux.get(), slot, LONG{slot == 14 ? 10 : slot == 10 ? 0 : 1}), S_OK);
  EXPECT_EQ(callSlot(mux.get(), 16, LONG{16}, LONG{16}, LONG{8}, LONG{8}), S_OK);
  LONG frames = -1;
  EXPECT_EQ(callSlot(video.get(), 19, &frames), S_OK);
  EXPECT_EQ(frames, 0);
  // Positions between them are reserved and leave no trace.
  EXPECT_EQ(callSlot(video.get(), 5), E_NOTIMPL);
  EXPECT_EQ(callSlot(video.get(), 54), E_NOTIMPL);
  EXPECT_EQ(callSlot(mux.get(), 15), E_NOTIMPL);

  expectCalls(calls(filter.get()), {
                                       {kVideo, 4, {8}, S_OK},        {kVideo, 6, {6000000}, S_OK},
                                       {kVideo, 9, {3}, S_OK},        {kVideo, 55, {0, 0}, S_OK},
                                       {kVideo, 11, {4096}, S_OK},    {kVideo, 14, {0}, S_OK},
                                       {kVideo, 20, {1}, S_OK},       {kVideo, 13, {0}, S_OK},
                                       {kVideo, 28, {224}, S_OK},     {kVideo, 46, {1}, S_OK},
                                       {kMux, 4, {1}, S_OK},          {kMux, 14, {10}, S_OK},
                                       {kMux, 12, {1}, S_OK},         {kMux, 6, {1}, S_OK},
                                       {kMux, 8, {1}, S_OK},          {kMux, 10, {0}, S_OK},
                                       {kMux, 16, {16, 16, 8, 8}, S_OK}, {kVideo, 19, {0}, S_OK},
                                   });
}

TEST_F(RecorderModuleTest, ARefusedFrameRateCodeFailsAndAnotherIsTaken) {
  ComPtr<IBaseFilter> filter = addRecorder();
  ASSERT_TRUE(filter);
  auto probe = as<IQnMpegRecorderProbe>(filter.get(), IID_IQnMpegRecorderProbe);
  ASSERT_EQ(probe->RefuseFrameRateCode(3), S_OK);
  ASSERT_EQ(probe->RefuseFrameRateCode(5), S_OK);
  auto video = as<IQnMpegVideoSettings>(filter.get(), IID_IQnMpegVideoSettings);
  EXPECT_EQ(video->SetFrameRateCode(3), E_INVALIDARG);
  EXPECT_EQ(video->SetFrameRateCode(5), E_INVALIDARG);
  EXPECT_EQ(video->SetFrameRateCode(2), S_OK);
  expectCalls(calls(filter.get()), {{kVideo, 9, {3}, E_INVALIDARG}, {kVideo, 9, {5}, E_INVALIDARG}, {kVideo, 9, {2}, S_OK}});
}

TEST_F(RecorderModuleTest, BadValuesAndNullPointersFailWithoutHarm) {
  ComPtr<IBaseFilter> filter = addRecorder();
  ASSERT_TRUE(filter);
  auto video = as<IQnMpegVideoSettings>(filter.get(), IID_IQnMpegVideoSettings);
  EXPECT_EQ(video->SetStreamType(5), E_INVALIDARG);
  EXPECT_EQ(video->SetStreamType(0), E_INVALIDARG);
  EXPECT_EQ(video->SetVideoBitRate(0), E_INVALIDARG);
  EXPECT_EQ(video->SetFrameRateCode(9), E_INVALIDARG);
  EXPECT_EQ(video->SetFrameRateCode(0), E_INVALIDARG);
  EXPECT_EQ(video->SetVideoBufferSize(-1), E_INVALIDARG);
  EXPECT_EQ(video->SetAudioBitRate(100), E_INVALIDARG);
  EXPECT_EQ(video->SetPictureSize(351, 288), E_INVALIDARG);
  EXPECT_EQ(video->SetPictureSize(-352, 288), E_INVALIDARG);
  EXPECT_EQ(video->SetPictureSize(352, 0), E_INVALIDARG);
  EXPECT_EQ(video->GetEncodedFrames(nullptr), E_POINTER);
  EXPECT_EQ(calls(filter.get()).size(), 11u);  // refused calls are recorded too

  auto sink = as<IFileSinkFilter>(filter.get(), IID_IFileSinkFilter);
  EXPECT_EQ(sink->SetFileName(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(sink->SetFileName(L"", nullptr), E_INVALIDARG);
  EXPECT_EQ(sink->GetCurFile(nullptr, nullptr), E_POINTER);
  LPOLESTR name = nullptr;
  EXPECT_EQ(sink->GetCurFile(&name, nullptr), E_FAIL);
  EXPECT_EQ(name, nullptr);

  auto probe = as<IQnMpegRecorderProbe>(filter.get(), IID_IQnMpegRecorderProbe);
  QnMpegRecorderCall call{};
  EXPECT_EQ(probe->GetCall(11, &call), E_INVALIDARG);
  EXPECT_EQ(probe->GetCall(-1, &call), E_INVALIDARG);
  EXPECT_EQ(probe->GetCall(0, nullptr), E_POINTER);
  EXPECT_EQ(probe->GetCallCount(nullptr), E_POINTER);
}

TEST_F(RecorderModuleTest, TheFileNameReadsBack) {
  ComPtr<IBaseFilter> filter = addRecorder();
  ASSERT_TRUE(filter);
  auto sink = as<IFileSinkFilter>(filter.get(), IID_IFileSinkFilter);
  ASSERT_EQ(sink->SetFileName(L"C:\\Recordings\\cap00.mpg", nullptr), S_OK);
  LPOLESTR name = nullptr;
  AM_MEDIA_TYPE type{};
  ASSERT_EQ(sink->GetCurFile(&name, &type), S_OK);
  EXPECT_STREQ(name, L"C:\\Recordings\\cap00.mpg");
  CoTaskMemFree(name);
}

TEST_F(RecorderModuleTest, TheSettingsOfEveryRecordFormatAreTaken) {
  struct Format {
    LONG stream, kbit, system, width, height, buffer;
  };
  // MPEG-1, VCD-PAL, VCD-NTSC, SVCD-PAL, MPEG-2, DVD-PAL, DVD-NTSC, SVCD-NTSC at their highest rates.
  const Format formats[] = {{1, 4000, 3, 320, 240, 4096}, {4, 1150, 3, 0, 0, 640},   {3, 1150, 4, 0, 0, 4096},
                            {10, 2500, 3, 0, 0, 800},     {2, 4000, 3, 640, 480, 4096}, {8, 8000, 3, 0, 0, 4096},
                            {7, 8000, 4, 0, 0, 4096},     {9, 2500, 4, 0, 0, 800}};
  for (const Format& format : formats) {
    SCOPED_TRACE(format.stream);
    ComPtr<IBaseFilter> filter = addRecorder();
    ASSERT_TRUE(filter);
    auto video = as<IQnMpegVideoSettings>(filter.get(), IID_IQnMpegVideoSettings);
    EXPECT_EQ(video->SetStreamType(format.stream), S_OK);
    EXPECT_EQ(video->SetVideoBitRate(format.kbit * 1000), S_OK);
    EXPECT_EQ(video->SetFrameRateCode(format.system), S_OK);
    EXPECT_EQ(video->SetPictureSize(format.width, format.height), S_OK);
    EXPECT_EQ(video->SetVideoBufferSize(format.buffer), S_OK);
    EXPECT_EQ(video->SetAudioBitRate(224), S_OK);
    graph->RemoveFilter(filter.get());
  }
}
