#include "FrameStream.h"

#include "AskBuffers.h"

namespace test {

namespace {
constexpr REFERENCE_TIME kFrameTime = 400'000;
}  // namespace

FrameStream::FrameStream(CSource* filter, int frames, long buffers)
    : CSourceStream("Frame stream", nullptr, filter, L"Out"), m_frames(frames), m_buffers(buffers) {}

HRESULT FrameStream::DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* props) {
  return AskBuffers(alloc, *props, m_buffers, bufferBytes());
}

HRESULT FrameStream::OnThreadStartPlay() {
  m_next = 0;
  return S_OK;
}

HRESULT FrameStream::FillBuffer(IMediaSample* sample) {
  if (m_next >= m_frames) return S_FALSE;
  fill(sample, m_next);
  REFERENCE_TIME start = m_next * kFrameTime;
  REFERENCE_TIME stop = start + kFrameTime;
  sample->SetTime(&start, &stop);
  ++m_next;
  return S_OK;
}

}  // namespace test
