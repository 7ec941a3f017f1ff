// The recorder module: its class table, setup data and the standard exports.
// Registration makes the recorder creatable by CLSID; graphs add it by hand.
#include "CQnMpegRecorder.h"

#include <dshow/baseclasses/dllentry.h>
#include <dshow/uuids.h>

namespace {

const AMOVIESETUP_MEDIATYPE sudVideoTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2}, {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24}};
const AMOVIESETUP_MEDIATYPE sudAudioTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};

const AMOVIESETUP_PIN sudPins[] = {
    {L"InputVideo", TRUE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 2, sudVideoTypes},
    {L"InputAudio", TRUE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, sudAudioTypes},
};

const AMOVIESETUP_FILTER sudRecorder = {&CLSID_QnMpegRecorder, L"Quarnelix Mpeg 1/2 Recorder Filter", MERIT_DO_NOT_USE, 2,
                                        sudPins};

}  // namespace

CFactoryTemplate g_Templates[] = {
    {L"Quarnelix Mpeg 1/2 Recorder Filter", &CLSID_QnMpegRecorder, CQnMpegRecorder::CreateInstance, nullptr, &sudRecorder},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }

STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  return DllEntryPoint(hInstance, dwReason, lpReserved);
}
