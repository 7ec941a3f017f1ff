// Rendering an editing project: a 60-second project of three 20-second cuts from three
// 720 x 576 MPEG-2 recordings (pictures and sound) saved as MPEG-2 by the editing project
// library, beside the ffmpeg tool cutting, joining and re-encoding the same cuts with the
// same settings (scaled bilinearly to 640 x 480 4:2:0, MPEG-2 at 2 Mbit/s with 224 kbit/s
// MP2 sound in a program stream), each with the threads it chooses. Both report wall and
// processor seconds for the whole file (FFmpeg's own -benchmark figures, without its
// start-up; ours from the save's start to the file's end). Target: wall_ratio <= 1.1.
#include <com/objbase.h>
#include <machine/Machine.h>
#include <win32/module.h>

#include <benchmark/benchmark.h>
#include <support/BenchMachine.h>
#include <support/SideBySide.h>

#include "edit_project/Project.h"

extern "C" {
#include <libavutil/log.h>
}

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

constexpr double kCutSeconds = 20;
constexpr double kCutStarts[3] = {2, 3, 1};

std::filesystem::path Source(int n) { return plat::Machine::current().paths().toLinux("C:\\source" + std::to_string(n) + ".mpg"); }

bool WriteSources() {
  for (int n = 0; n < 3; ++n) {
    const std::string command = "ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=720x576:rate=25 -f lavfi -i sine=frequency=" +
                                std::to_string(300 + 200 * n) + ":sample_rate=48000 -t 25 -ac 2 -c:v mpeg2video -b:v 6M "
                                "-g 12 -c:a mp2 -f vob '" + Source(n).string() + "'";
    if (bench::RunTool(command, std::chrono::seconds(120)).outcome != bench::ToolRun::Outcome::Ran) return false;
  }
  return true;
}

template <class F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(GetProcAddress(module, name));
}

constexpr auto kToolLimit = std::chrono::seconds(300);

std::string ffmpegArguments() {
  std::string inputs;
  for (int n = 0; n < 3; ++n)
    inputs += " -ss " + std::to_string(kCutStarts[n]) + " -t " + std::to_string(kCutSeconds) + " -i '" + Source(n).string() + "'";
  return "-y" + inputs +
         " -filter_complex '[0:v][0:a][1:v][1:a][2:v][2:a]concat=n=3:v=1:a=1[v][a];"
         "[v]scale=640:480:flags=bilinear[s]' -map '[s]' -map '[a]' -pix_fmt yuv420p -c:v mpeg2video -b:v 2M "
         "-c:a mp2 -b:a 224k -f vob '" + plat::Machine::current().paths().toLinux("C:\\tool.mpg").string() + "'";
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
  bench::SideBySide figures("s_per_project", 1);
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
    const double before = bench::ProcessSeconds();
    const auto started = std::chrono::steady_clock::now();
    const int saved = save(&options);
    figures.addOurs({std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
                     bench::ProcessSeconds() - before},
                    1);
    close();
    if (saved != 1) {
      state.SkipWithError("the save failed");
      break;
    }
    figures.addAnchor(bench::RunFfmpeg(ffmpegArguments(), kToolLimit), 1);
  }
  figures.report(state, "FFmpeg cutting, joining and encoding", bench::FfmpegCommand(ffmpegArguments()),
                 "target: wall_ratio <= 1.1");
  Export<int (*)()>(clips, "mpeg_Close")();
}

}  // namespace

// Three rounds, not the usual five: each renders a minute of video twice.
BENCHMARK(BM_ProjectToMpeg2)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3)->UseRealTime();

int main(int argc, char** argv) {
  // Seeking into the sound of a program stream lands between frames, which the decoder
  // says once a cut: the report stays readable without it.
  av_log_set_level(AV_LOG_FATAL);
  return bench::Main(argc, argv, ORVANE_PROGRAM_DIR);
}
