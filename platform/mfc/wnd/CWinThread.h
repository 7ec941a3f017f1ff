// A thread with a message loop (the application's user-interface thread) or a worker
// started by AfxBeginThread. Run() is MFC's loop: PumpMessage takes a message, lets the
// windows from its target up to the main window see it in PreTranslateMessage, then
// translates and dispatches it; OnIdle runs when the queue is empty.
#pragma once

#include <mfc/wnd/CCmdTarget.h>

class CWnd;

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)

 public:
  CWinThread();
  CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
  ~CWinThread() override;

  CWnd* m_pMainWnd = nullptr;
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  BOOL m_bAutoDelete = TRUE;

  virtual BOOL InitInstance();
  virtual int ExitInstance();
  virtual int Run();
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Work for an empty queue; TRUE asks to be called again before the thread waits.
  virtual BOOL OnIdle(LONG lCount);
  // FALSE once WM_QUIT arrives.
  virtual BOOL PumpMessage();
  virtual CWnd* GetMainWnd();
  DWORD ResumeThread();

  // Starts the thread that runs the worker function (see AfxBeginThread).
  BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

  AFX_THREADPROC m_pfnThreadProc = nullptr;
  LPVOID m_pThreadParams = nullptr;

 private:
  static DWORD WINAPI threadEntry(LPVOID self);
};

// The CWinThread of the calling thread (the application object on its main thread).
CWinThread* AfxGetThread();
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = 0, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// One round of the calling thread's MFC loop; FALSE once WM_QUIT arrives.
BOOL AfxPumpMessage();
