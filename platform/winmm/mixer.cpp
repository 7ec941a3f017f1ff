// The mixer calls, on the machine's sound system.
#include <winmm/mmsystem.h>

#include <winmm/SoundSystem.h>
#include <win32/user.h>

#include <algorithm>
#include <cstring>

using plat::MixerControl;
using plat::MixerLine;
using plat::SoundCard;
using plat::SoundSystem;

namespace {

HMIXEROBJ objectOfId(UINT_PTR id) { return reinterpret_cast<HMIXEROBJ>(id); }

bool onlyFlags(DWORD flags, DWORD allowed) { return (flags & ~allowed) == 0; }

MixerLine* findLine(SoundCard& card, const MIXERLINEA& query, DWORD how) {
  switch (how) {
    case MIXER_GETLINEINFOF_DESTINATION:
      return card.destination(query.dwDestination);
    case MIXER_GETLINEINFOF_SOURCE:
      return card.source(query.dwDestination, query.dwSource);
    case MIXER_GETLINEINFOF_LINEID:
      return card.line(query.dwLineID);
    default:
      return card.lineOfType(query.dwComponentType);
  }
}

MIXERCONTROLA* controlRecord(const MIXERLINECONTROLSA& request, DWORD index) {
  return reinterpret_cast<MIXERCONTROLA*>(reinterpret_cast<BYTE*>(request.pamxctrl) + index * request.cbmxctrl);
}

}  // namespace

UINT mixerGetNumDevs() { return SoundSystem::current().mixerCount(); }

MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen) {
  if (!phmx) return MMSYSERR_INVALPARAM;
  *phmx = nullptr;
  const DWORD callback = fdwOpen & CALLBACK_TYPEMASK;
  if (!onlyFlags(fdwOpen, CALLBACK_TYPEMASK | MIXER_OBJECTF_TYPEMASK) ||
      (callback != CALLBACK_NULL && callback != CALLBACK_WINDOW))
    return MMSYSERR_INVALFLAG;
  HWND window = callback == CALLBACK_WINDOW ? reinterpret_cast<HWND>(dwCallback) : nullptr;
  if (callback == CALLBACK_WINDOW && !IsWindow(window)) return MMSYSERR_INVALPARAM;
  return SoundSystem::current().openMixer(objectOfId(uMxId), fdwOpen & MIXER_OBJECTF_TYPEMASK, window, *phmx);
}

MMRESULT mixerClose(HMIXER hmx) { return SoundSystem::current().closeMixer(hmx); }

MMRESULT mixerGetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId) {
  if (!puMxId) return MMSYSERR_INVALPARAM;
  if (!onlyFlags(fdwId, MIXER_OBJECTF_TYPEMASK)) return MMSYSERR_INVALFLAG;
  return SoundSystem::current().withMixer(hmxobj, fdwId, [&](SoundCard&, UINT id) {
    *puMxId = id;
    return MMRESULT(MMSYSERR_NOERROR);
  });
}

MMRESULT mixerGetDevCapsA(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps) {
  if (!pmxcaps) return MMSYSERR_INVALPARAM;
  return SoundSystem::current().withMixer(objectOfId(uMxId), MIXER_OBJECTF_MIXER, [&](SoundCard& card, UINT) {
    MIXERCAPSA caps;
    card.describe(caps);
    std::memcpy(pmxcaps, &caps, std::min<std::size_t>(cbmxcaps, sizeof caps));
    return MMRESULT(MMSYSERR_NOERROR);
  });
}

MMRESULT mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo) {
  if (!pmxl || pmxl->cbStruct < sizeof(MIXERLINEA)) return MMSYSERR_INVALPARAM;
  const DWORD how = fdwInfo & MIXER_GETLINEINFOF_QUERYMASK;
  if (!onlyFlags(fdwInfo, MIXER_GETLINEINFOF_QUERYMASK | MIXER_OBJECTF_TYPEMASK) ||
      how > MIXER_GETLINEINFOF_COMPONENTTYPE)
    return MMSYSERR_INVALFLAG;
  return SoundSystem::current().withMixer(hmxobj, fdwInfo & MIXER_OBJECTF_TYPEMASK, [&](SoundCard& card, UINT) {
    const MixerLine* line = findLine(card, *pmxl, how);
    if (!line) return MMRESULT(MIXERR_INVALLINE);
    card.describeLine(*line, *pmxl);
    return MMRESULT(MMSYSERR_NOERROR);
  });
}

MMRESULT mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls) {
  if (!pmxlc || pmxlc->cbStruct < sizeof(MIXERLINECONTROLSA)) return MMSYSERR_INVALPARAM;
  const DWORD how = fdwControls & MIXER_GETLINECONTROLSF_QUERYMASK;
  if (!onlyFlags(fdwControls, MIXER_GETLINECONTROLSF_QUERYMASK | MIXER_OBJECTF_TYPEMASK) ||
      (how != MIXER_GETLINECONTROLSF_ALL && how != MIXER_GETLINECONTROLSF_ONEBYTYPE))
    return MMSYSERR_INVALFLAG;
  return SoundSystem::current().withMixer(hmxobj, fdwControls & MIXER_OBJECTF_TYPEMASK, [&](SoundCard& card, UINT) {
    const MixerLine* line = card.line(pmxlc->dwLineID);
    if (!line) return MMRESULT(MIXERR_INVALLINE);
    if (!pmxlc->pamxctrl || pmxlc->cbmxctrl < sizeof(MIXERCONTROLA)) return MMRESULT(MMSYSERR_INVALPARAM);
    if (how == MIXER_GETLINECONTROLSF_ONEBYTYPE) {
      const MixerControl* control = line->controlOfType(pmxlc->dwControlType);
      if (!control) return MMRESULT(MIXERR_INVALCONTROL);
      control->describe(*controlRecord(*pmxlc, 0));
      return MMRESULT(MMSYSERR_NOERROR);
    }
    const auto& controls = line->controls();
    if (pmxlc->cControls != controls.size()) return MMRESULT(MMSYSERR_INVALPARAM);
    for (DWORD i = 0; i < controls.size(); ++i) controls[i].describe(*controlRecord(*pmxlc, i));
    return MMRESULT(MMSYSERR_NOERROR);
  });
}

MMRESULT mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
  if (!pmxcd) return MMSYSERR_INVALPARAM;
  if (!onlyFlags(fdwDetails, MIXER_OBJECTF_TYPEMASK)) return MMSYSERR_INVALFLAG;  // values only
  return SoundSystem::current().withMixer(hmxobj, fdwDetails & MIXER_OBJECTF_TYPEMASK, [&](SoundCard& card, UINT) {
    const MixerControl* control = card.control(pmxcd->dwControlID);
    if (!control) return MMRESULT(MIXERR_INVALCONTROL);
    if (const MMRESULT result = control->checkDetails(*pmxcd); result != MMSYSERR_NOERROR) return result;
    control->readDetails(*pmxcd);
    return MMRESULT(MMSYSERR_NOERROR);
  });
}

MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
  if (!pmxcd) return MMSYSERR_INVALPARAM;
  if (!onlyFlags(fdwDetails, MIXER_OBJECTF_TYPEMASK)) return MMSYSERR_INVALFLAG;  // values only
  SoundSystem& sound = SoundSystem::current();
  UINT mixer = 0;
  std::vector<DWORD> values;
  const MMRESULT found = sound.withMixer(hmxobj, fdwDetails & MIXER_OBJECTF_TYPEMASK, [&](SoundCard& card, UINT id) {
    const MixerControl* control = card.control(pmxcd->dwControlID);
    if (!control) return MMRESULT(MIXERR_INVALCONTROL);
    if (const MMRESULT result = control->checkDetails(*pmxcd); result != MMSYSERR_NOERROR) return result;
    mixer = id;
    values = control->valuesFromDetails(*pmxcd);
    return MMRESULT(MMSYSERR_NOERROR);
  });
  if (found != MMSYSERR_NOERROR) return found;
  return sound.writeControl(mixer, pmxcd->dwControlID, std::move(values), true);
}
