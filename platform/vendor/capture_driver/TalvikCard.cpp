// The capture card driver's COM server, "TalvikCard.dll": the device list class and the
// standard exports.
#include <dshow/baseclasses/dllentry.h>
#include <vendor/capture_driver/CardObjects.h>

CFactoryTemplate g_Templates[] = {
    {L"Talvik Card Device List", &CLSID_CardDeviceList, plat::CardDeviceList::CreateInstance, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }

STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  return DllEntryPoint(hInstance, dwReason, lpReserved);
}
