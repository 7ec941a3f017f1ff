#include <dshow/baseclasses/WakeSignal.h>

#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace plat {

namespace {

inline void relax() {
#if defined(__x86_64__) || defined(__i386__)
  _mm_pause();
#else
  std::this_thread::yield();
#endif
}

}  // namespace

void WakeSignal::watch(unsigned seen) const {
  // Single-core machines gain nothing from watching: the changing thread cannot run meanwhile.
  static const bool worthWatching = std::thread::hardware_concurrency() > 1;
  if (!worthWatching) return;
  const auto until = std::chrono::steady_clock::now() + kSpin;
  for (;;) {
    for (int i = 0; i < 16; ++i) {
      if (m_changes.load(std::memory_order_acquire) != seen) return;
      relax();
    }
    if (std::chrono::steady_clock::now() >= until) return;
    // Lets the thread that will make the change run where the cores are all busy.
    std::this_thread::yield();
  }
}

}  // namespace plat
