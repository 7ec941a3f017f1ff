#include "scheduler/CSchedulerApp.h"

#include "scheduler/CSchedulerDlg.h"
#include "scheduler/SchedulerTexts.h"

#include <com/objbase.h>
#include <win32/error.h>
#include <win32/handleapi.h>
#include <win32/sync.h>

CSchedulerApp theApp;

BOOL CSchedulerApp::InitInstance() {
  AfxEnableControlContainer();
  CoInitialize(nullptr);
  m_hMutex = CreateMutexA(nullptr, FALSE, kMutexName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    AfxMessageBox(SchedulerTexts::Lookup(SchedulerTexts::kAlreadyRunning), MB_OK, 0);
    return FALSE;
  }
  Enable3dControls();
  CSchedulerDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = nullptr;
  return FALSE;
}

int CSchedulerApp::ExitInstance() {
  CoUninitialize();
  if (m_hMutex) CloseHandle(m_hMutex);
  m_hMutex = nullptr;
  return CWinApp::ExitInstance();
}
