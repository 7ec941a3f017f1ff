// Rendering an editing project: a 60-second project of three 20-second cuts from three
// 720 x 576 MPEG-2 recordings (pictures and sound) saved as MPEG-2 by the editing project
// library, beside the ffmpeg tool cutting, joining and re-encoding the same cuts with
// comparable settings (640 x 480 MPEG-2 at 2 Mbit/s with MP2 sound in a program stream).
// Both report seconds of wall time for the whole file.
#include <com/objbase.h>
#include <machine/Machine.h>
#include <win32/module.h>

#include <benchmark/benchmark.h>
#include <support/BenchMachine.h>
#include <support/CommandLineTool.h>

#include "edit_project/Project.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

constexpr double kCutSeconds = 20;
constexpr double kCutStarts[3] = {2, 3, 1};

std::filesystem::path Source(int n) { return plat::Machine::current().paths().toLinux("C:\\source" + std::to_string(n) + ".mpg"); }

bool WriteSources() {
  if (!bench::OnPath("ffmpeg")) return false;
  for (int n = 0; n < 3; ++n) {
    const std::string command = "ffmpeg -v error -y -f lavfi -i testsrc2=size=720x576:rate=25 -f lavfi -i sine=frequency=" +
                                std::to_string(300 + 200 * n) + ":sample_rate=48000 -t 25 -ac 2 -c:v mpeg2video -b:v 6M "
                                "-g 12 -c:a mp2 -f vob '" + Source(n).string() + "'";
    if (std::system(command.c_str()) != 0) return false;
  }
  return true;
}

template <class F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(GetProcAddress(module, name));
}

void BM_ProjectToMpeg2(benchmark::State& state) {
  if (!bench::OpenMachineWithModule("Filter\\qnmpeg2enc.ax") || !WriteSources()) {
    state.SkipWithError("no encoder module or no ffmpeg tool");
    return;
  }
  HMODULE clips = LoadLibraryA("Scrubolt.dll");
  HMODULE project = LoadLibraryA("Cutvalon.dll");
  Export<int (*)()>(clips, "mpeg_Init")();
  auto open = Export<int (*)()>(project, "mpeg_Project_Open");
  auto close = Export<int (*)()>(project, "mpeg_Project_Close");
  auto add = Export<int (*)(const mpeg_src_s*)>(project, "mpeg_Project_Addsrc");
  auto save = Export<int (*)(const save_option_s*)>(project, "mpeg_Project_Save");
  const std::string names[3] = {"C:\\source0.mpg", "C:\\source1.mpg", "C:\\source2.mpg"};
  for (auto _ : state) {
    open();
    for (int n = 0; n < 3; ++n) {
      for (int video = 1; video >= 0; --video) {
        mpeg_src_s src{};
        src.timeline_start = static_cast<std::int64_t>(n * kCutSeconds * 1e7);
        src.timeline_stop = static_cast<std::int64_t>((n + 1) * kCutSeconds * 1e7);
        src.media_start = static_cast<std::int64_t>(kCutStarts[n] * 1e7);
        src.media_stop = static_cast<std::int64_t>((kCutStarts[n] + kCutSeconds) * 1e7);
        src.video_track = video;
        src.file_name = names[n].c_str();
        add(&src);
      }
    }
    save_option_s options{};
    options.output_type = 1;
    std::strcpy(options.output_file, "C:\\project.mpg");
    if (save(&options) != 1) state.SkipWithError("the save failed");
    close();
  }
  Export<int (*)()>(clips, "mpeg_Close")();
}

void BM_FfmpegToolCutsAndEncodes(benchmark::State& state) {
  bench::OpenMachine();
  if (!WriteSources()) {
    state.SkipWithError("no ffmpeg tool");
    return;
  }
  std::string inputs;
  for (int n = 0; n < 3; ++n)
    inputs += " -ss " + std::to_string(kCutStarts[n]) + " -t " + std::to_string(kCutSeconds) + " -i '" + Source(n).string() + "'";
  const std::string arguments = "-y" + inputs +
                                " -filter_complex '[0:v][0:a][1:v][1:a][2:v][2:a]concat=n=3:v=1:a=1[v][a];"
                                "[v]scale=640:480[s]' -map '[s]' -map '[a]' -c:v mpeg2video -b:v 2M -c:a mp2 -b:a 224k "
                                "-f vob '" + plat::Machine::current().paths().toLinux("C:\\tool.mpg").string() + "'";
  for (auto _ : state) {
    // The tool's own figure for the work, without its start-up.
    const auto seconds = bench::FfmpegSeconds(arguments);
    if (!seconds) {
      state.SkipWithError("ffmpeg failed");
      return;
    }
    state.SetIterationTime(*seconds);
  }
}

}  // namespace

BENCHMARK(BM_ProjectToMpeg2)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_FfmpegToolCutsAndEncodes)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();

int main(int argc, char** argv) { return bench::Main(argc, argv, ORVANE_PROGRAM_DIR); }
