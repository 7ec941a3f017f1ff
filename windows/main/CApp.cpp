#include "windows/main/CApp.h"

#include "windows/main/CMainDlg.h"

#include <com/objbase.h>
#include <vendor/language/Language.h>
#include <win32/error.h>
#include <win32/handleapi.h>
#include <win32/sync.h>

namespace {
constexpr int kAlreadyRunningText = 12;
}  // namespace

CApp theApp;

BOOL CApp::InitInstance() {
  m_hMutex = CreateMutexA(nullptr, FALSE, "Only-One-Instance");
  // The mutex's own answer, read before any other call can change the last error.
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    AfxMessageBox(GetMessageInfo(kAlreadyRunningText), MB_OK, 0);
    return FALSE;
  }
  AfxEnableControlContainer();
  Enable3dControls();
  // The controller reads the device lists through COM as it starts.
  HRESULT com = CoInitialize(nullptr);
  {
    CMainDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return FALSE;
}

int CApp::ExitInstance() {
  if (m_hMutex) CloseHandle(m_hMutex);
  m_hMutex = nullptr;
  return CWinApp::ExitInstance();
}
