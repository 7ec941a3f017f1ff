// The application object of "Orvane Media": one running instance at a time, guarded by
// the named mutex "Only-One-Instance", and the launcher as the program's only modal loop.
// The program ends when the launcher closes.
#pragma once

#include <mfc/afxwin.h>

class CApp : public CWinApp {
 public:
  CApp() = default;

  // A second instance shows the already-running text and ends; the first runs the launcher.
  // FALSE always.
  BOOL InitInstance() override;
  // Closes the mutex.
  int ExitInstance() override;

 private:
  HANDLE m_hMutex = nullptr;
};
