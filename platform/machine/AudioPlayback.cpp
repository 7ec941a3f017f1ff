#include <machine/AudioPlayback.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace plat {

void AudioPlayback::played(const std::int16_t* samples, int frames, int channels, int sampleRate, long volume) {
  const double gain = volume <= -10000 ? 0.0 : std::pow(10.0, static_cast<double>(volume) / 2000.0);
  int peak = 0;
  int crossings = 0;
  for (int i = 0; i < frames; ++i) {
    const int value = samples[i * channels];
    peak = std::max(peak, std::abs(value));
    if (i > 0 && (samples[(i - 1) * channels] < 0) != (value < 0)) ++crossings;
  }
  std::lock_guard guard(m_lock);
  m_levels.frames += static_cast<std::uint64_t>(frames);
  m_levels.peak = static_cast<int>(std::lround(peak * gain));
  m_levels.toneHz = frames > 1 && sampleRate > 0 && peak > 0 ? crossings / 2.0 * sampleRate / (frames - 1) : 0.0;
}

AudioPlayback::Levels AudioPlayback::levels() const {
  std::lock_guard guard(m_lock);
  return m_levels;
}

}  // namespace plat
