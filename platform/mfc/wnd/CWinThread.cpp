#include <mfc/wnd/CWinThread.h>

#include <mfc/wnd/AFX_THREAD_STATE.h>
#include <mfc/wnd/CWinApp.h>
#include <mfc/wnd/CWnd.h>
#include <win32/handleapi.h>
#include <win32/thread.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

CWinThread::~CWinThread() {
  if (m_hThread) ::CloseHandle(m_hThread);
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() {
  const MSG& last = AfxGetThreadState()->m_msgCur;
  return last.message == WM_QUIT ? static_cast<int>(last.wParam) : 0;
}

CWnd* CWinThread::GetMainWnd() { return m_pMainWnd; }

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  if (!pMsg->hwnd) return FALSE;
  CWnd* main = AfxGetMainWnd();
  return CWnd::WalkPreTranslateTree(main ? main->m_hWnd : nullptr, pMsg);
}

BOOL CWinThread::OnIdle(LONG) {
  AfxDeleteTempMap();
  return FALSE;
}

BOOL CWinThread::PumpMessage() {
  MSG& msg = AfxGetThreadState()->m_msgCur;
  if (!::GetMessageA(&msg, nullptr, 0, 0)) return FALSE;
  if (!PreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return TRUE;
}

int CWinThread::Run() {
  MSG msg;
  LONG idleCount = 0;
  while (true) {
    while (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount++)) {
    }
    idleCount = 0;
    if (!PumpMessage()) return ExitInstance();
  }
}

BOOL AfxPumpMessage() {
  if (CWinThread* thread = AfxGetThread()) return thread->PumpMessage();
  MSG msg;
  if (!::GetMessageA(&msg, nullptr, 0, 0)) return FALSE;
  if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return TRUE;
}

DWORD CWinThread::ResumeThread() { return ::ResumeThread(m_hThread); }

DWORD WINAPI CWinThread::threadEntry(LPVOID self) {
  auto* thread = static_cast<CWinThread*>(self);
  AfxGetThreadState()->m_pCurrentWinThread = thread;
  const UINT code = thread->m_pfnThreadProc(thread->m_pThreadParams);
  if (thread->m_bAutoDelete) delete thread;
  return code;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  // Started suspended so the handle and id are in place before the thread can end.
  DWORD id = 0;
  m_hThread = ::CreateThread(lpSecurityAttrs, nStackSize, threadEntry, this, CREATE_SUSPENDED, &id);
  if (!m_hThread) return FALSE;
  m_nThreadID = id;
  if (!(dwCreateFlags & CREATE_SUSPENDED)) ::ResumeThread(m_hThread);
  return TRUE;
}

CWinThread* AfxGetThread() {
  if (CWinThread* thread = AfxGetThreadState()->m_pCurrentWinThread) return thread;
  return nullptr;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  auto* thread = new CWinThread(pfnThreadProc, pParam);
  if (!thread->CreateThread(dwCreateFlags, nStackSize, lpSecurityAttrs)) {
    delete thread;
    return nullptr;
  }
  return thread;
}
