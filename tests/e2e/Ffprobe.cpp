#include "Ffprobe.h"

#include <cstdio>
#include <memory>

namespace test {

namespace {

using Pipe = std::unique_ptr<FILE, int (*)(FILE*)>;

Pipe run(const std::string& command) { return Pipe(popen((command + " 2>/dev/null").c_str(), "r"), pclose); }

}  // namespace

int FfprobeVideoFrames(const std::string& path) {
  const Pipe pipe = run("ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames "
                        "-of default=nokey=1:noprint_wrappers=1 '" + path + "'");
  int frames = -1;
  if (!pipe || std::fscanf(pipe.get(), "%d", &frames) != 1) return -1;
  return frames;
}

double FfprobeStreamSeconds(const std::string& path, const std::string& kind) {
  const Pipe pipe = run("ffprobe -v error -select_streams " + kind + ":0 -show_entries packet=pts_time,duration_time "
                        "-of csv=p=0 '" + path + "'");
  if (!pipe) return -1;
  double first = -1;
  double end = -1;
  char line[128];
  // A packet without a time ("N/A") is left out.
  while (std::fgets(line, sizeof line, pipe.get())) {
    double at = 0;
    double duration = 0;
    if (std::sscanf(line, "%lf,%lf", &at, &duration) != 2) continue;
    if (first < 0 || at < first) first = at;
    if (at + duration > end) end = at + duration;
  }
  return first < 0 ? -1 : end - first;
}

}  // namespace test
