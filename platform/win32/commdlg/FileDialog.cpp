#include <win32/commdlg/FileDialog.h>

#include <win32/commdlg/FileDialogLog.h>
#include <win32/file.h>
#include <win32/shell/FolderPath.h>
#include <win32/user.h>
#include <win32/user/DialogManager.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <strings.h>

namespace plat {

namespace {

constexpr const char* kStateProp = "plat.filedialog";
constexpr const char* kUp = "..";
constexpr const char* kDrives = "Drives";
constexpr int kWidth = 440;
constexpr int kHeight = 300;

std::string folderPath(const std::string& path) { return FolderPath::folder(path); }
std::string withSlash(const std::string& path) { return FolderPath::withSlash(path); }
// The folder holding a path, without its trailing backslash; "" above a drive's root.
std::string parentOf(const std::string& path) { return folderPath(FolderPath::parent(path)); }

std::string nameOf(const std::string& path) {
  const auto slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

DWORD attributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool isFolder(const std::string& path) {
  const DWORD attributes = attributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFile(const std::string& path) {
  const DWORD attributes = attributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool lessWithoutCase(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; }

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "*" any run of characters, "?" any one, other characters without regard to case.
bool wildcard(const char* pattern, const char* name) {
  for (; *pattern; ++pattern, ++name) {
    if (*pattern == '*') {
      while (pattern[1] == '*') ++pattern;
      for (const char* rest = name;; ++rest) {
        if (wildcard(pattern + 1, rest)) return true;
        if (!*rest) return false;
      }
    }
    if (!*name) return false;
    if (*pattern != '?' && std::tolower(static_cast<unsigned char>(*pattern)) != std::tolower(static_cast<unsigned char>(*name)))
      return false;
  }
  return !*name;
}

// "C:\a\.\b\..\c" is "C:\a\c"; ".." at a drive's root stays there.
std::string normalised(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return path;
  std::vector<std::string> parts;
  std::size_t start = 3;
  while (start <= path.size()) {
    const auto end = std::min(path.find('\\', start), path.size());
    const std::string part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result = path.substr(0, 2) + "\\";
  for (std::size_t i = 0; i < parts.size(); ++i) result += (i ? "\\" : "") + parts[i];
  return result;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> FileDialog::parseFilter(LPCSTR filter) {
  std::vector<std::pair<std::string, std::string>> types;
  if (!filter) return types;
  while (*filter) {
    const std::string description = filter;
    filter += description.size() + 1;
    if (!*filter) break;
    const std::string patterns = filter;
    filter += patterns.size() + 1;
    types.emplace_back(description, patterns);
  }
  return types;
}

bool FileDialog::matches(const std::string& name, const std::string& patterns) {
  std::size_t start = 0;
  while (start <= patterns.size()) {
    const auto end = std::min(patterns.find(';', start), patterns.size());
    const std::string pattern = trimmed(patterns.substr(start, end - start));
    // "*.*" takes every name, with a dot or without.
    if (pattern == "*.*" || (!pattern.empty() && wildcard(pattern.c_str(), name.c_str()))) return true;
    start = end + 1;
  }
  return false;
}

INT_PTR CALLBACK FileDialog::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetPropA(dialog, kStateProp, reinterpret_cast<HANDLE>(lParam));
    reinterpret_cast<FileDialog*>(lParam)->m_dialog = dialog;
  }
  auto* fileDialog = reinterpret_cast<FileDialog*>(GetPropA(dialog, kStateProp));
  if (message == WM_NCDESTROY) RemovePropA(dialog, kStateProp);
  return fileDialog ? fileDialog->handle(message, wParam, lParam) : FALSE;
}

std::string FileDialog::startFolder(std::string& name) const {
  const std::string initial(m_ofn.lpstrFile, strnlen(m_ofn.lpstrFile, m_ofn.nMaxFile));
  name = initial;
  if (const auto slash = initial.rfind('\\'); slash != std::string::npos) {
    name = initial.substr(slash + 1);
    const std::string folder = folderPath(initial.substr(0, slash + 1));
    if (isFolder(folder)) return folder;
  }
  if (m_ofn.lpstrInitialDir && isFolder(m_ofn.lpstrInitialDir)) return folderPath(m_ofn.lpstrInitialDir);
  char current[MAX_PATH] = {};
  if (GetCurrentDirectoryA(sizeof current, current) && isFolder(current)) return folderPath(current);
  return "";
}

INT_PTR FileDialog::handle(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      HWND types = GetDlgItem(m_dialog, kTypeId);
      for (const auto& type : m_types) SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type.first.c_str()));
      const int count = static_cast<int>(m_types.size());
      m_type = std::clamp(static_cast<int>(m_ofn.nFilterIndex) - 1, 0, std::max(count - 1, 0));
      SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(count ? m_type : -1), 0);
      std::string name;
      open(startFolder(name));
      SetDlgItemTextA(m_dialog, kNameId, name.c_str());
      SetFocus(GetDlgItem(m_dialog, kNameId));
      return FALSE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: accept(); return TRUE;
        case IDCANCEL: DialogManager::end(m_dialog, IDCANCEL); return TRUE;
        case kListId:
          if (HIWORD(wParam) == LBN_SELCHANGE) entryChosen(false);
          if (HIWORD(wParam) == LBN_DBLCLK) entryChosen(true);
          return TRUE;
        case kTypeId:
          if (HIWORD(wParam) == CBN_SELCHANGE) {
            m_type = static_cast<int>(SendMessageA(GetDlgItem(m_dialog, kTypeId), CB_GETCURSEL, 0, 0));
            open(m_folder);
          }
          return TRUE;
        default: return FALSE;
      }
    default: return FALSE;
  }
}

void FileDialog::open(const std::string& folder, const std::string& select) {
  m_folder = folder;
  SetDlgItemTextA(m_dialog, kFolderId, folder.empty() ? kDrives : folder.c_str());
  listFolder(folder);
  HWND list = GetDlgItem(m_dialog, kListId);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  int chosen = -1;
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_entries[i].shown.c_str()));
    if (!select.empty() && strcasecmp(folderPath(m_entries[i].path).c_str(), folderPath(select).c_str()) == 0)
      chosen = static_cast<int>(i);
  }
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

void FileDialog::listFolder(const std::string& folder) {
  m_entries.clear();
  if (folder.empty()) {
    char drives[128] = {};
    GetLogicalDriveStringsA(sizeof drives, drives);
    for (const char* drive = drives; *drive; drive += std::strlen(drive) + 1) m_entries.push_back({Kind::Drive, drive, drive});
    return;
  }
  m_entries.push_back({Kind::Up, parentOf(folder), kUp});
  std::vector<std::string> folders;
  std::vector<std::string> files;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((withSlash(folder) + "*.*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) folders.push_back(name);
      else if (m_types.empty() || matches(name, m_types[m_type].second)) files.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  std::sort(folders.begin(), folders.end(), lessWithoutCase);
  std::sort(files.begin(), files.end(), lessWithoutCase);
  for (const std::string& name : folders) m_entries.push_back({Kind::Folder, withSlash(folder) + name, name + "\\"});
  for (const std::string& name : files) m_entries.push_back({Kind::File, withSlash(folder) + name, name});
}

void FileDialog::entryChosen(bool twice) {
  const int index = static_cast<int>(SendMessageA(GetDlgItem(m_dialog, kListId), LB_GETCURSEL, 0, 0));
  if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size()) return;
  const Entry entry = m_entries[index];
  if (entry.kind == Kind::File) {
    SetDlgItemTextA(m_dialog, kNameId, nameOf(entry.path).c_str());
    if (twice) accept();
  } else if (twice) {
    open(entry.path, entry.kind == Kind::Up ? m_folder : "");
  }
}

std::string FileDialog::resolve(const std::string& typed) const {
  std::string path = typed;
  std::replace(path.begin(), path.end(), '/', '\\');
  if (path.size() >= 2 && path[1] == ':') return normalised(path);
  if (m_folder.empty()) return path;
  if (path.front() == '\\') return normalised(m_folder.substr(0, 2) + path);
  return normalised(withSlash(m_folder) + path);
}

std::string FileDialog::withDefaultExtension(const std::string& path) const {
  std::string extension = m_ofn.lpstrDefExt ? m_ofn.lpstrDefExt : "";
  if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
  if (extension.empty() || nameOf(path).find('.') != std::string::npos) return path;
  if (!m_save && isFile(path)) return path;
  return path + "." + extension;
}

int FileDialog::warn(const std::string& text, UINT type) {
  char title[256] = {};
  GetWindowTextA(m_dialog, title, sizeof title);
  return MessageBoxA(m_dialog, text.c_str(), title, type);
}

bool FileDialog::check(const std::string& path) {
  const std::string name = nameOf(path);
  if ((m_ofn.Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !isFolder(parentOf(path))) {
    warn(path + "\nPath does not exist.\nCheck the path and try again.", MB_OK | MB_ICONWARNING);
    return false;
  }
  if (!m_save && (m_ofn.Flags & OFN_FILEMUSTEXIST) && !isFile(path)) {
    warn(name + "\nFile not found.\nCheck the file name and try again.", MB_OK | MB_ICONWARNING);
    return false;
  }
  if (m_save && (m_ofn.Flags & OFN_OVERWRITEPROMPT) && isFile(path))
    return warn(name + " already exists.\nDo you want to replace it?", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
           IDYES;
  return true;
}

void FileDialog::accept() {
  char text[2 * MAX_PATH] = {};
  GetDlgItemTextA(m_dialog, kNameId, text, sizeof text);
  const std::string typed = trimmed(text);
  if (typed.empty()) {
    entryChosen(true);
    return;
  }
  const std::string path = resolve(typed);
  if (isFolder(path)) {
    open(folderPath(path));
    SetDlgItemTextA(m_dialog, kNameId, "");
    return;
  }
  const std::string named = withDefaultExtension(path);
  if (check(named)) finish(named);
}

void FileDialog::finish(const std::string& path) {
  const std::size_t needed = path.size() + 1;
  if (needed > m_ofn.nMaxFile) {
    m_error = FNERR_BUFFERTOOSMALL;
    if (m_ofn.nMaxFile >= sizeof(WORD)) {
      const WORD size = static_cast<WORD>(std::min<std::size_t>(needed, 0xFFFF));
      std::memcpy(m_ofn.lpstrFile, &size, sizeof size);
    }
    DialogManager::end(m_dialog, IDCANCEL);
    return;
  }
  std::memcpy(m_ofn.lpstrFile, path.c_str(), needed);
  const std::size_t nameAt = path.rfind('\\') + 1;
  const std::size_t dot = path.rfind('.');
  m_ofn.nFileOffset = static_cast<WORD>(nameAt);
  if (dot == std::string::npos || dot < nameAt) m_ofn.nFileExtension = static_cast<WORD>(path.size());
  else m_ofn.nFileExtension = static_cast<WORD>(dot + 1 == path.size() ? 0 : dot + 1);
  if (m_ofn.lpstrFileTitle && m_ofn.nMaxFileTitle > 0) {
    std::strncpy(m_ofn.lpstrFileTitle, path.c_str() + nameAt, m_ofn.nMaxFileTitle - 1);
    m_ofn.lpstrFileTitle[m_ofn.nMaxFileTitle - 1] = '\0';
  }
  if (!m_types.empty()) m_ofn.nFilterIndex = static_cast<DWORD>(m_type + 1);
  m_path = path;
  DialogManager::end(m_dialog, IDOK);
}

HWND FileDialog::create(HWND owner) {
  const std::string title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : m_save ? "Save As" : "Open";
  const DWORD child = WS_CHILD | WS_VISIBLE;
  const int field = kWidth - 196;
  const res::Control controls[] = {
      {"STATIC", 0xFFFF, "Look in:", child | SS_LEFT, 0, 10, 12, 80, 16},
      {"STATIC", kFolderId, "", child | SS_LEFT, 0, 92, 12, kWidth - 102, 16},
      {"LISTBOX", kListId, "", child | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, WS_EX_CLIENTEDGE, 10, 36,
       kWidth - 20, 186},
      {"STATIC", 0xFFFF, "File name:", child | SS_LEFT, 0, 10, 238, 80, 16},
      {"EDIT", kNameId, "", child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 92, 234, field, 22},
      {"BUTTON", IDOK, m_save ? "Save" : "Open", child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, kWidth - 94, 233, 84, 24},
      {"STATIC", 0xFFFF, "Files of type:", child | SS_LEFT, 0, 10, 268, 80, 16},
      {"COMBOBOX", kTypeId, "", child | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 92, 264, field, 22},
      {"BUTTON", IDCANCEL, "Cancel", child | WS_TABSTOP | BS_PUSHBUTTON, 0, kWidth - 94, 263, 84, 24},
  };
  const res::Dialog dialog{0, title.c_str(), "", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER,
                           WS_EX_DLGMODALFRAME, 0, 0, kWidth, kHeight, controls, sizeof controls / sizeof controls[0]};
  return DialogManager::create(dialog, nullptr, owner, dialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL FileDialog::run(DWORD& error) {
  m_types = parseFilter(m_ofn.lpstrFilter);
  HWND owner = m_ofn.hwndOwner ? GetAncestor(m_ofn.hwndOwner, GA_ROOT) : nullptr;
  HWND window = create(owner);
  if (!window) {
    error = CDERR_INITIALIZATION;
    return FALSE;
  }
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  FileDialogLog& log = FileDialogLog::current();
  const std::size_t record =
      log.opened({owner, window, m_save, title, m_folder, m_types, m_ofn.Flags, 0, std::string()});
  const auto press = [window](int id) {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
    return true;
  };
  // A queued answer first, then whatever the robot's test or script does; with nobody to
  // answer, the user cancels.
  const auto queued = [&] {
    const auto answer = log.takeQueuedAnswer();
    if (!answer) return false;
    if (!answer->cancel) SetDlgItemTextA(window, kNameId, answer->name.c_str());
    return press(answer->cancel ? IDCANCEL : IDOK);
  };
  const auto cancel = [&] { return press(IDCANCEL); };
  const INT_PTR result = DialogManager::runModal(window, owner, queued, cancel);
  log.ended(record, result == IDOK ? IDOK : IDCANCEL, m_path);
  error = m_error;
  return result == IDOK;
}

}  // namespace plat
