// The window system of this process on the current machine: window classes, windows,
// one message queue per thread, per-thread input state and hooks, the keyboard and
// pointer, system metrics, message boxes, device contexts and the window directory
// through which other processes find and message our windows.
//
// One per machine (a Machine service), so every test's machine starts with none. The
// user lock guards the tables and every window's state; it is held only while state is
// read or changed, never while a window procedure, hook or other process is called.
#pragma once

#include <machine/Clock.h>
#include <machine/ClockFollowers.h>
#include <machine/PowerState.h>
#include <win32/user/ClassTable.h>
#include <win32/user/InputState.h>
#include <win32/user/MessageBoxLog.h>
#include <win32/user/MessageQueue.h>
#include <win32/user/SystemMetrics.h>
#include <win32/user/ThreadState.h>
#include <win32/user/WindowTable.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

namespace plat {

class Machine;
class WindowDirectory;

class UserSystem {
 public:
  explicit UserSystem(Machine& machine);
  ~UserSystem();
  UserSystem(const UserSystem&) = delete;
  UserSystem& operator=(const UserSystem&) = delete;

  // The window system of the current machine.
  static UserSystem& current();

  std::recursive_mutex& lock() { return m_lock; }
  Clock& clock() { return m_clock; }
  PowerState& power() { return m_power; }
  ClockFollowers& followers() { return m_followers; }
  ClassTable& classes() { return m_classes; }
  WindowTable& windows() { return m_windows; }
  InputState& input() { return m_input; }
  SystemMetrics& metrics() { return m_metrics; }
  MessageBoxLog& messageBoxes() { return m_messageBoxes; }
  // Created on first use (it starts the process's message socket).
  WindowDirectory& directory();
  // Writes or removes a top-level window's directory entry (class, title, last raise).
  void publish(HWND hwnd);
  void unpublish(HWND hwnd);

  // A live window of this process (nullptr for a remote, destroyed or orphaned handle).
  // Call with the user lock held.
  std::shared_ptr<Window> window(HWND hwnd);
  // The calling thread's queue, made on first use.
  std::shared_ptr<MessageQueue> queue();
  std::shared_ptr<MessageQueue> queueOf(DWORD threadId);
  // Call with the user lock held.
  ThreadState& threadState(DWORD threadId);
  ThreadState& threadState();
  // The window last activated on any thread of this process. Call with the user lock held.
  HWND foreground() const { return m_foreground; }
  void setForeground(HWND hwnd) { m_foreground = hwnd; }

  // The calling thread's idle hook is asked for work before its message loop blocks; it
  // returns the real milliseconds until it wants to be asked again, 0 after doing work,
  // -1 when it has nothing to do.
  using IdleHook = std::function<int()>;
  void setIdleHook(DWORD threadId, IdleHook hook);
  IdleHook idleHook(DWORD threadId);

  // The same number for the same name (without case) in every process of the machine.
  static UINT registerMessage(const std::string& name);

 private:
  std::recursive_mutex m_lock;
  Clock& m_clock;
  Machine& m_machine;
  PowerState& m_power;
  ClockFollowers& m_followers;
  ClassTable m_classes;
  WindowTable m_windows;
  InputState m_input;
  SystemMetrics m_metrics;
  MessageBoxLog m_messageBoxes;
  std::unique_ptr<WindowDirectory> m_directory;
  std::map<DWORD, std::shared_ptr<MessageQueue>> m_queues;
  std::map<DWORD, ThreadState> m_threads;
  std::map<DWORD, IdleHook> m_idleHooks;
  HWND m_foreground = nullptr;
  std::set<HWND> m_orphans;
};

}  // namespace plat
