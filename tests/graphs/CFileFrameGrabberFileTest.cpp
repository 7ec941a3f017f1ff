// The file frame grabber on real files: MPEG recordings of the TV stick made with the
// recorder module, read through the private file source, the MPEG-2 splitter and the
// Filter folder's decoder into its still capture, which writes the first picture as a
// bitmap file. The decoder's and the still capture's modules are put in the program
// folder the grabber registers them from; the file source's module is registered
// beforehand, as an installation would. Each test skips while one of them is not built.
#include "FilterFolderGraphTest.h"

#include "graphs/CFileFrameGrabber.h"
#include "graphs/CGraphBase.h"
#include "graphs/DeviceUtilities.h"

#include <support/CaptureDevice.h>

#include <dshow/engine/ClockWait.h>
#include <machine/ProgramFolder.h>
#include <machine/TestPicture.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <vendor/async_source/QnAsyncSource.h>
#include <vendor/mpeg_recorder/QnMpegEncoder.h>
#include <vendor/mpeg_video_decoder/QnMpegVideoDecoder.h>
#include <vendor/still_capture/QnStillCap.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using plat::ComPtr;
using Bytes = std::vector<BYTE>;
namespace fs = std::filesystem;

const CLSID& kClsidFileSource = CLSID_QnAsyncSource;
const CLSID& kClsidVideoDecoder = CLSID_QnMpegVideoDecoder;
const CLSID& kClsidStillCapture = CLSID_QnStillCapture;
const CLSID& kClsidDemultiplexer = CLSID_MPEG2Demultiplexer;
const CLSID& kClsidSplitter = CLSID_MPEG2Splitter;

constexpr const char* kSourceModule = "QNAsyncSource.ax";
constexpr int kWidth = 352;
constexpr int kHeight = 288;

struct Bitmap {
  int width = 0;
  int height = 0;
  Bytes rows;  // 24-bit BGR, bottom row first, rows padded to four bytes

  plat::Rgb at(int x, int y) const {
    const size_t stride = static_cast<size_t>((width * 3 + 3) / 4 * 4);
    const BYTE* pixel = rows.data() + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3;
    return {pixel[2], pixel[1], pixel[0]};
  }
};

Bytes readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t le32(const Bytes& data, size_t at) {
  return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<std::uint32_t>(data[at + 3]) << 24;
}

// A 24-bit bottom-up bitmap file; width 0 when the file is not one.
Bitmap readBitmap(const fs::path& path) {
  const Bytes file = readFile(path);
  Bitmap bitmap;
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M' || (file[28] | file[29] << 8) != 24) return bitmap;
  const int width = static_cast<int>(le32(file, 18));
  const int height = static_cast<int>(le32(file, 22));
  const size_t bytes = static_cast<size_t>((width * 3 + 3) / 4 * 4) * static_cast<size_t>(height);
  const size_t offset = le32(file, 10);
  if (width <= 0 || height <= 0 || file.size() < offset + bytes) return bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.rows.assign(file.begin() + static_cast<std::ptrdiff_t>(offset),
                     file.begin() + static_cast<std::ptrdiff_t>(offset + bytes));
  return bitmap;
}

class CFileFrameGrabberFileTest : public test::FilterFolderGraphTest {
 protected:
  void SetUp() override {
    FilterFolderGraphTest::SetUp();
    fs::create_directories(onC("Pictures"));
    ASSERT_TRUE(grabber.CreateGraph());
  }
  void TearDown() override {
    if (recorder) control()->Stop();
    recorder.reset();
    // Its filters go before COM does.
    owned.reset();
    FilterFolderGraphTest::TearDown();
  }

  static bool built(const char* module) {
    return fs::exists(test::TestMachine::builtProgramFolder() / "Filter" / module);
  }
  // The file source registered and the grabber running from the built program folder,
  // where the decoder's and the still capture's modules are; or the reason not.
  std::string missingModule() {
    if (!registerModule(kSourceModule) || !IsFilterRegistered(kClsidFileSource))
      return std::string(kSourceModule) + " (the private file source) is not built";
    for (const char* module : {"QNMpegVD.ax", "QNStillCap.ax"})
      if (!built(module)) return std::string(module) + " is not built";
    // A module is loaded once per process, from the folder it was first found in.
    plat::ProgramFolder::set(test::TestMachine::builtProgramFolder());
    return {};
  }

  fs::path onC(const std::string& name) { return machine().paths().driveFolder('C') / name; }
  fs::path picturePath(const std::string& name) { return onC("Pictures") / name; }

  // Records a second of the stick's picture of station `index` as an MPEG-2 program
  // stream at 352 x 288; the times of its first and last pictures are kept.
  void record(const char* name, size_t index) {
    if (!recorder) {
      addStick();
      recorder = add(CLSID_QnMpegRecorder, L"Quarnelix Mpeg 1/2 Recorder Filter");
      ASSERT_TRUE(recorder);
      setCaptureSize();
      ASSERT_EQ(graph->ConnectDirect(pin(device.get(), L"Capture").get(), pin(recorder.get(), L"InputVideo").get(),
                                     nullptr),
                S_OK);
    }
    auto& stick = machine().service<plat::TvStickCapture>();
    stick.tuneCarrier(stick.control().broadcast().stations()[index].carrierHz);
    channel = stick.scene().number;
    ComPtr<IQnMpegVideoSettings> settings;
    ASSERT_EQ(recorder->QueryInterface(IID_IQnMpegVideoSettings, settings.putVoid()), S_OK);
    ASSERT_EQ(settings->SetStreamType(2), S_OK);
    ASSERT_EQ(settings->SetVideoBitRate(6000000), S_OK);
    ASSERT_EQ(settings->SetPictureSize(kWidth, kHeight), S_OK);
    ComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(recorder->QueryInterface(IID_IFileSinkFilter, sink.putVoid()), S_OK);
    const std::wstring wide = L"C:\\" + std::wstring(name, name + std::char_traits<char>::length(name));
    ASSERT_EQ(sink->SetFileName(wide.c_str(), nullptr), S_OK);
    firstPictureMs = plat::ClockWait::now() / 10'000;
    auto frames = [&] {
      LONG count = 0;
      settings->GetEncodedFrames(&count);
      return count;
    };
    ASSERT_EQ(control()->Run(), S_OK);
    ASSERT_NO_FATAL_FAILURE(settle());
    for (LONG picture = 1; picture <= 25; ++picture) {
      ASSERT_EQ(frames(), picture);
      ASSERT_NO_FATAL_FAILURE(advance(40));
    }
    lastPictureMs = plat::ClockWait::now() / 10'000;
    ASSERT_EQ(control()->Stop(), S_OK);
    ASSERT_TRUE(fs::exists(onC(name)));
  }
  void setCaptureSize() { test::SetCapturePicture(device.get(), MEDIASUBTYPE_YUY2, kWidth, kHeight, 400000); }

  // The thumbnail list's steps for one file, up to the picture written and the graph
  // cleared; false at the first refusal.
  bool grab(const std::string& file, const std::string& picture) {
    const std::string path = "C:\\" + file;
    const std::string still = "C:\\Pictures\\" + picture;
    const bool connected = grabber.SetSourceFile(path.c_str()) && grabber.SetStillFileName(still.c_str()) &&
                           grabber.IsSourceLoaded() && grabber.ConnectFilters() && grabber.Run();
    // The still is written once the file's first picture has come through, within a second.
    bool written = false;
    if (connected) {
      settle();
      for (int ms = 0; ms <= 1000 && !(written = readBitmap(picturePath(picture)).width > 0); ms += 10) advance(10);
    }
    grabber.Stop();
    grabber.ClearGraph();
    return written;
  }

  // The stick's picture of the recorded station, sampled on a grid, against the bitmap:
  // close on average (coding noise), the background exact. The columns the white bar
  // swept over while recording are left out: the decoder may put out a later picture first.
  void expectFirstPicture(const Bitmap& bitmap) {
    ASSERT_EQ(bitmap.width, kWidth);
    ASSERT_EQ(bitmap.height, kHeight);
    auto& stick = machine().service<plat::TvStickCapture>();
    Bytes yuy2(static_cast<size_t>(kWidth) * kHeight * 2);
    plat::TestPicture::paintYuy2(stick.scene(), firstPictureMs, 0, kWidth, kHeight, yuy2.data(), kWidth * 2);
    long difference = 0;
    long samples = 0;
    const int sweptFrom = plat::TestPicture::barLeft(firstPictureMs, kWidth);
    const int sweptTo = plat::TestPicture::barLeft(lastPictureMs, kWidth) + plat::TestPicture::barWidth(kWidth);
    for (int y = 2; y < kHeight; y += 6)
      for (int x = 2; x < kWidth; x += 6) {
        if (x >= sweptFrom && x < sweptTo) continue;
        const BYTE* pair = yuy2.data() + (static_cast<size_t>(y) * kWidth + static_cast<size_t>(x & ~1)) * 2;
        const plat::Rgb wanted = plat::TestPicture::yuvToRgb(pair[x & 1 ? 2 : 0], pair[1], pair[3]);
        const plat::Rgb seen = bitmap.at(x, y);
        difference += std::abs(seen.r - wanted.r) + std::abs(seen.g - wanted.g) + std::abs(seen.b - wanted.b);
        samples += 3;
      }
    EXPECT_LT(difference / samples, 10) << "mean difference per colour";
    const plat::Rgb corner = bitmap.at(kWidth - 6, kHeight - 6);
    const plat::Rgb station = plat::TestPicture::stationColour(channel);
    EXPECT_NEAR(corner.r, station.r, 16);
    EXPECT_NEAR(corner.g, station.g, 16);
    EXPECT_NEAR(corner.b, station.b, 16);
  }

  bool connected(IPin* pin) { return pin && GraphsTest::connected(pin); }
  static IPin* inputOf(IBaseFilter* filter) { return filter ? firstPin(filter, PINDIR_INPUT) : nullptr; }
  static IPin* outputOf(IBaseFilter* filter) { return filter ? firstPin(filter, PINDIR_OUTPUT) : nullptr; }
  IGraphBuilder* grabberGraph() { return grabber.GetGraph()->GetGraph(); }
  // The first filter of the class in the grabber's graph, not counted (the graph holds it).
  IBaseFilter* inGraph(REFCLSID clsid) {
    ComPtr<IEnumFilters> walk;
    grabberGraph()->EnumFilters(walk.put());
    IBaseFilter* filter = nullptr;
    while (walk->Next(1, &filter, nullptr) == S_OK) {
      CLSID its{};
      filter->GetClassID(&its);
      filter->Release();
      if (its == clsid) return filter;
    }
    return nullptr;
  }
  int count(REFCLSID clsid) {
    ComPtr<IEnumFilters> walk;
    grabberGraph()->EnumFilters(walk.put());
    int found = 0;
    IBaseFilter* filter = nullptr;
    while (walk->Next(1, &filter, nullptr) == S_OK) {
      CLSID its{};
      filter->GetClassID(&its);
      filter->Release();
      found += its == clsid;
    }
    return found;
  }
  std::wstring curFile(REFCLSID clsid) {
    IBaseFilter* filter = inGraph(clsid);
    LPOLESTR name = nullptr;
    if (clsid == kClsidStillCapture) {
      ComPtr<IFileSinkFilter> sink;
      if (filter) filter->QueryInterface(IID_IFileSinkFilter, sink.putVoid());
      if (sink) sink->GetCurFile(&name, nullptr);
    } else {
      ComPtr<IFileSourceFilter> source;
      if (filter) filter->QueryInterface(IID_IFileSourceFilter, source.putVoid());
      if (source) source->GetCurFile(&name, nullptr);
    }
    std::wstring text = name ? name : L"";
    CoTaskMemFree(name);
    return text;
  }

  std::unique_ptr<CFileFrameGrabber> owned = std::make_unique<CFileFrameGrabber>();
  CFileFrameGrabber& grabber = *owned;
  ComPtr<IBaseFilter> recorder;
  std::int64_t firstPictureMs = 0;
  std::int64_t lastPictureMs = 0;
};

// The four filters built, or the test skipped.
#define REQUIRE_FILTERS()                          \
  do {                                             \
    const std::string missing = missingModule();   \
    if (!missing.empty()) GTEST_SKIP() << missing; \
    ASSERT_TRUE(grabber.AddFilters());             \
  } while (0)

TEST_F(CFileFrameGrabberFileTest, TheDecoderAndStillCaptureModulesAreRegisteredFromTheProgramFolder) {
  const std::string missing = missingModule();
  if (!missing.empty()) GTEST_SKIP() << missing;
  EXPECT_FALSE(IsFilterRegistered(kClsidVideoDecoder));
  EXPECT_FALSE(IsFilterRegistered(kClsidStillCapture));
  ASSERT_TRUE(grabber.AddFilters());
  EXPECT_TRUE(IsFilterRegistered(kClsidVideoDecoder));
  EXPECT_TRUE(IsFilterRegistered(kClsidStillCapture));
  for (REFCLSID clsid : {kClsidFileSource, kClsidVideoDecoder, kClsidSplitter, kClsidStillCapture})
    EXPECT_NE(inGraph(clsid), nullptr);
  // Built again, the filters are new ones and the graph holds one of each.
  const ComPtr<IBaseFilter> firstSource(inGraph(kClsidFileSource));
  ASSERT_TRUE(grabber.AddFilters());
  EXPECT_NE(inGraph(kClsidFileSource), firstSource.get());
  for (REFCLSID clsid : {kClsidFileSource, kClsidVideoDecoder, kClsidSplitter, kClsidStillCapture})
    EXPECT_EQ(count(clsid), 1);
}

TEST_F(CFileFrameGrabberFileTest, AMissingDecoderModuleStopsTheBuildingAfterTheSource) {
  if (!registerModule(kSourceModule) || !IsFilterRegistered(kClsidFileSource))
    GTEST_SKIP() << kSourceModule << " (the private file source) is not built";
  EXPECT_FALSE(grabber.AddFilters());
  EXPECT_NE(inGraph(kClsidFileSource), nullptr);
  EXPECT_EQ(inGraph(kClsidSplitter), nullptr);
  EXPECT_EQ(inGraph(kClsidStillCapture), nullptr);
  EXPECT_FALSE(IsFilterRegistered(kClsidStillCapture)) << "never reached";
  EXPECT_FALSE(grabber.ConnectFilters());
  EXPECT_FALSE(grabber.AddDecoder());
}

TEST_F(CFileFrameGrabberFileTest, TheFirstPictureOfARecordingIsWrittenAsABitmap) {
  REQUIRE_FILTERS();
  record("cap00.mpg", 1);
  ASSERT_TRUE(grab("cap00.mpg", "cap00.bmp"));
  expectFirstPicture(readBitmap(picturePath("cap00.bmp")));
}

TEST_F(CFileFrameGrabberFileTest, AfterClearingTheNextFileIsGrabbedThroughTheSameFilters) {
  REQUIRE_FILTERS();
  record("cap00.mpg", 1);
  const int firstChannel = channel;
  record("cap01.mpg", 2);
  ASSERT_NE(channel, firstChannel);
  ASSERT_TRUE(grab("cap00.mpg", "cap00.bmp"));
  // Every filter is back in the graph, unconnected, for the next file.
  for (REFCLSID clsid : {kClsidFileSource, kClsidVideoDecoder, kClsidSplitter, kClsidStillCapture}) {
    IBaseFilter* filter = inGraph(clsid);
    ASSERT_NE(filter, nullptr);
    EXPECT_FALSE(connected(inputOf(filter)));
    EXPECT_FALSE(connected(outputOf(filter)));
  }
  ASSERT_TRUE(grab("cap01.mpg", "cap01.bmp"));
  expectFirstPicture(readBitmap(picturePath("cap01.bmp")));
}

TEST_F(CFileFrameGrabberFileTest, EmptyPathsChangeNothing) {
  REQUIRE_FILTERS();
  record("cap00.mpg", 1);
  ASSERT_TRUE(grabber.SetSourceFile("C:\\cap00.mpg"));
  ASSERT_TRUE(grabber.SetStillFileName("C:\\Pictures\\cap00.bmp"));
  EXPECT_FALSE(grabber.SetSourceFile(""));
  EXPECT_FALSE(grabber.SetSourceFile(nullptr));
  EXPECT_FALSE(grabber.SetStillFileName(""));
  EXPECT_FALSE(grabber.SetStillFileName(nullptr));
  EXPECT_EQ(curFile(kClsidFileSource), L"C:\\cap00.mpg");
  EXPECT_EQ(curFile(kClsidStillCapture), L"C:\\Pictures\\cap00.bmp");
}

TEST_F(CFileFrameGrabberFileTest, MissingTruncatedAndNonMediaFilesAreRefusedWithoutAPicture) {
  REQUIRE_FILTERS();
  record("cap00.mpg", 1);
  const Bytes whole = readFile(onC("cap00.mpg"));
  std::ofstream(onC("cut.mpg"), std::ios::binary).write(reinterpret_cast<const char*>(whole.data()), 40);
  std::ofstream(onC("notes.mpg")) << "Not a recording, only a few words of text.\n";
  std::ofstream(onC("empty.mpg"));
  for (const char* file : {"missing.mpg", "cut.mpg", "notes.mpg", "empty.mpg"}) {
    SCOPED_TRACE(file);
    EXPECT_FALSE(grab(file, "bad.bmp"));
    EXPECT_FALSE(fs::exists(picturePath("bad.bmp")));
  }
  // The grabber is still fit for a good file.
  ASSERT_TRUE(grab("cap00.mpg", "cap00.bmp"));
  expectFirstPicture(readBitmap(picturePath("cap00.bmp")));
}

TEST_F(CFileFrameGrabberFileTest, AFileWithoutVideoStaysConnectedToTheSplitterUntilCleared) {
  REQUIRE_FILTERS();
  // MPEG-1 layer II frames of silence: 48 kHz mono at 128 kbit/s, 384 bytes each.
  Bytes sound;
  for (int frame = 0; frame < 40; ++frame) {
    const Bytes header = {0xFF, 0xFD, 0x84, 0xC0};
    sound.insert(sound.end(), header.begin(), header.end());
    sound.resize(sound.size() + 380, 0);
  }
  std::ofstream(onC("sound.mpg"), std::ios::binary).write(reinterpret_cast<const char*>(sound.data()), sound.size());
  ASSERT_TRUE(grabber.SetSourceFile("C:\\sound.mpg"));
  ASSERT_TRUE(grabber.IsSourceLoaded());
  EXPECT_FALSE(grabber.ConnectFilters());
  IBaseFilter* source = inGraph(kClsidFileSource);
  IBaseFilter* splitter = inGraph(kClsidSplitter);
  EXPECT_TRUE(connected(outputOf(source)));
  EXPECT_TRUE(connected(inputOf(splitter)));
  EXPECT_FALSE(connected(inputOf(inGraph(kClsidVideoDecoder))));
  EXPECT_TRUE(grabber.ClearGraph());
  EXPECT_FALSE(connected(outputOf(inGraph(kClsidFileSource))));
  EXPECT_FALSE(connected(inputOf(inGraph(kClsidSplitter))));
}

TEST_F(CFileFrameGrabberFileTest, ConnectSplitterTakesTheDemultiplexerOutFirstThenTheSplitterThenTheDecoder) {
  REQUIRE_FILTERS();
  ComPtr<IBaseFilter> demultiplexer;
  ASSERT_EQ(CoCreateInstance(kClsidDemultiplexer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                             demultiplexer.putVoid()),
            S_OK);
  ASSERT_EQ(grabberGraph()->AddFilter(demultiplexer.get(), L"MPEG-2 Demultiplexer"), S_OK);
  EXPECT_TRUE(grabber.ConnectSplitter());
  EXPECT_EQ(inGraph(kClsidDemultiplexer), nullptr);
  EXPECT_NE(inGraph(kClsidSplitter), nullptr);
  EXPECT_TRUE(grabber.ConnectSplitter());
  EXPECT_EQ(inGraph(kClsidSplitter), nullptr);
  EXPECT_NE(inGraph(kClsidVideoDecoder), nullptr);
  EXPECT_TRUE(grabber.ConnectSplitter());
  EXPECT_EQ(inGraph(kClsidVideoDecoder), nullptr);
  EXPECT_NE(inGraph(kClsidFileSource), nullptr);
  EXPECT_NE(inGraph(kClsidStillCapture), nullptr);
}

TEST_F(CFileFrameGrabberFileTest, TheRenderedVariantRunsAndEndsWithoutStillCaptureOrParser) {
  REQUIRE_FILTERS();
  record("cap00.mpg", 1);
  ASSERT_TRUE(grabber.RenderFile("C:\\cap00.mpg"));
  EXPECT_TRUE(grabber.IsSourceLoaded());
  EXPECT_TRUE(grabber.AddDecoder());
  EXPECT_NE(inGraph(kClsidStillCapture), nullptr);
  EXPECT_TRUE(grabber.Run());
  grabber.RemoveStillCapture();
  EXPECT_EQ(inGraph(kClsidStillCapture), nullptr);
  const int parsers = count(kClsidDemultiplexer) + count(kClsidSplitter);
  ASSERT_GT(parsers, 0);
  EXPECT_TRUE(grabber.ConnectSplitter());
  EXPECT_EQ(count(kClsidDemultiplexer) + count(kClsidSplitter), parsers - 1);
  EXPECT_NE(inGraph(kClsidVideoDecoder), nullptr);
  EXPECT_TRUE(grabber.AddSource());
  EXPECT_TRUE(grabber.Stop());
}

}  // namespace
