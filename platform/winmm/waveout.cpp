// The wave-output calls: open and close, and the volume, which is the volume control of
// the card's wave-out source line.
#include <winmm/mmsystem.h>

#include <winmm/SoundSystem.h>

using plat::MixerControl;
using plat::SoundCard;
using plat::SoundSystem;

namespace {

bool isPlayablePcm(const WAVEFORMATEX& format) {
  if (format.wFormatTag != WAVE_FORMAT_PCM) return false;
  if (format.nChannels < 1 || format.nChannels > 2) return false;
  if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) return false;
  if (format.nSamplesPerSec == 0) return false;
  return format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8 &&
         format.nAvgBytesPerSec == format.nSamplesPerSec * format.nBlockAlign;
}

}  // namespace

UINT waveOutGetNumDevs() { return SoundSystem::current().waveOutCount(); }

MMRESULT waveOutOpen(LPHWAVEOUT phwo, UINT uDeviceID, LPCWAVEFORMATEX pwfx, DWORD_PTR dwCallback,
                     DWORD_PTR dwInstance, DWORD fdwOpen) {
  if (!phwo || !pwfx) return MMSYSERR_INVALPARAM;
  *phwo = nullptr;
  if (fdwOpen != CALLBACK_NULL) return MMSYSERR_NOTSUPPORTED;  // nothing is played, so nothing calls back
  if (!isPlayablePcm(*pwfx)) return WAVERR_BADFORMAT;
  return SoundSystem::current().openWaveOut(uDeviceID, *phwo);
}

MMRESULT waveOutClose(HWAVEOUT hwo) { return SoundSystem::current().closeWaveOut(hwo); }

MMRESULT waveOutGetVolume(HWAVEOUT hwo, LPDWORD pdwVolume) {
  if (!pdwVolume) return MMSYSERR_INVALPARAM;
  return SoundSystem::current().withWaveOut(hwo, [&](SoundCard& card, UINT) {
    const MixerControl* volume = card.waveVolume();
    if (!volume) return MMRESULT(MMSYSERR_NOTSUPPORTED);
    const auto& values = volume->values();
    *pdwVolume = (values[0] & 0xFFFF) | (values.size() > 1 ? (values[1] & 0xFFFF) << 16 : 0);
    return MMRESULT(MMSYSERR_NOERROR);
  });
}

MMRESULT waveOutSetVolume(HWAVEOUT hwo, DWORD dwVolume) {
  SoundSystem& sound = SoundSystem::current();
  UINT mixer = 0;
  DWORD controlId = 0;
  std::vector<DWORD> values;
  const MMRESULT found = sound.withWaveOut(hwo, [&](SoundCard& card, UINT id) {
    const MixerControl* volume = card.waveVolume();
    if (!volume) return MMRESULT(MMSYSERR_NOTSUPPORTED);
    mixer = id;
    controlId = volume->id();
    // Left, right; any further channel follows the left.
    values.assign(volume->values().size(), dwVolume & 0xFFFF);
    if (values.size() > 1) values[1] = dwVolume >> 16;
    return MMRESULT(MMSYSERR_NOERROR);
  });
  if (found != MMSYSERR_NOERROR) return found;
  return sound.writeControl(mixer, controlId, std::move(values), true);
}
