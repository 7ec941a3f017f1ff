// The MPEG video decoder module: its class table, setup data and exports. Its merit is
// above the platform's decoder, so intelligent connect prefers it once registered.
#include <vendor/mpeg_video_decoder/CQnMpegVideoDecoder.h>

#include <dshow/baseclasses/dllentry.h>

namespace {

const AMOVIESETUP_FILTER sudDecoder = {&CLSID_QnMpegVideoDecoder, L"QN MPEG Video Decoder", MERIT_PREFERRED, 2,
                                       plat::MpegVideoDecoder::kPins};

}  // namespace

CFactoryTemplate g_Templates[] = {
    {L"QN MPEG Video Decoder", &CLSID_QnMpegVideoDecoder, CQnMpegVideoDecoder::CreateInstance, nullptr, &sudDecoder},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }

STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  return DllEntryPoint(hInstance, dwReason, lpReserved);
}
