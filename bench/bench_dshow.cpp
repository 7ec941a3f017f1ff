// The filter graph's hot paths, as fast as the graph moves samples (no clock): small
// samples from a source through a copying transform to the Null Renderer, for the cost
// of a sample passed on; and full 720 x 576 YUY2 frames through the AVI Decompressor
// (to RGB32) for a conversion's throughput. The figures are processor and wall time per
// sample. Beside them, the same work by GStreamer (the same number of samples of the same
// size through a pass-through element into a fakesink, its start-up taken off) and by
// FFmpeg (the same pictures converted to BGRA on one thread, its conversion's filter thread
// too, its own -benchmark figures).
// The live path as the program runs it is in bench_livepath.
#include <com/ComPtr.h>
#include <com/objbase.h>
#include <dshow/baseclasses/streams.h>
#include <dshow/filters/NullRenderer.h>
#include <machine/Machine.h>

#include "support/BenchMachine.h"
#include "support/BurstSource.h"
#include "support/GraphRun.h"
#include "support/SideBySide.h"

#include <support/media/AskBuffers.h>
#include <support/media/VideoType.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using plat::ComPtr;

constexpr auto kToolLimit = std::chrono::seconds(60);

// Copies each sample into a buffer of its own, as a decoder's output would be.
class CopyTransform : public CTransformFilter {
 public:
  CopyTransform() : CTransformFilter("Copy", nullptr, GUID_NULL) {}
  HRESULT CheckInputType(const CMediaType*) override { return S_OK; }
  HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override { return *in == *out ? S_OK : S_FALSE; }
  HRESULT GetMediaType(int position, CMediaType* type) override {
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    *type = m_pInput->CurrentMediaType();
    return S_OK;
  }
  HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* props) override {
    return test::AskBuffers(alloc, *props, 4, static_cast<long>(m_pInput->CurrentMediaType().GetSampleSize()));
  }
  HRESULT Transform(IMediaSample* in, IMediaSample* out) override {
    BYTE* from = nullptr;
    BYTE* to = nullptr;
    in->GetPointer(&from);
    out->GetPointer(&to);
    std::memcpy(to, from, static_cast<size_t>(in->GetActualDataLength()));
    return out->SetActualDataLength(in->GetActualDataLength());
  }
};

IPin* firstPin(IBaseFilter* filter, PIN_DIRECTION dir) {
  ComPtr<IEnumPins> pins;
  filter->EnumPins(pins.put());
  IPin* pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION pinDir;
    pin->QueryDirection(&pinDir);
    pin->Release();
    if (pinDir == dir) return pin;
  }
  return nullptr;
}

// source -> middle -> Null Renderer, run without a clock until the stream ends, each
// round beside a run of the anchor.
void runChain(benchmark::State& state, const CMediaType& type, const ComPtr<IBaseFilter>& middle,
              const std::function<bench::ToolRun()>& anchor, const std::string& anchorName,
              const std::string& command) {
  CoInitialize(nullptr);
  const int frames = static_cast<int>(state.range(0));
  {
    ComPtr<IGraphBuilder> graph;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid());
    auto* burst = new bench::BurstSource(type, 4);
    burst->setFrames(frames);
    ComPtr<IBaseFilter> source(burst);
    ComPtr<IBaseFilter> renderer;
    CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, renderer.putVoid());
    graph->AddFilter(source.get(), L"Source");
    graph->AddFilter(middle.get(), L"Middle");
    graph->AddFilter(renderer.get(), L"Null Renderer");
    graph->ConnectDirect(firstPin(source.get(), PINDIR_OUTPUT), firstPin(middle.get(), PINDIR_INPUT), nullptr);
    if (graph->Connect(firstPin(middle.get(), PINDIR_OUTPUT), firstPin(renderer.get(), PINDIR_INPUT)) != S_OK) {
      state.SkipWithError("cannot connect");
      return;
    }
    ComPtr<IMediaFilter> timing;
    graph->QueryInterface(IID_IMediaFilter, timing.putVoid());
    timing->SetSyncSource(nullptr);  // as fast as it goes
    bench::SideBySide figures("us_per_sample", 1e6);
    for (auto _ : state) {
      const auto ours = bench::RunGraphToEnd(graph.get(), kToolLimit);
      if (!ours) {
        state.SkipWithError("the stream did not end");
        break;
      }
      figures.addOurs(*ours, frames);
      figures.addAnchor(anchor(), frames);
    }
    figures.report(state, anchorName, command);
    graph.reset();
  }
  CoUninitialize();
}

std::string gstreamerLine(int samples) {
  return "gst-launch-1.0 -q fakesrc num-buffers=" + std::to_string(samples) +
         " sizetype=fixed sizemax=16 ! identity ! fakesink sync=false async=false";
}

void BM_SmallSamplesThroughATransform(benchmark::State& state) {
  bench::OpenMachine();
  const int samples = static_cast<int>(state.range(0));
  // The streaming alone: the run of no samples is taken off.
  auto anchor = [samples] { return bench::RunToolLessStartUp(gstreamerLine(samples), gstreamerLine(0), kToolLimit); };
  runChain(state, test::VideoType(MEDIASUBTYPE_RGB32, 2, 2, 32), ComPtr<IBaseFilter>(new CopyTransform()), anchor,
           "GStreamer, a pass-through element", gstreamerLine(samples) + "  (less the same with num-buffers=0)");
}
BENCHMARK(BM_SmallSamplesThroughATransform)->Arg(20000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same pictures as the burst source's (all zero) in a raw file for FFmpeg.
std::filesystem::path rawPictures(int frames) {
  const auto file = plat::Machine::current().paths().driveFolder('C') / "pictures.yuv";
  std::ofstream out(file, std::ios::binary);
  const std::vector<char> picture(720 * 576 * 2);
  for (int n = 0; n < frames; ++n) out.write(picture.data(), static_cast<std::streamsize>(picture.size()));
  return file;
}

void BM_FramesThroughTheAviDecompressor(benchmark::State& state) {
  bench::OpenMachine();
  ComPtr<IBaseFilter> decompressor;
  CoInitialize(nullptr);
  CoCreateInstance(CLSID_AVIDec, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, decompressor.putVoid());
  const int frames = static_cast<int>(state.range(0));
  const std::string arguments = "-threads 1 -filter_threads 1 -f rawvideo -pix_fmt yuyv422 -s 720x576 -r 25 -i '" +
                                rawPictures(frames).string() + "' -pix_fmt bgra -f null -";
  runChain(state, test::VideoType(MEDIASUBTYPE_YUY2, 720, 576, 16), decompressor,
           [&] { return bench::RunFfmpeg(arguments, kToolLimit); }, "FFmpeg, 1 thread, YUY2 to BGRA",
           bench::FfmpegCommand(arguments));
  decompressor.reset();
  CoUninitialize();
}
BENCHMARK(BM_FramesThroughTheAviDecompressor)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench::Main(argc, argv, nullptr); }
