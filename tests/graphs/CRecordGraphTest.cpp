// The record graph built and run on the simulated TV stick: real MPEG files read back
// with FFmpeg while the live picture reaches the video window, the tees' branches, the
// file names, the sound sources by Windows version, and the failures that end a build.
#include "RecordGraphTest.h"

#include "MpegFileProbe.h"

#include "core/data/CAppSettings.h"
#include "graphs/DeviceUtilities.h"

#include <com/ComPtr.h>
#include <machine/ProgramFolder.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <vendor/language/Language.h>
#include <vendor/mpeg_recorder/QnMpegEncoder.h>
#include <win32/module.h>
#include <win32/version.h>

#include <gtest/gtest.h>

#include <fstream>

namespace test {

namespace {

using plat::ComPtr;
using rectest::MpegFileProbe;

struct Outputs {
  int connected = 0;
  int free = 0;
};

Outputs OutputsOf(IBaseFilter* filter) {
  Outputs outputs;
  ComPtr<IEnumPins> pins;
  if (!filter || FAILED(filter->EnumPins(pins.put()))) return outputs;
  IPin* pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    ComPtr<IPin> held = ComPtr<IPin>::adopt(pin);
    PIN_DIRECTION direction = PINDIR_INPUT;
    held->QueryDirection(&direction);
    if (direction != PINDIR_OUTPUT) continue;
    ComPtr<IPin> peer;
    ++(held->ConnectedTo(peer.put()) == S_OK ? outputs.connected : outputs.free);
  }
  return outputs;
}

// The filter at the other end of the named pin; null when it is not connected.
ComPtr<IBaseFilter> UpstreamOf(IBaseFilter* filter, const wchar_t* pinName) {
  ComPtr<IPin> pin, peer;
  if (!filter || FAILED(filter->FindPin(pinName, pin.put())) || pin->ConnectedTo(peer.put()) != S_OK) return {};
  PIN_INFO info{};
  peer->QueryPinInfo(&info);
  return ComPtr<IBaseFilter>::adopt(info.pFilter);
}

std::wstring NameOf(IBaseFilter* filter) {
  FILTER_INFO info{};
  if (!filter || FAILED(filter->QueryFilterInfo(&info))) return {};
  if (info.pGraph) info.pGraph->Release();
  return info.achName;
}

HRESULT CallModule(const char* module, const char* exportName) {
  HMODULE handle = LoadLibraryA(module);
  if (!handle) return E_FAIL;
  auto entry = reinterpret_cast<HRESULT (*)()>(GetProcAddress(handle, exportName));
  const HRESULT hr = entry ? entry() : E_FAIL;
  FreeLibrary(handle);
  return hr;
}

constexpr wchar_t kRecorder[] = L"Quarnelix Mpeg 1/2 Recorder Filter";

class CRecordGraphTest : public RecordGraphTest {
 protected:
  void expectTeeBranches(const wchar_t* recorderPin) {
    ComPtr<IBaseFilter> tee = UpstreamOf(filterNamed(kRecorder), recorderPin);
    ASSERT_TRUE(tee) << recorderPin;
    EXPECT_EQ(NameOf(tee.get()).substr(0, 7), L"Inf Tee");
    const Outputs outputs = OutputsOf(tee.get());
    EXPECT_EQ(outputs.connected, 2) << recorderPin;
    EXPECT_EQ(outputs.free, 1) << recorderPin;
  }
  std::string recordedPath() {
    CString name;
    EXPECT_TRUE(graph->GetRecordFileName(name));
    return std::string(name);
  }
};

}  // namespace

TEST_F(CRecordGraphTest, ADeviceWithItsOwnSoundFeedsTheRecorderAndTheRendererThroughTheTees) {
  machine().ini().setValue("TVStick", "AudioOut", "1");
  makeGraph(0, 1);
  EXPECT_FALSE(IsFilterRegistered(CLSID_QnMpegRecorder));
  ASSERT_TRUE(build());
  EXPECT_TRUE(IsFilterRegistered(CLSID_QnMpegRecorder)) << "the build registers the recorder it needs";
  EXPECT_TRUE(robot.messageBoxes().empty());
  EXPECT_EQ(recordedPath(), "C:\\Videos\\cap00.mpg");

  expectTeeBranches(L"InputVideo");
  expectTeeBranches(L"InputAudio");
  ComPtr<IBaseFilter> videoTee = UpstreamOf(filterNamed(kRecorder), L"InputVideo");
  EXPECT_EQ(NameOf(UpstreamOf(videoTee.get(), L"Input").get()), L"Video Capture");
  ComPtr<IBaseFilter> audioTee = UpstreamOf(filterNamed(kRecorder), L"InputAudio");
  EXPECT_EQ(NameOf(UpstreamOf(audioTee.get(), L"Input").get()), L"Video Capture");
  EXPECT_NE(audioTee.get(), videoTee.get());
  EXPECT_EQ(UpstreamOf(filterNamed(L"Audio Renderers"), L"Audio Input pin (rendered)").get(), audioTee.get());
}

// Disabled while the platform's in-place filters copy a read-only sample into the same
// three-buffer pool the stick fills: the picture branch then waits for a buffer that the
// recorder's branch holds, and the stick for one the picture branch holds. A larger
// pool only makes the wait rarer; the copy needs a pool of its own.
TEST_F(CRecordGraphTest, ARecordingWritesMpegWithSoundWhileTheLivePictureReachesTheWindow) {
  // Windows 2000: the picture reaches the window through the overlay mixer.
  setWindows(2, 5, 0);
  machine().ini().setValue("TVStick", "AudioOut", "1");
  makeGraph(0, 1);
  ASSERT_TRUE(build());
  expectTeeBranches(L"InputVideo");
  expectTeeBranches(L"InputAudio");

  ASSERT_TRUE(recordFrames(76));
  const auto shown = surface();
  ASSERT_TRUE(shown);
  EXPECT_GT(shown->framesShown(), 50u);
  const plat::Rgb station = plat::TestPicture::stationColour(channel);
  // The station's own colours on screen, through the whole picture chain.
  EXPECT_TRUE(Near(shown->pixel(700, 460), station));
  graph.reset();

  const MpegFileProbe file(onC("Videos/cap00.mpg").string());
  ASSERT_TRUE(file.ok());
  EXPECT_EQ(file.container(), "mpeg");
  EXPECT_EQ(file.video().codec, "mpeg1video");
  EXPECT_EQ(file.video().width, 320);
  EXPECT_EQ(file.video().height, 240);
  EXPECT_NEAR(file.video().seconds, 3.0, 0.2);
  ASSERT_TRUE(file.audio().found);
  EXPECT_GT(file.audio().packets, 0);
  const auto pixel = file.firstPicturePixel(file.video().width - 6, file.video().height - 6);
  const plat::Rgb seen = plat::TestPicture::yuvToRgb(pixel.y, pixel.u, pixel.v);
  EXPECT_NEAR(seen.r, station.r, 16);
  EXPECT_NEAR(seen.g, station.g, 16);
  EXPECT_NEAR(seen.b, station.b, 16);
}

TEST_F(CRecordGraphTest, OnXpTheSoundOfTheAudioDeviceIsHeardAndRecordedThroughTheAudioTee) {
  g_pAppSettings->AudioDeviceNames.Add("Audio Volume Control");
  std::strcpy(g_pAppSettings->AudioDeviceName, "Audio Volume Control");
  makeGraph(0, 1);
  ASSERT_TRUE(build());
  expectTeeBranches(L"InputVideo");
  expectTeeBranches(L"InputAudio");
  ComPtr<IBaseFilter> audioTee = UpstreamOf(filterNamed(kRecorder), L"InputAudio");
  EXPECT_EQ(NameOf(UpstreamOf(audioTee.get(), L"Input").get()), L"Audio Volume Control");
  EXPECT_EQ(UpstreamOf(filterNamed(L"Audio Renderers"), L"Audio Input pin (rendered)").get(), audioTee.get());
}

// Disabled for the same buffer pool as the recording above.
TEST_F(CRecordGraphTest, AnMpeg2RecordingTakesItsFormatsSize) {
  setWindows(2, 5, 0);
  makeGraph(4, 2);
  ASSERT_TRUE(build());
  ASSERT_TRUE(recordFrames(25));
  graph.reset();

  const MpegFileProbe file(onC("Videos/cap00.mpg").string());
  ASSERT_TRUE(file.ok());
  EXPECT_EQ(file.video().codec, "mpeg2video");
  EXPECT_EQ(file.video().width, 640);
  EXPECT_EQ(file.video().height, 480);
}

TEST_F(CRecordGraphTest, EachRecordingTakesTheNextFreeNameOfTheFolder) {
  for (const char* name : {"Videos/cap00.mpg", "Videos/cap01.mpg"}) std::ofstream(onC(name)) << "old";
  setWindows(2, 5, 0);
  makeGraph(0, 1);
  CString name = "untouched";
  EXPECT_FALSE(graph->GetRecordFileName(name)) << "nothing is named before the build";
  EXPECT_TRUE(name.IsEmpty());
  ASSERT_TRUE(build());
  EXPECT_EQ(recordedPath(), "C:\\Videos\\cap02.mpg");
  ASSERT_TRUE(recordFrames(2));
  graph.reset();
  EXPECT_TRUE(MpegFileProbe(onC("Videos/cap02.mpg").string()).ok());
  std::ifstream old(onC("Videos/cap00.mpg"));
  std::string text;
  old >> text;
  EXPECT_EQ(text, "old");
}

TEST_F(CRecordGraphTest, TheSizeEstimateAndCounterFollowTheRecorderUnlessTheFormatIsOff) {
  setWindows(2, 5, 0);
  makeGraph(5, 2);
  EXPECT_EQ(graph->GetRecordSizeKB(60), 0.0) << "no recorder yet";
  EXPECT_EQ(graph->GetRecordCounter(), 0);
  ASSERT_TRUE(build());
  EXPECT_DOUBLE_EQ(graph->GetRecordSizeKB(60), 45.0);  // 6000 kbit/s
  EXPECT_DOUBLE_EQ(graph->GetRecordSizeKB(3600), 2700.0);
  ASSERT_TRUE(recordFrames(2));
  EXPECT_GT(graph->GetRecordCounter(), 0);
  g_pAppSettings->RecordFormat = 8;
  EXPECT_EQ(graph->GetRecordSizeKB(3600), 0.0);
  EXPECT_EQ(graph->GetRecordCounter(), 0);
}

TEST_F(CRecordGraphTest, TheCaptureFormatIsYuy2AtTheFrameRateOfTheDecodersStandard) {
  g_pAppSettings->LineStandard = 3;
  machine().service<plat::TvStickCapture>().setDecoderStandard(AnalogVideo_PAL_D);
  makeGraph(0, 1);
  ASSERT_TRUE(build());
  auto readFormat = [&](VIDEOINFOHEADER& info, GUID& subtype) {
    IAMStreamConfig* config = graph->FindStreamConfig(&PIN_CATEGORY_CAPTURE);
    ASSERT_TRUE(config);
    AM_MEDIA_TYPE* type = nullptr;
    ASSERT_EQ(config->GetFormat(&type), S_OK);
    info = *reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
    subtype = type->subtype;
    EXPECT_FALSE(type->bFixedSizeSamples);
    DeleteMediaType(type);
  };
  VIDEOINFOHEADER info{};
  GUID subtype{};
  readFormat(info, subtype);
  EXPECT_EQ(subtype, MEDIASUBTYPE_YUY2);
  EXPECT_EQ(info.bmiHeader.biWidth, 720);
  EXPECT_EQ(info.bmiHeader.biHeight, 576);
  EXPECT_EQ(info.bmiHeader.biSizeImage, 720u * 2 * 576);
  EXPECT_EQ(info.AvgTimePerFrame, 400000);

  // A connected pin keeps its format; the device takes a new one once it is free.
  graph->Stop();
  ComPtr<IPin> capture, peer;
  ASSERT_EQ(filterNamed(L"Video Capture")->FindPin(L"Capture", capture.put()), S_OK);
  ASSERT_EQ(capture->ConnectedTo(peer.put()), S_OK);
  filterGraph()->Disconnect(peer.get());
  filterGraph()->Disconnect(capture.get());
  machine().service<plat::TvStickCapture>().setDecoderStandard(AnalogVideo_NTSC_M);
  EXPECT_TRUE(graph->SetCaptureFormat(352, 240));
  readFormat(info, subtype);
  EXPECT_EQ(info.bmiHeader.biWidth, 352);
  EXPECT_EQ(info.bmiHeader.biHeight, 240);
  EXPECT_EQ(info.AvgTimePerFrame, 333667);
  EXPECT_EQ(info.bmiHeader.biSizeImage, 352u * 2 * 240);
  // A size the device refuses leaves its format, and still counts as set.
  EXPECT_TRUE(graph->SetCaptureFormat(3, 3));
  readFormat(info, subtype);
  EXPECT_EQ(info.bmiHeader.biWidth, 352);
}

TEST_F(CRecordGraphTest, TheAudioDeviceIsOpenedOnlyOnTheVersionsThatRecordFromIt) {
  g_pAppSettings->AudioDeviceNames.Add("Audio Volume Control");
  std::strcpy(g_pAppSettings->AudioDeviceName, "Audio Volume Control");
  struct Case {
    int platform, major, minor;
    bool opens;
  };
  for (const Case& c : {Case{2, 5, 0, false}, Case{2, 4, 0, false}, Case{1, 4, 10, false}, Case{2, 5, 1, true},
                        Case{2, 5, 2, true}, Case{2, 6, 0, true}}) {
    setWindows(c.platform, c.major, c.minor);
    makeGraph(0, 1);
    ASSERT_TRUE(graph->CreateDeviceFilters());
    EXPECT_EQ(graph->PrepareDevice(), c.opens) << c.major << "." << c.minor;
  }
  // Without a device listed the step is false on XP too.
  g_pAppSettings->AudioDeviceNames.RemoveAll();
  setWindows(2, 5, 1);
  makeGraph(0, 1);
  ASSERT_TRUE(graph->CreateDeviceFilters());
  EXPECT_FALSE(graph->PrepareDevice());
}

TEST_F(CRecordGraphTest, ADeviceWithItsOwnSoundNeedsNoAudioDeviceOnAnyVersion) {
  machine().ini().setValue("TVStick", "AudioOut", "1");
  setWindows(2, 5, 0);  // Windows 2000
  makeGraph(0, 1);
  ASSERT_TRUE(graph->CreateDeviceFilters());
  EXPECT_TRUE(graph->PrepareDevice());
  EXPECT_TRUE(graph->SelectAudioLine());
}

TEST_F(CRecordGraphTest, OnWindows2000WithoutAnAudioPinThePictureIsRecordedWithoutSound) {
  setWindows(2, 5, 0);
  makeGraph(0, 1);
  ASSERT_TRUE(build());
  ComPtr<IPin> audioInput;
  ASSERT_EQ(filterNamed(kRecorder)->FindPin(L"InputAudio", audioInput.put()), S_OK);
  ComPtr<IPin> peer;
  EXPECT_NE(audioInput->ConnectedTo(peer.put()), S_OK);
  expectTeeBranches(L"InputVideo");
}

TEST_F(CRecordGraphTest, AMissingStickEndsTheBuildWithoutAFile) {
  machine().service<plat::TvStickControl>().setPlugged(false);
  makeGraph(0, 1);
  EXPECT_FALSE(build());
  CString name;
  EXPECT_FALSE(graph->GetRecordFileName(name));
  graph.reset();
  EXPECT_FALSE(std::filesystem::exists(onC("Videos/cap00.mpg")));
}

TEST_F(CRecordGraphTest, AFolderThatCannotBeWrittenEndsTheBuild) {
  makeGraph(0, 1, "C:\\Missing\\");
  EXPECT_FALSE(build());
  graph.reset();
  EXPECT_FALSE(std::filesystem::exists(onC("Missing")));
}

TEST_F(CRecordGraphTest, WithoutTheFanoutModuleTheBuildFailsWithoutAMessage) {
  ASSERT_EQ(CallModule("Filter\\Branchel.ax", "DllUnregisterServer"), S_OK);
  makeGraph(0, 1);
  EXPECT_FALSE(build());
  EXPECT_TRUE(robot.messageBoxes().empty());
  EXPECT_EQ(filterNamed(L"Inf Tee"), nullptr);
  EXPECT_EQ(filterNamed(kRecorder), nullptr);
}

TEST_F(CRecordGraphTest, ARecorderThatCannotBeRegisteredIsReportedOnce) {
  // A program folder whose Filter folder lacks the recorder module.
  const std::filesystem::path modules = testMachine.root() / "Modules";
  std::filesystem::create_directories(modules / "Filter");
  const std::filesystem::path built = TestMachine::builtProgramFolder();
  for (const auto& entry : std::filesystem::recursive_directory_iterator(built)) {
    if (entry.is_directory() || entry.path().filename() == "qnmpeg2enc.ax") continue;
    const auto target = modules / std::filesystem::relative(entry.path(), built);
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::create_symlink(entry.path(), target);
  }
  const std::filesystem::path kept = plat::ProgramFolder::moduleFolder();
  plat::ProgramFolder::setModuleFolder(modules);
  makeGraph(0, 1);
  const BOOL built_ = build();
  plat::ProgramFolder::setModuleFolder(kept);
  EXPECT_FALSE(built_);
  const auto boxes = robot.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, GetMessageInfo(14));
  EXPECT_EQ(filterNamed(kRecorder), nullptr);
}

TEST_F(CRecordGraphTest, DeletingTheGraphWithoutClosingReleasesTheRecorderAndTheTees) {
  makeGraph(0, 1);
  ASSERT_TRUE(build());
  IGraphBuilder* filters = filterGraph();
  filters->AddRef();
  graph.reset();
  EXPECT_EQ(filters->Release(), 0u);
}

}  // namespace test
