// Whether the simulated PC is on or in stand-by, and when a wake-up timer will wake it.
// Kept in a page of run/power that every process of the machine maps, so a program that
// suspends the PC and a test that moves the clock see the same state. While the PC is
// suspended no window timer fires in any process (the user system asks isSuspended()).
//
// Every change is written to power.log: "standby", "wake" (with what woke the PC),
// "wake-timer" (armed or cancelled), "shutdown", "execution-state".
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace plat {

class Machine;
class SharedPage;

class PowerState {
 public:
  explicit PowerState(Machine& machine);
  ~PowerState();
  PowerState(const PowerState&) = delete;
  PowerState& operator=(const PowerState&) = delete;

  bool isSuspended() const;
  bool isOff() const;
  void suspend();
  // False when the PC was not suspended.
  bool resume(std::string_view cause);
  void powerOff(std::string_view how);

  // One wake-up time (UTC milliseconds) at a time, as the one timer that may wake the PC;
  // a later arm replaces it, and cancel clears it only when it still holds that time.
  void armWake(std::int64_t unixMs);
  void cancelWake(std::int64_t unixMs);
  std::optional<std::int64_t> wakeTime() const;

  // Anything else a program asked of the power manager, for power.log.
  void note(std::string_view category, std::string_view text);

 private:
  struct State {
    std::atomic<std::int32_t> suspended;
    std::atomic<std::int32_t> off;
    std::atomic<std::int64_t> wakeAtUnixMs;  // 0: none
  };

  std::string localTime(std::int64_t unixMs) const;

  Machine& m_machine;
  std::unique_ptr<SharedPage> m_page;
  State m_own{};
  State* m_state;
};

}  // namespace plat
