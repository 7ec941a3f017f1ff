// The application: the one object a program defines globally. The process entry
// (AfxWinMain, run by the platform's main) fills in its instance and command line, starts
// a robot script when ORVANE_ROBOT names one, then runs InitInstance and, when that
// returns TRUE, the message loop until WM_QUIT; ExitInstance gives the exit status. A
// dialog-based program runs its main dialog modally inside InitInstance and returns FALSE.
#pragma once

#include <mfc/wnd/CWinThread.h>

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)

 public:
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;

  LPCTSTR m_pszAppName = nullptr;
  LPCTSTR m_pszExeName = nullptr;
  HINSTANCE m_hInstance = nullptr;
  LPTSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWDEFAULT;

  BOOL InitInstance() override;
  int Run() override;

  HICON LoadIcon(UINT nIDResource) const;
  HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
  // Kept for the programs that call them; there is nothing to switch on.
  BOOL Enable3dControls() { return TRUE; }
  BOOL Enable3dControlsStatic() { return TRUE; }

 private:
  CString m_appName;
  CString m_exeName;
};

CWinApp* AfxGetApp();
// The main window of the calling thread, or the application's.
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// The module resources are loaded from: the program's, unless another was set (NULL sets
// the program's again).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
LPCTSTR AfxGetAppName();
void AfxEnableControlContainer();
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
