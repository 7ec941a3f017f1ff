// Hides the mouse pointer once it has stood still over the active watched window for 200
// timer ticks, and brings it back at the same place on request. The watching window owns
// the timer: it calls OnTimer on each tick and, whenever the pointer moves, ShowPointer,
// then stores the pointer position as the saved point and restarts its timer.
#pragma once

#include <mfc/afxwin.h>

class CCursorHider {
 public:
  static constexpr int kTicksToHide = 200;

  CCursorHider();

  int Attach(HWND hWnd);
  // 1 when this tick hid the pointer.
  int OnTimer(UINT_PTR nTimerId);
  int ShowPointer();

  BOOL IsHidden() const { return m_bHidden; }
  void SetSavedPoint(POINT point) { m_ptSaved = point; }
  POINT GetSavedPoint() const { return m_ptSaved; }
  int GetCount() const { return m_nCount; }

 private:
  void Reset();

  HWND m_hWnd;
  int m_nCount;
  BOOL m_bHidden;
  POINT m_ptSaved;
};
