// A figure and its anchor measured in the same rounds, reported in one row: ours and the
// anchor's processor and wall time per item in one unit, and ours over the anchor's.
// The anchor's exact command is printed once, before the row; an anchor that did not run
// says why in the row's label and leaves our figures standing alone.
#pragma once

#include "support/CommandLineTool.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

namespace bench {

// Processor seconds of every thread of this process.
double ProcessSeconds();
// Processor seconds of the calling thread, to the nanosecond.
double ThreadSeconds();

class SideBySide {
 public:
  // `unit` names the counters ("us_per_buffer"); `scale` turns seconds per item into it.
  SideBySide(std::string unit, double scale) : m_unit(std::move(unit)), m_scale(scale) {}

  void addOurs(const Usage& usage, double items);
  // A run of the anchor; the first one that did not run is kept as the reason.
  void addAnchor(const ToolRun& run, double items);
  bool anchorRan() const { return m_anchorItems > 0 && m_failure.empty(); }
  // Sets the counters and the label "<target>; anchor: <name>" on `state`.
  void report(benchmark::State& state, const std::string& anchorName, const std::string& command,
              const std::string& target = "") const;

 private:
  std::string m_unit;
  double m_scale;
  Usage m_ours;
  double m_ourItems = 0;
  Usage m_anchor;
  double m_anchorItems = 0;
  std::string m_failure;
};

// For work done on this thread on both sides: runs `ours` and `anchor` one after the
// other once each iteration and reports microseconds a run of each, on the wall clock
// ("us", "anchor_us") and of the thread's processor time ("cpu_us", "anchor_cpu_us"), and
// ours over the anchor's ("ratio", "cpu_ratio"), with the label "anchor: <name>".
void TimeBeside(benchmark::State& state, const std::function<void()>& ours, const std::function<void()>& anchor,
                const std::string& anchorName);

}  // namespace bench
