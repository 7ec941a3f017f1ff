#include <win32/user/MessageBoxLog.h>

namespace plat {

std::size_t MessageBoxLog::opened(MessageBoxRecord record) {
  std::lock_guard guard(m_lock);
  m_records.push_back(std::move(record));
  return m_records.size() - 1;
}

void MessageBoxLog::answered(std::size_t index, int answer) {
  std::lock_guard guard(m_lock);
  if (index < m_records.size()) m_records[index].answer = answer;
}

std::vector<MessageBoxRecord> MessageBoxLog::records() const {
  std::lock_guard guard(m_lock);
  return m_records;
}

void MessageBoxLog::queueAnswer(int answer) {
  std::lock_guard guard(m_lock);
  m_answers.push_back(answer);
}

std::optional<int> MessageBoxLog::takeQueuedAnswer() {
  std::lock_guard guard(m_lock);
  if (m_answers.empty()) return std::nullopt;
  const int answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

}  // namespace plat
