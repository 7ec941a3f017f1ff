// The waveform-audio mixer and wave output of the PC's sound cards (winmm).
//
// Every sound card described in machine.ini ([SoundCard], then [SoundCard2] …; keys in
// winmm/SoundCard.h) is one mixer device: destination lines (speakers, recording) with
// their source lines, and on each line its controls (volume, mute, and on destinations the
// selects over their sources). A card with a wave output is also one wave-out device, whose
// volume is the volume control of the card's wave-out source line. The values are real
// state, kept per machine while it runs: what one handle sets, another reads.
//
// Every change of a control, by this program or by another (plat::SoundSystem), is posted
// as MM_MIXM_CONTROL_CHANGE (wParam the HMIXER, lParam the control id) to the window of
// every mixer handle of that card opened with CALLBACK_WINDOW; a change of a line's state
// as MM_MIXM_LINE_CHANGE (lParam the line id).
//
// Mixer objects are named by id or by handle. Where the object-type flag says "mixer id"
// but the value is an open HMIXER, or says "HMIXER" but the value is a device id, the call
// takes it for what it is (ids and handles never overlap); the program relies on this when
// it opens a mixer by id with MIXER_OBJECTF_HMIXER.
#pragma once

#include <win32/types.h>

using MMRESULT = UINT;
using MMVERSION = UINT;
using LPHMIXER = HMIXER*;
using LPHWAVEOUT = HWAVEOUT*;

#define MAXPNAMELEN 32
#define MIXER_SHORT_NAME_CHARS 16
#define MIXER_LONG_NAME_CHARS 64

// Results.
#define MMSYSERR_NOERROR 0
#define MMSYSERR_ERROR 1
#define MMSYSERR_BADDEVICEID 2
#define MMSYSERR_NOTENABLED 3
#define MMSYSERR_ALLOCATED 4
#define MMSYSERR_INVALHANDLE 5
#define MMSYSERR_NODRIVER 6
#define MMSYSERR_NOMEM 7
#define MMSYSERR_NOTSUPPORTED 8
#define MMSYSERR_INVALFLAG 10
#define MMSYSERR_INVALPARAM 11
#define WAVERR_BADFORMAT 32
#define MIXERR_INVALLINE 1024
#define MIXERR_INVALCONTROL 1025
#define MIXERR_INVALVALUE 1026

// Callback kinds of the open calls.
#define CALLBACK_TYPEMASK 0x00070000L
#define CALLBACK_NULL 0x00000000L
#define CALLBACK_WINDOW 0x00010000L

// What a mixer object argument names.
#define MIXER_OBJECTF_HANDLE 0x80000000L
#define MIXER_OBJECTF_MIXER 0x00000000L
#define MIXER_OBJECTF_HMIXER (MIXER_OBJECTF_HANDLE | MIXER_OBJECTF_MIXER)
#define MIXER_OBJECTF_WAVEOUT 0x10000000L
#define MIXER_OBJECTF_HWAVEOUT (MIXER_OBJECTF_HANDLE | MIXER_OBJECTF_WAVEOUT)
#define MIXER_OBJECTF_TYPEMASK 0xF0000000L

// Notices to the callback window.
#define MM_MIXM_LINE_CHANGE 0x3D0
#define MM_MIXM_CONTROL_CHANGE 0x3D1

struct MIXERCAPSA {
  WORD wMid;
  WORD wPid;
  MMVERSION vDriverVersion;
  CHAR szPname[MAXPNAMELEN];
  DWORD fdwSupport;
  DWORD cDestinations;
};
using LPMIXERCAPSA = MIXERCAPSA*;

// Lines.
#define MIXERLINE_LINEF_ACTIVE 0x00000001L
#define MIXERLINE_LINEF_DISCONNECTED 0x00008000L
#define MIXERLINE_LINEF_SOURCE 0x80000000L

#define MIXERLINE_COMPONENTTYPE_DST_FIRST 0x00000000L
#define MIXERLINE_COMPONENTTYPE_DST_SPEAKERS (MIXERLINE_COMPONENTTYPE_DST_FIRST + 4)
#define MIXERLINE_COMPONENTTYPE_DST_WAVEIN (MIXERLINE_COMPONENTTYPE_DST_FIRST + 7)
#define MIXERLINE_COMPONENTTYPE_SRC_FIRST 0x00001000L
#define MIXERLINE_COMPONENTTYPE_SRC_LINE (MIXERLINE_COMPONENTTYPE_SRC_FIRST + 2)
#define MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE (MIXERLINE_COMPONENTTYPE_SRC_FIRST + 3)
#define MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER (MIXERLINE_COMPONENTTYPE_SRC_FIRST + 4)
#define MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC (MIXERLINE_COMPONENTTYPE_SRC_FIRST + 5)
#define MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT (MIXERLINE_COMPONENTTYPE_SRC_FIRST + 8)

#define MIXERLINE_TARGETTYPE_UNDEFINED 0
#define MIXERLINE_TARGETTYPE_WAVEOUT 1
#define MIXERLINE_TARGETTYPE_WAVEIN 2

struct MIXERLINEA {
  DWORD cbStruct;
  DWORD dwDestination;
  DWORD dwSource;
  DWORD dwLineID;
  DWORD fdwLine;
  DWORD_PTR dwUser;
  DWORD dwComponentType;
  DWORD cChannels;
  DWORD cConnections;
  DWORD cControls;
  CHAR szShortName[MIXER_SHORT_NAME_CHARS];
  CHAR szName[MIXER_LONG_NAME_CHARS];
  struct {
    DWORD dwType;
    DWORD dwDeviceID;
    WORD wMid;
    WORD wPid;
    MMVERSION vDriverVersion;
    CHAR szPname[MAXPNAMELEN];
  } Target;
};
using LPMIXERLINEA = MIXERLINEA*;

#define MIXER_GETLINEINFOF_DESTINATION 0x00000000L
#define MIXER_GETLINEINFOF_SOURCE 0x00000001L
#define MIXER_GETLINEINFOF_LINEID 0x00000002L
#define MIXER_GETLINEINFOF_COMPONENTTYPE 0x00000003L
#define MIXER_GETLINEINFOF_QUERYMASK 0x0000000FL

// Controls.
#define MIXERCONTROL_CONTROLF_UNIFORM 0x00000001L
#define MIXERCONTROL_CONTROLF_MULTIPLE 0x00000002L
#define MIXERCONTROL_CONTROLF_DISABLED 0x80000000L

#define MIXERCONTROL_CONTROLTYPE_MUTE 0x20010002L
#define MIXERCONTROL_CONTROLTYPE_VOLUME 0x50030001L
#define MIXERCONTROL_CONTROLTYPE_SINGLESELECT 0x70010000L
#define MIXERCONTROL_CONTROLTYPE_MUX 0x70010001L
#define MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT 0x71010000L
#define MIXERCONTROL_CONTROLTYPE_MIXER 0x71010001L

struct MIXERCONTROLA {
  DWORD cbStruct;
  DWORD dwControlID;
  DWORD dwControlType;
  DWORD fdwControl;
  DWORD cMultipleItems;
  CHAR szShortName[MIXER_SHORT_NAME_CHARS];
  CHAR szName[MIXER_LONG_NAME_CHARS];
  union {
    struct {
      LONG lMinimum;
      LONG lMaximum;
    };
    struct {
      DWORD dwMinimum;
      DWORD dwMaximum;
    };
    DWORD dwReserved[6];
  } Bounds;
  union {
    DWORD cSteps;
    DWORD cbCustomData;
    DWORD dwReserved[6];
  } Metrics;
};
using LPMIXERCONTROLA = MIXERCONTROLA*;

struct MIXERLINECONTROLSA {
  DWORD cbStruct;
  DWORD dwLineID;
  union {
    DWORD dwControlID;
    DWORD dwControlType;
  };
  DWORD cControls;
  DWORD cbmxctrl;
  LPMIXERCONTROLA pamxctrl;
};
using LPMIXERLINECONTROLSA = MIXERLINECONTROLSA*;

#define MIXER_GETLINECONTROLSF_ALL 0x00000000L
#define MIXER_GETLINECONTROLSF_ONEBYTYPE 0x00000002L
#define MIXER_GETLINECONTROLSF_QUERYMASK 0x0000000FL

// Control values: cChannels × cMultipleItems records of cbDetails bytes, the items of
// channel 0 first. cChannels 1 on a control of more channels reads channel 0 and sets all.
struct MIXERCONTROLDETAILS {
  DWORD cbStruct;
  DWORD dwControlID;
  DWORD cChannels;
  union {
    HWND hwndOwner;
    DWORD cMultipleItems;
  };
  DWORD cbDetails;
  LPVOID paDetails;
};
using LPMIXERCONTROLDETAILS = MIXERCONTROLDETAILS*;

struct MIXERCONTROLDETAILS_UNSIGNED {
  DWORD dwValue;
};
struct MIXERCONTROLDETAILS_BOOLEAN {
  LONG fValue;
};

#define MIXER_GETCONTROLDETAILSF_VALUE 0x00000000L
#define MIXER_GETCONTROLDETAILSF_QUERYMASK 0x0000000FL
#define MIXER_SETCONTROLDETAILSF_VALUE 0x00000000L
#define MIXER_SETCONTROLDETAILSF_QUERYMASK 0x0000000FL

UINT mixerGetNumDevs();
MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen);
MMRESULT mixerClose(HMIXER hmx);
MMRESULT mixerGetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId);
MMRESULT mixerGetDevCapsA(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps);
MMRESULT mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo);
MMRESULT mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls);
MMRESULT mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails);
MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails);

// Wave output. Only the open/close and volume calls exist: nothing is ever played.
#define WAVE_MAPPER (static_cast<UINT>(-1))
#define WAVE_FORMAT_PCM 1
#define WAVE_FORMAT_ALAW 6

// Packed to 18 bytes as on Windows: media types carry it as a byte block.
#pragma pack(push, 1)
struct WAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);
using LPWAVEFORMATEX = WAVEFORMATEX*;
using LPCWAVEFORMATEX = const WAVEFORMATEX*;

UINT waveOutGetNumDevs();
MMRESULT waveOutOpen(LPHWAVEOUT phwo, UINT uDeviceID, LPCWAVEFORMATEX pwfx, DWORD_PTR dwCallback,
                     DWORD_PTR dwInstance, DWORD fdwOpen);
MMRESULT waveOutClose(HWAVEOUT hwo);
// The volume as left in the low word and right in the high word (a mono line: low word).
// hwo may also be a wave-out device id.
MMRESULT waveOutGetVolume(HWAVEOUT hwo, LPDWORD pdwVolume);
MMRESULT waveOutSetVolume(HWAVEOUT hwo, DWORD dwVolume);

#define mixerGetDevCaps mixerGetDevCapsA
#define mixerGetLineInfo mixerGetLineInfoA
#define mixerGetLineControls mixerGetLineControlsA
#define mixerGetControlDetails mixerGetControlDetailsA
#define MIXERCAPS MIXERCAPSA
#define MIXERLINE MIXERLINEA
#define MIXERCONTROL MIXERCONTROLA
#define MIXERLINECONTROLS MIXERLINECONTROLSA
