// The process-wide map from a hooked window to its newest CSubclassWnd, and the one
// window procedure installed on every hooked window. User-interface thread only.
#pragma once

#include <mfc/afxwin.h>

class CSubclassWnd;

class CSubclassWndMap : private CMapPtrToPtr {
 public:
  static CSubclassWndMap& GetHookMap();

  // Makes the hook the newest of the window; the first hook of a window replaces its
  // procedure, later ones take the saved procedure from the previous newest.
  void Add(HWND hWnd, CSubclassWnd* pSubclassWnd);
  // Unlinks the hook wherever it is in its window's chain; the last one restores the
  // window's own procedure.
  void Remove(CSubclassWnd* pSubclassWnd);
  void RemoveAll(HWND hWnd);
  CSubclassWnd* Lookup(HWND hWnd) const;

 private:
  CSubclassWndMap();
  static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
