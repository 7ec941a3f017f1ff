// The DirectSound audio renderer ("Audio Renderers"): 16-bit PCM played on the clock,
// each buffer at its time, into the machine's AudioPlayback (where tests read levels).
// IBasicAudio sets the volume (hundredths of a decibel, 0 to -10000) and the balance.
#pragma once

#include <dshow/baseclasses/setup.h>
#include <dshow/control.h>
#include <dshow/filters/RendererBase.h>

#include <atomic>

namespace plat {

class AudioRenderer : public RendererBase, public IBasicAudio {
 public:
  AudioRenderer(LPUNKNOWN outer, HRESULT* phr);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT render(IMediaSample* sample) override;

  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_Volume(long lVolume) override;
  STDMETHODIMP get_Volume(long* plVolume) override;
  STDMETHODIMP put_Balance(long lBalance) override;
  STDMETHODIMP get_Balance(long* plBalance) override;

 private:
  std::atomic<long> m_volume{0};
  std::atomic<long> m_balance{0};
};

}  // namespace plat
