// Stand-by and wake-up of the simulated PC as the programs see them: WM_POWERBROADCAST
// sent to every top-level window of every process of the machine, around the change of
// the machine's power state (plat::PowerState).
#pragma once

#include <cstdint>
#include <string_view>

namespace plat {

class PowerBroadcast {
 public:
  // PBT_APMSUSPEND to every window (each has handled it on return), then stand-by.
  static void suspend();
  // When the PC is suspended: it wakes and PBT_APMRESUMEAUTOMATIC goes to every window.
  // False when it was not suspended.
  static bool resume(std::string_view cause);
  // Wakes a suspended PC whose wake-up time the clock has reached.
  static bool wakeIfDue();
  // How far the clock may move from now before the wake-up time of a suspended PC; the
  // robot stops there so the PC wakes on time. `ms` when nothing is due sooner.
  static std::uint64_t stepBeforeWake(std::uint64_t ms);
  // Sends WM_POWERBROADCAST with `event` to every top-level window of the machine.
  static void toEveryWindow(unsigned event);
};

}  // namespace plat
