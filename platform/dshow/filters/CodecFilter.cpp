#include <dshow/filters/CodecFilter.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CTransformInputPin.h>
#include <dshow/filters/DecoderOutputPin.h>
#include <dshow/vfwmsgs.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstring>

namespace plat {

CodecFilter::CodecFilter(const char* name, LPUNKNOWN outer, REFCLSID clsid) : CTransformFilter(name, outer, clsid) {}

CodecFilter::~CodecFilter() { StopStreaming(); }

CBasePin* CodecFilter::GetPin(int n) {
  if (!DecoderOutputPin::makePins(this, m_pInput, m_pOutput)) return nullptr;
  return CTransformFilter::GetPin(n);
}

const CMediaType& CodecFilter::inputType() { return m_pInput->CurrentMediaType(); }

HRESULT CodecFilter::StartStreaming() {
  const AVCodec* codec = avcodec_find_decoder(static_cast<AVCodecID>(codecFor(inputType())));
  if (!codec) return VFW_E_TYPE_NOT_ACCEPTED;
  m_codec = avcodec_alloc_context3(codec);
  m_packet = av_packet_alloc();
  m_frame = av_frame_alloc();
  if (!m_codec || !m_packet || !m_frame) {
    StopStreaming();
    return E_OUTOFMEMORY;
  }
  m_codec->pkt_timebase = {1, 10'000'000};
  if (avcodec_open2(m_codec, codec, nullptr) < 0) {
    StopStreaming();
    return E_FAIL;
  }
  return S_OK;
}

HRESULT CodecFilter::StopStreaming() {
  m_next = 0;
  av_frame_free(&m_frame);
  av_packet_free(&m_packet);
  avcodec_free_context(&m_codec);
  return S_OK;
}

HRESULT CodecFilter::Receive(IMediaSample* pSample) {
  if (!m_codec) return VFW_E_WRONG_STATE;
  BYTE* data = nullptr;
  pSample->GetPointer(&data);
  const long size = pSample->GetActualDataLength();
  if (av_new_packet(m_packet, static_cast<int>(size)) < 0) return E_OUTOFMEMORY;
  std::memcpy(m_packet->data, data, static_cast<size_t>(size));
  REFERENCE_TIME start = 0, stop = 0;
  m_packet->pts = SUCCEEDED(pSample->GetTime(&start, &stop)) ? start : AV_NOPTS_VALUE;
  const int sent = avcodec_send_packet(m_codec, m_packet);
  av_packet_unref(m_packet);
  // A damaged packet is skipped; the decoder picks up again at the next good one.
  if (sent < 0 && sent != AVERROR(EAGAIN)) return S_OK;
  return drain();
}

HRESULT CodecFilter::drain() {
  for (;;) {
    const int got = avcodec_receive_frame(m_codec, m_frame);
    if (got < 0) return S_OK;  // needs more input, or drained
    const REFERENCE_TIME start = m_frame->best_effort_timestamp;
    const HRESULT hr = deliverFrame(*m_frame, start == AV_NOPTS_VALUE ? nullptr : &start);
    av_frame_unref(m_frame);
    if (FAILED(hr)) return hr;
  }
}

HRESULT CodecFilter::EndOfStream() {
  if (m_codec) {
    avcodec_send_packet(m_codec, nullptr);
    drain();
    avcodec_flush_buffers(m_codec);
  }
  return CTransformFilter::EndOfStream();
}

HRESULT CodecFilter::EndFlush() {
  {
    CAutoLock lock(&m_csReceive);
    if (m_codec) avcodec_flush_buffers(m_codec);
    m_next = 0;
  }
  return CTransformFilter::EndFlush();
}

}  // namespace plat
