#include <dshow/filters/AlawDecompressor.h>

#include <com/ComPtr.h>
#include <dshow/amaudio.h>
#include <dshow/baseclasses/CTransformInputPin.h>
#include <dshow/filters/BufferNeeds.h>
#include <dshow/filters/DecoderOutputPin.h>
#include <dshow/filters/MpegAudioDecoder.h>
#include <dshow/mediafiles.h>
#include <dshow/uuids.h>

#include <algorithm>
#include <new>

namespace plat {

namespace {

const AMOVIESETUP_MEDIATYPE kInTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_ALAW}};
const AMOVIESETUP_MEDIATYPE kOutTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
const AMOVIESETUP_PIN kPins[] = {{L"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kInTypes},
                                 {L"Output", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kOutTypes}};

const WAVEFORMATEX* Wave(const CMediaType* type) {
  if (*type->Type() != MEDIATYPE_Audio || *type->FormatType() != FORMAT_WaveFormatEx || !type->Format() ||
      type->FormatLength() < sizeof(WAVEFORMATEX) - sizeof(WORD))
    return nullptr;
  return reinterpret_cast<const WAVEFORMATEX*>(type->Format());
}

}  // namespace

const AMOVIESETUP_FILTER AlawDecompressor::kSetup = {&CLSID_ACMWrapper, L"ACM Wrapper", MERIT_NORMAL, 2, kPins};

AlawDecompressor::AlawDecompressor(LPUNKNOWN outer) : CTransformFilter("ACM Wrapper", outer, CLSID_ACMWrapper) {}

CUnknown* AlawDecompressor::CreateInstance(LPUNKNOWN outer, HRESULT*) { return new (std::nothrow) AlawDecompressor(outer); }

CTransformOutputPin* AlawDecompressor::MakeOutputPin() {
  HRESULT hr = S_OK;
  return new (std::nothrow) DecoderOutputPin(this, m_pInput, &hr);
}

short AlawDecompressor::decode(BYTE alaw) {
  // Even bits are stored inverted; then sign, three bits of segment, four of mantissa.
  const int code = alaw ^ 0x55;
  const int segment = (code >> 4) & 7;
  int magnitude = ((code & 0x0F) << 4) + 8;
  if (segment > 0) magnitude = (magnitude + 0x100) << (segment - 1);
  return static_cast<short>(code & 0x80 ? magnitude : -magnitude);
}

HRESULT AlawDecompressor::CheckInputType(const CMediaType* mtIn) {
  const WAVEFORMATEX* wave = Wave(mtIn);
  if (!wave || *mtIn->Subtype() != MEDIASUBTYPE_ALAW) return VFW_E_TYPE_NOT_ACCEPTED;
  return wave->nChannels >= 1 && wave->nChannels <= 2 && wave->nSamplesPerSec > 0 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT AlawDecompressor::CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) {
  const WAVEFORMATEX* out = Wave(mtOut);
  if (CheckInputType(mtIn) != S_OK || !out || *mtOut->Subtype() != MEDIASUBTYPE_PCM) return VFW_E_TYPE_NOT_ACCEPTED;
  const WAVEFORMATEX* in = Wave(mtIn);
  return out->wBitsPerSample == 16 && out->nChannels == in->nChannels && out->nSamplesPerSec == in->nSamplesPerSec
             ? S_OK
             : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT AlawDecompressor::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (!m_pInput->IsConnected()) return E_UNEXPECTED;
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  MpegAudioDecoder::pcmTypeFor(*Wave(&m_pInput->CurrentMediaType()), pMediaType);
  return S_OK;
}

HRESULT AlawDecompressor::DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) {
  // Each A-law byte becomes two: twice the upstream buffers, and a second of sound at least.
  ALLOCATOR_PROPERTIES input{};
  ComPtr<IMemAllocator> upstream;
  if (SUCCEEDED(m_pInput->GetAllocator(upstream.put()))) upstream->GetProperties(&input);
  const long second = static_cast<long>(Wave(&m_pInput->CurrentMediaType())->nAvgBytesPerSec) * 2;
  return BufferNeeds::Ask(pAllocator, *pprop, 4, std::max({pprop->cbBuffer, 2 * input.cbBuffer, second}));
}

HRESULT AlawDecompressor::Transform(IMediaSample* pIn, IMediaSample* pOut) {
  BYTE* in = nullptr;
  BYTE* out = nullptr;
  pIn->GetPointer(&in);
  pOut->GetPointer(&out);
  const long samples = pIn->GetActualDataLength();
  if (2 * samples > pOut->GetSize()) return E_FAIL;
  auto* pcm = reinterpret_cast<short*>(out);
  for (long i = 0; i < samples; ++i) pcm[i] = decode(in[i]);
  pOut->SetActualDataLength(2 * samples);
  return S_OK;
}

}  // namespace plat
