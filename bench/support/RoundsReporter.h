// The console report of `make bench`: for a benchmark run in several rounds, the median
// of its rounds, its best round (the one that took least time, with all its figures) and
// the coefficient of variation, rather than every round, the mean and the deviation. A
// row that fails is shown as it comes and counted.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace bench {

class RoundsReporter : public benchmark::ConsoleReporter {
 public:
  RoundsReporter();

  void ReportRuns(const std::vector<Run>& runs) override;
  // The names of the rows that failed, in their order.
  const std::vector<std::string>& failures() const { return m_failures; }

 private:
  // The round of m_rounds that took least time, as a row named "<benchmark>_best".
  Run bestRound() const;

  std::vector<Run> m_rounds;  // the rounds of the benchmark whose figures come next
  std::vector<std::string> m_failures;
};

}  // namespace bench
