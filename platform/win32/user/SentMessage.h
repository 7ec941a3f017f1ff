// A message sent to a window of another thread (or process): the sender waits, still
// handling what is sent to it, until the target thread has run the window procedure (or
// the message's task) and called complete().
#pragma once

#include <win32/types.h>

#include <atomic>
#include <functional>

namespace plat {

class SentMessage {
 public:
  SentMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, std::function<void(LRESULT)> onComplete)
      : hwnd(hwnd), message(message), wParam(wParam), lParam(lParam), m_onComplete(std::move(onComplete)) {}
  SentMessage(const SentMessage&) = delete;
  SentMessage& operator=(const SentMessage&) = delete;

  const HWND hwnd;
  const UINT message;
  const WPARAM wParam;
  const LPARAM lParam;
  // Work the target thread runs in place of a window procedure, when set: what another
  // program asks of this one's windows as a whole (see WindowDirectory).
  std::function<LRESULT()> task;

  // Stores the result and tells the sender; later calls do nothing.
  void complete(LRESULT result) {
    if (m_claimed.exchange(true)) return;
    m_result = result;
    m_done.store(true, std::memory_order_release);
    if (m_onComplete) m_onComplete(result);
  }
  bool isDone() const { return m_done.load(std::memory_order_acquire); }
  // Valid once isDone().
  LRESULT result() const { return m_result; }

 private:
  std::atomic<bool> m_claimed{false};
  std::atomic<bool> m_done{false};
  LRESULT m_result = 0;
  std::function<void(LRESULT)> m_onComplete;
};

}  // namespace plat
