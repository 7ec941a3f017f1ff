// Branchel's fan-out tee on the hot path: small samples from a source as fast as the
// graph moves them (no clock) into 1, 2, 4 and 8 Null Renderers through the tee, against
// the same source connected straight to one Null Renderer. Items are source samples;
// "deliveries" counts a sample once per renderer that received it, and
// "cpu_us_per_sample" is the processor time of every thread of the process per source
// sample, which a busy machine's scheduling disturbs less than the elapsed time. The tee
// is made from the built module by CLSID, as the program makes it. Target: 8 branches
// under 30 us of processor time per buffer. Beside it, GStreamer's tee with and without
// a queue per branch moves the same number of 64-byte buffers into fakesinks, when
// gst-launch-1.0 is installed (its processor time per buffer, start-up included).
#include <com/ComPtr.h>
#include <com/objbase.h>
#include <dshow/baseclasses/streams.h>
#include <machine/Machine.h>
#include <machine/ProgramFolder.h>
#include <win32/module.h>

#include "support/BenchMachine.h"
#include "support/CommandLineTool.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using plat::ComPtr;

// {B84585A5-237B-426B-8B07-3C6616AE7EC9}
constexpr CLSID kClsidFanout = {0xB84585A5, 0x237B, 0x426B, {0x8B, 0x07, 0x3C, 0x66, 0x16, 0xAE, 0x7E, 0xC9}};
constexpr int kFrames = 2000;
constexpr long kSampleBytes = 64;

// Pushes kFrames small samples as fast as downstream takes them, then ends the stream.
class BurstSource : public CSource {
 public:
  BurstSource() : CSource("Burst source", nullptr, GUID_NULL) { m_stream = new Stream(this); }
  IPin* output() { return m_stream; }

 private:
  class Stream : public CSourceStream {
   public:
    explicit Stream(BurstSource* filter) : CSourceStream("Burst stream", nullptr, filter, L"Out") {}
    HRESULT GetMediaType(CMediaType* type) override {
      type->InitMediaType();
      type->SetType(&MEDIATYPE_Video);
      type->SetSubtype(&MEDIASUBTYPE_RGB32);
      type->SetSampleSize(kSampleBytes);
      return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* props) override {
      ALLOCATOR_PROPERTIES wanted = *props;
      wanted.cBuffers = 16;
      wanted.cbBuffer = kSampleBytes;
      ALLOCATOR_PROPERTIES actual{};
      return alloc->SetProperties(&wanted, &actual);
    }
    HRESULT OnThreadStartPlay() override {
      m_next = 0;
      return S_OK;
    }
    HRESULT FillBuffer(IMediaSample* sample) override {
      if (m_next >= kFrames) return S_FALSE;
      REFERENCE_TIME start = m_next * 400000LL;
      REFERENCE_TIME stop = start + 400000LL;
      sample->SetTime(&start, &stop);
      sample->SetActualDataLength(kSampleBytes);
      ++m_next;
      return S_OK;
    }

   private:
    int m_next = 0;
  };
  Stream* m_stream;
};

ComPtr<IPin> pinNamed(IBaseFilter* filter, const wchar_t* name) {
  ComPtr<IPin> pin;
  filter->FindPin(name, pin.put());
  return pin;
}

ComPtr<IBaseFilter> nullRenderer() {
  ComPtr<IBaseFilter> renderer;
  CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, renderer.putVoid());
  return renderer;
}

double processorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the graph to the end of the stream once per iteration.
void runToCompletion(benchmark::State& state, IGraphBuilder* graph, int renderers) {
  ComPtr<IMediaFilter> timing;
  graph->QueryInterface(IID_IMediaFilter, timing.putVoid());
  timing->SetSyncSource(nullptr);  // as fast as it goes
  ComPtr<IMediaControl> control;
  ComPtr<IMediaEvent> events;
  graph->QueryInterface(IID_IMediaControl, control.putVoid());
  graph->QueryInterface(IID_IMediaEvent, events.putVoid());
  const double before = processorSeconds();
  for (auto _ : state) {
    control->Run();
    long code = 0;
    events->WaitForCompletion(INFINITE, &code);
    control->Stop();
    // The completions stay queued: clear them for the next round.
    LONG_PTR p1 = 0, p2 = 0;
    while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
    }
  }
  const double samples = static_cast<double>(state.iterations()) * kFrames;
  state.counters["cpu_us_per_sample"] = (processorSeconds() - before) * 1e6 / samples;
  state.SetItemsProcessed(state.iterations() * kFrames);
  state.counters["deliveries"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrames * renderers, benchmark::Counter::kIsRate);
  if (renderers == 8) state.SetLabel("target: cpu_us_per_sample < 30");
}

// Source straight into one Null Renderer: the base line.
void BM_StraightToOneRenderer(benchmark::State& state) {
  if (!bench::OpenMachineWithModule("Filter\\Branchel.ax")) {
    state.SkipWithError("Branchel.ax does not register");
    return;
  }
  CoInitialize(nullptr);
  {
    ComPtr<IGraphBuilder> graph;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid());
    auto* source = new BurstSource();
    ComPtr<IBaseFilter> held(source);
    ComPtr<IBaseFilter> renderer = nullRenderer();
    graph->AddFilter(source, L"Source");
    graph->AddFilter(renderer.get(), L"Null Renderer");
    if (graph->ConnectDirect(source->output(), pinNamed(renderer.get(), L"In").get(), nullptr) != S_OK) {
      state.SkipWithError("cannot connect");
    } else {
      runToCompletion(state, graph.get(), 1);
    }
  }
  CoUninitialize();
}
BENCHMARK(BM_StraightToOneRenderer)->Unit(benchmark::kMillisecond)->UseRealTime();

// Source into the tee, each of its outputs into a Null Renderer of its own.
void BM_ThroughTheFanout(benchmark::State& state) {
  if (!bench::OpenMachineWithModule("Filter\\Branchel.ax")) {
    state.SkipWithError("Branchel.ax does not register");
    return;
  }
  CoInitialize(nullptr);
  {
    const int branches = static_cast<int>(state.range(0));
    ComPtr<IGraphBuilder> graph;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid());
    auto* source = new BurstSource();
    ComPtr<IBaseFilter> held(source);
    ComPtr<IBaseFilter> tee;
    CoCreateInstance(kClsidFanout, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, tee.putVoid());
    graph->AddFilter(source, L"Source");
    graph->AddFilter(tee.get(), L"Tee");
    bool connected = graph->ConnectDirect(source->output(), pinNamed(tee.get(), L"Input").get(), nullptr) == S_OK;
    for (int n = 1; n <= branches && connected; ++n) {
      ComPtr<IBaseFilter> renderer = nullRenderer();
      const std::wstring number = std::to_wstring(n);
      graph->AddFilter(renderer.get(), (L"Null Renderer " + number).c_str());
      connected = graph->ConnectDirect(pinNamed(tee.get(), (L"Output" + number).c_str()).get(),
                                       pinNamed(renderer.get(), L"In").get(), nullptr) == S_OK;
    }
    if (!connected) {
      state.SkipWithError("cannot connect");
    } else {
      runToCompletion(state, graph.get(), branches);
    }
  }
  CoUninitialize();
}
BENCHMARK(BM_ThroughTheFanout)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

// gst-launch-1.0 fakesrc ! tee ! [queue !] fakesink, once per branch.
void BM_GStreamerTee(benchmark::State& state) {
  const int branches = static_cast<int>(state.range(0));
  const bool queues = state.range(1) != 0;
  std::string line = "gst-launch-1.0 -q fakesrc num-buffers=" + std::to_string(kFrames) +
                     " sizetype=fixed sizemax=" + std::to_string(kSampleBytes) + " ! tee name=t";
  for (int n = 0; n < branches; ++n) line += std::string(" t. ! ") + (queues ? "queue ! " : "") + "fakesink sync=false";
  double processor = 0;
  for (auto _ : state) {
    const auto seconds = bench::ChildProcessorSeconds(line);
    if (!seconds) {
      state.SkipWithError("gst-launch-1.0 failed");
      return;
    }
    processor += *seconds;
  }
  state.counters["cpu_us_per_sample"] = processor * 1e6 / (static_cast<double>(state.iterations()) * kFrames);
  state.SetLabel(queues ? "anchor: tee and a queue per branch" : "anchor: tee alone");
}

// GStreamer's runs exist only where gst-launch-1.0 does; otherwise one line says so.
void registerGStreamerTee() {
  if (!bench::OnPath("gst-launch-1.0")) {
    std::printf("GStreamer tee (anchor): not installed\n");
    return;
  }
  benchmark::RegisterBenchmark("BM_GStreamerTee", BM_GStreamerTee)
      ->ArgNames({"branches", "queues"})
      ->Args({8, 1})
      ->Args({8, 0})
      ->Args({4, 1})
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
  registerGStreamerTee();
  return bench::Main(argc, argv, ORVANE_PROGRAM_DIR);
}
