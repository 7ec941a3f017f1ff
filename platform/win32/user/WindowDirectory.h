// How programs on one machine find and message each other's windows.
//
// Each process that has top-level windows listens on a Unix socket, run/<pid>.sock in the
// machine root, and publishes one entry per top-level window in run/windows/ (a small
// text file named after the handle: process id and start time, thread, class, title,
// extended style and when it was last raised). FindWindowA reads the entries of the other processes; an
// entry whose process is gone (or whose id was reused by a younger process) is ignored
// and removed, so a process that died leaves no window behind.
//
// A message for another process's window is one connection to that process's socket: a
// fixed little request (post or send, handle, message, wParam, lParam). The listener
// thread posts it into the window's thread queue, or, for a send, queues it as a sent
// message whose completion writes the result back; the sender waits for the reply while
// still handling messages sent to its own windows, so two programs may send to each
// other in the middle of a send. Pointers in wParam/lParam mean nothing to the other
// process, as on Windows. A picture request asks a program for what its windows show,
// drawn on the thread of its windows (the whole desktop is drawn from these).
#pragma once

#include <win32/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace plat {

class UserSystem;

class WindowDirectory {
 public:
  struct Entry {
    HWND hwnd = nullptr;
    DWORD processId = 0;
    DWORD threadId = 0;
    std::string className;
    std::string title;
    std::int64_t raisedAt = 0;
    DWORD exStyle = 0;
  };

  WindowDirectory(UserSystem& system, std::filesystem::path runFolder);
  ~WindowDirectory();
  WindowDirectory(const WindowDirectory&) = delete;
  WindowDirectory& operator=(const WindowDirectory&) = delete;

  void publish(const Entry& entry);
  void unpublish(HWND hwnd);

  // Live windows of the other processes, the most recently raised first.
  std::vector<Entry> otherWindows();
  // The entry of another process's live window.
  std::optional<Entry> find(HWND hwnd);

  LRESULT send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // What every other program with windows shows of them (Desktop::thisProgram, drawn on
  // its own user-interface thread), waited for as a send is.
  std::vector<std::vector<std::uint8_t>> otherPrograms();

 private:
  std::filesystem::path entryPath(HWND hwnd) const;
  std::filesystem::path socketPath(DWORD processId) const;
  std::optional<Entry> readEntry(const std::filesystem::path& file) const;
  void forgetProcess(DWORD processId);
  int connectTo(DWORD processId);
  void listen();
  void serve();
  void answer(int connection);
  void answerPicture(int connection);
  std::vector<std::uint8_t> pictureOf(DWORD processId);

  UserSystem& m_system;
  const std::filesystem::path m_runFolder;
  const std::filesystem::path m_windowsFolder;
  const std::uint64_t m_startTime;
  int m_listenFd = -1;
  int m_stopFd = -1;
  std::thread m_listener;
};

}  // namespace plat
