#include "support/SideBySide.h"

#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <set>

namespace bench {

namespace {

double seconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Each command is printed the first time a row reports it; a round that only names other
// files (its own temporary folder, between quotes) counts as the same command.
void printOnce(const std::string& command) {
  static std::mutex lock;
  static std::set<std::string> printed;
  std::string withoutFiles;
  bool quoted = false;
  for (const char c : command) {
    if (c == '\'') quoted = !quoted;
    if (!quoted) withoutFiles += c;
  }
  std::lock_guard guard(lock);
  if (printed.insert(withoutFiles).second) std::printf("anchor command: %s\n", command.c_str());
}

}  // namespace

double ProcessSeconds() { return seconds(RUSAGE_SELF); }

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void SideBySide::addOurs(const Usage& usage, double items) {
  m_ours.wall += usage.wall;
  m_ours.processor += usage.processor;
  m_ourItems += items;
}

void SideBySide::addAnchor(const ToolRun& run, double items) {
  if (run.outcome != ToolRun::Outcome::Ran) {
    if (m_failure.empty()) m_failure = OutcomeText(run.outcome);
    return;
  }
  m_anchor.wall += run.usage.wall;
  m_anchor.processor += run.usage.processor;
  m_anchorItems += items;
}

void SideBySide::report(benchmark::State& state, const std::string& anchorName, const std::string& command,
                        const std::string& target) const {
  const std::string prefix = target.empty() ? "" : target + "; ";
  if (m_ourItems > 0) {
    state.counters["cpu_" + m_unit] = m_ours.processor * m_scale / m_ourItems;
    state.counters["wall_" + m_unit] = m_ours.wall * m_scale / m_ourItems;
  }
  if (!anchorRan()) {
    state.SetLabel(prefix + "anchor " + anchorName + ": " + (m_failure.empty() ? "not run" : m_failure));
    return;
  }
  printOnce(command);
  const double anchorCpu = m_anchor.processor * m_scale / m_anchorItems;
  const double anchorWall = m_anchor.wall * m_scale / m_anchorItems;
  state.counters["anchor_cpu_" + m_unit] = anchorCpu;
  state.counters["anchor_wall_" + m_unit] = anchorWall;
  if (m_ourItems > 0 && anchorCpu > 0) state.counters["cpu_ratio"] = m_ours.processor * m_scale / m_ourItems / anchorCpu;
  if (m_ourItems > 0 && anchorWall > 0) state.counters["wall_ratio"] = m_ours.wall * m_scale / m_ourItems / anchorWall;
  state.SetLabel(prefix + "anchor: " + anchorName);
}

void TimeBeside(benchmark::State& state, const std::function<void()>& ours, const std::function<void()>& anchor,
                const std::string& anchorName) {
  Usage mine;
  Usage theirs;
  for (auto _ : state) {
    const auto started = std::chrono::steady_clock::now();
    const double startedCpu = ThreadSeconds();
    ours();
    const auto between = std::chrono::steady_clock::now();
    const double betweenCpu = ThreadSeconds();
    anchor();
    benchmark::ClobberMemory();
    theirs.wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - between).count();
    theirs.processor += ThreadSeconds() - betweenCpu;
    mine.wall += std::chrono::duration<double>(between - started).count();
    mine.processor += betweenCpu - startedCpu;
  }
  const double runs = static_cast<double>(state.iterations()) / 1e6;  // figures in microseconds
  state.counters["us"] = mine.wall / runs;
  state.counters["anchor_us"] = theirs.wall / runs;
  state.counters["cpu_us"] = mine.processor / runs;
  state.counters["anchor_cpu_us"] = theirs.processor / runs;
  if (theirs.wall > 0) state.counters["ratio"] = mine.wall / theirs.wall;
  if (theirs.processor > 0) state.counters["cpu_ratio"] = mine.processor / theirs.processor;
  state.SetLabel("anchor: " + anchorName);
}

}  // namespace bench
