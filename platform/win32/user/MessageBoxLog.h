// Every message box shown, with what the user (the robot) answered, and the answers the
// robot queued for boxes still to come. Thread safe.
#pragma once

#include <win32/types.h>

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace plat {

struct MessageBoxRecord {
  HWND owner = nullptr;
  HWND window = nullptr;
  std::string caption;
  std::string text;
  UINT type = 0;
  std::vector<std::string> buttons;  // their texts, left to right
  int answer = 0;                    // 0 while the box is open
};

class MessageBoxLog {
 public:
  // Returns the record's index.
  std::size_t opened(MessageBoxRecord record);
  void answered(std::size_t index, int answer);
  std::vector<MessageBoxRecord> records() const;

  void queueAnswer(int answer);
  std::optional<int> takeQueuedAnswer();

 private:
  mutable std::mutex m_lock;
  std::vector<MessageBoxRecord> m_records;
  std::deque<int> m_answers;
};

}  // namespace plat
