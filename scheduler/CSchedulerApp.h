// The scheduler program "Calvendor": one instance per machine (a named mutex), whose only
// window is the hidden dialog run modally until the session ends.
#pragma once

#include <mfc/afxwin.h>

class CSchedulerApp : public CWinApp {
 public:
  static constexpr char kMutexName[] = "{1C6780D1-9e51-684a-8F5F-8Fa8d2BD87DD}";

  BOOL InitInstance() override;
  int ExitInstance() override;

 private:
  HANDLE m_hMutex = nullptr;
};
