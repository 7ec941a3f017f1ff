// A hook on an existing window's procedure, for objects that are not window objects
// themselves (the skin frame of a dialog, the owner-drawn menu hook). The hook sees every
// message of the window in WindowProc; what it does not take it hands on with its default
// handling. Several hooks may sit on one window: they form a chain, newest first, with the
// window's own procedure at the end. The window's procedure is replaced only while at
// least one hook is on it, and its WM_NCDESTROY removes every hook before the window's
// own procedure sees the message.
#pragma once

#include <mfc/afxwin.h>

class CSubclassWndMap;

class CSubclassWnd : public CObject {
  DECLARE_DYNAMIC(CSubclassWnd)

 public:
  CSubclassWnd();
  ~CSubclassWnd() override;

  // With a window: puts this hook on it (taking it off any other window first); FALSE
  // when the handle is not a window. With none: takes the hook off. TRUE otherwise.
  virtual BOOL HookWindow(CWnd* pWnd);
  virtual BOOL HookWindow(HWND hWnd);
  virtual BOOL IsHooked() const { return m_hWnd != nullptr; }

 protected:
  // The default handling: the next (older) hook of the window, or the window's own
  // procedure. Derived hooks call it for what they do not take.
  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // The default handling of the message now being dispatched.
  LRESULT Default();

  HWND m_hWnd;
  WNDPROC m_pOldWndProc;
  CSubclassWnd* m_pNext;

  friend class CSubclassWndMap;
};
