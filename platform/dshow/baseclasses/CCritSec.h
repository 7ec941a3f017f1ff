// A critical section for filters and pins: recursive, as Windows' is, so a thread that
// holds the filter lock may take it again (a pin's method calling back into its filter).
#pragma once

#include <mutex>

class CCritSec {
 public:
  CCritSec() = default;
  CCritSec(const CCritSec&) = delete;
  CCritSec& operator=(const CCritSec&) = delete;

  void Lock() { m_mutex.lock(); }
  void Unlock() { m_mutex.unlock(); }
  // For std::lock_guard and friends.
  void lock() { m_mutex.lock(); }
  void unlock() { m_mutex.unlock(); }

 private:
  std::recursive_mutex m_mutex;
};
