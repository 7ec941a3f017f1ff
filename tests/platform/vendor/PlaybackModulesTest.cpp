// The makers' playback modules: the MPEG video and audio decoders, preferred over the
// platform's once registered, the decoder's option at its interface slot, and the
// asynchronous file source feeding the splitter, decoder and still capture by hand.
#include "FilterModuleTest.h"

#include <platform/dshow/MediaFileWriter.h>
#include <vendor/async_source/QnAsyncSource.h>
#include <vendor/mpeg_audio_decoder/QnMpegAudioDecoder.h>
#include <vendor/mpeg_video_decoder/QnMpegVideoDecoder.h>
#include <vendor/still_capture/QnStillCap.h>

#include <filesystem>
#include <fstream>

namespace vendortest {
namespace {

using dstest::MediaFileWriter;

class PlaybackModulesTest : public FilterModuleTest {
 protected:
  std::wstring mpegFile() {
    EXPECT_TRUE(MediaFileWriter::write(machine().paths().driveFolder('C') / "clip.mpg",
                                       MediaFileWriter::Kind::MpegProgram, 1.0));
    return L"C:\\clip.mpg";
  }
  std::vector<std::wstring> names() {
    std::vector<std::wstring> list;
    ComPtr<IEnumFilters> walk;
    graph->EnumFilters(walk.put());
    IBaseFilter* filter = nullptr;
    while (walk->Next(1, &filter, nullptr) == S_OK) {
      FILTER_INFO info{};
      filter->QueryFilterInfo(&info);
      if (info.pGraph) info.pGraph->Release();
      list.push_back(info.achName);
      filter->Release();
    }
    return list;
  }
  bool has(const std::wstring& name) {
    const auto all = names();
    return std::find(all.begin(), all.end(), name) != all.end();
  }
  void newGraph() {
    graph.reset();
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()),
              S_OK);
  }
  bool runToCompletion() {
    ComPtr<IMediaEventEx> events;
    graph->QueryInterface(IID_IMediaEventEx, events.putVoid());
    if (FAILED(control()->Run())) return false;
    return test::advanceUntil(
        machine().clock(),
        [&] {
          long code = 0;
          return events->WaitForCompletion(0, &code) == S_OK && code == EC_COMPLETE;
        },
        500, 60'000);
  }
  static ComPtr<IPin> pin(IBaseFilter* filter, const wchar_t* id) {
    ComPtr<IPin> found;
    filter->FindPin(id, found.put());
    return found;
  }
};

TEST_F(PlaybackModulesTest, RegisteredDecodersArePreferredOverThePlatformsOwn) {
  const std::wstring file = mpegFile();
  ASSERT_EQ(graph->RenderFile(file.c_str(), nullptr), S_OK);
  EXPECT_TRUE(has(L"MPEG Video Decoder"));
  EXPECT_FALSE(has(L"QN MPEG Video Decoder"));

  ASSERT_EQ(callModule("QNMpegVD.ax", "DllRegisterServer"), S_OK);
  ASSERT_EQ(callModule("QNMpegAD.ax", "DllRegisterServer"), S_OK);
  newGraph();
  ASSERT_EQ(graph->RenderFile(file.c_str(), nullptr), S_OK);
  EXPECT_TRUE(has(L"QN MPEG Video Decoder"));
  EXPECT_TRUE(has(L"QN MPEG Audio Decoder"));
  EXPECT_FALSE(has(L"MPEG Video Decoder"));
  EXPECT_FALSE(has(L"MPEG Audio Decoder"));
  EXPECT_TRUE(runToCompletion());
  control()->Stop();

  ASSERT_EQ(callModule("QNMpegAD.ax", "DllUnregisterServer"), S_OK);
  ComPtr<IBaseFilter> gone;
  EXPECT_EQ(CoCreateInstance(CLSID_QnMpegAudioDecoder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, gone.putVoid()),
            REGDB_E_CLASSNOTREG);
}

TEST_F(PlaybackModulesTest, TheDecoderOptionIsTheFourthSlotOfItsInterface) {
  ComPtr<IBaseFilter> decoder = addModuleFilter("QNMpegVD.ax", CLSID_QnMpegVideoDecoder, L"QN MPEG Video Decoder");
  ASSERT_TRUE(decoder);
  ComPtr<IQnMpegDecoderOption> option;
  ASSERT_EQ(decoder->QueryInterface(IID_IQnMpegDecoderOption, option.putVoid()), S_OK);
  BOOL value = TRUE;
  ASSERT_EQ(option->GetOption(&value), S_OK);
  EXPECT_FALSE(value);
  // Called as the program calls it: the fourth entry of the table, after IUnknown's three.
  using Slot = HRESULT (*)(void*, BOOL);
  Slot fourth = (*reinterpret_cast<Slot**>(option.get()))[3];
  ASSERT_EQ(fourth(option.get(), 7), S_OK);
  option->GetOption(&value);
  EXPECT_EQ(value, TRUE);
  ASSERT_EQ(option->SetOption(FALSE), S_OK);
  option->GetOption(&value);
  EXPECT_EQ(value, FALSE);
  EXPECT_EQ(option->GetOption(nullptr), E_POINTER);
}

TEST_F(PlaybackModulesTest, TheAsyncSourceFeedsSplitterDecoderAndStillCaptureByHand) {
  const std::wstring file = mpegFile();
  ComPtr<IBaseFilter> source;
  EXPECT_EQ(CoCreateInstance(CLSID_QnAsyncSource, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, source.putVoid()),
            REGDB_E_CLASSNOTREG);
  source = addModuleFilter("QNAsyncSource.ax", CLSID_QnAsyncSource, L"File Source (Async)");
  ASSERT_TRUE(source);
  ComPtr<IQnSourceReady> ready;
  ComPtr<IFileSourceFilter> loader;
  ASSERT_EQ(source->QueryInterface(IID_IQnSourceReady, ready.putVoid()), S_OK);
  ASSERT_EQ(source->QueryInterface(IID_IFileSourceFilter, loader.putVoid()), S_OK);
  EXPECT_EQ(ready->Prepare(0, 0), S_FALSE);  // nothing loaded
  AM_MEDIA_TYPE stream{};
  stream.majortype = MEDIATYPE_Stream;
  ASSERT_EQ(loader->Load(file.c_str(), &stream), S_OK);
  EXPECT_EQ(ready->Prepare(0, 0), S_OK);

  ComPtr<IBaseFilter> splitter;
  ASSERT_EQ(CoCreateInstance(CLSID_MPEG2Splitter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, splitter.putVoid()),
            S_OK);
  ASSERT_EQ(graph->AddFilter(splitter.get(), L"MPEG-2 Splitter"), S_OK);
  ComPtr<IBaseFilter> decoder = addModuleFilter("QNMpegVD.ax", CLSID_QnMpegVideoDecoder, L"QN MPEG Video Decoder");
  ComPtr<IBaseFilter> still = addModuleFilter("QNStillCap.ax", CLSID_QnStillCapture, L"Quarnelix StillCapture");
  ASSERT_TRUE(decoder && still);
  ComPtr<IFileSinkFilter> sink;
  ASSERT_EQ(still->QueryInterface(IID_IFileSinkFilter, sink.putVoid()), S_OK);
  ASSERT_EQ(sink->SetFileName(L"C:\\thumb.bmp", nullptr), S_OK);

  ASSERT_EQ(graph->ConnectDirect(firstPin(source.get(), PINDIR_OUTPUT), firstPin(splitter.get(), PINDIR_INPUT), nullptr),
            S_OK);
  ASSERT_EQ(graph->ConnectDirect(pin(splitter.get(), L"Video").get(), firstPin(decoder.get(), PINDIR_INPUT), nullptr),
            S_OK);
  ASSERT_EQ(graph->ConnectDirect(firstPin(decoder.get(), PINDIR_OUTPUT), firstPin(still.get(), PINDIR_INPUT), nullptr),
            S_OK);
  ASSERT_EQ(control()->Run(), S_OK);
  const auto thumb = machine().paths().driveFolder('C') / "thumb.bmp";
  EXPECT_TRUE(test::holdsWhenSettled(machine().clock(), [&] {
    std::error_code ec;
    return std::filesystem::file_size(thumb, ec) > 176u * 144u * 3u;
  }));
  control()->Stop();

  // Bytes of no known kind: the source asks to be made again.
  std::ofstream(machine().paths().driveFolder('C') / "note.txt") << "no pictures here";
  ComPtr<IBaseFilter> other;
  ASSERT_EQ(CoCreateInstance(CLSID_QnAsyncSource, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, other.putVoid()), S_OK);
  ComPtr<IFileSourceFilter> otherLoader;
  ComPtr<IQnSourceReady> otherReady;
  other->QueryInterface(IID_IFileSourceFilter, otherLoader.putVoid());
  other->QueryInterface(IID_IQnSourceReady, otherReady.putVoid());
  ASSERT_EQ(otherLoader->Load(L"C:\\note.txt", &stream), S_OK);
  EXPECT_EQ(otherReady->Prepare(0, 0), S_FALSE);
}

}  // namespace
}  // namespace vendortest
