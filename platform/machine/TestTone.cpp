#include <machine/TestTone.h>

#include <cmath>
#include <numbers>

namespace plat {

void TestTone::fill(double toneHz, int channels, int sampleRate, std::int64_t firstFrame, int frames, std::int16_t* out) {
  for (int i = 0; i < frames; ++i) {
    std::int16_t value = 0;
    if (toneHz > 0 && sampleRate > 0) {
      // Only the fraction of a cycle matters, which keeps the phase exact over long runs.
      const double cycles = std::fmod(static_cast<double>(firstFrame + i) * toneHz / sampleRate, 1.0);
      value = static_cast<std::int16_t>(std::lround(kAmplitude * std::sin(2 * std::numbers::pi * cycles)));
    }
    for (int c = 0; c < channels; ++c) out[i * channels + c] = value;
  }
}

}  // namespace plat
