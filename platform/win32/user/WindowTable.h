// The windows of this process, by handle, and the z-order of the top-level ones.
//
// A handle carries the id of the process that made it in its upper 32 bits, so any
// process on the machine can tell whose window a handle names and reach it through the
// window directory (see WindowDirectory.h). Handles are never reused within a process.
// Guarded by the user lock.
#pragma once

#include <win32/user/Window.h>

#include <memory>
#include <unordered_map>
#include <vector>

namespace plat {

class WindowTable {
 public:
  // Makes a new handle for a window about to be created.
  static HWND newHandle();
  static DWORD processOf(HWND hwnd);
  static bool isLocal(HWND hwnd);

  void add(std::shared_ptr<Window> window);
  void remove(HWND hwnd);
  // nullptr when `hwnd` names no live window of this process.
  std::shared_ptr<Window> find(HWND hwnd) const;
  std::vector<std::shared_ptr<Window>> all() const;

  // Top-level windows, front first; topmost windows stay in front of the others.
  const std::vector<HWND>& topLevel() const { return m_topLevel; }
  std::vector<HWND>& topLevel() { return m_topLevel; }

 private:
  std::unordered_map<HWND, std::shared_ptr<Window>> m_windows;
  std::vector<HWND> m_topLevel;
};

}  // namespace plat
