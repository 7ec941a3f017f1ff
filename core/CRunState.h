// What the capture side is doing: the run state (0 idle, 2 live TV, 3 recording, 6 channel
// scan …) and the input of the live picture, the sub-state (16 antenna, 17 cable, 18
// Composite, 19 S-Video). Owned by the controller; used on the user-interface thread only.
#pragma once

#include <win32/types.h>

class CRunState {
 public:
  // Posted to the main window on every change of the run state: wParam the new state.
  static constexpr UINT UM_RUNSTATE_CHANGED = 1609;

  static constexpr int kIdle = 0;
  static constexpr int kChannelScan = 6;

  CRunState() = default;
  virtual ~CRunState() = default;

  int GetState() const { return m_state; }
  // Stores a state that differs from the current one and posts UM_RUNSTATE_CHANGED to the
  // main window, when there is one; the same state again changes nothing.
  void SetState(int state);

  int IsIdle() const { return m_state == kIdle; }
  int IsState1() const { return m_state == 1; }
  int IsState2() const { return m_state == 2; }
  int IsState3() const { return m_state == 3; }
  int IsState4() const { return m_state == 4; }
  int IsState6() const { return m_state == kChannelScan; }
  int IsState7() const { return m_state == 7; }
  int IsState9() const { return m_state == 9; }
  int IsState10() const { return m_state == 10; }
  int IsState11() const { return m_state == 11; }
  int IsState12() const { return m_state == 12; }
  int IsState13() const { return m_state == 13; }
  int IsState14() const { return m_state == 14; }

  int GetSubState() const { return m_subState; }
  void SetSubState(int subState) { m_subState = subState; }
  int IsSubState16() const { return m_subState == 16; }
  int IsSubState17() const { return m_subState == 17; }
  int IsSubState18() const { return m_subState == 18; }
  int IsSubState19() const { return m_subState == 19; }
  // The live picture comes from the tuner (antenna or cable plan).
  int IsTunerSubState() const { return IsSubState16() || IsSubState17(); }

 private:
  int m_state = kIdle;
  int m_subState = 17;
  int m_counter = 0;  // kept for the record's layout; nothing reads it
};
