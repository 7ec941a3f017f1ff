// The TV stick's remote-control receiver: the keys pressed on the remote, waiting to be
// read by the program that polls the stick. The queue is a file of the machine root
// (run/remote), so the robot in one process presses keys that another program reads.
//
// Each read takes one report, as the receiver gives one per poll: a new press of a key,
// then one "still held" report for each further poll the key stays down. With no key
// waiting, a read reports "no key". Reports follow the stick's data layout: word 0 holds
// the press flag in bits 0-7 (0 = new press), the key code in bits 8-15 and bit 24 set for
// "no key"; word 1's low byte is 0xBD on valid data.
#pragma once

#include <cstdint>
#include <filesystem>

namespace plat {

class Machine;

class RemoteControl {
 public:
  static constexpr std::uint32_t kNoKey = 1u << 24;
  static constexpr std::uint32_t kValid = 0xBD;

  explicit RemoteControl(Machine& machine);

  // Queues a press of `key` that stays down for `polls` reads (at least one).
  bool press(int key, int polls = 1);
  // Queues raw words, for data the receiver garbles.
  bool queueRaw(std::uint32_t word0, std::uint32_t word1);
  // The next report; false when the queue file cannot be used.
  bool take(std::uint32_t& word0, std::uint32_t& word1);
  // Reports still waiting.
  int pending() const;

 private:
  std::filesystem::path m_file;
};

}  // namespace plat
