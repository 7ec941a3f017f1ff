// The outside tools the benchmarks measure themselves against: FFmpeg's command line
// (its own -benchmark figure of the time spent transcoding, without start-up) and any
// other program whose processor time is taken from the children's usage.
#pragma once

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

namespace bench {

// True when `program` is an executable on PATH.
bool OnPath(const std::string& program);
// Runs `ffmpeg -benchmark <arguments>`; the seconds it reports for the work itself, or
// nothing when ffmpeg is missing or fails.
std::optional<double> FfmpegSeconds(const std::string& arguments);
// Times each iteration of `state` by one run of FfmpegSeconds(arguments), counting
// `pictures` items a run, with `label`; skips the benchmark when ffmpeg cannot run.
void TimeFfmpegRuns(benchmark::State& state, const std::string& arguments, int pictures, const std::string& label);
// Runs the shell command line; the processor seconds (user and system) its processes
// took, or nothing when it fails.
std::optional<double> ChildProcessorSeconds(const std::string& commandLine);

}  // namespace bench
