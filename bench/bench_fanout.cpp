// Branchel's fan-out tee on the hot path: small samples from a source as fast as the
// graph moves them (no clock) into 1, 2, 4 and 8 Null Renderers through the tee, and the
// same source straight into one Null Renderer (0 branches). The figure is processor time
// of every thread of the process per source buffer, which a busy machine's scheduling
// disturbs less than the elapsed time; the tee is made from the built module by CLSID, as
// the program makes it, and its outputs keep a queue and a thread each. Beside each row,
// GStreamer's tee moves the same number of buffers of the same size into as many
// fakesinks, with a queue per branch (anchor_queues:1) or all on the source's thread
// (anchor_queues:0, beside which our same queued tee runs again: it has no other mode).
// Both sides count only the streaming: each side's run of no buffers (starting, ending
// and stopping) is taken off its run of kFrames. Target: 8 branches at 15 us or less of
// processor time per buffer.
#include <com/ComPtr.h>
#include <com/objbase.h>
#include <dshow/baseclasses/streams.h>
#include <machine/Machine.h>
#include <machine/ProgramFolder.h>
#include <win32/module.h>

#include "support/BenchMachine.h"
#include "support/BurstSource.h"
#include "support/GraphRun.h"
#include "support/SideBySide.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace {

using plat::ComPtr;

// {B84585A5-237B-426B-8B07-3C6616AE7EC9}
constexpr CLSID kClsidFanout = {0xB84585A5, 0x237B, 0x426B, {0x8B, 0x07, 0x3C, 0x66, 0x16, 0xAE, 0x7E, 0xC9}};
constexpr int kFrames = 100000;
constexpr long kSampleBytes = 64;

// The small samples the source pushes.
CMediaType smallSamples() {
  CMediaType type;
  type.SetType(&MEDIATYPE_Video);
  type.SetSubtype(&MEDIASUBTYPE_RGB32);
  type.SetSampleSize(kSampleBytes);
  return type;
}

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

constexpr auto kToolLimit = std::chrono::seconds(60);

// gst-launch-1.0 fakesrc ! tee ! [queue !] fakesink, once per branch; 0 branches is the
// source straight into one fakesink. Sinks that do not wait for a first buffer to change
// state, or the branches of a tee on one thread would wait for each other for ever.
std::string gstreamerLine(int branches, bool queues, int buffers) {
  std::string line = "gst-launch-1.0 -q fakesrc num-buffers=" + std::to_string(buffers) +
                     " sizetype=fixed sizemax=" + std::to_string(kSampleBytes);
  const std::string sink = "fakesink sync=false async=false";
  if (branches == 0) return line + " ! " + sink;
  line += " ! tee name=t";
  for (int n = 0; n < branches; ++n) line += " t. ! " + std::string(queues ? "queue ! " : "") + sink;
  return line;
}

// The source into the tee, each of its outputs into a Null Renderer of its own; with no
// branches, the source straight into one Null Renderer.
ComPtr<IGraphBuilder> buildGraph(int branches, CSource* source) {
  ComPtr<IGraphBuilder> graph;
  CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid());
  graph->AddFilter(source, L"Source");
  IPin* output = static_cast<bench::BurstSource*>(source)->output();
  if (branches == 0) {
    ComPtr<IBaseFilter> renderer = nullRenderer();
    graph->AddFilter(renderer.get(), L"Null Renderer");
    if (graph->ConnectDirect(output, pinNamed(renderer.get(), L"In").get(), nullptr) != S_OK) return {};
  } else {
    ComPtr<IBaseFilter> tee;
    CoCreateInstance(kClsidFanout, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, tee.putVoid());
    graph->AddFilter(tee.get(), L"Tee");
    if (graph->ConnectDirect(output, pinNamed(tee.get(), L"Input").get(), nullptr) != S_OK) return {};
    for (int n = 1; n <= branches; ++n) {
      ComPtr<IBaseFilter> renderer = nullRenderer();
      const std::wstring number = std::to_wstring(n);
      graph->AddFilter(renderer.get(), (L"Null Renderer " + number).c_str());
      if (graph->ConnectDirect(pinNamed(tee.get(), (L"Output" + number).c_str()).get(),
                               pinNamed(renderer.get(), L"In").get(), nullptr) != S_OK)
        return {};
    }
  }
  ComPtr<IMediaFilter> timing;
  graph->QueryInterface(IID_IMediaFilter, timing.putVoid());
  timing->SetSyncSource(nullptr);  // as fast as it goes
  return graph;
}

// A run of kFrames less the same graph's run of none.
std::optional<bench::Usage> streamingAlone(IGraphBuilder* graph, bench::BurstSource& source) {
  source.setFrames(kFrames);
  std::optional<bench::Usage> run = bench::RunGraphToEnd(graph, kToolLimit);
  source.setFrames(0);
  const std::optional<bench::Usage> idle = bench::RunGraphToEnd(graph, kToolLimit);
  if (!run || !idle) return std::nullopt;
  run->wall -= idle->wall;
  run->processor -= idle->processor;
  return run;
}

void BM_Fanout(benchmark::State& state) {
  const int branches = static_cast<int>(state.range(0));
  const bool queues = state.range(1) != 0;
  if (!bench::OpenMachineWithModule("Filter\\Branchel.ax")) {
    state.SkipWithError("Branchel.ax does not register");
    return;
  }
  CoInitialize(nullptr);
  {
    auto* source = new bench::BurstSource(smallSamples(), 16);
    ComPtr<IBaseFilter> held(source);
    ComPtr<IGraphBuilder> graph = buildGraph(branches, source);
    bench::SideBySide figures("us_per_buffer", 1e6);
    for (auto _ : state) {
      if (!graph) {
        state.SkipWithError("cannot connect");
        break;
      }
      const auto ours = streamingAlone(graph.get(), *source);
      if (!ours) {
        state.SkipWithError("the stream did not end");
        break;
      }
      figures.addOurs(*ours, kFrames);
      figures.addAnchor(bench::RunToolLessStartUp(gstreamerLine(branches, queues, kFrames),
                                                  gstreamerLine(branches, queues, 0), kToolLimit),
                        kFrames);
    }
    const char* anchor = branches == 0 ? "GStreamer source into one sink"
                         : queues      ? "GStreamer tee, a queue per branch"
                                       : "GStreamer tee on one thread";
    // The tee has no mode without queues: beside the one-thread anchor runs the same
    // queued tee again.
    std::string ours = branches == 0 ? "" : queues ? "ours: the tee, a queue per branch" : "ours: the same queued tee again";
    if (branches == 8 && queues) ours += "; target: cpu_us_per_buffer <= 15";
    figures.report(state, anchor, gstreamerLine(branches, queues, kFrames) + "  (less the same with num-buffers=0)",
                   ours);
  }
  CoUninitialize();
}
BENCHMARK(BM_Fanout)
    ->ArgNames({"branches", "anchor_queues"})
    ->Args({0, 0})
    ->ArgsProduct({{1, 2, 4, 8}, {1, 0}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench::Main(argc, argv, ORVANE_PROGRAM_DIR); }
