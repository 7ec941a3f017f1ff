// The program's volume on the Windows waveform-audio mixer: the mixer behind the wave-out
// mapper, opened with a hidden window as its callback target, and the first line of the
// speakers, wave-out, line-in, CD, microphone or synthesizer kind with its volume control.
// Owned by the controller, created at the end of its start-up. Every failure leaves an
// object that is not ready and does nothing.
#pragma once

#include <win32/types.h>
#include <winmm/mmsystem.h>

class CVolumeMixer {
 public:
  CVolumeMixer();
  CVolumeMixer(const CVolumeMixer&) = delete;
  CVolumeMixer& operator=(const CVolumeMixer&) = delete;
  virtual ~CVolumeMixer();

  // A volume control was found.
  virtual bool IsReady() const { return m_volumeControlFound; }
  // Writes the value to every channel of the volume control, when minimum <= value <= maximum.
  virtual void SetVolume(DWORD value);

 private:
  bool Open();
  bool FindVolumeLine();
  void Close();

  bool m_opened = false;
  bool m_volumeControlFound = false;
  UINT m_mixerId = 0;
  HMIXER m_mixer = nullptr;
  DWORD m_volumeControlId = 0;
  DWORD m_channels = 0;
  HWND m_messageWindow = nullptr;
  DWORD m_minimum = static_cast<DWORD>(-1);
  DWORD m_maximum = static_cast<DWORD>(-1);
};
