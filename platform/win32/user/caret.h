// The caret: one per thread, owned by one of its windows, as on Windows. CreateCaret gives
// the thread a new caret (replacing the one it had) that starts hidden; ShowCaret and
// HideCaret count, and the caret shows while the count is back at zero. Its place is in its
// window's client coordinates. It goes with its window, and DestroyCaret ends it.
//
// The screen shows a shown caret of a visible window as its rectangle inverted over the
// window's pixels (without blinking, so a screenshot always finds it); a window's own
// drawing never has to hide it first. GetGUIThreadInfo reports the caret of a thread with
// GUI_CARETBLINKING while it shows.
#pragma once

#include <win32/types.h>

// hBitmap must be NULL (a solid caret); a width or height of 0 is the system border's.
BOOL CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight);
BOOL DestroyCaret();
// hWnd NULL means the caret of the calling thread, whatever window owns it.
BOOL ShowCaret(HWND hWnd);
BOOL HideCaret(HWND hWnd);
BOOL SetCaretPos(int X, int Y);
BOOL GetCaretPos(LPPOINT lpPoint);

#define GUI_CARETBLINKING 0x00000001
#define GUI_INMOVESIZE 0x00000002
#define GUI_INMENUMODE 0x00000004
#define GUI_SYSTEMMENUMODE 0x00000008
#define GUI_POPUPMENUMODE 0x00000010

struct GUITHREADINFO {
  DWORD cbSize;
  DWORD flags;
  HWND hwndActive;
  HWND hwndFocus;
  HWND hwndCapture;
  HWND hwndMenuOwner;
  HWND hwndMoveSize;
  HWND hwndCaret;
  RECT rcCaret;  // client coordinates of hwndCaret
};
using LPGUITHREADINFO = GUITHREADINFO*;

// idThread 0 means the calling thread. Menu and move-size windows are not reported.
BOOL GetGUIThreadInfo(DWORD idThread, LPGUITHREADINFO pgui);
