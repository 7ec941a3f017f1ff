#include <dshow/filters/PcmCapturePin.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CSource.h>
#include <machine/TestTone.h>

#include <cstring>

namespace plat {

namespace {
constexpr REFERENCE_TIME kUnitsPerSecond = 10'000'000;

bool validPcm(const CMediaType& type) {
  if (*type.Type() != MEDIATYPE_Audio || *type.Subtype() != MEDIASUBTYPE_PCM || *type.FormatType() != FORMAT_WaveFormatEx ||
      type.FormatLength() < sizeof(WAVEFORMATEX) - sizeof(WORD) || !type.Format())
    return false;
  const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(type.Format());
  return wave->wFormatTag == WAVE_FORMAT_PCM && (wave->nChannels == 1 || wave->nChannels == 2) &&
         wave->wBitsPerSample == 16 && wave->nSamplesPerSec >= 8000 && wave->nSamplesPerSec <= 48000 &&
         wave->nBlockAlign == wave->nChannels * 2 && wave->nAvgBytesPerSec == wave->nSamplesPerSec * wave->nBlockAlign;
}
}  // namespace

PcmCapturePin::PcmCapturePin(CSource* filter, LPCWSTR name, std::function<double()> tone)
    : CapturePin("PCM capture pin", filter, name, PIN_CATEGORY_CAPTURE, pcmType(44100, 2)), m_tone(std::move(tone)) {}

CMediaType PcmCapturePin::pcmType(DWORD rate, WORD channels) {
  CMediaType type(&MEDIATYPE_Audio);
  type.SetSubtype(&MEDIASUBTYPE_PCM);
  type.SetFormatType(&FORMAT_WaveFormatEx);
  auto* wave = reinterpret_cast<WAVEFORMATEX*>(type.AllocFormatBuffer(sizeof(WAVEFORMATEX)));
  wave->wFormatTag = WAVE_FORMAT_PCM;
  wave->nChannels = channels;
  wave->nSamplesPerSec = rate;
  wave->wBitsPerSample = 16;
  wave->nBlockAlign = static_cast<WORD>(channels * 2);
  wave->nAvgBytesPerSec = rate * wave->nBlockAlign;
  type.SetSampleSize(wave->nBlockAlign);
  return type;
}

STDMETHODIMP PcmCapturePin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IAMBufferNegotiation) return GetInterface(static_cast<IAMBufferNegotiation*>(this), ppv);
  return CapturePin::NonDelegatingQueryInterface(riid, ppv);
}

const WAVEFORMATEX* PcmCapturePin::format() { return reinterpret_cast<const WAVEFORMATEX*>(currentFormat().Format()); }

HRESULT PcmCapturePin::CheckMediaType(const CMediaType* pmt) { return validPcm(*pmt) ? S_OK : S_FALSE; }

HRESULT PcmCapturePin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) {
  const WAVEFORMATEX* wave = format();
  ALLOCATOR_PROPERTIES wanted = *pProps;
  wanted.cBuffers = m_suggested.cBuffers > 0 ? m_suggested.cBuffers : 10;
  wanted.cbBuffer = m_suggested.cbBuffer > 0 ? m_suggested.cbBuffer : static_cast<long>(wave->nAvgBytesPerSec / 10);
  wanted.cbBuffer -= wanted.cbBuffer % wave->nBlockAlign;
  if (wanted.cbBuffer < wave->nBlockAlign) wanted.cbBuffer = wave->nBlockAlign;
  if (m_suggested.cbAlign > 0) wanted.cbAlign = m_suggested.cbAlign;
  const HRESULT hr = pAlloc->SetProperties(&wanted, &m_actual);
  if (FAILED(hr)) return hr;
  return m_actual.cbBuffer < wave->nBlockAlign ? E_FAIL : S_OK;
}

REFERENCE_TIME PcmCapturePin::period() {
  const WAVEFORMATEX* wave = format();
  const long bytes = m_actual.cbBuffer - m_actual.cbBuffer % wave->nBlockAlign;
  return static_cast<REFERENCE_TIME>(bytes) * kUnitsPerSecond / wave->nAvgBytesPerSec;
}

HRESULT PcmCapturePin::fillAt(IMediaSample* sample, REFERENCE_TIME start, std::uint64_t) {
  const WAVEFORMATEX* wave = format();
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const long bytes = sample->GetSize() - sample->GetSize() % wave->nBlockAlign;
  const int frames = static_cast<int>(bytes / wave->nBlockAlign);
  const std::int64_t first = start * wave->nSamplesPerSec / kUnitsPerSecond;
  TestTone::fill(m_tone(), wave->nChannels, static_cast<int>(wave->nSamplesPerSec), first, frames,
                 reinterpret_cast<std::int16_t*>(data));
  return sample->SetActualDataLength(bytes);
}

STDMETHODIMP PcmCapturePin::SetFormat(AM_MEDIA_TYPE* pmt) {
  CheckPointer(pmt, E_POINTER);
  CAutoLock lock(m_pLock);
  const CMediaType wanted(*pmt);
  if (!validPcm(wanted)) return VFW_E_INVALIDMEDIATYPE;
  if (IsConnected()) return VFW_E_ALREADY_CONNECTED;
  CAutoLock formatLock(&m_formatLock);
  m_format = wanted;
  return S_OK;
}

STDMETHODIMP PcmCapturePin::GetNumberOfCapabilities(int* piCount, int* piSize) {
  CheckPointer(piCount, E_POINTER);
  CheckPointer(piSize, E_POINTER);
  *piCount = 1;
  *piSize = sizeof(AUDIO_STREAM_CONFIG_CAPS);
  return S_OK;
}

STDMETHODIMP PcmCapturePin::GetStreamCaps(int iIndex, AM_MEDIA_TYPE** ppmt, BYTE* pSCC) {
  CheckPointer(ppmt, E_POINTER);
  CheckPointer(pSCC, E_POINTER);
  if (iIndex != 0) return S_FALSE;
  const CMediaType type = pcmType(44100, 2);
  *ppmt = CreateMediaType(&type);
  AUDIO_STREAM_CONFIG_CAPS caps{MEDIATYPE_Audio, 1, 2, 1, 16, 16, 8, 8000, 48000, 1};
  std::memcpy(pSCC, &caps, sizeof(caps));
  return *ppmt ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP PcmCapturePin::SuggestAllocatorProperties(const ALLOCATOR_PROPERTIES* pprop) {
  CheckPointer(pprop, E_POINTER);
  CAutoLock lock(m_pLock);
  if (IsConnected()) return VFW_E_ALREADY_CONNECTED;
  m_suggested = *pprop;
  return S_OK;
}

STDMETHODIMP PcmCapturePin::GetAllocatorProperties(ALLOCATOR_PROPERTIES* pprop) {
  CheckPointer(pprop, E_POINTER);
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  *pprop = m_actual;
  return S_OK;
}

}  // namespace plat
