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
  // Told of a volume change made elsewhere (the system's volume control): the new value
  // of the first channel and the word given with the function.
  using ChangeCallback = void (*)(long volume, DWORD_PTR user);

  CVolumeMixer();
  CVolumeMixer(const CVolumeMixer&) = delete;
  CVolumeMixer& operator=(const CVolumeMixer&) = delete;
  virtual ~CVolumeMixer();

  // A volume control was found.
  virtual bool IsReady() const { return m_volumeControlFound; }
  // Unmute / mute the chosen line.
  virtual void LineOn() { SetLineOn(1); }
  virtual void LineOff() { SetLineOn(0); }
  // The volume control's step count and range; -1 without a volume control.
  virtual long GetSteps() const;
  virtual long GetMin() const;
  virtual long GetMax() const;
  // The first channel's value; -1 without a volume control or when the query fails.
  virtual long GetVolume() const;
  // Writes the value to every channel of the volume control, when minimum <= value <= maximum.
  virtual void SetVolume(DWORD value);
  // Returns the function.
  virtual ChangeCallback SetChangeCallback(ChangeCallback callback, DWORD_PTR user);

  // The mixer the hidden window serves; null when none is open.
  static CVolumeMixer* Current() { return s_current; }

 private:
  static LRESULT CALLBACK MessageWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  bool Open();
  bool FindVolumeLine();
  void Close();
  void OnControlChange(DWORD controlId) const;
  // value 1 unmutes the line (mute controls off, every select item on); 0 mutes it.
  void SetLineOn(int value);
  void WriteLineControl(const MIXERLINEA& line, const MIXERCONTROLA& control, int value);
  HMIXEROBJ MixerObject() const { return reinterpret_cast<HMIXEROBJ>(m_mixer); }

  static CVolumeMixer* s_current;

  bool m_opened = false;
  bool m_lineFound = false;
  bool m_volumeControlFound = false;
  UINT m_mixerId = 0;
  HMIXER m_mixer = nullptr;
  DWORD m_lineId = 0;
  DWORD m_volumeControlId = 0;
  DWORD m_channels = 0;
  HWND m_messageWindow = nullptr;
  DWORD m_minimum = static_cast<DWORD>(-1);
  DWORD m_maximum = static_cast<DWORD>(-1);
  DWORD m_steps = static_cast<DWORD>(-1);
  ChangeCallback m_callback = nullptr;
  DWORD_PTR m_callbackUser = 0;
};
