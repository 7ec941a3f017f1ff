// The picture paths, each beside its anchor in the same rounds: filling the thumbnail list
// with 1,000 generated 640 x 480 photos (the folder added to the list: each file found,
// loaded at libjpeg-turbo's 1/8 scale, drawn into its 60 x 60 thumbnail and kept in
// memory), per photo, beside ImageMagick doing the same work: the same files decoded at
// the same 1/8 scale ("-define jpeg:size"), thumbnailed to 60 x 60 on one thread, as ours
// are, and kept in no file ("null:"), all in one run, its start-up taken off; and the
// image-effects library's median 3 x 3 and Gaussian smoothing of a 1920 x 1080 24-bit
// picture beside a plain memory pass over the same picture, which reads and writes it
// whole once (wall time, as the user waits for it).
#include "support/BenchMachine.h"
#include "support/SideBySide.h"

#include "windows/media/CThumbnailListWnd.h"

#include <com/objbase.h>
#include <machine/Machine.h>
#include <support/PictureFiles.h>
#include <vendor/pictorin/Pictorin.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kPhotos = 1000;
constexpr auto kConvertLimit = std::chrono::seconds(120);
constexpr int kPictureWidth = 1920;
constexpr int kPictureHeight = 1080;

// The generated photos on drive C: of the benchmark's machine, made once.
const fs::path& PhotoFolder() {
  static const fs::path folder = [] {
    bench::OpenMachine();
    const fs::path made = plat::Machine::current().paths().driveFolder('C') / "Photos";
    fs::create_directories(made);
    for (int i = 0; i < kPhotos; ++i)
      test::WriteBytes(made / ("photo" + std::to_string(i) + ".jpg"),
                       test::JpegBytes(test::TestPicture::ramps(640, 480, i), 85));
    return made;
  }();
  return folder;
}

// ImageMagick's convert, when it is the real one (a stand-in may sit earlier on PATH).
std::string RealConvert() {
  for (const char* candidate : {"convert", "/usr/bin/convert"}) {
    const std::string command = std::string(candidate) + " -version 2>/dev/null";
    FILE* output = popen(command.c_str(), "r");
    if (!output) continue;
    char line[256] = {};
    const bool real = std::fgets(line, sizeof line, output) && std::strstr(line, "Version: ImageMagick");
    pclose(output);
    if (real) return candidate;
  }
  return {};
}

// ImageMagick's thumbnails of every photo, as ours are made: decoded at 1/8 of 640 x 480,
// on one thread, into nothing but memory.
std::string ConvertCommand(const std::string& convert) {
  return convert + " -limit thread 1 -define jpeg:size=80x60 '" + (PhotoFolder() / "*.jpg").string() +
         "' -thumbnail 60x60 null:";
}

// The same tool given nothing to do: its start-up.
std::string ConvertStartUp(const std::string& convert) { return convert + " -limit thread 1 xc:black null:"; }

bench::ToolRun ConvertThumbnails(const std::string& convert) {
  if (convert.empty()) return {bench::ToolRun::Outcome::NotInstalled, {}, {}};
  return bench::RunToolLessStartUp(ConvertCommand(convert), ConvertStartUp(convert), kConvertLimit);
}

void BM_FillThumbnailList(benchmark::State& state) {
  PhotoFolder();
  const std::string convert = RealConvert();
  ::CoInitialize(nullptr);
  HWND host = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
  {
    CThumbnailListWnd list;
    list.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 640, 480), CWnd::FromHandle(host), 1, TRUE, 0, 0);
    bench::SideBySide figures("ms_per_photo", 1e3);
    int added = 0;
    for (auto _ : state) {
      list.GetListView()->RemoveAllItems(FALSE);
      const double before = bench::ProcessSeconds();
      const auto start = std::chrono::steady_clock::now();
      added = list.AddFolder("C:\\Photos", FALSE, FALSE);
      figures.addOurs({std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                       bench::ProcessSeconds() - before},
                      kPhotos);
      figures.addAnchor(ConvertThumbnails(convert), kPhotos);
    }
    if (added != kPhotos) state.SkipWithError("not every photo was added");
    figures.report(state, "ImageMagick, the same scaled decode and thumbnails, kept in no file",
                   ConvertCommand(convert.empty() ? "convert" : convert) + "  (less " +
                       ConvertStartUp(convert.empty() ? "convert" : convert) + ")");
  }
  ::DestroyWindow(host);
  ::CoUninitialize();
}
BENCHMARK(BM_FillThumbnailList)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// A 1920 x 1080 24-bit picture's rows, and a buffer of the same layout to write into.
struct Picture {
  Picture() : source(static_cast<std::size_t>(kStride) * kPictureHeight), target(source.size()) {
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<BYTE>(i * 2654435761u >> 13);
  }
  static constexpr int kStride = (kPictureWidth * 3 + 3) & ~3;
  std::vector<BYTE> source;
  std::vector<BYTE> target;
};

void smoothing(benchmark::State& state, decltype(&MedianSmooth) filter) {
  Picture picture;
  bool refused = false;
  bench::TimeBeside(
      state,
      [&] {
        refused |= !filter(picture.source.data(), 3, 3, kPictureWidth, kPictureHeight, Picture::kStride,
                           picture.target.data());
        benchmark::ClobberMemory();
      },
      [&] { std::memcpy(picture.target.data(), picture.source.data(), picture.source.size()); },
      "one copy of the picture");
  if (refused) state.SkipWithError("the filter refused the picture");
}

void BM_MedianSmooth(benchmark::State& state) { smoothing(state, &MedianSmooth); }
BENCHMARK(BM_MedianSmooth)->Unit(benchmark::kMicrosecond)->MinTime(0.5)->UseRealTime();

void BM_GaussSmooth(benchmark::State& state) { smoothing(state, &GaussSmooth); }
BENCHMARK(BM_GaussSmooth)->Unit(benchmark::kMicrosecond)->MinTime(0.5)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench::Main(argc, argv, ORVANE_PROGRAM_DIR); }
