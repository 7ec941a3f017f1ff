// A live output pin of 16-bit PCM sound: the TV stick's "AudioOut" and the sound card's
// capture pin. The format is set through IAMStreamConfig (a WAVEFORMATEX block; PCM at
// 8000-48000 Hz, 1 or 2 channels, 16 bits) and the buffers through
// IAMBufferNegotiation (by default ten buffers of a tenth of a second). Each buffer
// holds the tone the source hears at its capture time.
#pragma once

#include <dshow/amaudio.h>
#include <dshow/axextend.h>
#include <dshow/filters/CapturePin.h>

#include <functional>

namespace plat {

class PcmCapturePin : public CapturePin, public IAMBufferNegotiation {
 public:
  // `tone` tells the frequency heard now (0: silence).
  PcmCapturePin(CSource* filter, LPCWSTR name, std::function<double()> tone);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) override;

  // IAMStreamConfig
  STDMETHODIMP SetFormat(AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP GetNumberOfCapabilities(int* piCount, int* piSize) override;
  STDMETHODIMP GetStreamCaps(int iIndex, AM_MEDIA_TYPE** ppmt, BYTE* pSCC) override;
  // IAMBufferNegotiation
  STDMETHODIMP SuggestAllocatorProperties(const ALLOCATOR_PROPERTIES* pprop) override;
  STDMETHODIMP GetAllocatorProperties(ALLOCATOR_PROPERTIES* pprop) override;

  static CMediaType pcmType(DWORD rate, WORD channels);

 protected:
  REFERENCE_TIME period() override;
  HRESULT fillAt(IMediaSample* sample, REFERENCE_TIME start, std::uint64_t index) override;

 private:
  const WAVEFORMATEX* format();

  std::function<double()> m_tone;
  ALLOCATOR_PROPERTIES m_suggested{};
  ALLOCATOR_PROPERTIES m_actual{};
};

}  // namespace plat
