#include "support/RoundsReporter.h"

#include <algorithm>

namespace bench {

RoundsReporter::RoundsReporter() : benchmark::ConsoleReporter(OO_None) {}

void RoundsReporter::ReportRuns(const std::vector<Run>& runs) {
  std::vector<Run> shown;
  for (const Run& run : runs) {
    if (run.error_occurred) {
      m_failures.push_back(run.benchmark_name());
      shown.push_back(run);
    } else if (run.run_type == Run::RT_Iteration && run.repetitions > 1) {
      m_rounds.push_back(run);
    } else if (run.run_type != Run::RT_Aggregate) {
      shown.push_back(run);
    } else if (run.aggregate_name == "median") {
      shown.push_back(run);
      if (!m_rounds.empty()) shown.push_back(bestRound());
    } else if (run.aggregate_name == "cv") {
      shown.push_back(run);
    }
  }
  if (std::any_of(runs.begin(), runs.end(), [](const Run& run) { return run.run_type == Run::RT_Aggregate; }))
    m_rounds.clear();
  if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
}

RoundsReporter::Run RoundsReporter::bestRound() const {
  Run best = *std::min_element(m_rounds.begin(), m_rounds.end(), [](const Run& a, const Run& b) {
    return a.GetAdjustedRealTime() < b.GetAdjustedRealTime();
  });
  best.run_type = Run::RT_Aggregate;
  best.aggregate_name = "best";
  best.aggregate_unit = benchmark::kTime;
  return best;
}

}  // namespace bench
