#include <dshow/filters/AlawCompressor.h>

#include <dshow/amaudio.h>
#include <dshow/baseclasses/CTransformInputPin.h>
#include <dshow/baseclasses/CTransformOutputPin.h>
#include <dshow/filters/BufferNeeds.h>
#include <dshow/uuids.h>

#include <algorithm>
#include <new>

namespace plat {

namespace {

const WAVEFORMATEX* Wave(const CMediaType* type) { return reinterpret_cast<const WAVEFORMATEX*>(type->Format()); }

bool IsWave(const CMediaType* type) {
  return *type->Type() == MEDIATYPE_Audio && *type->FormatType() == FORMAT_WaveFormatEx && type->Format() &&
         type->FormatLength() >= sizeof(WAVEFORMATEX) - sizeof(WORD);
}

}  // namespace

AlawCompressor::AlawCompressor(LPUNKNOWN outer) : CTransformFilter("A-law Compressor", outer, CLSID_AlawCompressor) {}

CUnknown* AlawCompressor::CreateInstance(LPUNKNOWN outer, HRESULT*) { return new (std::nothrow) AlawCompressor(outer); }

BYTE AlawCompressor::encode(short pcm) {
  // The 13-bit magnitude falls into one of eight segments, each coded with four bits.
  static constexpr int kSegmentEnds[8] = {0x1F, 0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF};
  int value = pcm >> 3;
  int mask = 0xD5;
  if (value < 0) {
    mask = 0x55;
    value = -value - 1;
  }
  int segment = 0;
  while (segment < 8 && value > kSegmentEnds[segment]) ++segment;
  if (segment == 8) return static_cast<BYTE>(0x7F ^ mask);
  const int mantissa = segment < 2 ? (value >> 1) & 0x0F : (value >> segment) & 0x0F;
  return static_cast<BYTE>(((segment << 4) | mantissa) ^ mask);
}

HRESULT AlawCompressor::CheckInputType(const CMediaType* mtIn) {
  if (!IsWave(mtIn) || *mtIn->Subtype() != MEDIASUBTYPE_PCM) return VFW_E_TYPE_NOT_ACCEPTED;
  const WAVEFORMATEX* wave = Wave(mtIn);
  return wave->wBitsPerSample == 16 && wave->nChannels >= 1 && wave->nChannels <= 2 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT AlawCompressor::CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) {
  if (CheckInputType(mtIn) != S_OK || !IsWave(mtOut) || *mtOut->Subtype() != MEDIASUBTYPE_ALAW)
    return VFW_E_TYPE_NOT_ACCEPTED;
  const WAVEFORMATEX* in = Wave(mtIn);
  const WAVEFORMATEX* out = Wave(mtOut);
  return out->nSamplesPerSec == in->nSamplesPerSec && out->nChannels == in->nChannels ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT AlawCompressor::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  const WAVEFORMATEX* in = Wave(&m_pInput->CurrentMediaType());
  pMediaType->InitMediaType();
  pMediaType->SetType(&MEDIATYPE_Audio);
  pMediaType->SetSubtype(&MEDIASUBTYPE_ALAW);
  pMediaType->SetFormatType(&FORMAT_WaveFormatEx);
  auto* wave = reinterpret_cast<WAVEFORMATEX*>(pMediaType->AllocFormatBuffer(sizeof(WAVEFORMATEX)));
  *wave = WAVEFORMATEX{};
  wave->wFormatTag = WAVE_FORMAT_ALAW;
  wave->nChannels = in->nChannels;
  wave->nSamplesPerSec = in->nSamplesPerSec;
  wave->wBitsPerSample = 8;
  wave->nBlockAlign = in->nChannels;
  wave->nAvgBytesPerSec = in->nSamplesPerSec * in->nChannels;
  pMediaType->SetSampleSize(wave->nBlockAlign);
  return S_OK;
}

HRESULT AlawCompressor::DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) {
  // A byte for every two of PCM: half a second of PCM, the most any sample here holds.
  const WAVEFORMATEX* in = Wave(&m_pInput->CurrentMediaType());
  const long bytes = static_cast<long>(in->nAvgBytesPerSec / 4);
  return BufferNeeds::Ask(pAllocator, *pprop, 4, std::max(pprop->cbBuffer, bytes));
}

HRESULT AlawCompressor::Transform(IMediaSample* pIn, IMediaSample* pOut) {
  BYTE* in = nullptr;
  BYTE* out = nullptr;
  pIn->GetPointer(&in);
  pOut->GetPointer(&out);
  const long samples = pIn->GetActualDataLength() / 2;
  if (samples > pOut->GetSize()) return E_FAIL;
  const auto* pcm = reinterpret_cast<const short*>(in);
  for (long i = 0; i < samples; ++i) out[i] = encode(pcm[i]);
  pOut->SetActualDataLength(samples);
  return S_OK;
}

}  // namespace plat
