// The system folder browser with an edit field in which the user may type a folder; a
// typed folder that does not exist yet is created, level by level, only after the user
// agrees, and a failure to create it is said and keeps the browser open.
#pragma once

#include <mfc/afxwin.h>
#include <win32/shell/shlobj.h>

class CFolderPicker : public CWnd {
 public:
  static constexpr int kEditId = 14148;

  CFolderPicker(LPCSTR lpszCaption, LPCSTR lpszPrompt, LPCSTR lpszInitialFolder, CWnd* pParentWnd);

  // IDOK when a folder was accepted, else -1.
  INT_PTR DoModal();
  CString GetPath() const { return m_szPath; }

  // A drive letter, a colon and a backslash, then folder names that are not empty, do not
  // begin or end with a tab, a space or a dot, and hold none of " * / : < > ? \ |.
  static BOOL IsValidPath(const CString& strPath);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static int BrowseCallback(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
  void OnInitialized(HWND hwnd);
  void OnSelChanged(LPCITEMIDLIST pidl);
  void EnableOkFor(const CString& strPath);
  // TRUE when the typed folder is there or was made; FALSE keeps the browser open.
  BOOL AcceptTyped();
  static BOOL CreateLevels(const CString& strPath);

  CString m_strCaption;
  CString m_strPrompt;
  CString m_strInitial;
  HWND m_hOwner;
  HWND m_hBrowser;
  BROWSEINFOA m_info;
  char m_szDisplayName[MAX_PATH];
  char m_szPath[MAX_PATH];
  BOOL m_bAccepted;
};
