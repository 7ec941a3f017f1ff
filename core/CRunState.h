// What the capture side is doing: the run state (0 idle, 2 live TV, 3 recording, 6 channel
// scan …). Owned by the controller.
#pragma once

class CRunState {
 public:
  static constexpr int kIdle = 0;
  static constexpr int kChannelScan = 6;

  CRunState() = default;
  virtual ~CRunState() = default;

  int GetState() const { return m_state; }

 private:
  int m_state = kIdle;
};
