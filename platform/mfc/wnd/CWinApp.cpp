#include <mfc/wnd/CWinApp.h>

#include <mfc/wnd/AFX_THREAD_STATE.h>
#include <mfc/wnd/CWnd.h>
#include <machine/ProgramFolder.h>
#include <robot/RobotScript.h>
#include <win32/module.h>
#include <win32/thread.h>


IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(LPCTSTR lpszAppName) {
  g_app = this;
  // The thread that makes the application object is its user-interface thread.
  AfxGetThreadState()->m_pCurrentWinThread = this;
  m_bAutoDelete = FALSE;
  m_exeName = plat::ProgramFolder::executableName().c_str();
  m_appName = lpszAppName ? lpszAppName : static_cast<LPCTSTR>(m_exeName);
  m_pszAppName = m_appName;
  m_pszExeName = m_exeName;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
  if (AfxGetThreadState()->m_pCurrentWinThread == this) AfxGetThreadState()->m_pCurrentWinThread = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
  // With no main window nothing could ever end the loop.
  if (!m_pMainWnd) ::PostQuitMessage(0);
  return CWinThread::Run();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
  return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() {
  CWinThread* thread = AfxGetThread();
  if (thread && thread->m_pMainWnd) return thread->m_pMainWnd;
  return g_app ? g_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
  return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleA(nullptr);
}

namespace {

HINSTANCE g_resourceHandle = nullptr;

}  // namespace

HINSTANCE AfxGetResourceHandle() { return g_resourceHandle ? g_resourceHandle : AfxGetInstanceHandle(); }

void AfxSetResourceHandle(HINSTANCE hInstResource) { g_resourceHandle = hInstResource; }

LPCTSTR AfxGetAppName() { return g_app ? g_app->m_pszAppName : nullptr; }

void AfxEnableControlContainer() {}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow) {
  CWinApp* app = AfxGetApp();
  if (!app) return -1;
  app->m_hInstance = hInstance;
  app->m_lpCmdLine = lpCmdLine;
  app->m_nCmdShow = nCmdShow;
  app->m_nThreadID = ::GetCurrentThreadId();
  plat::RobotScript::startFromEnvironment();
  const int code = app->InitInstance() ? app->Run() : app->ExitInstance();
  return plat::RobotScript::finish(code);
}
