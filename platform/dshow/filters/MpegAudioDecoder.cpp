#include <dshow/filters/MpegAudioDecoder.h>

#include <dshow/amaudio.h>
#include <dshow/baseclasses/CTransformInputPin.h>
#include <dshow/baseclasses/CTransformOutputPin.h>
#include <dshow/filters/BufferNeeds.h>
#include <dshow/mediafiles.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <cmath>
#include <new>

namespace plat {

namespace {

const AMOVIESETUP_MEDIATYPE kInTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_MPEG1AudioPayload},
                                          {&MEDIATYPE_Audio, &MEDIASUBTYPE_MP3}};
const AMOVIESETUP_MEDIATYPE kOutTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
constexpr long kBufferBytes = 64 * 1024;

const WAVEFORMATEX* waveFormat(const CMediaType& type) {
  if (*type.FormatType() != FORMAT_WaveFormatEx || type.FormatLength() < sizeof(WAVEFORMATEX) - sizeof(WORD) ||
      !type.Format())
    return nullptr;
  return reinterpret_cast<const WAVEFORMATEX*>(type.Format());
}

std::int16_t toSample(float value) {
  return static_cast<std::int16_t>(std::lrint(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}

// One sample of channel `channel` at `index`, from any of the layouts the decoders give.
std::int16_t sampleAt(const AVFrame& frame, int channel, int index, int channels) {
  switch (frame.format) {
    case AV_SAMPLE_FMT_S16: return reinterpret_cast<const std::int16_t*>(frame.data[0])[index * channels + channel];
    case AV_SAMPLE_FMT_S16P: return reinterpret_cast<const std::int16_t*>(frame.data[channel])[index];
    case AV_SAMPLE_FMT_FLT: return toSample(reinterpret_cast<const float*>(frame.data[0])[index * channels + channel]);
    case AV_SAMPLE_FMT_FLTP: return toSample(reinterpret_cast<const float*>(frame.data[channel])[index]);
    default: return 0;
  }
}

}  // namespace

const AMOVIESETUP_PIN MpegAudioDecoder::kPins[2] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 2, kInTypes},
    {L"Output", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kOutTypes}};

const AMOVIESETUP_FILTER MpegAudioDecoder::kSetup = {&CLSID_CMpegAudioCodec, L"MPEG Audio Decoder", MERIT_NORMAL, 2,
                                                     kPins};

MpegAudioDecoder::MpegAudioDecoder(const char* name, LPUNKNOWN outer, REFCLSID clsid) : CodecFilter(name, outer, clsid) {}

CUnknown* MpegAudioDecoder::CreateInstance(LPUNKNOWN outer, HRESULT*) {
  return new (std::nothrow) MpegAudioDecoder("MPEG audio decoder", outer, CLSID_CMpegAudioCodec);
}

HRESULT MpegAudioDecoder::CheckInputType(const CMediaType* mtIn) {
  if (*mtIn->Type() != MEDIATYPE_Audio) return VFW_E_TYPE_NOT_ACCEPTED;
  if (*mtIn->Subtype() != MEDIASUBTYPE_MPEG1AudioPayload && *mtIn->Subtype() != MEDIASUBTYPE_MP3)
    return VFW_E_TYPE_NOT_ACCEPTED;
  const WAVEFORMATEX* wave = waveFormat(*mtIn);
  return wave && wave->nChannels >= 1 && wave->nChannels <= 2 && wave->nSamplesPerSec > 0 ? S_OK
                                                                                          : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT MpegAudioDecoder::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (!m_pInput->IsConnected()) return E_UNEXPECTED;
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  pcmTypeFor(*waveFormat(inputType()), pMediaType);
  return S_OK;
}

void MpegAudioDecoder::pcmTypeFor(const WAVEFORMATEX& in, CMediaType* type) {
  WAVEFORMATEX out{};
  out.wFormatTag = WAVE_FORMAT_PCM;
  out.nChannels = in.nChannels;
  out.nSamplesPerSec = in.nSamplesPerSec;
  out.wBitsPerSample = 16;
  out.nBlockAlign = static_cast<WORD>(out.nChannels * 2);
  out.nAvgBytesPerSec = out.nSamplesPerSec * out.nBlockAlign;
  type->InitMediaType();
  type->SetType(&MEDIATYPE_Audio);
  type->SetSubtype(&MEDIASUBTYPE_PCM);
  type->SetFormatType(&FORMAT_WaveFormatEx);
  type->SetFormat(reinterpret_cast<const BYTE*>(&out), sizeof(out));
  type->SetSampleSize(out.nBlockAlign);
}

HRESULT MpegAudioDecoder::CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) {
  const WAVEFORMATEX* in = waveFormat(*mtIn);
  const WAVEFORMATEX* out = waveFormat(*mtOut);
  if (*mtOut->Subtype() != MEDIASUBTYPE_PCM || !in || !out) return VFW_E_TYPE_NOT_ACCEPTED;
  return out->wBitsPerSample == 16 && out->nChannels == in->nChannels && out->nSamplesPerSec == in->nSamplesPerSec
             ? S_OK
             : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT MpegAudioDecoder::DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) {
  return BufferNeeds::Ask(pAllocator, *pprop, 8, std::max<long>(pprop->cbBuffer, kBufferBytes));
}

int MpegAudioDecoder::codecFor(const CMediaType& input) {
  return *input.Subtype() == MEDIASUBTYPE_MP3 ? AV_CODEC_ID_MP3 : AV_CODEC_ID_MP2;
}

HRESULT MpegAudioDecoder::deliverFrame(const AVFrame& frame, const REFERENCE_TIME* start) {
  const WAVEFORMATEX& out = *waveFormat(m_pOutput->CurrentMediaType());
  const int channels = out.nChannels;
  if (frame.ch_layout.nb_channels != channels) return S_OK;  // a stream that changed its layout midway
  REFERENCE_TIME from = start ? *start : m_next;
  REFERENCE_TIME to = from + static_cast<REFERENCE_TIME>(frame.nb_samples) * 10'000'000 / out.nSamplesPerSec;
  m_next = to;
  return deliverFilled(from, to, [&](BYTE* data, long size) -> long {
    const int frames = std::min(frame.nb_samples, static_cast<int>(size / out.nBlockAlign));
    auto* pcm = reinterpret_cast<std::int16_t*>(data);
    for (int i = 0; i < frames; ++i)
      for (int c = 0; c < channels; ++c) pcm[i * channels + c] = sampleAt(frame, c, i, channels);
    return frames * out.nBlockAlign;
  });
}

}  // namespace plat
