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

// A watcher that finds every core busy yields its core to the threads that wait for one,
// which costs less than the sleep and wake it saves (a wide fan-out measures more
// processor time a sample when some of its threads are kept from watching). Far beyond
// the machine's cores, though, watchers only queue for cores: there they sleep at once.
// A single-core machine has no watchers: the changing thread could not run meanwhile.
unsigned mostWatchers() {
  static const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  static const unsigned most = cores > 1 ? 2 * cores : 0;
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

void WakeSignal::watch(const std::atomic<unsigned>& counter, unsigned seen) {
  const WatchPlace place;
  if (!place) return;
  const auto until = std::chrono::steady_clock::now() + kSpin;
  for (;;) {
    for (int i = 0; i < 16; ++i) {
      if (counter.load(std::memory_order_acquire) != seen) return;
      relax();
    }
    if (std::chrono::steady_clock::now() >= until) return;
    // Lets the thread that will make the change run where the cores are all busy.
    std::this_thread::yield();
  }
}

void WakeSignal::lockSoon(std::unique_lock<std::mutex>& guard) {
  for (int i = 0; i < 256; ++i) {
    if (guard.try_lock()) return;
    relax();
  }
  guard.lock();
}

}  // namespace plat
