// The sound of the simulated sources: a sine of the scene's tone at a fixed level, in
// 16-bit PCM. The phase follows the sample index, so consecutive buffers join without
// a click; a tone of 0 Hz is silence.
#pragma once

#include <cstdint>

namespace plat {

class TestTone {
 public:
  static constexpr std::int16_t kAmplitude = 8000;

  // Fills `frames` frames of `channels` interleaved samples, the first being sample
  // `firstFrame` of the stream.
  static void fill(double toneHz, int channels, int sampleRate, std::int64_t firstFrame, int frames, std::int16_t* out);
};

}  // namespace plat
