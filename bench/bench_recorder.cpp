// The MPEG recorder's encoding: four seconds of 720 x 576 YUY2 pictures of a station
// (the sweeping bar makes every frame differ) pushed into the recorder as fast as it
// takes them, without a clock, and written as MPEG-1 (stream type 1 at the set size) or
// DVD MPEG-2 (stream type 8) at 6 Mbit/s: the filter in a graph with its encoder's
// threads (one per core, up to eight), and its file writer alone at one thread. The
// figures are processor and wall time per frame. Beside each, FFmpeg's command line
// encodes the same pictures from a raw YUY2 file to the same stream: 4:2:0 pictures of
// the same size, bit rate, group of pictures and B-frames, with the same threads (its
// own -benchmark figures, which leave out its start-up as ours leave out the graph's).
// Target: at one thread, processor time per frame within 1.05 of FFmpeg's.
#include <com/ComPtr.h>
#include <com/objbase.h>
#include <dshow/baseclasses/streams.h>
#include <machine/Machine.h>
#include <machine/ProgramFolder.h>
#include <machine/TestPicture.h>
#include <vendor/mpeg_recorder/MpegFileWriter.h>
#include <vendor/mpeg_recorder/QnMpegEncoder.h>
#include <win32/module.h>

#include "support/BenchMachine.h"
#include "support/GraphRun.h"
#include "support/SideBySide.h"

#include <support/media/FrameStream.h>
#include <support/media/VideoType.h>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using plat::ComPtr;

constexpr LONG kWidth = 720;
constexpr LONG kHeight = 576;
constexpr int kFrames = 100;
constexpr LONG kBitRate = 6000000;
constexpr auto kToolLimit = std::chrono::seconds(120);

CMediaType pictureType() {
  CMediaType type = test::VideoType(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16);
  reinterpret_cast<VIDEOINFOHEADER*>(type.Format())->bmiHeader.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');
  return type;
}

// Four seconds of painted station pictures in YUY2.
std::vector<std::vector<BYTE>> paintPictures() {
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

// The same, painted once.
const std::vector<std::vector<BYTE>>& stationPictures() {
  static const std::vector<std::vector<BYTE>> pictures = paintPictures();
  return pictures;
}

// The recorder's encoder threads, as it chooses them.
int encoderThreads() { return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u)); }

// Pushes the painted station pictures, stamped 40 ms apart, then ends the stream.
class PictureSource : public CSource {
 public:
  PictureSource() : CSource("Picture source", nullptr, GUID_NULL), m_pictures(stationPictures()) {
    m_stream = new Stream(this);
  }
  IPin* output() { return m_stream; }

 private:
  class Stream : public test::FrameStream {
   public:
    explicit Stream(PictureSource* filter) : FrameStream(filter, kFrames, 4), m_source(filter) {}
    HRESULT GetMediaType(CMediaType* type) override {
      *type = pictureType();
      return S_OK;
    }

   protected:
    long bufferBytes() override { return kWidth * kHeight * 2; }
    void fill(IMediaSample* sample, int frame) override {
      BYTE* data = nullptr;
      sample->GetPointer(&data);
      const auto& picture = m_source->m_pictures[static_cast<size_t>(frame)];
      std::memcpy(data, picture.data(), picture.size());
      sample->SetActualDataLength(static_cast<long>(picture.size()));
    }

   private:
    PictureSource* m_source;
  };

  const std::vector<std::vector<BYTE>>& m_pictures;
  IPin* m_stream;
};

// The raw YUY2 pictures as a file for FFmpeg, written once; removed at the end.
const std::filesystem::path& rawPictures() {
  static const std::filesystem::path raw = [] {
    const auto folder = std::filesystem::temp_directory_path() / ("orvane-bench-ffmpeg-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / "pictures.yuv", std::ios::binary);
    for (const auto& picture : stationPictures())
      out.write(reinterpret_cast<const char*>(picture.data()), static_cast<std::streamsize>(picture.size()));
    return folder / "pictures.yuv";
  }();
  return raw;
}

// FFmpeg's arguments for the same pictures to the same stream with `threads` threads, for
// the encoder and for the conversion to 4:2:0 alike.
std::string ffmpegArguments(bool mpeg2, int threads) {
  const auto folder = rawPictures().parent_path();
  return "-filter_threads " + std::to_string(threads) + " -f rawvideo -pix_fmt yuyv422 -s 720x576 -r 25 -i '" +
         rawPictures().string() + "' -pix_fmt yuv420p -c:v " +
         (mpeg2 ? "mpeg2video" : "mpeg1video") + " -b:v " + std::to_string(kBitRate) + " -g 12 -bf 2 -threads " +
         std::to_string(threads) + " -f " + (mpeg2 ? "vob" : "mpeg") + " -y '" + (folder / "out.mpg").string() + "'";
}

// Runs FFmpeg beside one of our rounds and reports both.
void addFfmpegRun(bench::SideBySide& figures, bool mpeg2, int threads) {
  figures.addAnchor(bench::RunFfmpeg(ffmpegArguments(mpeg2, threads), kToolLimit), kFrames);
}

void reportBesideFfmpeg(benchmark::State& state, const bench::SideBySide& figures, bool mpeg2, int threads,
                        const std::string& target = "") {
  figures.report(state, "FFmpeg, " + std::to_string(threads) + " thread" + (threads > 1 ? "s" : ""),
                 bench::FfmpegCommand(ffmpegArguments(mpeg2, threads)), target);
}

// The recorder filter in a graph, fed by the picture source; each round writes the file.
void BM_RecorderFilter(benchmark::State& state) {
  if (!bench::OpenMachineWithModule("Filter\\qnmpeg2enc.ax")) {
    state.SkipWithError("the recorder module cannot be registered");
    return;
  }
  const bool mpeg2 = state.range(0) == 8;
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
    settings->SetVideoBitRate(kBitRate);
    if (!mpeg2) settings->SetPictureSize(kWidth, kHeight);
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
    bench::SideBySide figures("ms_per_frame", 1e3);
    for (auto _ : state) {
      const auto ours = bench::RunGraphToEnd(graph.get(), kToolLimit);  // the stop finishes the file
      if (!ours) {
        state.SkipWithError("the stream did not end");
        break;
      }
      figures.addOurs(*ours, kFrames);
      addFfmpegRun(figures, mpeg2, encoderThreads());
    }
    reportBesideFfmpeg(state, figures, mpeg2, encoderThreads());
  }
  CoUninitialize();
}
BENCHMARK(BM_RecorderFilter)
    ->ArgName("stream_type")
    ->Arg(1)
    ->Arg(8)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The recorder's file writer alone with one encoder thread: the pictures converted on the
// calling thread and encoded on the writer's, as FFmpeg's one-thread run reads and
// encodes them.
void BM_EncoderAtOneThread(benchmark::State& state) {
  bench::OpenMachine();
  const bool mpeg2 = state.range(0) == 8;
  plat::EncoderSettings settings;
  settings.streamType = static_cast<LONG>(state.range(0));
  settings.videoBitRate = kBitRate;
  if (!mpeg2) {
    settings.width = kWidth;
    settings.height = kHeight;
  }
  const plat::MpegFileWriter::Picture picture{kWidth, kHeight, true};
  const auto file = plat::Machine::current().paths().toLinux("C:\\bench.mpg");
  const auto& pictures = stationPictures();
  bench::SideBySide figures("ms_per_frame", 1e3);
  for (auto _ : state) {
    const double before = bench::ProcessSeconds();
    const auto started = std::chrono::steady_clock::now();
    HRESULT hr = S_OK;
    auto writer = plat::MpegFileWriter::create(file.string(), settings, &picture, nullptr, hr, 1);
    for (int n = 0; writer && n < kFrames && SUCCEEDED(hr); ++n)
      hr = writer->writePicture(pictures[static_cast<size_t>(n)].data(), kWidth * kHeight * 2, n * 400000LL);
    if (writer && SUCCEEDED(hr)) hr = writer->finish();
    figures.addOurs({std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
                     bench::ProcessSeconds() - before},
                    kFrames);
    if (!writer || FAILED(hr)) {
      state.SkipWithError("the writer failed");
      break;
    }
    addFfmpegRun(figures, mpeg2, 1);
  }
  reportBesideFfmpeg(state, figures, mpeg2, 1, "target: cpu_ratio <= 1.05");
}
BENCHMARK(BM_EncoderAtOneThread)
    ->ArgName("stream_type")
    ->Arg(1)
    ->Arg(8)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  const int result = bench::Main(argc, argv, ORVANE_PROGRAM_DIR);
  std::error_code ec;
  std::filesystem::remove_all(rawPictures().parent_path(), ec);
  return result;
}
