// The asynchronous file source module: its class table, setup data and exports.
// Programs put the source in by hand, so intelligent connect never picks it.
#include <vendor/async_source/CQnAsyncSource.h>

#include <dshow/baseclasses/dllentry.h>

namespace {

const AMOVIESETUP_MEDIATYPE sudTypes = {&MEDIATYPE_Stream, &GUID_NULL};
const AMOVIESETUP_PIN sudPins[] = {{L"Output", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 1, &sudTypes}};
const AMOVIESETUP_FILTER sudSource = {&CLSID_QnAsyncSource, L"File Source (Async)", MERIT_DO_NOT_USE, 1, sudPins};

}  // namespace

CFactoryTemplate g_Templates[] = {
    {L"File Source (Async)", &CLSID_QnAsyncSource, CQnAsyncSource::CreateInstance, nullptr, &sudSource},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }

STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  return DllEntryPoint(hInstance, dwReason, lpReserved);
}
