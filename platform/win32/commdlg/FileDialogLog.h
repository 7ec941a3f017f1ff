// Every file dialog shown on the machine, with how it ended, and the answers the robot
// queued for file dialogs still to come. Thread safe; one per machine.
#pragma once

#include <win32/types.h>

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace plat {

class Machine;

struct FileDialogRecord {
  HWND owner = nullptr;
  HWND window = nullptr;
  bool save = false;
  std::string title;
  std::string folder;                                       // the folder it opened in
  std::vector<std::pair<std::string, std::string>> types;  // description, patterns
  DWORD flags = 0;
  int answer = 0;      // IDOK or IDCANCEL once it has ended, 0 while it is open
  std::string path;    // the path it gave (IDOK), else empty
};

// An answer for the next file dialog: the name typed into its name field and taken with its
// Open or Save button, or the dialog cancelled.
struct FileDialogAnswer {
  bool cancel = false;
  std::string name;
};

class FileDialogLog {
 public:
  explicit FileDialogLog(Machine&) {}
  static FileDialogLog& current();

  // Returns the record's index.
  std::size_t opened(FileDialogRecord record);
  void ended(std::size_t index, int answer, const std::string& path);
  std::vector<FileDialogRecord> records() const;

  void queueAnswer(FileDialogAnswer answer);
  std::optional<FileDialogAnswer> takeQueuedAnswer();

 private:
  mutable std::mutex m_lock;
  std::vector<FileDialogRecord> m_records;
  std::deque<FileDialogAnswer> m_answers;
};

}  // namespace plat
