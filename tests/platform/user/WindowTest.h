// What the window-system tests share: a window class whose procedure records every
// message it gets, and a pump that runs the calling thread's queue dry.
#pragma once

#include <support/TestMachine.h>
#include <win32/error.h>
#include <win32/thread.h>
#include <win32/user.h>

#include <algorithm>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace test {

struct Recorded {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class MessageRecorder {
 public:
  static MessageRecorder& instance() {
    static MessageRecorder recorder;
    return recorder;
  }
  void add(const Recorded& r) {
    std::lock_guard guard(m_lock);
    m_messages.push_back(r);
  }
  void clear() {
    std::lock_guard guard(m_lock);
    m_messages.clear();
  }
  std::vector<Recorded> all() const {
    std::lock_guard guard(m_lock);
    return m_messages;
  }
  // The messages of `hwnd` (every window for nullptr) that are among `wanted`, in order.
  std::vector<UINT> of(HWND hwnd, const std::set<UINT>& wanted) const {
    std::vector<UINT> out;
    for (const Recorded& r : all())
      if ((!hwnd || r.hwnd == hwnd) && wanted.count(r.message)) out.push_back(r.message);
    return out;
  }
  std::vector<std::pair<HWND, UINT>> sequence(const std::set<UINT>& wanted) const {
    std::vector<std::pair<HWND, UINT>> out;
    for (const Recorded& r : all())
      if (wanted.count(r.message)) out.emplace_back(r.hwnd, r.message);
    return out;
  }

 private:
  mutable std::mutex m_lock;
  std::vector<Recorded> m_messages;
};

inline LRESULT CALLBACK recordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageRecorder::instance().add({hwnd, message, wParam, lParam});
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

inline constexpr const char* kRecorderClass = "Recorder";

inline void registerClass(const char* name, WNDPROC proc, UINT style = 0) {
  WNDCLASSA cls{};
  cls.style = style;
  cls.lpfnWndProc = proc;
  cls.lpszClassName = name;
  RegisterClassA(&cls);
}

inline HWND createRecorder(const char* title, DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr, int id = 0,
                           RECT r = RECT{10, 20, 310, 220}) {
  return CreateWindowExA(0, kRecorderClass, title, style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

// Dispatches until nothing is left for the calling thread; returns how many messages ran.
inline int pump() {
  int count = 0;
  MSG msg;
  while (count < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    ++count;
  }
  return count;
}

// A fresh machine with the recording class registered and an empty record.
class UserTest : public MachineTest {
 protected:
  UserTest() {
    MessageRecorder::instance().clear();
    registerClass(kRecorderClass, recordingProc, CS_DBLCLKS);
  }
  MessageRecorder& recorder() { return MessageRecorder::instance(); }
};

}  // namespace test
