// The deinterlacer module: its class table, setup data and exports. Graphs put the
// filter in by hand, so intelligent connect never picks it.
#include <vendor/deinterlacer/CFieldBlendFilter.h>
#include <vendor/deinterlacer/QnDeinterlacer.h>

#include <dshow/baseclasses/dllentry.h>

namespace {

const AMOVIESETUP_MEDIATYPE sudPinTypes = {&MEDIATYPE_Video, &GUID_NULL};

const AMOVIESETUP_PIN sudPins[] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, L"Output", 1, &sudPinTypes},
    {L"Output", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, L"Input", 1, &sudPinTypes},
};

const AMOVIESETUP_FILTER sudDeinterlacer = {&CLSID_QnDeinterlacer, L"Quarnelix Deinterlacer", MERIT_DO_NOT_USE, 2,
                                            sudPins};

}  // namespace

CFactoryTemplate g_Templates[] = {
    {L"Quarnelix Deinterlacer", &CLSID_QnDeinterlacer, CFieldBlendFilter::CreateInstance, nullptr, &sudDeinterlacer},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }

STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  return DllEntryPoint(hInstance, dwReason, lpReserved);
}
