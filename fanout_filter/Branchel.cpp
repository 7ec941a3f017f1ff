// The Branchel module: an in-process server holding the fan-out tee, its class table and
// setup data, and the standard exports. Registration makes the tee creatable by CLSID
// and lists it among the filters, at a merit intelligent connect never picks: graphs
// put it in by hand.
#include "fanout_filter/CFanoutFilter.h"

#include <dshow/baseclasses/dllentry.h>

namespace {

const AMOVIESETUP_MEDIATYPE sudPinTypes = {&GUID_NULL, &GUID_NULL};

const AMOVIESETUP_PIN sudPins[] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, L"Output", 1, &sudPinTypes},
    {L"Output", FALSE, TRUE, FALSE, TRUE, &GUID_NULL, L"Input", 1, &sudPinTypes},
};

const AMOVIESETUP_FILTER sudFanout = {&CLSID_FanoutFilter, L"Branchel Fan-out Tee Filter", MERIT_DO_NOT_USE, 2, sudPins};

}  // namespace

CFactoryTemplate g_Templates[] = {
    {L"Branchel Fan-out Tee", &CLSID_FanoutFilter, CFanoutFilter::CreateInstance, nullptr, &sudFanout},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }

STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  return DllEntryPoint(hInstance, dwReason, lpReserved);
}
