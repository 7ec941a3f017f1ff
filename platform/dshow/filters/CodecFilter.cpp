#include <dshow/filters/CodecFilter.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CTransformInputPin.h>
#include <dshow/baseclasses/CTransformOutputPin.h>
#include <dshow/filters/DecoderOutputPin.h>
#include <dshow/vfwmsgs.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstring>
#include <new>

namespace plat {

CodecFilter::CodecFilter(const char* name, LPUNKNOWN outer, REFCLSID clsid) : CTransformFilter(name, outer, clsid) {}

CodecFilter::~CodecFilter() { StopStreaming(); }

CTransformOutputPin* CodecFilter::MakeOutputPin() {
  HRESULT hr = S_OK;
  return new (std::nothrow) DecoderOutputPin(this, m_pInput, &hr);
}

const CMediaType& CodecFilter::inputType() { return m_pInput->CurrentMediaType(); }

HRESULT CodecFilter::deliverFilled(REFERENCE_TIME from, REFERENCE_TIME to,
                                   const std::function<long(BYTE*, long)>& fill) {
  IMediaSample* sample = nullptr;
  HRESULT hr = m_pOutput->GetDeliveryBuffer(&sample, &from, &to, 0);
  if (FAILED(hr)) return hr;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const long length = fill(data, sample->GetSize());
  if (length < 0) {
    sample->Release();
    return S_OK;
  }
  sample->SetActualDataLength(length);
  sample->SetTime(&from, &to);
  sample->SetSyncPoint(TRUE);
  hr = m_pOutput->Deliver(sample);
  sample->Release();
  return hr;
}

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
  m_holdAtMost = samplesToHoldBack();
  return S_OK;
}

HRESULT CodecFilter::StopStreaming() {
  m_next = 0;
  av_frame_free(&m_frame);
  av_packet_free(&m_packet);
  av_buffer_unref(&m_input);
  avcodec_free_context(&m_codec);
  giveBack();
  return S_OK;
}

HRESULT CodecFilter::Receive(IMediaSample* pSample) {
  if (!m_codec) return VFW_E_WRONG_STATE;
  BYTE* data = nullptr;
  pSample->GetPointer(&data);
  const long size = pSample->GetActualDataLength();
  if (size < 0 || !reserveInput(static_cast<size_t>(size))) return E_OUTOFMEMORY;
  std::memcpy(m_input->data, data, static_cast<size_t>(size));
  std::memset(m_input->data + size, 0, AV_INPUT_BUFFER_PADDING_SIZE);
  m_packet->buf = av_buffer_ref(m_input);
  if (!m_packet->buf) return E_OUTOFMEMORY;
  m_packet->data = m_input->data;
  m_packet->size = static_cast<int>(size);
  REFERENCE_TIME start = 0, stop = 0;
  m_packet->pts = SUCCEEDED(pSample->GetTime(&start, &stop)) ? start : AV_NOPTS_VALUE;
  holdBack(pSample);
  const int sent = avcodec_send_packet(m_codec, m_packet);
  av_packet_unref(m_packet);
  // A damaged packet is skipped; the decoder picks up again at the next good one.
  if (sent < 0 && sent != AVERROR(EAGAIN)) return S_OK;
  return drain();
}

// The decoder lets go of a packet's bytes once it has read them, so one buffer serves
// every sample: no allocation, and no fresh pages to fault in, per sample.
bool CodecFilter::reserveInput(size_t size) {
  const size_t needed = size + AV_INPUT_BUFFER_PADDING_SIZE;
  if (m_input && av_buffer_is_writable(m_input) && m_input->size >= needed) return true;
  av_buffer_unref(&m_input);
  m_input = av_buffer_alloc(needed);
  return m_input != nullptr;
}

// A sample given back wakes an upstream thread waiting for a buffer; given back a few at
// a time, the upstream thread fills them in one go instead of waking for each. A quarter
// of its buffers at most, so that the rest keep reading ahead.
long CodecFilter::samplesToHoldBack() {
  IMemAllocator* upstream = nullptr;
  if (FAILED(m_pInput->GetAllocator(&upstream))) return 0;
  ALLOCATOR_PROPERTIES props{};
  const bool known = SUCCEEDED(upstream->GetProperties(&props));
  upstream->Release();
  return known && props.cBuffers >= 8 ? props.cBuffers / 4 : 0;
}

void CodecFilter::holdBack(IMediaSample* sample) {
  if (m_holdAtMost == 0) return;
  sample->AddRef();
  m_held.push_back(sample);
  if (static_cast<long>(m_held.size()) >= m_holdAtMost) giveBack();
}

void CodecFilter::giveBack() {
  for (IMediaSample* sample : m_held) sample->Release();
  m_held.clear();
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
    giveBack();
    avcodec_send_packet(m_codec, nullptr);
    drain();
    avcodec_flush_buffers(m_codec);
  }
  return CTransformFilter::EndOfStream();
}

HRESULT CodecFilter::EndFlush() {
  {
    CAutoLock lock(&m_csReceive);
    giveBack();
    if (m_codec) avcodec_flush_buffers(m_codec);
    m_next = 0;
  }
  return CTransformFilter::EndFlush();
}

}  // namespace plat
