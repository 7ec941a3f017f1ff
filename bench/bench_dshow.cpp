// The filter graph's hot paths: samples from a source through a transform to the Null
// Renderer as fast as the graph moves them (no clock), small samples for the cost per
// sample and full 720 x 576 YUY2 frames through the AVI Decompressor for the throughput;
// and a live capture graph, the TV stick at 720 x 576 YUY2 25 frames a second into the
// Null Renderer, reported as processor time per second of video; and the live path as
// the program builds it, the stick's capture pin through the Smart Tee into the Video
// Renderer (preview) and into the MPEG recorder (preview and record), with the stick's
// own painting of its pictures measured apart. Target: preview and record under 10% of
// one core (100 ms of processor time a second of video) without the painting.
#include <com/ComPtr.h>
#include <com/objbase.h>
#include <dshow/baseclasses/streams.h>
#include <dshow/filters/NullRenderer.h>
#include <machine/Machine.h>
#include <machine/TvStickCapture.h>
#include <machine/TestPicture.h>
#include <machine/TvStickControl.h>
#include <vendor/mpeg_recorder/QnMpegEncoder.h>

#include "support/BenchMachine.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using plat::ComPtr;

CMediaType videoType(const GUID& subtype, LONG width, LONG height, WORD bits) {
  CMediaType type(&MEDIATYPE_Video);
  type.SetSubtype(&subtype);
  type.SetFormatType(&FORMAT_VideoInfo);
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
  info->AvgTimePerFrame = 400000;
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = width;
  info->bmiHeader.biHeight = height;
  info->bmiHeader.biPlanes = 1;
  info->bmiHeader.biBitCount = bits;
  info->bmiHeader.biSizeImage = static_cast<DWORD>(width * height * bits / 8);
  type.SetSampleSize(info->bmiHeader.biSizeImage);
  return type;
}

// Pushes `frames` samples of its type as fast as downstream takes them, then ends the stream.
class BurstSource : public CSource {
 public:
  BurstSource(const CMediaType& type, int frames) : CSource("Burst source", nullptr, GUID_NULL) {
    new Stream(this, type, frames);
  }

 private:
  class Stream : public CSourceStream {
   public:
    Stream(BurstSource* filter, const CMediaType& type, int frames)
        : CSourceStream("Burst stream", nullptr, filter, L"Out"), m_type(type), m_frames(frames) {}
    HRESULT GetMediaType(CMediaType* type) override {
      *type = m_type;
      return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* props) override {
      ALLOCATOR_PROPERTIES wanted = *props;
      wanted.cBuffers = 4;
      wanted.cbBuffer = static_cast<long>(m_type.GetSampleSize());
      ALLOCATOR_PROPERTIES actual{};
      return alloc->SetProperties(&wanted, &actual);
    }
    HRESULT OnThreadStartPlay() override {
      m_next = 0;
      return S_OK;
    }
    HRESULT FillBuffer(IMediaSample* sample) override {
      if (m_next >= m_frames) return S_FALSE;
      REFERENCE_TIME start = m_next * 400000LL;
      REFERENCE_TIME stop = start + 400000LL;
      sample->SetTime(&start, &stop);
      sample->SetActualDataLength(sample->GetSize());
      ++m_next;
      return S_OK;
    }

   private:
    CMediaType m_type;
    int m_frames;
    int m_next = 0;
  };
};

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
    ALLOCATOR_PROPERTIES wanted = *props;
    wanted.cBuffers = 4;
    wanted.cbBuffer = static_cast<long>(m_pInput->CurrentMediaType().GetSampleSize());
    ALLOCATOR_PROPERTIES actual{};
    return alloc->SetProperties(&wanted, &actual);
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

// source -> middle -> Null Renderer, run without a clock until the stream ends.
void runChain(benchmark::State& state, const CMediaType& type, const ComPtr<IBaseFilter>& middle) {
  bench::OpenMachine();
  CoInitialize(nullptr);
  const int frames = static_cast<int>(state.range(0));
  {
    ComPtr<IGraphBuilder> graph;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid());
    ComPtr<IBaseFilter> source(new BurstSource(type, frames));
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
    ComPtr<IMediaControl> control;
    ComPtr<IMediaEvent> events;
    graph->QueryInterface(IID_IMediaControl, control.putVoid());
    graph->QueryInterface(IID_IMediaEvent, events.putVoid());
    for (auto _ : state) {
      control->Run();
      long code = 0;
      events->WaitForCompletion(INFINITE, &code);
      control->Stop();
      // The completion stays queued: clear it for the next round.
      LONG_PTR p1 = 0, p2 = 0;
      while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
      }
    }
    state.SetItemsProcessed(state.iterations() * frames);
    graph.reset();
  }
  CoUninitialize();
}

void BM_SmallSamplesThroughATransform(benchmark::State& state) {
  runChain(state, videoType(MEDIASUBTYPE_RGB32, 2, 2, 32), ComPtr<IBaseFilter>(new CopyTransform()));
}
BENCHMARK(BM_SmallSamplesThroughATransform)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FramesThroughTheAviDecompressor(benchmark::State& state) {
  ComPtr<IBaseFilter> decompressor;
  CoInitialize(nullptr);
  CoCreateInstance(CLSID_AVIDec, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, decompressor.putVoid());
  runChain(state, videoType(MEDIASUBTYPE_YUY2, 720, 576, 16), decompressor);
  decompressor.reset();
  CoUninitialize();
}
BENCHMARK(BM_FramesThroughTheAviDecompressor)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

double processorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Processor seconds of the calling thread.
double threadProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

ComPtr<IPin> pinNamed(IBaseFilter* filter, const wchar_t* name) {
  ComPtr<IPin> pin;
  filter->FindPin(name, pin.put());
  return pin;
}

// The machine's TV stick, tuned to the first station of its broadcast.
plat::TvStickCapture& tuneFirstStation(plat::Machine& machine) {
  auto& stick = machine.service<plat::TvStickCapture>();
  stick.tuneCarrier(stick.control().broadcast().stations().front().carrierHz);
  return stick;
}

// Sets the stick's capture pin to 720 x 576 YUY2, 25 pictures a second.
void setPalYuy2(IPin* capture) {
  ComPtr<IAMStreamConfig> config;
  capture->QueryInterface(IID_IAMStreamConfig, config.putVoid());
  AM_MEDIA_TYPE* type = nullptr;
  config->GetFormat(&type);
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
  info->bmiHeader.biHeight = 576;
  info->bmiHeader.biSizeImage = 720 * 576 * 2;
  info->AvgTimePerFrame = 400000;
  config->SetFormat(type);
  DeleteMediaType(type);
}

// Moves the machine clock through one second of video, picture by picture, each time
// waiting until the renderer has taken the picture; the processor seconds of the graph's
// threads meanwhile (this thread's waiting left out).
double graphSecondsForOneVideoSecond(plat::Machine& machine, const plat::RendererBase& renderer) {
  const double before = processorSeconds() - threadProcessorSeconds();
  for (int frame = 0; frame < 25; ++frame) {
    const auto seen = renderer.samplesRendered();
    machine.clock().advance(40);
    while (renderer.samplesRendered() == seen) std::this_thread::yield();
  }
  return processorSeconds() - threadProcessorSeconds() - before;
}

// The TV stick's capture pin at 720 x 576 YUY2, 25 frames a second, into the Null
// Renderer; each iteration is one second of video on the machine clock.
void BM_CaptureOneSecondOfVideo(benchmark::State& state) {
  bench::OpenMachine();
  CoInitialize(nullptr);
  plat::Machine& machine = plat::Machine::current();
  tuneFirstStation(machine);
  {
    ComPtr<IGraphBuilder> graph;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid());
    ComPtr<IBaseFilter> device, renderer;
    CoCreateInstance(CLSID_TvStickCapture, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, device.putVoid());
    CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, renderer.putVoid());
    graph->AddFilter(device.get(), L"Video Capture");
    graph->AddFilter(renderer.get(), L"Null Renderer");
    ComPtr<IPin> capture = pinNamed(device.get(), L"Capture");
    setPalYuy2(capture.get());
    graph->ConnectDirect(capture.get(), firstPin(renderer.get(), PINDIR_INPUT), nullptr);
    auto* counter = static_cast<plat::NullRenderer*>(static_cast<CBaseFilter*>(renderer.get()));
    ComPtr<IMediaControl> control;
    graph->QueryInterface(IID_IMediaControl, control.putVoid());
    control->Run();
    double processor = 0;
    for (auto _ : state) processor += graphSecondsForOneVideoSecond(machine, *counter);
    control->Stop();
    state.counters["cpu_ms_per_video_second"] = processor * 1000.0 / static_cast<double>(state.iterations());
  }
  CoUninitialize();
}
BENCHMARK(BM_CaptureOneSecondOfVideo)->Unit(benchmark::kMillisecond)->Iterations(5);

// Processor seconds the stick spends painting one second of its pictures (25 at 720 x 576).
double stickPaintingSeconds(const plat::Scene& scene) {
  std::vector<std::uint8_t> picture(720 * 576 * 2);
  const double before = processorSeconds();
  for (int frame = 0; frame < 25; ++frame)
    plat::TestPicture::paintYuy2(scene, frame * 40, static_cast<std::uint64_t>(frame), 720, 576, picture.data(),
                                 720 * 2);
  return processorSeconds() - before;
}

// Capture -> Smart Tee -> Video Renderer (the default one, drawing YUY2), and with argument 1 also Smart Tee -> MPEG-2
// recorder; each iteration is one second of video on the machine clock.
void BM_LivePathOneSecondOfVideo(benchmark::State& state) {
  const bool record = state.range(0) != 0;
  if (!bench::OpenMachineWithModule("Filter\\qnmpeg2enc.ax")) {
    state.SkipWithError("the recorder module cannot be registered");
    return;
  }
  CoInitialize(nullptr);
  plat::Machine& machine = plat::Machine::current();
  plat::TvStickCapture& stick = tuneFirstStation(machine);
  {
    ComPtr<IGraphBuilder> graph;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid());
    ComPtr<IBaseFilter> device, tee, renderer, recorder;
    CoCreateInstance(CLSID_TvStickCapture, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, device.putVoid());
    CoCreateInstance(CLSID_SmartTee, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, tee.putVoid());
    CoCreateInstance(CLSID_VideoRendererDefault, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, renderer.putVoid());
    graph->AddFilter(device.get(), L"Video Capture");
    graph->AddFilter(tee.get(), L"Smart Tee");
    graph->AddFilter(renderer.get(), L"Video Renderer");
    ComPtr<IPin> capture = pinNamed(device.get(), L"Capture");
    setPalYuy2(capture.get());
    bool connected = graph->ConnectDirect(capture.get(), pinNamed(tee.get(), L"Input").get(), nullptr) == S_OK &&
                     graph->ConnectDirect(pinNamed(tee.get(), L"Preview").get(),
                                          firstPin(renderer.get(), PINDIR_INPUT), nullptr) == S_OK;
    if (record) {
      CoCreateInstance(CLSID_QnMpegRecorder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, recorder.putVoid());
      graph->AddFilter(recorder.get(), L"Recorder");
      ComPtr<IQnMpegVideoSettings> settings;
      recorder->QueryInterface(IID_IQnMpegVideoSettings, settings.putVoid());
      settings->SetStreamType(8);
      ComPtr<IFileSinkFilter> sink;
      recorder->QueryInterface(IID_IFileSinkFilter, sink.putVoid());
      sink->SetFileName(L"C:\\live.mpg", nullptr);
      connected = connected && graph->ConnectDirect(pinNamed(tee.get(), L"Capture").get(),
                                                    pinNamed(recorder.get(), L"InputVideo").get(), nullptr) == S_OK;
    }
    if (!connected) {
      state.SkipWithError("the live graph cannot be connected");
    } else {
      auto* counter = static_cast<plat::RendererBase*>(static_cast<CBaseFilter*>(renderer.get()));
      ComPtr<IMediaControl> control;
      graph->QueryInterface(IID_IMediaControl, control.putVoid());
      control->Run();
      double processor = 0;
      double painting = 0;
      for (auto _ : state) {
        processor += graphSecondsForOneVideoSecond(machine, *counter);
        state.PauseTiming();
        painting += stickPaintingSeconds(stick.scene());
        state.ResumeTiming();
      }
      control->Stop();
      const double iterations = static_cast<double>(state.iterations());
      state.counters["cpu_ms_per_video_second"] = processor * 1000.0 / iterations;
      state.counters["stick_painting_ms"] = painting * 1000.0 / iterations;
      state.counters["without_painting_ms"] = (processor - painting) * 1000.0 / iterations;
      state.SetLabel(record ? "preview and record; target: without_painting_ms < 100" : "preview");
    }
  }
  CoUninitialize();
}
BENCHMARK(BM_LivePathOneSecondOfVideo)->ArgName("record")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return bench::Main(argc, argv, ORVANE_PROGRAM_DIR); }
