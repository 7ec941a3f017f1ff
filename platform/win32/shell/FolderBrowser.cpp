#include <win32/shell/FolderBrowser.h>

#include <win32/shell/FolderPath.h>

#include <com/objbase.h>
#include <win32/file.h>
#include <win32/user.h>
#include <win32/user/DialogManager.h>

#include <cstring>

struct ITEMIDLIST {
  DWORD magic;
  char path[1];
};

namespace plat {

namespace {

constexpr DWORD kItemMagic = 0x50494442;  // "BDIP"
constexpr const char* kStateProp = "plat.folderbrowser";
constexpr const char* kUp = "..";

std::string folderPath(const std::string& path) { return FolderPath::folder(path); }
std::string withSlash(const std::string& path) { return FolderPath::withSlash(path); }
std::string parentOf(const std::string& folder) { return FolderPath::parent(folder); }

// IMalloc over the task allocator, one for the process.
class ShellMalloc final : public IMalloc {
 public:
  STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP_(void*) Alloc(SIZE_T cb) override { return CoTaskMemAlloc(cb); }
  STDMETHODIMP_(void*) Realloc(void* pv, SIZE_T cb) override { return CoTaskMemRealloc(pv, cb); }
  STDMETHODIMP_(void) Free(void* pv) override { CoTaskMemFree(pv); }
  STDMETHODIMP_(SIZE_T) GetSize(void*) override { return static_cast<SIZE_T>(-1); }
  STDMETHODIMP_(int) DidAlloc(void*) override { return -1; }
  STDMETHODIMP_(void) HeapMinimize() override {}
};

}  // namespace

LPITEMIDLIST FolderBrowser::makeItem(const std::string& path) {
  auto* item = static_cast<ITEMIDLIST*>(CoTaskMemAlloc(sizeof(ITEMIDLIST) + path.size()));
  if (!item) return nullptr;
  item->magic = kItemMagic;
  std::memcpy(item->path, path.c_str(), path.size() + 1);
  return item;
}

bool FolderBrowser::pathOf(LPCITEMIDLIST item, std::string& path) {
  if (!item || item->magic != kItemMagic) return false;
  path = item->path;
  return true;
}

void FolderBrowser::callback(UINT message, LPARAM lParam) {
  if (m_info.lpfn) m_info.lpfn(m_dialog, message, lParam, m_info.lParam);
}

void FolderBrowser::open(const std::string& folder, const std::string& select) {
  m_folder = folder;
  m_paths.clear();
  HWND list = GetDlgItem(m_dialog, IDC_BROWSE_TREE);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  if (folder.empty()) {
    char drives[128] = {};
    GetLogicalDriveStringsA(sizeof(drives), drives);
    for (const char* drive = drives; *drive; drive += std::strlen(drive) + 1) m_paths.emplace_back(drive);
  } else {
    m_paths.emplace_back(kUp);
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((withSlash(folder) + "*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == ".." || !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        m_paths.push_back(withSlash(folder) + name);
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
  }
  int chosen = -1;
  for (std::size_t i = 0; i < m_paths.size(); ++i) {
    const std::string& path = m_paths[i];
    const std::string shown = path == kUp || folder.empty() ? path : path.substr(withSlash(folder).size());
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    if (!select.empty() && strcasecmp(folderPath(path).c_str(), folderPath(select).c_str()) == 0)
      chosen = static_cast<int>(i);
  }
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
  selectionChanged();
}

void FolderBrowser::selectionChanged() {
  const int index = static_cast<int>(SendMessageA(GetDlgItem(m_dialog, IDC_BROWSE_TREE), LB_GETCURSEL, 0, 0));
  const bool valid = index >= 0 && static_cast<std::size_t>(index) < m_paths.size() && m_paths[index] != kUp;
  m_selected = valid ? folderPath(m_paths[index]) : folderPath(m_folder);
  LPITEMIDLIST item = makeItem(m_selected);
  callback(BFFM_SELCHANGED, reinterpret_cast<LPARAM>(item));
  CoTaskMemFree(item);
}

void FolderBrowser::selectPath(const std::string& path) {
  const std::string folder = folderPath(path);
  if (folder.size() <= 3) open("", folder);
  else open(parentOf(folder), folder);
}

INT_PTR CALLBACK FolderBrowser::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetPropA(dialog, kStateProp, reinterpret_cast<HANDLE>(lParam));
    reinterpret_cast<FolderBrowser*>(lParam)->m_dialog = dialog;
  }
  auto* browser = reinterpret_cast<FolderBrowser*>(GetPropA(dialog, kStateProp));
  if (message == WM_NCDESTROY) RemovePropA(dialog, kStateProp);
  return browser ? browser->handle(message, wParam, lParam) : FALSE;
}

INT_PTR FolderBrowser::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      open("", "");
      callback(BFFM_INITIALIZED, 0);
      return TRUE;
    case BFFM_SETSELECTIONA:
      if (lParam) {
        std::string path;
        if (wParam) path = reinterpret_cast<LPCSTR>(lParam);
        else pathOf(reinterpret_cast<LPCITEMIDLIST>(lParam), path);
        selectPath(path);
      }
      return TRUE;
    case BFFM_ENABLEOK:
      m_okEnabled = lParam != 0;
      EnableWindow(GetDlgItem(m_dialog, IDOK), m_okEnabled);
      return TRUE;
    case BFFM_SETSTATUSTEXTA:
      SetDlgItemTextA(m_dialog, IDC_BROWSE_STATUS, reinterpret_cast<LPCSTR>(lParam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          if (!m_okEnabled) return TRUE;
          m_result = makeItem(m_selected);
          if (m_info.pszDisplayName) {
            const auto slash = m_selected.rfind('\\', m_selected.size() > 3 ? std::string::npos : 0);
            const std::string name = m_selected.size() > 3 ? m_selected.substr(slash + 1) : m_selected;
            std::strncpy(m_info.pszDisplayName, name.c_str(), MAX_PATH - 1);
            m_info.pszDisplayName[MAX_PATH - 1] = '\0';
          }
          DialogManager::end(m_dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          DialogManager::end(m_dialog, IDCANCEL);
          return TRUE;
        case IDC_BROWSE_TREE:
          if (HIWORD(wParam) == LBN_SELCHANGE) selectionChanged();
          if (HIWORD(wParam) == LBN_DBLCLK) {
            const int index = static_cast<int>(SendMessageA(GetDlgItem(m_dialog, IDC_BROWSE_TREE), LB_GETCURSEL, 0, 0));
            if (index >= 0 && static_cast<std::size_t>(index) < m_paths.size()) {
              const std::string target = m_paths[index] == kUp ? parentOf(m_folder) : m_paths[index];
              open(target, m_paths[index] == kUp ? folderPath(m_folder) : "");
            }
          }
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

LPITEMIDLIST FolderBrowser::run() {
  const char* title = m_info.lpszTitle ? m_info.lpszTitle : "";
  const bool status = (m_info.ulFlags & BIF_STATUSTEXT) != 0;
  const DWORD child = WS_CHILD | WS_VISIBLE;
  const res::Control controls[] = {
      {"STATIC", IDC_BROWSE_TITLE, title, child | SS_LEFT, 0, 10, 8, 300, 30},
      {"STATIC", IDC_BROWSE_STATUS, "", child | SS_LEFT | (status ? 0 : 0), 0, 10, 40, 300, 16},
      {"LISTBOX", IDC_BROWSE_TREE, "", child | WS_BORDER | WS_TABSTOP | LBS_NOTIFY, WS_EX_CLIENTEDGE, 10, 90, 300, 220},
      {"BUTTON", IDOK, "OK", child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 150, 320, 75, 23},
      {"BUTTON", IDCANCEL, "Cancel", child | WS_TABSTOP | BS_PUSHBUTTON, 0, 235, 320, 75, 23},
  };
  const res::Dialog dialog{0, kCaption, "", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER,
                           WS_EX_DLGMODALFRAME, 0, 0, 320, 355, controls, sizeof(controls) / sizeof(controls[0])};
  HWND owner = m_info.hwndOwner ? GetAncestor(m_info.hwndOwner, GA_ROOT) : nullptr;
  HWND window = DialogManager::create(dialog, nullptr, owner, dialogProc, reinterpret_cast<LPARAM>(this));
  if (!window) return nullptr;
  if (!status) ShowWindow(GetDlgItem(window, IDC_BROWSE_STATUS), SW_HIDE);
  // With nobody to choose, the user cancels.
  const auto cancel = [window] {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return true;
  };
  const INT_PTR result = DialogManager::runModal(window, owner, {}, cancel);
  if (result != IDOK) {
    CoTaskMemFree(m_result);
    return nullptr;
  }
  return m_result;
}

}  // namespace plat

LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA lpbi) {
  if (!lpbi) return nullptr;
  plat::FolderBrowser browser(*lpbi);
  return browser.run();
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath) {
  if (!pszPath) return FALSE;
  std::string path;
  if (!plat::FolderBrowser::pathOf(pidl, path) || path.size() >= MAX_PATH) {
    pszPath[0] = '\0';
    return FALSE;
  }
  std::memcpy(pszPath, path.c_str(), path.size() + 1);
  return TRUE;
}

HRESULT SHGetMalloc(IMalloc** ppMalloc) {
  if (!ppMalloc) return E_POINTER;
  static plat::ShellMalloc allocator;
  *ppMalloc = &allocator;
  return S_OK;
}
