// The live path as the TV window runs it: the program's own preview graph (the stick's
// pictures through the deinterlacer, the image grabber, the overlay and the invert filter
// to the video renderer of the window) and its record graph (the same picture path beside
// the MPEG recorder behind the fan-out tees, in the program's default record format,
// MPEG-2 at 640 x 480 and 2 Mbit/s), built with the settings and calls the TV window uses
// on a 720 x 576 PAL stick at 25 frames a second. Each round is four seconds of video on
// the machine clock, picture by picture, each time waiting until the window has shown
// the picture (and the recorder encoded it). The figure is processor time of the graph's
// threads per second of video, with and without the stick's painting of its pictures,
// which real hardware would not cost (measured apart on the same pictures).
//
// Beside it, FFmpeg's command line does the same work on the same pictures at the same
// pace (-re): the raw YUY2 pictures line-blended and converted for the screen, and for
// recording also scaled to 640 x 480 4:2:0 and encoded as MPEG-2 at 2 Mbit/s with the
// encoder threads the recorder uses. Target: preview and record under 100 ms of processor
// time a second of video without the painting.
#include "core/data/CAppSettings.h"
#include "graphs/CGraphBase.h"
#include "graphs/CPreviewGraph.h"
#include "graphs/CRecordGraph.h"

#include <com/ComPtr.h>
#include <com/objbase.h>
#include <dshow/AnsiText.h>
#include <machine/Machine.h>
#include <machine/TestPicture.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <machine/VideoSurfaces.h>
#include <win32/user.h>

#include "support/BenchMachine.h"
#include "support/SideBySide.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using plat::ComPtr;

constexpr int kWidth = 720;
constexpr int kHeight = 576;
constexpr int kFramesPerRound = 100;  // four seconds
constexpr double kRoundSeconds = kFramesPerRound / 25.0;
constexpr int kRecordFormat = 4;   // the program's default: MPEG-2 at 640 x 480
constexpr int kRecordQuality = 2;  // 2 Mbit/s
constexpr auto kStepLimit = std::chrono::milliseconds(500);
constexpr auto kToolLimit = std::chrono::seconds(60);

// The settings a running program has for a PAL stick.
void makeSettings() {
  g_pAppSettings = new CAppSettings;
  g_pAppSettings->CaptureDeviceNames.Add("USB TV Device");
  std::strcpy(g_pAppSettings->CaptureDeviceName, "USB TV Device");
  g_pAppSettings->LineStandard = 4;
  g_pAppSettings->RecordFormat = kRecordFormat;
  g_pAppSettings->RecordQuality = kRecordQuality;
}

HWND makeVideoWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "BenchVideo";
  RegisterClassA(&wc);
  return CreateWindowExA(0, "BenchVideo", "TV", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                         nullptr, nullptr, nullptr);
}

// Paints the stick's pictures of its tuned station for frames [first, first + count) into
// `picture`, handing each to `take`.
template <class Take>
void paintPictures(const plat::Scene& scene, int first, int count, std::vector<std::uint8_t>& picture, Take take) {
  picture.resize(static_cast<size_t>(kWidth) * kHeight * 2);
  for (int frame = first; frame < first + count; ++frame) {
    plat::TestPicture::paintYuy2(scene, frame * 40, static_cast<std::uint64_t>(frame), kWidth, kHeight,
                                 picture.data(), kWidth * 2);
    take(picture);
  }
}

// Processor seconds the stick spends painting one round of its pictures, into one buffer
// as it paints them.
double paintingSeconds(const plat::Scene& scene, int first) {
  static std::vector<std::uint8_t> picture;
  paintPictures(scene, first, 1, picture, [](const auto&) {});  // the buffer's pages, as the stick's are
  const double before = bench::ThreadSeconds();
  paintPictures(scene, first, kFramesPerRound, picture, [](const auto& painted) { benchmark::DoNotOptimize(painted.data()); });
  return bench::ThreadSeconds() - before;
}

// The same pictures as a raw file for FFmpeg; removed at the end.
const std::filesystem::path& rawPictures(const plat::Scene& scene) {
  static const std::filesystem::path raw = [&] {
    const auto folder = std::filesystem::temp_directory_path() / ("orvane-bench-live-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / "pictures.yuv", std::ios::binary);
    std::vector<std::uint8_t> picture;
    paintPictures(scene, 0, kFramesPerRound, picture, [&](const auto& painted) {
      out.write(reinterpret_cast<const char*>(painted.data()), static_cast<std::streamsize>(painted.size()));
    });
    return folder / "pictures.yuv";
  }();
  return raw;
}

int encoderThreads() { return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u)); }

std::string ffmpegArguments(const std::filesystem::path& raw, bool record) {
  const std::string input =
      "-re -f rawvideo -pix_fmt yuyv422 -s 720x576 -r 25 -i '" + raw.string() + "' -threads " +
      std::to_string(encoderThreads());
  if (!record) return input + " -vf pp=lb -pix_fmt bgra -f null -";
  return input + " -filter_complex '[0:v]split[p][r];[p]pp=lb[d];[r]scale=640:480:flags=bilinear[s]'" +
         " -map '[d]' -pix_fmt bgra -f null - -map '[s]' -pix_fmt yuv420p -c:v mpeg2video -b:v 2000000 -g 12 -bf 2" +
         " -f vob -y '" + (raw.parent_path() / "out.mpg").string() + "'";
}

// The filters of the graph, once a kind, so that the output shows what was measured.
void printGraph(CCaptureGraph& graph) {
  const bool record = dynamic_cast<CRecordGraph*>(&graph) != nullptr;
  static bool printed[2] = {false, false};
  if (std::exchange(printed[record], true)) return;
  IGraphBuilder* builder = graph.GetGraphBase() ? graph.GetGraphBase()->GetGraph() : nullptr;
  ComPtr<IEnumFilters> filters;
  if (!builder || FAILED(builder->EnumFilters(filters.put()))) return;
  std::string names;
  IBaseFilter* filter = nullptr;
  while (filters->Next(1, &filter, nullptr) == S_OK) {
    FILTER_INFO info{};
    filter->QueryFilterInfo(&info);
    if (info.pGraph) info.pGraph->Release();
    filter->Release();
    names += (names.empty() ? "" : ", ") + plat::AnsiText::fromWide(info.achName);
  }
  std::printf("%s graph: %s\n", record ? "record" : "preview", names.c_str());
}

// The live graph as the TV window builds it on its video window.
std::unique_ptr<CCaptureGraph> buildGraph(bool record, HWND window) {
  std::unique_ptr<CCaptureGraph> graph;
  if (record) {
    auto recording = std::make_unique<CRecordGraph>();
    recording->SetRecordFile("C:\\Videos\\", kRecordFormat, kRecordQuality);
    graph = std::move(recording);
  } else {
    graph = std::make_unique<CPreviewGraph>();
  }
  if (!graph->SetWindowAndBuild(window)) return nullptr;
  graph->SetInputType(g_pAppSettings->LineStandard);
  if (!graph->ApplyTvSettings(0, 50, 50, 50, 50, 50)) return nullptr;
  printGraph(*graph);
  return graph;
}

// Moves the clock a picture at a time through one round, after each step waiting until
// the window has shown a new picture (and the recorder taken one); a step that brings
// none (the stick's picture times need not fall on the steps) is followed by the next.
// The processor seconds of the graph's threads meanwhile, this thread's waiting left
// out; nothing when no picture came at all.
std::optional<double> runRound(plat::Machine& machine, plat::VideoSurface& surface, CCaptureGraph& graph, bool record) {
  const double before = bench::ProcessSeconds() - bench::ThreadSeconds();
  const auto shownFirst = surface.framesShown();
  for (int frame = 1; frame <= kFramesPerRound; ++frame) {
    const auto shown = surface.framesShown();
    const int encoded = graph.GetRecordCounter();
    machine.clock().advance(40);
    const auto deadline = std::chrono::steady_clock::now() + kStepLimit;
    while ((surface.framesShown() == shown || (record && graph.GetRecordCounter() == encoded)) &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
  if (surface.framesShown() == shownFirst) return std::nullopt;
  return bench::ProcessSeconds() - bench::ThreadSeconds() - before;
}

void BM_LivePath(benchmark::State& state) {
  const bool record = state.range(0) != 0;
  if (!bench::OpenMachineWithModules({"Filter\\Branchel.ax", "Filter\\qnmpeg2enc.ax", "Filter\\qndeinterlacer.ax",
                                      "Filter\\QXM_OverlayFilter.ax", "Filter\\qn_invert.ax",
                                      "Filter\\QXM_ImageGrabber.ax"})) {
    state.SkipWithError("the filter modules cannot be registered");
    return;
  }
  plat::Machine& machine = plat::Machine::current();
  std::filesystem::create_directories(machine.paths().driveFolder('C') / "Videos");
  CoInitialize(nullptr);
  makeSettings();
  auto& stick = machine.service<plat::TvStickCapture>();
  stick.tuneCarrier(stick.control().broadcast().stations().front().carrierHz);
  const plat::Scene scene = stick.scene();
  HWND window = makeVideoWindow();
  {
    std::unique_ptr<CCaptureGraph> graph = buildGraph(record, window);
    const auto surfaces = machine.service<plat::VideoSurfaces>().ownedBy(window);
    bench::SideBySide withoutPainting("ms_without_painting", 1e3);
    double painting = 0;
    int rounds = 0;
    for (auto _ : state) {
      if (!graph || surfaces.empty()) {
        state.SkipWithError("the live graph cannot be built");
        break;
      }
      const auto seconds = runRound(machine, *surfaces.back(), *graph, record);
      if (!seconds) {
        state.SkipWithError("no picture came");
        break;
      }
      const double painted = paintingSeconds(scene, rounds * kFramesPerRound);
      painting += painted;
      ++rounds;
      withoutPainting.addOurs({kRoundSeconds, *seconds - painted}, kRoundSeconds);
      const bench::ToolRun anchor = bench::RunFfmpeg(ffmpegArguments(rawPictures(scene), record), kToolLimit);
      withoutPainting.addAnchor(anchor, kRoundSeconds);
    }
    const std::string command = bench::FfmpegCommand(ffmpegArguments(rawPictures(scene), record));
    // One row: the figures without the painting beside the anchor, the painting apart.
    withoutPainting.report(state, "FFmpeg, the same work at the same pace", command,
                           record ? "preview and record; target: cpu_ms_without_painting < 100" : "preview");
    if (rounds > 0) {
      const double paintingMs = painting * 1e3 / (rounds * kRoundSeconds);
      state.counters["stick_painting_ms"] = paintingMs;
      state.counters["cpu_ms_with_painting"] = state.counters["cpu_ms_without_painting"] + paintingMs;
    }
    graph.reset();
  }
  DestroyWindow(window);
  delete g_pAppSettings;
  g_pAppSettings = nullptr;
  CoUninitialize();
}
BENCHMARK(BM_LivePath)->ArgName("record")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const int result = bench::Main(argc, argv, ORVANE_PROGRAM_DIR);
  std::error_code ec;
  std::filesystem::remove_all(std::filesystem::temp_directory_path() / ("orvane-bench-live-" + std::to_string(getpid())), ec);
  return result;
}
