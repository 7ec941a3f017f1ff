// The master output volume: the speaker destination of the sound card behind the wave
// mapper, reached through the mixer with change notices sent to a hidden window of its
// own. Volume reads give the first channel; sets go to every channel and are ignored
// outside the control's range. Switching the line off and on works every control of the
// speaker line that can: its mute control, and the items of its selects and mixers.
#pragma once

#include <win32/types.h>
#include <winmm/mmsystem.h>

class CMasterVolumeMixer {
 public:
  using ChangeCallback = void (*)(long volume, void* user);

  CMasterVolumeMixer() = default;
  ~CMasterVolumeMixer() { Close(); }
  CMasterVolumeMixer(const CMasterVolumeMixer&) = delete;
  CMasterVolumeMixer& operator=(const CMasterVolumeMixer&) = delete;

  // False when the PC has no mixer, or the window or the mixer cannot be had.
  bool OpenMasterVolumeMixer();
  void Close();
  bool IsOpen() const { return m_open; }

  // -1 without a volume control or when the read fails.
  long GetVolume();
  void SetVolume(long volume);
  long GetMinimum() const { return m_hasVolume ? m_minimum : -1; }
  long GetMaximum() const { return m_hasVolume ? m_maximum : -1; }
  void LineOn() { SwitchLine(true); }
  void LineOff() { SwitchLine(false); }
  void SetChangeCallback(ChangeCallback callback, void* user);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool FindVolumeControl();
  void SwitchLine(bool on);
  void SetDetails(MIXERCONTROLDETAILS details);
  void OnControlChange(DWORD controlId);

  HMIXER m_mixer = nullptr;
  UINT m_mixerId = 0;
  HWND m_window = nullptr;
  DWORD m_lineId = 0;
  DWORD m_channels = 0;
  DWORD m_volumeControlId = 0;
  long m_minimum = 0;
  long m_maximum = 0;
  DWORD m_steps = 0;
  bool m_open = false;
  bool m_hasLine = false;
  bool m_hasVolume = false;
  ChangeCallback m_callback = nullptr;
  void* m_user = nullptr;
};
