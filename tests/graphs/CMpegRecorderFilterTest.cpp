// The recorder wrapper on the registered recorder module: the settings each record format
// and quality sends (the filter records every call on its settings interfaces), the
// video system fallback of an encoder that refuses one, the file it is told to write,
// and a short recording from the TV stick that gives a real MPEG file.
#include "FilterFolderGraphTest.h"

#include "graphs/CMpegRecorderFilter.h"

#include <com/objbase.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using plat::ComPtr;
using Calls = std::vector<std::string>;

class CMpegRecorderFilterTest : public test::FilterFolderGraphTest {
 protected:
  void SetUp() override {
    FilterFolderGraphTest::SetUp();
    std::filesystem::create_directories(recordFolder());
  }

  std::filesystem::path recordFolder() { return machine().paths().driveFolder('C') / "Rec"; }
  template <class Itf>
  ComPtr<Itf> as(IBaseFilter* filter, REFIID iid) {
    ComPtr<Itf> itf;
    EXPECT_EQ(filter->QueryInterface(iid, itf.putVoid()), S_OK);
    return itf;
  }
  // The settings calls the filter received since the last look, as "video 9(3)".
  Calls calls(IBaseFilter* filter) {
    auto probe = as<IQnMpegRecorderProbe>(filter, IID_IQnMpegRecorderProbe);
    LONG count = 0;
    probe->GetCallCount(&count);
    Calls texts;
    for (LONG i = seen; i < count; ++i) {
      QnMpegRecorderCall call{};
      probe->GetCall(i, &call);
      std::string text = (call.itf == QnMpegRecorderCall::VideoSettings ? "video " : "mux ") +
                         std::to_string(call.slot) + "(";
      for (LONG a = 0; a < call.argCount; ++a) text += (a ? ", " : "") + std::to_string(call.args[a]);
      texts.push_back(text + ")" + (FAILED(call.result) ? " failed" : ""));
    }
    seen = count;
    return texts;
  }
  static Calls expectedCalls(int streamType, int kbit, int system, int width, int height, int buffer) {
    return {"video 4(" + std::to_string(streamType) + ")",
            "video 6(" + std::to_string(kbit * 1000) + ")",
            "video 9(" + std::to_string(system) + ")",
            "video 55(" + std::to_string(width) + ", " + std::to_string(height) + ")",
            "video 11(" + std::to_string(buffer) + ")",
            "video 14(0)",
            "video 20(1)",
            "video 13(0)",
            "video 28(224)",
            "video 46(1)",
            "mux 4(1)",
            "mux 14(10)",
            "mux 12(1)",
            "mux 6(1)",
            "mux 8(1)",
            "mux 10(0)",
            "mux 16(16, 16, 8, 8)"};
  }
  std::wstring sinkFile(IBaseFilter* filter) {
    LPOLESTR name = nullptr;
    if (as<IFileSinkFilter>(filter, IID_IFileSinkFilter)->GetCurFile(&name, nullptr) != S_OK || !name) return L"";
    std::wstring result(name);
    CoTaskMemFree(name);
    return result;
  }

  static constexpr const char* kFolder = "C:\\Rec\\";
  LONG seen = 0;
};

TEST_F(CMpegRecorderFilterTest, ItIsCreatedOnceAndNeverAddedAgain) {
  CMpegRecorderFilter recorder(graph.get());
  EXPECT_EQ(recorder.GetEncoderValue(), 0);
  ASSERT_TRUE(recorder.AddToGraph());
  IBaseFilter* filter = recorder.GetFilter();
  ASSERT_EQ(graph->RemoveFilter(filter), S_OK);
  EXPECT_FALSE(recorder.AddToGraph());
  EXPECT_EQ(recorder.GetFilter(), filter);
  EXPECT_TRUE(names().empty());
  EXPECT_FALSE(CMpegRecorderFilter(nullptr).AddToGraph());
}

TEST_F(CMpegRecorderFilterTest, EveryFormatSendsItsTableRowAndNamesTheFile) {
  struct Row {
    int format, quality, streamType, kbit, system, width, height, buffer;
  };
  // Picture size only for the plain MPEG-1 and MPEG-2 stream types.
  const Row rows[] = {
      {0, 1, 1, 1250, 3, 320, 240, 4096}, {0, 2, 1, 2000, 3, 320, 240, 4096}, {0, 3, 1, 4000, 3, 320, 240, 4096},
      {1, 3, 4, 1150, 3, 0, 0, 640},      {2, 1, 3, 1150, 4, 0, 0, 4096},     {3, 2, 10, 2500, 3, 0, 0, 800},
      {4, 1, 2, 1250, 3, 640, 480, 4096}, {4, 3, 2, 4000, 3, 640, 480, 4096}, {5, 1, 8, 4000, 3, 0, 0, 4096},
      {5, 2, 8, 6000, 3, 0, 0, 4096},     {5, 3, 8, 8000, 3, 0, 0, 4096},     {6, 2, 7, 6000, 4, 0, 0, 4096},
      {7, 1, 9, 2500, 4, 0, 0, 800},
  };
  CMpegRecorderFilter recorder(graph.get());
  ASSERT_TRUE(recorder.AddToGraph());
  for (const Row& row : rows) {
    SCOPED_TRACE("format " + std::to_string(row.format) + " quality " + std::to_string(row.quality));
    CString path;
    ASSERT_TRUE(recorder.Configure(kFolder, row.format, row.quality, path));
    EXPECT_EQ(calls(recorder.GetFilter()),
              expectedCalls(row.streamType, row.kbit, row.system, row.width, row.height, row.buffer));
    EXPECT_EQ(std::string(path), "C:\\Rec\\cap00.mpg");
    EXPECT_EQ(sinkFile(recorder.GetFilter()), L"C:\\Rec\\cap00.mpg");
    EXPECT_DOUBLE_EQ(recorder.GetSizeForSeconds(3600), row.kbit * 0.45);
  }
}

TEST_F(CMpegRecorderFilterTest, DvdPalAtHighQualityTakesFortyFiveMegabytesAMinute) {
  CMpegRecorderFilter recorder(graph.get());
  EXPECT_EQ(recorder.GetSizeForSeconds(60), 0.0);
  ASSERT_TRUE(recorder.AddToGraph());
  CString path;
  ASSERT_TRUE(recorder.Configure(kFolder, 5, 2, path));
  EXPECT_DOUBLE_EQ(recorder.GetSizeForSeconds(60), 45.0);
  const Calls sent = calls(recorder.GetFilter());
  ASSERT_GE(sent.size(), 4u);
  EXPECT_EQ(sent[0], "video 4(8)");
  EXPECT_EQ(sent[1], "video 6(6000000)");
  EXPECT_EQ(sent[3], "video 55(0, 0)");
}

TEST_F(CMpegRecorderFilterTest, PlainMpegFallsBackToOtherVideoSystems) {
  CMpegRecorderFilter recorder(graph.get());
  ASSERT_TRUE(recorder.AddToGraph());
  auto probe = as<IQnMpegRecorderProbe>(recorder.GetFilter(), IID_IQnMpegRecorderProbe);
  CString path;

  ASSERT_EQ(probe->RefuseFrameRateCode(3), S_OK);
  ASSERT_TRUE(recorder.Configure(kFolder, 4, 2, path));
  Calls sent = calls(recorder.GetFilter());
  ASSERT_GE(sent.size(), 5u);
  EXPECT_EQ(Calls(sent.begin() + 2, sent.begin() + 5),
            (Calls{"video 9(3) failed", "video 9(5)", "video 55(640, 480)"}));

  ASSERT_EQ(probe->RefuseFrameRateCode(5), S_OK);
  ASSERT_TRUE(recorder.Configure(kFolder, 0, 1, path));
  sent = calls(recorder.GetFilter());
  ASSERT_GE(sent.size(), 6u);
  EXPECT_EQ(Calls(sent.begin() + 2, sent.begin() + 6),
            (Calls{"video 9(3) failed", "video 9(5) failed", "video 9(2)", "video 55(320, 240)"}));

  ASSERT_EQ(probe->RefuseFrameRateCode(2), S_OK);
  path = "unchanged";
  EXPECT_FALSE(recorder.Configure(kFolder, 4, 1, path));
  EXPECT_EQ(calls(recorder.GetFilter()), (Calls{"video 4(2)", "video 6(1250000)", "video 9(3) failed",
                                                "video 9(5) failed", "video 9(2) failed"}));
  EXPECT_EQ(std::string(path), "unchanged");
}

TEST_F(CMpegRecorderFilterTest, OtherStreamTypesHaveNoFallback) {
  CMpegRecorderFilter recorder(graph.get());
  ASSERT_TRUE(recorder.AddToGraph());
  ASSERT_EQ(as<IQnMpegRecorderProbe>(recorder.GetFilter(), IID_IQnMpegRecorderProbe)->RefuseFrameRateCode(3), S_OK);
  CString path;
  EXPECT_FALSE(recorder.Configure(kFolder, 5, 1, path));
  EXPECT_EQ(calls(recorder.GetFilter()), (Calls{"video 4(8)", "video 6(4000000)", "video 9(3) failed"}));
  EXPECT_TRUE(path.IsEmpty());
  EXPECT_EQ(sinkFile(recorder.GetFilter()), L"");
}

TEST_F(CMpegRecorderFilterTest, FormatsAndQualitiesOutsideTheTableSendNothing) {
  CMpegRecorderFilter recorder(graph.get());
  ASSERT_TRUE(recorder.AddToGraph());
  CString path;
  for (auto [format, quality] : {std::pair{8, 1}, {-1, 1}, {0, 0}, {5, 4}}) {
    EXPECT_FALSE(recorder.Configure(kFolder, format, quality, path)) << format << "/" << quality;
  }
  EXPECT_TRUE(calls(recorder.GetFilter()).empty());
  EXPECT_EQ(recorder.GetSizeForSeconds(60), 0.0);

  CMpegRecorderFilter without(graph.get());
  EXPECT_FALSE(without.Configure(kFolder, 0, 1, path));
}

// The first picture header of an MPEG file: width and height of its sequence header.
struct SequenceHeader {
  bool found = false;
  int width = 0;
  int height = 0;
  int pictures = 0;
};

SequenceHeader readSequence(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  SequenceHeader header;
  for (size_t i = 0; i + 6 < data.size(); ++i) {
    if (data[i] != 0 || data[i + 1] != 0 || data[i + 2] != 1) continue;
    if (data[i + 3] == 0xB3 && !header.found) {
      header.found = true;
      header.width = data[i + 4] << 4 | data[i + 5] >> 4;
      header.height = (data[i + 5] & 0x0F) << 8 | data[i + 6];
    }
    header.pictures += data[i + 3] == 0x00;
  }
  return header;
}

TEST_F(CMpegRecorderFilterTest, AShortRecordingFromTheStickIsAnMpegFile) {
  machine().ini().setValue("TVStick", "AudioOut", "1");
  addStick();
  setCaptureFormat(MEDIASUBTYPE_YUY2, 320, 240);
  CMpegRecorderFilter recorder(graph.get());
  ASSERT_TRUE(recorder.AddToGraph());
  CString path;
  ASSERT_TRUE(recorder.Configure(kFolder, 0, 2, path));
  ASSERT_EQ(graph->ConnectDirect(pin(device.get(), L"Capture").get(), recorder.FindPin(TRUE, "InputVideo"), nullptr),
            S_OK);
  ASSERT_EQ(graph->ConnectDirect(pin(device.get(), L"AudioOut").get(), recorder.FindPin(TRUE, "InputAudio"), nullptr),
            S_OK);

  ASSERT_TRUE(SUCCEEDED(control()->Run()));
  ASSERT_NO_FATAL_FAILURE(settle());
  ASSERT_EQ(recorder.GetEncoderValue(), 1);
  for (int frame = 1; frame <= 25; ++frame) {
    ASSERT_NO_FATAL_FAILURE(advance(40));
    ASSERT_EQ(recorder.GetEncoderValue(), frame + 1) << frame;
  }
  ASSERT_EQ(control()->Stop(), S_OK);
  EXPECT_EQ(recorder.GetEncoderValue(), 26);

  const std::filesystem::path file = recordFolder() / "cap00.mpg";
  ASSERT_TRUE(std::filesystem::exists(file));
  std::ifstream in(file, std::ios::binary);
  unsigned char pack[4] = {};
  in.read(reinterpret_cast<char*>(pack), 4);
  EXPECT_EQ(std::vector<unsigned char>(pack, pack + 4), (std::vector<unsigned char>{0, 0, 1, 0xBA}));
  const SequenceHeader header = readSequence(file);
  ASSERT_TRUE(header.found);
  EXPECT_EQ(header.width, 320);
  EXPECT_EQ(header.height, 240);
  EXPECT_EQ(header.pictures, 26);

  // The next recording takes the next name.
  ASSERT_TRUE(recorder.Configure(kFolder, 0, 2, path));
  EXPECT_EQ(std::string(path), "C:\\Rec\\cap01.mpg");
}

}  // namespace
