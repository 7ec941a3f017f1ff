// The TV card's remote control: reads the 5-bit code of the key held on the card's GPIO
// lines at every poll and turns a newly pressed key into a call on the control's own
// IMovieCtl entries. Channel numbers are one digit, or two in two-digit mode (toggled by
// one key), where a first digit waits up to two seconds of the machine clock for its
// second. A key held down acts once: the code must change (or go) before it acts again.
#pragma once

#include "QXMovie.h"

#include <string>

class CRemoteInput {
 public:
  static constexpr DWORD kDigitTimeout = 2000;

  explicit CRemoteInput(IMovieCtl* target) : m_target(target) {}

  // One poll of the card's lines.
  void Poll();
  // A newly pressed key's code (1-31) at tick `now`.
  void HandleCode(int code, DWORD now);
  HRESULT DispatchRemoteCommand(int command, long argument);
  // The command of a remote code; 0 for codes outside 1-31.
  static int CommandOf(int code);
  // The title of the setup frame that the settings key closes.
  static std::string SetupFrameTitle();

  bool TwoDigitMode() const { return m_twoDigitMode; }

 private:
  IMovieCtl* m_target;
  bool m_twoDigitMode = false;
  bool m_hasPendingDigit = false;  // a first digit 0 is a digit too
  long m_pendingDigit = 0;
  DWORD m_pendingTime = 0;
  int m_lastCode = 0;
};
