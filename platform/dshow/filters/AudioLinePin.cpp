#include <dshow/filters/AudioLinePin.h>

#include <dshow/filters/StickMedium.h>
#include <machine/CaptureAudio.h>

namespace plat {

AudioLinePin::AudioLinePin(CBaseFilter* filter, CCritSec* lock, LPCWSTR name, int line, CaptureAudio& device)
    : AnalogPin(filter, lock, name, PINDIR_INPUT, MEDIATYPE_AnalogAudio, kSocket), m_line(line), m_device(device) {}

STDMETHODIMP AudioLinePin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IAMAudioInputMixer) return GetInterface(static_cast<IAMAudioInputMixer*>(this), ppv);
  return AnalogPin::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP AudioLinePin::put_Enable(BOOL fEnable) {
  m_device.setLineEnabled(m_line, fEnable != FALSE);
  return S_OK;
}

STDMETHODIMP AudioLinePin::get_Enable(BOOL* pfEnable) {
  CheckPointer(pfEnable, E_POINTER);
  *pfEnable = m_device.lineEnabled(m_line) ? TRUE : FALSE;
  return S_OK;
}

STDMETHODIMP AudioLinePin::put_Mono(BOOL fMono) {
  m_mono = fMono;
  return S_OK;
}

STDMETHODIMP AudioLinePin::get_Mono(BOOL* pfMono) {
  CheckPointer(pfMono, E_POINTER);
  *pfMono = m_mono;
  return S_OK;
}

STDMETHODIMP AudioLinePin::put_MixLevel(double Level) {
  // -1 asks for automatic gain; otherwise 0 (off) to 1 (full).
  if (Level != -1.0 && (Level < 0.0 || Level > 1.0)) return E_INVALIDARG;
  m_device.setMixLevel(m_line, Level);
  return S_OK;
}

STDMETHODIMP AudioLinePin::get_MixLevel(double* pLevel) {
  CheckPointer(pLevel, E_POINTER);
  *pLevel = m_device.mixLevel(m_line);
  return S_OK;
}

STDMETHODIMP AudioLinePin::put_Pan(double Pan) {
  if (Pan < -1.0 || Pan > 1.0) return E_INVALIDARG;
  m_pan = Pan;
  return S_OK;
}

STDMETHODIMP AudioLinePin::get_Pan(double* pPan) {
  CheckPointer(pPan, E_POINTER);
  *pPan = m_pan;
  return S_OK;
}

}  // namespace plat
