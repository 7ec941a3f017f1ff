// The sound cards of a machine as the winmm calls see them, kept per machine
// (Machine::service<SoundSystem>()) for as long as the machine runs: the cards read from
// machine.ini, the open mixer and wave-out handles, and the control values.
//
// Besides the winmm calls, it is how the robot and the tests act as another program or as
// the PC would: change a control (the open mixers' windows are told, as when the user
// moves the system's volume slider), disable a control, make a line active or not, take
// the sound cards away, or make wave output refuse to open. It also keeps the list of the
// writes the program made, so a test can see what was muted when.
//
// The lock is held only to read or change state; notices are posted after it is dropped.
#pragma once

#include <winmm/SoundCard.h>

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace plat {

class Machine;

class SoundSystem {
 public:
  explicit SoundSystem(Machine& machine);
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;

  // The sound system of the current machine.
  static SoundSystem& current();

  // Mixer devices and handles.
  UINT mixerCount() const;
  // `object` names a mixer as `objectType` (a MIXER_OBJECTF_ type) says, or as it turns out
  // to be (see mmsystem.h).
  MMRESULT openMixer(HMIXEROBJ object, DWORD objectType, HWND callbackWindow, HMIXER& out);
  MMRESULT closeMixer(HMIXER mixer);
  // Runs `use` under the lock on the card that `object` names, with its mixer id.
  MMRESULT withMixer(HMIXEROBJ object, DWORD objectType, const std::function<MMRESULT(SoundCard&, UINT)>& use);

  // Sets a control as the program does (logged) or as another program does; either way
  // every open mixer of the card with a window is told when the values changed.
  MMRESULT writeControl(UINT mixer, DWORD controlId, std::vector<DWORD> values, bool byProgram);

  // Wave output devices and handles; `device` may be a handle or a device id.
  UINT waveOutCount() const;
  MMRESULT openWaveOut(UINT deviceId, HWAVEOUT& out);
  MMRESULT closeWaveOut(HWAVEOUT waveOut);
  MMRESULT withWaveOut(HWAVEOUT device, const std::function<MMRESULT(SoundCard&, UINT mixer)>& use);

  // What another program or the PC does.
  void setPresent(bool present);
  void setWaveOutOpenFails(bool fails);
  // The control of that type on the first line of that component type.
  std::optional<DWORD> findControl(UINT mixer, DWORD componentType, DWORD controlType);
  // Channels × items, the items of channel 0 first; empty for an unknown control.
  std::vector<DWORD> controlValues(UINT mixer, DWORD controlId);
  MMRESULT setControlDisabled(UINT mixer, DWORD controlId, bool disabled);
  MMRESULT setLineActive(UINT mixer, DWORD lineId, bool active);

  struct ControlWrite {
    UINT mixer;
    DWORD controlId;
    std::vector<DWORD> values;
  };
  // The program's last kWriteLimit control writes (mixer and wave-out calls), oldest
  // first: a program that runs for long keeps no more of them.
  static constexpr std::size_t kWriteLimit = 4096;
  std::vector<ControlWrite> programWrites() const;

 private:
  struct OpenMixer {
    UINT card;
    HWND window;
  };

  // The card id of an object under the lock, or the error the call reports.
  MMRESULT resolveMixer(HMIXEROBJ object, DWORD objectType, UINT& card) const;
  MMRESULT resolveWaveOut(HWAVEOUT device, UINT& card) const;
  // Posts `message` with the handle and `id` to every open mixer of the card with a window.
  void announce(UINT card, UINT message, DWORD id);

  mutable std::mutex m_lock;
  std::vector<SoundCard> m_cards;
  std::vector<UINT> m_waveCards;  // the card of each wave-out device id
  std::map<std::uintptr_t, OpenMixer> m_mixers;
  std::map<std::uintptr_t, UINT> m_waveOuts;  // handle -> card
  std::uintptr_t m_nextHandle = 0;
  bool m_present = true;
  bool m_waveOutOpenFails = false;
  std::deque<ControlWrite> m_writes;
};

}  // namespace plat
