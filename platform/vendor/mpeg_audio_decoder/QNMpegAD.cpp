// The MPEG audio decoder module: the platform's decoding under the maker's CLSID, with
// its class table, setup data and exports. Its merit is above the platform's decoder,
// so intelligent connect prefers it once registered.
#include <vendor/mpeg_audio_decoder/QnMpegAudioDecoder.h>

#include <dshow/baseclasses/dllentry.h>
#include <dshow/filters/MpegAudioDecoder.h>

#include <new>

namespace {

CUnknown* WINAPI createDecoder(LPUNKNOWN pUnk, HRESULT*) {
  return new (std::nothrow) plat::MpegAudioDecoder("QN MPEG Audio Decoder", pUnk, CLSID_QnMpegAudioDecoder);
}

const AMOVIESETUP_FILTER sudDecoder = {&CLSID_QnMpegAudioDecoder, L"QN MPEG Audio Decoder", MERIT_PREFERRED, 2,
                                       plat::MpegAudioDecoder::kPins};

}  // namespace

CFactoryTemplate g_Templates[] = {
    {L"QN MPEG Audio Decoder", &CLSID_QnMpegAudioDecoder, createDecoder, nullptr, &sudDecoder},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }

STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  return DllEntryPoint(hInstance, dwReason, lpReserved);
}
