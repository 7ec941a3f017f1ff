// The common open and save file dialogs (see win32/commdlg/commdlg.h) as MFC wraps them.
//
// The constructor fills m_ofn: the filter's "|" separators become the NULs the dialog
// reads ("CHL Files (*.chl)|*.chl||"), the initial name goes into the object's own
// MAX_PATH buffer, the flags and default extension as given. The caller may change m_ofn
// (lpstrInitialDir, lpstrTitle) before DoModal. DoModal runs the dialog owned by the
// parent window, or else by the window in front of the thread (or the main window), and
// returns IDOK with the chosen path, otherwise IDCANCEL.
#pragma once

#include <mfc/wnd/CDialog.h>
#include <win32/commdlg/commdlg.h>

#include <string>

class CFileDialog : public CDialog {
  DECLARE_DYNAMIC(CFileDialog)

 public:
  explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                       CWnd* pParentWnd = nullptr);
  CFileDialog(const CFileDialog&) = delete;
  CFileDialog& operator=(const CFileDialog&) = delete;

  INT_PTR DoModal() override;

  // The chosen file: its full path, its name, its extension (without the dot) and its name
  // without the extension.
  CString GetPathName() const;
  CString GetFileName() const;
  CString GetFileExt() const;
  CString GetFileTitle() const;

  OPENFILENAME m_ofn{};

 protected:
  BOOL m_bOpenFileDialog;
  std::string m_filter;  // descriptions and patterns, each ending in NUL
  CString m_strDefExt;
  char m_szFileName[MAX_PATH] = {};
  char m_szFileTitle[MAX_PATH] = {};
};
