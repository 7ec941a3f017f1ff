// The dialog behind SHBrowseForFolderA (see shlobj.h): one per call, alive while the
// modal loop runs. It walks the machine's folders level by level in its folder list and
// tells the caller's callback of the selection.
#pragma once

#include <win32/shell/shlobj.h>

#include <string>
#include <vector>

namespace plat {

class FolderBrowser {
 public:
  static constexpr const char* kCaption = "Browse for Folder";

  explicit FolderBrowser(BROWSEINFOA& info) : m_info(info) {}
  // The chosen folder, or NULL when cancelled.
  LPITEMIDLIST run();

  static LPITEMIDLIST makeItem(const std::string& path);
  static bool pathOf(LPCITEMIDLIST item, std::string& path);

 private:
  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
  // Lists a folder's sub-folders ("" lists the drives), selecting `select` when present.
  void open(const std::string& folder, const std::string& select);
  void selectionChanged();
  void selectPath(const std::string& path);
  void callback(UINT message, LPARAM lParam);

  BROWSEINFOA& m_info;
  HWND m_dialog = nullptr;
  std::string m_folder;
  std::vector<std::string> m_paths;  // per list entry
  std::string m_selected;
  bool m_okEnabled = true;
  LPITEMIDLIST m_result = nullptr;
};

}  // namespace plat
