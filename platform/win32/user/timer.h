// Window timers on the machine clock. A timer is due when the clock passes its due time;
// the owning thread's message loop then hands out WM_TIMER (wParam = id), earliest due
// first, after posted messages, input and WM_PAINT. A timer that fell behind fires once
// and is due again one period later, as on Windows; re-setting an id replaces the timer.
// On a manual clock nothing fires until the clock is advanced (tests use the robot).
#pragma once

#include <win32/types.h>

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

// hWnd NULL creates a thread timer with a new id (the return value).
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);
