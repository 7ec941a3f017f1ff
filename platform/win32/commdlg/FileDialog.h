// The dialog behind GetOpenFileNameA and GetSaveFileNameA (see commdlg.h): one per call,
// alive while its modal loop runs. It lists a folder of the machine filtered by the chosen
// file type, checks the name the user gives against the caller's flags, and writes the
// result into the caller's record.
#pragma once

#include <win32/commdlg/commdlg.h>

#include <string>
#include <utility>
#include <vector>

namespace plat {

class FileDialog {
 public:
  static constexpr int kFolderId = 0x440;
  static constexpr int kListId = 0x460;
  static constexpr int kTypeId = 0x470;
  static constexpr int kNameId = 0x480;

  FileDialog(OPENFILENAMEA& ofn, bool save) : m_ofn(ofn), m_save(save) {}
  // TRUE with a path in the caller's record; FALSE with the reason in `error` (0: cancelled).
  BOOL run(DWORD& error);

  // "MPEG File|*.mpg;*.mpeg|" as a filter list gives: description, patterns.
  static std::vector<std::pair<std::string, std::string>> parseFilter(LPCSTR filter);
  // Whether a file name matches one of the ";"-separated patterns, without regard to case.
  static bool matches(const std::string& name, const std::string& patterns);

 private:
  enum class Kind { Up, Drive, Folder, File };
  struct Entry {
    Kind kind;
    std::string path;
    std::string shown;
  };

  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
  HWND create(HWND owner);
  std::string startFolder(std::string& name) const;
  // Lists a folder ("" lists the drives), selecting the entry for `select` when present.
  void open(const std::string& folder, const std::string& select = "");
  void listFolder(const std::string& folder);
  void entryChosen(bool twice);
  // The Open or Save button: the name checked and, when it passes, the dialog ended.
  void accept();
  bool check(const std::string& path);
  void finish(const std::string& path);
  std::string resolve(const std::string& typed) const;
  std::string withDefaultExtension(const std::string& path) const;
  int warn(const std::string& text, UINT type);

  OPENFILENAMEA& m_ofn;
  bool m_save;
  HWND m_dialog = nullptr;
  std::vector<std::pair<std::string, std::string>> m_types;
  int m_type = 0;
  std::string m_folder;
  std::vector<Entry> m_entries;
  std::string m_path;
  DWORD m_error = 0;
};

}  // namespace plat
