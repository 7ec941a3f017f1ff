// MFC's window helpers that are free functions: message boxes owned by the main window
// and window classes registered on demand.
#pragma once

#include <mfc/afx.h>
#include <win32/user.h>

// A message box over the main window, captioned with the application's name.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = -1);
// The name of a window class with these attributes, registered the first time it is asked
// for; the name stays valid for the life of the process.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);
