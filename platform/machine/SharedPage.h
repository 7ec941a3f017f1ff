// A small page of memory that every process of the machine maps from one file under the
// machine root, for state that must read the same in all of them at once (the clock, the
// power state). A new file is all zeros, so the zero state must be a sensible start; the
// fields are atomics, which work across processes on one mapping.
//
// A 32-bit counter of a page can be waited on (waitForChange) by the threads of every
// process that maps it, and woken by whoever bumps it (wakeAll), as a futex.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace plat {

class SharedPage {
 public:
  // Maps `size` bytes of `file`, made (zero-filled) when missing. Null data() on failure.
  SharedPage(const std::filesystem::path& file, std::size_t size);
  ~SharedPage();
  SharedPage(const SharedPage&) = delete;
  SharedPage& operator=(const SharedPage&) = delete;

  void* data() const { return m_data; }

  // The page as a T placed there (T holds atomics and is all zeros when fresh).
  template <class T>
  T* as() const {
    return static_cast<T*>(m_data);
  }

  // Sleeps while `word` still holds `seen`, up to `limit`; may return early.
  static void waitForChange(const std::atomic<std::uint32_t>& word, std::uint32_t seen,
                            std::chrono::microseconds limit);
  // Wakes every thread, of any process, waiting on `word`.
  static void wakeAll(std::atomic<std::uint32_t>& word);

 private:
  void* m_data = nullptr;
  std::size_t m_size = 0;
};

}  // namespace plat
