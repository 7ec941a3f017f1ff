#include <win32/commdlg/FileDialogLog.h>

#include <machine/Machine.h>

namespace plat {

FileDialogLog& FileDialogLog::current() { return Machine::current().service<FileDialogLog>(); }

std::size_t FileDialogLog::opened(FileDialogRecord record) {
  std::lock_guard guard(m_lock);
  m_records.push_back(std::move(record));
  return m_records.size() - 1;
}

void FileDialogLog::ended(std::size_t index, int answer, const std::string& path) {
  std::lock_guard guard(m_lock);
  if (index >= m_records.size()) return;
  m_records[index].answer = answer;
  m_records[index].path = path;
}

std::vector<FileDialogRecord> FileDialogLog::records() const {
  std::lock_guard guard(m_lock);
  return m_records;
}

void FileDialogLog::queueAnswer(FileDialogAnswer answer) {
  std::lock_guard guard(m_lock);
  m_answers.push_back(std::move(answer));
}

std::optional<FileDialogAnswer> FileDialogLog::takeQueuedAnswer() {
  std::lock_guard guard(m_lock);
  if (m_answers.empty()) return std::nullopt;
  FileDialogAnswer answer = std::move(m_answers.front());
  m_answers.pop_front();
  return answer;
}

}  // namespace plat
