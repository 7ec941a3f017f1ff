// The outside tools the benchmarks measure themselves against (FFmpeg's and GStreamer's
// command lines), run under a time limit so that a tool that never ends cannot hold up
// the run. Their processor time is that of the tool's own processes, their wall time the
// run's; FFmpeg's runs report its own -benchmark figures instead, which leave out its
// start-up (opening files, probing) as ours leave out building the graph.
#pragma once

#include <chrono>
#include <string>

namespace bench {

// What a run took: wall seconds and processor seconds (user and system).
struct Usage {
  double wall = 0;
  double processor = 0;
};

struct ToolRun {
  enum class Outcome { Ran, NotInstalled, Failed, TimedOut };
  Outcome outcome = Outcome::Failed;
  Usage usage;
  std::string output;  // standard output and error together
};

// True when `program` is an executable on PATH.
bool OnPath(const std::string& program);
// Runs the shell command line (its first word is the program) with `limit` to finish;
// killed, with every process it started, when it has not.
ToolRun RunTool(const std::string& commandLine, std::chrono::seconds limit);
// RunTool(commandLine) less a run of `startUp`, the same tool given nothing to do: the
// work alone, where the tool reports no figures of its own.
ToolRun RunToolLessStartUp(const std::string& commandLine, const std::string& startUp, std::chrono::seconds limit);
// `ffmpeg -hide_banner -nostdin -benchmark <arguments>`, the usage being the tool's own
// figures for the work.
std::string FfmpegCommand(const std::string& arguments);
ToolRun RunFfmpeg(const std::string& arguments, std::chrono::seconds limit);
// What an outcome says in a report: "" when it ran.
const char* OutcomeText(ToolRun::Outcome outcome);

}  // namespace bench
