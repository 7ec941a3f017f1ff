// What MFC keeps per thread: the message the window procedure is handling now (which
// CWnd::Default passes on) and the thread's CWinThread object.
#pragma once

#include <win32/user.h>

class CWinThread;

struct AFX_THREAD_STATE {
  // Saved, replaced and restored around every message a CWnd handles.
  MSG m_lastSentMsg{};
  // The message the thread's loop took last (WM_QUIT at the end, with the exit code).
  MSG m_msgCur{};
  CWinThread* m_pCurrentWinThread = nullptr;
  // How many window procedures of CWnd objects the thread is inside now.
  int m_nWindowProcDepth = 0;
};

AFX_THREAD_STATE* AfxGetThreadState();
