// The picture paths: filling the thumbnail list with 1,000 generated 640 x 480 photos
// (the folder added to the list: each file found, loaded at libjpeg-turbo's 1/8 scale,
// drawn into its 60 x 60 thumbnail) beside ImageMagick making 60 x 60 thumbnails of the
// same files ("convert -thumbnail 60x60", 50 files a run, under a time limit); and the
// image-effects library's median 3 x 3 and Gaussian smoothing of a 1920 x 1080 24-bit
// picture beside a plain memory pass over the same picture (wall time: the filters cut
// large pictures into bands on several threads).
#include "support/BenchMachine.h"

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
constexpr int kPhotosPerConvertRun = 50;
constexpr int kConvertLimitSeconds = 600;
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

void BM_FillThumbnailList(benchmark::State& state) {
  PhotoFolder();
  ::CoInitialize(nullptr);
  HWND host = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
  {
    CThumbnailListWnd list;
    list.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 640, 480), CWnd::FromHandle(host), 1, TRUE, 0, 0);
    int added = 0;
    for (auto _ : state) {
      list.GetListView()->RemoveAllItems(FALSE);
      const auto start = std::chrono::steady_clock::now();
      added = list.AddFolder("C:\\Photos", FALSE, FALSE);
      state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    if (added != kPhotos) state.SkipWithError("not every photo was added");
    state.SetItemsProcessed(state.iterations() * kPhotos);
    state.SetLabel("thumbnail list");
  }
  ::DestroyWindow(host);
  ::CoUninitialize();
}
BENCHMARK(BM_FillThumbnailList)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

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

void BM_ImageMagickThumbnails(benchmark::State& state) {
  const fs::path& photos = PhotoFolder();
  const std::string convert = RealConvert();
  if (convert.empty()) {
    state.SkipWithError("ImageMagick not installed");
    return;
  }
  const fs::path out = photos.parent_path() / "convert";
  fs::create_directories(out);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    for (int first = 0; first < kPhotos; first += kPhotosPerConvertRun) {
      std::string command = "timeout " + std::to_string(kConvertLimitSeconds) + " " + convert;
      for (int i = first; i < first + kPhotosPerConvertRun; ++i)
        command += " " + (photos / ("photo" + std::to_string(i) + ".jpg")).string();
      command += " -thumbnail 60x60 " + (out / ("t" + std::to_string(first) + "_%d.png")).string() + " >/dev/null 2>&1";
      if (std::system(command.c_str()) != 0) {
        state.SkipWithError("convert failed or ran past its time limit");
        return;
      }
    }
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.SetItemsProcessed(state.iterations() * kPhotos);
  state.SetLabel("anchor: convert -thumbnail 60x60");
}
BENCHMARK(BM_ImageMagickThumbnails)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// A 1920 x 1080 24-bit picture's rows, and a buffer of the same layout to write into.
struct Picture {
  Picture() : source(static_cast<std::size_t>(kStride) * kPictureHeight), target(source.size()) {
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<BYTE>(i * 2654435761u >> 13);
  }
  static constexpr int kStride = (kPictureWidth * 3 + 3) & ~3;
  std::vector<BYTE> source;
  std::vector<BYTE> target;
};

void BM_PictureMemoryPass(benchmark::State& state) {
  Picture picture;
  for (auto _ : state) {
    std::memcpy(picture.target.data(), picture.source.data(), picture.source.size());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("anchor: one copy of the picture");
}
BENCHMARK(BM_PictureMemoryPass)->Unit(benchmark::kMicrosecond)->MinTime(0.5)->UseRealTime();

void smoothing(benchmark::State& state, decltype(&MedianSmooth) filter, const char* label) {
  Picture picture;
  for (auto _ : state) {
    if (!filter(picture.source.data(), 3, 3, kPictureWidth, kPictureHeight, Picture::kStride, picture.target.data())) {
      state.SkipWithError("the filter refused the picture");
      return;
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(label);
}

void BM_MedianSmooth(benchmark::State& state) { smoothing(state, &MedianSmooth, "median 3 x 3"); }
BENCHMARK(BM_MedianSmooth)->Unit(benchmark::kMicrosecond)->MinTime(0.5)->UseRealTime();

void BM_GaussSmooth(benchmark::State& state) { smoothing(state, &GaussSmooth, "Gaussian 3 x 3"); }
BENCHMARK(BM_GaussSmooth)->Unit(benchmark::kMicrosecond)->MinTime(0.5)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench::Main(argc, argv, ORVANE_PROGRAM_DIR); }
