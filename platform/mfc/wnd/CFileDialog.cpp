#include <mfc/wnd/CFileDialog.h>

#include <mfc/wnd/CWinApp.h>
#include <win32/user.h>

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog) {
  m_pParentWnd = pParentWnd;
  if (lpszFilter) {
    m_filter = lpszFilter;
    std::replace(m_filter.begin(), m_filter.end(), '|', '\0');
    m_filter.push_back('\0');
  }
  if (lpszDefExt) m_strDefExt = lpszDefExt;
  if (lpszFileName) {
    std::strncpy(m_szFileName, lpszFileName, sizeof m_szFileName - 1);
    m_szFileName[sizeof m_szFileName - 1] = '\0';
  }
  m_ofn.lStructSize = sizeof m_ofn;
  m_ofn.lpstrFilter = lpszFilter ? m_filter.c_str() : nullptr;
  m_ofn.nFilterIndex = 1;
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = sizeof m_szFileName;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
  m_ofn.Flags = dwFlags;
  m_ofn.lpstrDefExt = lpszDefExt ? static_cast<LPCSTR>(m_strDefExt) : nullptr;
}

INT_PTR CFileDialog::DoModal() {
  CWnd* owner = m_pParentWnd ? m_pParentWnd : CWnd::FromHandle(::GetActiveWindow());
  if (!owner || !owner->GetSafeHwnd()) owner = AfxGetMainWnd();
  m_ofn.hwndOwner = owner ? owner->GetSafeHwnd() : nullptr;
  const BOOL chosen = m_bOpenFileDialog ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
  return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return m_ofn.lpstrFile; }

CString CFileDialog::GetFileName() const {
  const CString path = GetPathName();
  return path.Mid(path.ReverseFind('\\') + 1);
}

CString CFileDialog::GetFileExt() const {
  const CString name = GetFileName();
  const int dot = name.ReverseFind('.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
  const CString name = GetFileName();
  const int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}
