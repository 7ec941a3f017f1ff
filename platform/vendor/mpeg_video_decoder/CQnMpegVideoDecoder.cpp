#include <vendor/mpeg_video_decoder/CQnMpegVideoDecoder.h>

#include <new>

CQnMpegVideoDecoder::CQnMpegVideoDecoder(LPUNKNOWN pUnk)
    : plat::MpegVideoDecoder("QN MPEG Video Decoder", pUnk, CLSID_QnMpegVideoDecoder) {}

CUnknown* WINAPI CQnMpegVideoDecoder::CreateInstance(LPUNKNOWN pUnk, HRESULT*) {
  return new (std::nothrow) CQnMpegVideoDecoder(pUnk);
}

STDMETHODIMP CQnMpegVideoDecoder::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IQnMpegDecoderOption) return GetInterface(static_cast<IQnMpegDecoderOption*>(this), ppv);
  return plat::MpegVideoDecoder::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CQnMpegVideoDecoder::SetOption(BOOL option) {
  m_option = option ? TRUE : FALSE;
  return S_OK;
}

STDMETHODIMP CQnMpegVideoDecoder::GetOption(BOOL* option) {
  CheckPointer(option, E_POINTER);
  *option = m_option;
  return S_OK;
}
