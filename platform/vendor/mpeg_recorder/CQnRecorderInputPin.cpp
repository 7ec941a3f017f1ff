#include "CQnRecorderInputPin.h"

#include "CQnMpegRecorder.h"

#include <dshow/amaudio.h>
#include <dshow/amvideo.h>
#include <dshow/uuids.h>

CQnRecorderInputPin::CQnRecorderInputPin(CQnMpegRecorder* filter, CCritSec* lock, Kind kind)
    : CBaseInputPin("Recorder input", filter, lock, nullptr, kind == Video ? L"InputVideo" : L"InputAudio"),
      m_recorder(filter),
      m_kind(kind) {}

HRESULT CQnRecorderInputPin::CheckMediaType(const CMediaType* pmt) {
  return m_kind == Video ? CheckVideoType(pmt) : CheckAudioType(pmt);
}

HRESULT CQnRecorderInputPin::CheckVideoType(const CMediaType* pmt) const {
  if (*pmt->Type() != MEDIATYPE_Video || *pmt->FormatType() != FORMAT_VideoInfo ||
      pmt->FormatLength() < sizeof(VIDEOINFOHEADER))
    return S_FALSE;
  const auto& bitmap = reinterpret_cast<const VIDEOINFOHEADER*>(pmt->Format())->bmiHeader;
  if (bitmap.biWidth <= 0 || bitmap.biHeight <= 0 || bitmap.biWidth % 2) return S_FALSE;
  if (*pmt->Subtype() == MEDIASUBTYPE_YUY2) return S_OK;
  return *pmt->Subtype() == MEDIASUBTYPE_RGB24 && bitmap.biBitCount == 24 ? S_OK : S_FALSE;
}

HRESULT CQnRecorderInputPin::CheckAudioType(const CMediaType* pmt) const {
  if (*pmt->Type() != MEDIATYPE_Audio || *pmt->FormatType() != FORMAT_WaveFormatEx ||
      pmt->FormatLength() < sizeof(WAVEFORMATEX) - sizeof(WORD))
    return S_FALSE;
  const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(pmt->Format());
  static constexpr DWORD kRates[] = {16000, 22050, 24000, 32000, 44100, 48000};
  bool rate = false;
  for (DWORD known : kRates) rate = rate || wave->nSamplesPerSec == known;
  return wave->wFormatTag == WAVE_FORMAT_PCM && wave->wBitsPerSample == 16 && (wave->nChannels == 1 || wave->nChannels == 2) && rate
             ? S_OK
             : S_FALSE;
}

STDMETHODIMP CQnRecorderInputPin::Receive(IMediaSample* pSample) {
  const HRESULT hr = CBaseInputPin::Receive(pSample);
  if (hr != S_OK) return hr;
  return m_recorder->Deliver(this, pSample);
}

STDMETHODIMP CQnRecorderInputPin::EndOfStream() {
  m_ended = true;
  m_recorder->StreamEnded();
  return S_OK;
}

HRESULT CQnRecorderInputPin::Active() {
  m_ended = false;
  return CBaseInputPin::Active();
}
