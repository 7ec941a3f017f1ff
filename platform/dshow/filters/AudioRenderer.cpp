#include <dshow/filters/AudioRenderer.h>

#include <dshow/amaudio.h>
#include <machine/AudioPlayback.h>
#include <machine/Machine.h>

#include <new>

namespace plat {

namespace {
const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
const AMOVIESETUP_PIN kPins[] = {{L"Audio Input pin (rendered)", TRUE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kTypes}};
}  // namespace

const AMOVIESETUP_FILTER AudioRenderer::kSetup = {&CLSID_DSoundRender, L"Default DirectSound Device", MERIT_PREFERRED, 1,
                                                  kPins};

AudioRenderer::AudioRenderer(LPUNKNOWN outer, HRESULT* phr)
    : RendererBase("Audio renderer", outer, CLSID_DSoundRender, phr, L"Audio Input pin (rendered)") {}

CUnknown* AudioRenderer::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) AudioRenderer(outer, phr); }

STDMETHODIMP AudioRenderer::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IBasicAudio) return GetInterface(static_cast<IBasicAudio*>(this), ppv);
  return RendererBase::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT AudioRenderer::CheckMediaType(const CMediaType* pmt) {
  if (*pmt->Type() != MEDIATYPE_Audio || *pmt->Subtype() != MEDIASUBTYPE_PCM || *pmt->FormatType() != FORMAT_WaveFormatEx ||
      pmt->FormatLength() < sizeof(WAVEFORMATEX) - sizeof(WORD) || !pmt->Format())
    return S_FALSE;
  const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(pmt->Format());
  return wave->wBitsPerSample == 16 && wave->nChannels >= 1 && wave->nChannels <= 2 && wave->nSamplesPerSec > 0 ? S_OK
                                                                                                                  : S_FALSE;
}

HRESULT AudioRenderer::render(IMediaSample* sample) {
  const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(input()->CurrentMediaType().Format());
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const int frames = sample->GetActualDataLength() / wave->nBlockAlign;
  Machine::current().service<AudioPlayback>().played(reinterpret_cast<const std::int16_t*>(data), frames, wave->nChannels,
                                                     static_cast<int>(wave->nSamplesPerSec), m_volume);
  return S_OK;
}

STDMETHODIMP AudioRenderer::GetTypeInfoCount(UINT* pctinfo) {
  CheckPointer(pctinfo, E_POINTER);
  *pctinfo = 0;
  return S_OK;
}

STDMETHODIMP AudioRenderer::put_Volume(long lVolume) {
  if (lVolume > 0 || lVolume < -10000) return E_INVALIDARG;
  m_volume = lVolume;
  return S_OK;
}

STDMETHODIMP AudioRenderer::get_Volume(long* plVolume) {
  CheckPointer(plVolume, E_POINTER);
  *plVolume = m_volume;
  return S_OK;
}

STDMETHODIMP AudioRenderer::put_Balance(long lBalance) {
  if (lBalance > 10000 || lBalance < -10000) return E_INVALIDARG;
  m_balance = lBalance;
  return S_OK;
}

STDMETHODIMP AudioRenderer::get_Balance(long* plBalance) {
  CheckPointer(plBalance, E_POINTER);
  *plBalance = m_balance;
  return S_OK;
}

}  // namespace plat
