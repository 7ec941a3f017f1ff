// An input line of the sound card's capture device ("Line In", "Microphone" …): a socket
// that connects to nothing, whose IAMAudioInputMixer chooses it for recording and sets
// its level. Enabling a line disables the others, as a capture selector does.
#pragma once

#include <dshow/filters/AnalogPin.h>

namespace plat {

class CaptureAudio;

class AudioLinePin : public AnalogPin, public IAMAudioInputMixer {
 public:
  AudioLinePin(CBaseFilter* filter, CCritSec* lock, LPCWSTR name, int line, CaptureAudio& device);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  STDMETHODIMP put_Enable(BOOL fEnable) override;
  STDMETHODIMP get_Enable(BOOL* pfEnable) override;
  STDMETHODIMP put_Mono(BOOL fMono) override;
  STDMETHODIMP get_Mono(BOOL* pfMono) override;
  STDMETHODIMP put_MixLevel(double Level) override;
  STDMETHODIMP get_MixLevel(double* pLevel) override;
  STDMETHODIMP put_Pan(double Pan) override;
  STDMETHODIMP get_Pan(double* pPan) override;
  STDMETHODIMP put_Loudness(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_Loudness(BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_Treble(double) override { return E_NOTIMPL; }
  STDMETHODIMP get_Treble(double*) override { return E_NOTIMPL; }
  STDMETHODIMP get_TrebleRange(double*) override { return E_NOTIMPL; }
  STDMETHODIMP put_Bass(double) override { return E_NOTIMPL; }
  STDMETHODIMP get_Bass(double*) override { return E_NOTIMPL; }
  STDMETHODIMP get_BassRange(double*) override { return E_NOTIMPL; }

 private:
  int m_line;
  CaptureAudio& m_device;
  BOOL m_mono = FALSE;
  double m_pan = 0.0;
};

}  // namespace plat
