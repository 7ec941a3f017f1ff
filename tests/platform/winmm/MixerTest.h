// What the winmm tests share: a fresh machine (its sound card from the default
// machine.ini unless a test rewrites [SoundCard] first), a window that mixer notices can
// be posted to, and short helpers for the mixer's records.
#pragma once

#include <support/TestMachine.h>
#include <win32/user.h>
#include <winmm/SoundSystem.h>
#include <winmm/mmsystem.h>

#include <string>
#include <vector>

namespace test {

class MixerTest : public MachineTest {
 protected:
  void TearDown() override {
    for (HMIXER mixer : m_mixers) mixerClose(mixer);
    for (HWND window : m_windows) DestroyWindow(window);
  }

  plat::SoundSystem& sound() { return machine().service<plat::SoundSystem>(); }

  // A hidden window of this thread, destroyed at the end of the test.
  HWND noticeWindow() {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.lpszClassName = "Mixer Test Notices";
    RegisterClassA(&cls);
    HWND window = CreateWindowExA(0, "Mixer Test Notices", "notices", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    if (window) m_windows.push_back(window);
    return window;
  }

  // Opens mixer 0 the way the program does, with notices to `window` (none for nullptr).
  HMIXER openMixer(HWND window = nullptr, UINT id = 0) {
    HMIXER mixer = nullptr;
    const DWORD flags = window ? CALLBACK_WINDOW | MIXER_OBJECTF_HMIXER : CALLBACK_NULL;
    EXPECT_EQ(mixerOpen(&mixer, id, reinterpret_cast<DWORD_PTR>(window), 0, flags), MMSYSERR_NOERROR);
    if (mixer) m_mixers.push_back(mixer);
    return mixer;
  }

  struct Notice {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  // The mixer notices waiting in this thread's queue for `window`, taken out.
  std::vector<Notice> notices(HWND window) {
    std::vector<Notice> out;
    MSG msg;
    while (PeekMessageA(&msg, window, MM_MIXM_LINE_CHANGE, MM_MIXM_CONTROL_CHANGE, PM_REMOVE))
      out.push_back({msg.message, msg.wParam, msg.lParam});
    return out;
  }

  MIXERLINEA lineOfType(HMIXER mixer, DWORD componentType, MMRESULT* result = nullptr) {
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    line.dwComponentType = componentType;
    const MMRESULT r = mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &line,
                                         MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE);
    if (result) *result = r;
    return line;
  }

  MIXERCONTROLA controlOfType(HMIXER mixer, DWORD lineId, DWORD controlType, MMRESULT* result = nullptr) {
    MIXERCONTROLA control{};
    MIXERLINECONTROLSA request{};
    request.cbStruct = sizeof request;
    request.dwLineID = lineId;
    request.dwControlType = controlType;
    request.cControls = 1;
    request.cbmxctrl = sizeof control;
    request.pamxctrl = &control;
    const MMRESULT r = mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer), &request,
                                             MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE);
    if (result) *result = r;
    return control;
  }

  // Reads or writes `channels` × `items` DWORD values of a control.
  MMRESULT details(HMIXER mixer, DWORD controlId, std::vector<DWORD>& values, DWORD channels, DWORD items,
                   bool set) {
    MIXERCONTROLDETAILS d{};
    d.cbStruct = sizeof d;
    d.dwControlID = controlId;
    d.cChannels = channels;
    d.cMultipleItems = items;
    d.cbDetails = sizeof(DWORD);
    values.resize(static_cast<std::size_t>(channels) * (items ? items : 1));
    d.paDetails = values.data();
    const auto object = reinterpret_cast<HMIXEROBJ>(mixer);
    return set ? mixerSetControlDetails(object, &d, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE)
               : mixerGetControlDetailsA(object, &d, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
  }
  std::vector<DWORD> read(HMIXER mixer, DWORD controlId, DWORD channels, DWORD items = 0) {
    std::vector<DWORD> values;
    EXPECT_EQ(details(mixer, controlId, values, channels, items, false), MMSYSERR_NOERROR);
    return values;
  }
  MMRESULT write(HMIXER mixer, DWORD controlId, std::vector<DWORD> values, DWORD channels, DWORD items = 0) {
    return details(mixer, controlId, values, channels, items, true);
  }

 private:
  std::vector<HMIXER> m_mixers;
  std::vector<HWND> m_windows;
};

// The wave format the program opens the wave mapper with.
inline WAVEFORMATEX programWaveFormat() {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = 22050;
  format.nAvgBytesPerSec = 44100;
  format.nBlockAlign = 2;
  format.wBitsPerSample = 16;
  return format;
}

}  // namespace test
