// The maker's MPEG video decoder: the platform's decoding under the maker's CLSID, with
// the private option interface.
#pragma once

#include <vendor/mpeg_video_decoder/QnMpegVideoDecoder.h>

#include <dshow/filters/MpegVideoDecoder.h>

#include <atomic>

class CQnMpegVideoDecoder : public plat::MpegVideoDecoder, public IQnMpegDecoderOption {
 public:
  static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  STDMETHODIMP SetOption(BOOL option) override;
  STDMETHODIMP GetOption(BOOL* option) override;

 private:
  explicit CQnMpegVideoDecoder(LPUNKNOWN pUnk);

  std::atomic<BOOL> m_option{FALSE};
};
