// What the machine's speakers played: the audio renderers hand every buffer here, at
// its time on the clock, and tests read the level and the pitch of the latest buffer
// and how much was played in all. One per machine (Machine::service).
#pragma once

#include <cstdint>
#include <mutex>

namespace plat {

class Machine;

class AudioPlayback {
 public:
  struct Levels {
    std::uint64_t frames = 0;  // sample frames played so far
    int peak = 0;              // largest magnitude in the latest buffer, after volume
    double toneHz = 0.0;       // pitch of the latest buffer, from its zero crossings
  };

  explicit AudioPlayback(Machine&) {}

  // 16-bit interleaved samples; volume in hundredths of a decibel (0 full, -10000 silent).
  void played(const std::int16_t* samples, int frames, int channels, int sampleRate, long volume);
  Levels levels() const;

 private:
  mutable std::mutex m_lock;
  Levels m_levels;
};

}  // namespace plat
