#include "skin/CFolderPicker.h"

#include <win32/file.h>

#include <cstring>

namespace {

constexpr const char* kAskCreate = "The folder:\n\n%s\n\nthe folder is not exist,do you want to create it now?";
constexpr const char* kInvalid = "The folder:\n\n%s\n\nis invalid. Please reenter.";
constexpr const char* kCannotCreate = "The folder:\n\n%s\n\ncan not be created. Please double check.";
constexpr int kEditHeight = 25;
constexpr int kEditGap = 4;

bool FolderExists(const CString& path) {
  const DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A file-system path: one whose second character is the drive's colon.
bool IsDrivePath(const CString& path) { return path.GetLength() >= 2 && path[1] == ':'; }

}  // namespace

CFolderPicker::CFolderPicker(LPCSTR lpszCaption, LPCSTR lpszPrompt, LPCSTR lpszInitialFolder, CWnd* pParentWnd)
    : m_strCaption(lpszCaption ? lpszCaption : ""),
      m_strPrompt(lpszPrompt ? lpszPrompt : ""),
      m_strInitial(lpszInitialFolder ? lpszInitialFolder : ""),
      m_hOwner(pParentWnd ? ::GetAncestor(pParentWnd->GetSafeHwnd(), GA_ROOT) : nullptr),
      m_hBrowser(nullptr),
      m_info{},
      m_szDisplayName{},
      m_szPath{},
      m_bAccepted(FALSE) {
  m_info.hwndOwner = m_hOwner;
  m_info.pidlRoot = nullptr;
  m_info.pszDisplayName = m_szDisplayName;
  m_info.lpszTitle = m_strPrompt;
  m_info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  m_info.lpfn = BrowseCallback;
  m_info.lParam = reinterpret_cast<LPARAM>(this);
}

INT_PTR CFolderPicker::DoModal() {
  IMalloc* allocator = nullptr;
  if (FAILED(::SHGetMalloc(&allocator)) || !allocator) return -1;
  m_bAccepted = FALSE;
  LPITEMIDLIST chosen = ::SHBrowseForFolderA(&m_info);
  if (chosen) allocator->Free(chosen);
  allocator->Release();
  if (m_hWnd) UnsubclassWindow();
  m_hBrowser = nullptr;
  return chosen && m_bAccepted ? IDOK : -1;
}

int CFolderPicker::BrowseCallback(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData) {
  auto* picker = reinterpret_cast<CFolderPicker*>(lpData);
  if (uMsg == BFFM_INITIALIZED) picker->OnInitialized(hwnd);
  if (uMsg == BFFM_SELCHANGED) picker->OnSelChanged(reinterpret_cast<LPCITEMIDLIST>(lParam));
  return 0;
}

void CFolderPicker::OnInitialized(HWND hwnd) {
  m_hBrowser = hwnd;
  if (!m_strCaption.IsEmpty()) ::SetWindowTextA(hwnd, m_strCaption);
  SubclassWindow(hwnd);
  ::ShowWindow(::GetDlgItem(hwnd, IDC_BROWSE_STATUS), SW_HIDE);
  CRect tree;
  ::GetWindowRect(::GetDlgItem(hwnd, IDC_BROWSE_TREE), &tree);
  ScreenToClient(&tree);
  HWND edit = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                tree.left, tree.top - kEditGap - kEditHeight, tree.Width(), kEditHeight, hwnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), nullptr, nullptr);
  ::SendMessageA(edit, WM_SETFONT, ::SendMessageA(hwnd, WM_GETFONT, 0, 0), 0);
  CString initial = m_strInitial;
  if (initial.IsEmpty()) {
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    initial = current;
  }
  ::SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(initial)));
}

void CFolderPicker::EnableOkFor(const CString& strPath) {
  ::SendMessageA(m_hBrowser, BFFM_ENABLEOK, 0, IsDrivePath(strPath) ? 1 : 0);
}

void CFolderPicker::OnSelChanged(LPCITEMIDLIST pidl) {
  char path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListA(pidl, path) || !IsDrivePath(path)) path[0] = '\0';
  EnableOkFor(path);
  ::SendMessageA(m_hBrowser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
  if (HWND edit = ::GetDlgItem(m_hBrowser, kEditId)) ::SetWindowTextA(edit, path);
}

BOOL CFolderPicker::IsValidPath(const CString& strPath) {
  if (strPath.GetLength() < 3) return FALSE;
  const char drive = strPath[0];
  if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')) || strPath[1] != ':' || strPath[2] != '\\')
    return FALSE;
  CString rest = strPath.Mid(3);
  if (!rest.IsEmpty() && rest[rest.GetLength() - 1] == '\\') rest = rest.Left(rest.GetLength() - 1);
  if (rest.IsEmpty()) return TRUE;
  int start = 0;
  while (start <= rest.GetLength()) {
    int end = rest.Find('\\', start);
    if (end < 0) end = rest.GetLength();
    const CString name = rest.Mid(start, end - start);
    if (name.IsEmpty()) return FALSE;
    for (const char edge : {name[0], name[name.GetLength() - 1]})
      if (edge == '\t' || edge == ' ' || edge == '.') return FALSE;
    if (name.FindOneOf("\"*/:<>?\\|") >= 0) return FALSE;
    start = end + 1;
  }
  return TRUE;
}

BOOL CFolderPicker::CreateLevels(const CString& strPath) {
  CString path = strPath;
  if (path.GetLength() > 3 && path[path.GetLength() - 1] == '\\') path = path.Left(path.GetLength() - 1);
  for (int at = path.Find('\\', 3); ; at = path.Find('\\', at + 1)) {
    const CString level = at < 0 ? path : path.Left(at);
    if (!FolderExists(level) && !::CreateDirectoryA(level, nullptr)) return FALSE;
    if (at < 0) return TRUE;
  }
}

BOOL CFolderPicker::AcceptTyped() {
  CString path;
  ::GetDlgItemTextA(m_hBrowser, kEditId, path.GetBuffer(MAX_PATH), MAX_PATH);
  path.ReleaseBuffer();
  if (!FolderExists(path)) {
    CString question;
    question.Format(kAskCreate, static_cast<LPCSTR>(path));
    if (::MessageBoxA(m_hBrowser, question, m_strCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return FALSE;
    if (!IsValidPath(path) || !CreateLevels(path)) {
      CString failure;
      failure.Format(IsValidPath(path) ? kCannotCreate : kInvalid, static_cast<LPCSTR>(path));
      ::MessageBoxA(m_hBrowser, failure, m_strCaption, MB_OK | MB_ICONEXCLAMATION);
      return FALSE;
    }
  }
  std::strncpy(m_szPath, path, MAX_PATH - 1);
  m_szPath[MAX_PATH - 1] = '\0';
  m_bAccepted = TRUE;
  return TRUE;
}

LRESULT CFolderPicker::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kEditId && HIWORD(wParam) == EN_CHANGE) {
    CString typed;
    ::GetDlgItemTextA(m_hBrowser, kEditId, typed.GetBuffer(MAX_PATH), MAX_PATH);
    typed.ReleaseBuffer();
    EnableOkFor(typed);
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK &&
      (!::IsWindowEnabled(::GetDlgItem(m_hBrowser, IDOK)) || !AcceptTyped()))
    return 0;
  return CWnd::WindowProc(message, wParam, lParam);
}
