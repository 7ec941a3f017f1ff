// The MPEG recorder's encoding rate: one second of 720 x 576 YUY2 pictures of a station
// (the sweeping bar makes every frame differ) pushed into the recorder as fast as it
// takes them, without a clock, and written as MPEG-1 (stream type 1 at the set size)
// or DVD MPEG-2 (stream type 8). Items per second are frames encoded per second. Beside
// it, FFmpeg's command line encodes the same pictures from a raw YUY2 file to the same
// stream with as many threads as the recorder uses (its own -benchmark time).
#include <com/ComPtr.h>
#include <com/objbase.h>
#include <dshow/baseclasses/streams.h>
#include <machine/Machine.h>
#include <machine/ProgramFolder.h>
#include <machine/TestPicture.h>
#include <vendor/mpeg_recorder/QnMpegEncoder.h>
#include <win32/module.h>

#include "support/BenchMachine.h"
#include "support/CommandLineTool.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using plat::ComPtr;

constexpr LONG kWidth = 720;
constexpr LONG kHeight = 576;
constexpr int kFrames = 25;

CMediaType pictureType() {
  CMediaType type(&MEDIATYPE_Video);
  type.SetSubtype(&MEDIASUBTYPE_YUY2);
  type.SetFormatType(&FORMAT_VideoInfo);
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
  info->AvgTimePerFrame = 400000;
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = kWidth;
  info->bmiHeader.biHeight = kHeight;
  info->bmiHeader.biPlanes = 1;
  info->bmiHeader.biBitCount = 16;
  info->bmiHeader.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');
  info->bmiHeader.biSizeImage = kWidth * kHeight * 2;
  type.SetSampleSize(info->bmiHeader.biSizeImage);
  return type;
}

// One second of painted station pictures in YUY2.
std::vector<std::vector<BYTE>> stationPictures() {
  plat::Scene scene;
  scene.kind = plat::Scene::Kind::Station;
  scene.number = 5;
  scene.name = "Bench";
  std::vector<std::vector<BYTE>> pictures;
  for (int frame = 0; frame < kFrames; ++frame) {
    pictures.emplace_back(static_cast<size_t>(kWidth * kHeight * 2));
    plat::TestPicture::paintYuy2(scene, frame * 40, static_cast<std::uint64_t>(frame), kWidth, kHeight,
                                 pictures.back().data(), kWidth * 2);
  }
  return pictures;
}

// The recorder's encoder threads, as it chooses them.
int encoderThreads() { return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u)); }

// Pushes one second of painted station pictures, stamped 40 ms apart, then ends the stream.
class PictureSource : public CSource {
 public:
  PictureSource() : CSource("Picture source", nullptr, GUID_NULL), m_pictures(stationPictures()) {
    m_stream = new Stream(this);
  }
  IPin* output() { return m_stream; }

 private:
  class Stream : public CSourceStream {
   public:
    explicit Stream(PictureSource* filter) : CSourceStream("Picture stream", nullptr, filter, L"Out"), m_source(filter) {}
    HRESULT GetMediaType(CMediaType* type) override {
      *type = pictureType();
      return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* props) override {
      ALLOCATOR_PROPERTIES wanted = *props;
      wanted.cBuffers = 4;
      wanted.cbBuffer = kWidth * kHeight * 2;
      ALLOCATOR_PROPERTIES actual{};
      return alloc->SetProperties(&wanted, &actual);
    }
    HRESULT OnThreadStartPlay() override {
      m_next = 0;
      return S_OK;
    }
    HRESULT FillBuffer(IMediaSample* sample) override {
      if (m_next >= kFrames) return S_FALSE;
      BYTE* data = nullptr;
      sample->GetPointer(&data);
      const auto& picture = m_source->m_pictures[static_cast<size_t>(m_next)];
      std::memcpy(data, picture.data(), picture.size());
      REFERENCE_TIME start = m_next * 400000LL;
      REFERENCE_TIME stop = start + 400000LL;
      sample->SetTime(&start, &stop);
      sample->SetActualDataLength(static_cast<long>(picture.size()));
      ++m_next;
      return S_OK;
    }

   private:
    PictureSource* m_source;
    int m_next = 0;
  };

  std::vector<std::vector<BYTE>> m_pictures;
  IPin* m_stream;
};

void BM_EncodeOneSecondAt720x576(benchmark::State& state) {
  if (!bench::OpenMachineWithModule("Filter\\qnmpeg2enc.ax")) {
    state.SkipWithError("the recorder module cannot be registered");
    return;
  }
  CoInitialize(nullptr);
  {
    ComPtr<IGraphBuilder> graph;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid());
    auto* source = new PictureSource();
    ComPtr<IBaseFilter> sourceFilter(source);
    ComPtr<IBaseFilter> recorder;
    CoCreateInstance(CLSID_QnMpegRecorder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, recorder.putVoid());
    graph->AddFilter(sourceFilter.get(), L"Source");
    graph->AddFilter(recorder.get(), L"Recorder");
    ComPtr<IQnMpegVideoSettings> settings;
    recorder->QueryInterface(IID_IQnMpegVideoSettings, settings.putVoid());
    settings->SetStreamType(static_cast<LONG>(state.range(0)));
    settings->SetVideoBitRate(6000000);
    if (state.range(0) == 1) settings->SetPictureSize(kWidth, kHeight);
    ComPtr<IFileSinkFilter> sink;
    recorder->QueryInterface(IID_IFileSinkFilter, sink.putVoid());
    sink->SetFileName(L"C:\\bench.mpg", nullptr);
    ComPtr<IPin> input;
    recorder->FindPin(L"InputVideo", input.put());
    if (graph->ConnectDirect(source->output(), input.get(), nullptr) != S_OK) {
      state.SkipWithError("cannot connect");
      return;
    }
    ComPtr<IMediaFilter> timing;
    graph->QueryInterface(IID_IMediaFilter, timing.putVoid());
    timing->SetSyncSource(nullptr);  // as fast as it goes
    ComPtr<IMediaControl> control;
    ComPtr<IMediaEvent> events;
    graph->QueryInterface(IID_IMediaControl, control.putVoid());
    graph->QueryInterface(IID_IMediaEvent, events.putVoid());
    for (auto _ : state) {
      control->Run();
      long code = 0;
      events->WaitForCompletion(INFINITE, &code);
      control->Stop();  // finishes the file
      LONG_PTR p1 = 0, p2 = 0;
      while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
      }
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
  }
  CoUninitialize();
}
BENCHMARK(BM_EncodeOneSecondAt720x576)
    ->ArgName("stream_type")
    ->Arg(1)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same pictures through `ffmpeg` to the same stream type, size, bit rate, group of
// pictures and threads: the anchor of the encoding target (at least 0.9 of its rate).
void BM_FfmpegCommandLineEncodesTheSamePictures(benchmark::State& state) {
  bench::OpenMachine();
  const auto folder = std::filesystem::temp_directory_path() / ("orvane-bench-ffmpeg-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const auto raw = folder / "pictures.yuv";
  {
    std::ofstream out(raw, std::ios::binary);
    for (const auto& picture : stationPictures())
      out.write(reinterpret_cast<const char*>(picture.data()), static_cast<std::streamsize>(picture.size()));
  }
  const bool mpeg2 = state.range(0) == 8;
  const std::string arguments = "-f rawvideo -pix_fmt yuyv422 -s 720x576 -r 25 -i '" + raw.string() +
                                "' -c:v " + (mpeg2 ? "mpeg2video" : "mpeg1video") +
                                " -b:v 6000000 -g 12 -bf 2 -threads " + std::to_string(encoderThreads()) + " -f " +
                                (mpeg2 ? "vob" : "mpeg") + " -y '" + (folder / "out.mpg").string() + "'";
  bench::TimeFfmpegRuns(state, arguments, kFrames, "anchor, " + std::to_string(encoderThreads()) + " threads");
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FfmpegCommandLineEncodesTheSamePictures)
    ->ArgName("stream_type")
    ->Arg(1)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

}  // namespace

int main(int argc, char** argv) { return bench::Main(argc, argv, ORVANE_PROGRAM_DIR); }
