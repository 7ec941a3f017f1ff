// The still capture module: its class table, setup data and exports. Graphs put the
// filter in by hand, so intelligent connect never picks it.
#include <vendor/still_capture/CQnStillCaptureFilter.h>
#include <vendor/still_capture/QnStillCap.h>

#include <dshow/baseclasses/dllentry.h>

namespace {

const AMOVIESETUP_MEDIATYPE sudPinTypes = {&MEDIATYPE_Video, &GUID_NULL};

const AMOVIESETUP_PIN sudPins[] = {
    {L"Input", TRUE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, &sudPinTypes},
};

const AMOVIESETUP_FILTER sudStillCapture = {&CLSID_QnStillCapture, L"Quarnelix StillCapture", MERIT_DO_NOT_USE, 1,
                                            sudPins};

}  // namespace

CFactoryTemplate g_Templates[] = {
    {L"Quarnelix StillCapture", &CLSID_QnStillCapture, CQnStillCaptureFilter::CreateInstance, nullptr, &sudStillCapture},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }

STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  return DllEntryPoint(hInstance, dwReason, lpReserved);
}
