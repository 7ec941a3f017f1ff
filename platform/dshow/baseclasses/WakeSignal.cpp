#include <dshow/baseclasses/WakeSignal.h>

#include <algorithm>
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

// Threads watching at this moment, in every signal of the process.
std::atomic<unsigned> g_watchers{0};

// A thread that watches holds a core: watchers are allowed only while they leave one
// core to the thread that makes the change, so that a fan-out wider than the machine
// sleeps where it would only spin. A single-core machine has no watchers: the changing
// thread could not run meanwhile.
unsigned mostWatchers() {
  static const unsigned most = std::max(1u, std::thread::hardware_concurrency()) - 1;
  return most;
}

// Holds one of the watchers' places while it exists, if one was free.
class WatchPlace {
 public:
  WatchPlace() {
    unsigned now = g_watchers.load(std::memory_order_relaxed);
    while (now < mostWatchers())
      if (g_watchers.compare_exchange_weak(now, now + 1, std::memory_order_relaxed)) {
        m_held = true;
        return;
      }
  }
  ~WatchPlace() {
    if (m_held) g_watchers.fetch_sub(1, std::memory_order_relaxed);
  }
  WatchPlace(const WatchPlace&) = delete;
  WatchPlace& operator=(const WatchPlace&) = delete;
  explicit operator bool() const { return m_held; }

 private:
  bool m_held = false;
};

}  // namespace

void WakeSignal::watch(unsigned seen) const {
  const WatchPlace place;
  if (!place) return;
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
