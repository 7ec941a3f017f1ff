// What /proc says of another process: whether it still runs (a zombie, ended but not yet
// collected by its parent, does not) and when it started, which tells it from a younger
// process that got the same id.
#pragma once

#include <cstdint>
#include <optional>

namespace plat {

class ProcessStat {
 public:
  static bool isRunning(int processId) { return startTime(processId).has_value(); }
  // Clock ticks since boot at the process's start; none for a process that has ended.
  static std::optional<std::uint64_t> startTime(int processId);
};

}  // namespace plat
