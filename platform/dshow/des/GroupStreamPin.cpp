#include <dshow/des/GroupStreamPin.h>

#include <dshow/AnsiText.h>
#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CSource.h>
#include <dshow/des/MediaTime.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>
#include <machine/Machine.h>

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

using MediaTime::fromSamples;
using MediaTime::plus;
using MediaTime::toSamples;

void Black(BYTE* data, long bytes) {
  for (long i = 0; i + 1 < bytes; i += 2) {
    data[i] = 16;
    data[i + 1] = 128;
  }
}

}  // namespace

GroupStreamPin::GroupStreamPin(CSource* filter, HRESULT* phr, const GroupFormat& format)
    : CSourceStream("Group output", phr, filter, L"Output"), m_format(format) {
  if (m_format.video) m_readAhead = std::make_unique<PictureReadAhead>(static_cast<std::size_t>(m_format.sampleBytes()));
}

STDMETHODIMP GroupStreamPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMediaSeeking) return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
  return CSourceStream::NonDelegatingQueryInterface(riid, ppv);
}

void GroupStreamPin::setClips(std::vector<TimelineNode::Clip> clips, REFERENCE_TIME end) {
  std::lock_guard guard(m_seekLock);
  m_clips = std::move(clips);
  m_end = end;
  m_stop = end;
  m_start = 0;
  m_position = 0;
  m_reader.reset();
  m_readerClip = SIZE_MAX;
}

HRESULT GroupStreamPin::GetMediaType(CMediaType* pMediaType) {
  *pMediaType = m_format.mediaType();
  return S_OK;
}

HRESULT GroupStreamPin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) {
  ALLOCATOR_PROPERTIES wanted = *pProps;
  wanted.cBuffers = std::max<long>(wanted.cBuffers, m_format.video ? 4 : 8);
  wanted.cbBuffer = std::max(wanted.cbBuffer, m_format.sampleBytes());
  wanted.cbAlign = std::max<long>(wanted.cbAlign, 1);
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = pAlloc->SetProperties(&wanted, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= m_format.sampleBytes() ? S_OK : E_FAIL;
}

HRESULT GroupStreamPin::OnThreadStartPlay() {
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  REFERENCE_TIME end = 0;
  {
    std::lock_guard guard(m_seekLock);
    start = m_start;
    stop = m_stop;
    end = m_end;
    m_sent = 0;
  }
  if (m_readAhead) {
    // The same pictures FillBuffer sends, from the first one at or after the start up to
    // the last one before the timeline's end (the stop may still move later while the
    // stream runs), counted as FillBuffer counts them.
    const std::int64_t firstFrame = m_format.firstFrameFrom(start);
    const std::int64_t endFrame = m_format.firstFrameFrom(end);
    m_readAhead->start([this, firstFrame, endFrame](std::int64_t index, BYTE* out) {
      if (index >= endFrame - firstFrame) return false;
      fillPicture(out, m_format.frameStart(firstFrame + index));
      return true;
    });
  }
  return DeliverNewSegment(start, stop, 1.0);
}

HRESULT GroupStreamPin::OnThreadDestroy() {
  if (m_readAhead) m_readAhead->stop();
  m_reader.reset();
  m_readerClip = SIZE_MAX;
  return S_OK;
}

ClipReader* GroupStreamPin::reader(size_t index) {
  if (index != m_readerClip) {
    const auto path = Machine::current().paths().toLinux(AnsiText::fromWide(m_clips[index].file));
    m_reader = ClipReader::open(path.string(), m_format.video);
    m_readerClip = index;
  }
  return m_reader.get();
}

HRESULT GroupStreamPin::fillPicture(BYTE* data, REFERENCE_TIME time) {
  for (size_t i = 0; i < m_clips.size(); ++i) {
    const TimelineNode::Clip& clip = m_clips[i];
    if (time < clip.start || time >= clip.stop) continue;
    // The clip's media stretch is laid over its timeline stretch, shrunk or stretched.
    const REFERENCE_TIME media =
        clip.mediaStart + llMulDiv(time - clip.start, clip.mediaStop - clip.mediaStart, clip.stop - clip.start, 0);
    ClipReader* clipReader = reader(i);
    if (clipReader && clipReader->picture(media, m_format.width, m_format.height, data)) return S_OK;
    break;
  }
  Black(data, m_format.sampleBytes());
  return S_OK;
}

void GroupStreamPin::fillSound(std::int16_t* data, std::int64_t first, int count) {
  const int rate = m_format.sampleRate;
  const int channels = m_format.channels;
  std::fill(data, data + static_cast<ptrdiff_t>(count) * channels, std::int16_t{0});
  for (size_t i = 0; i < m_clips.size(); ++i) {
    const TimelineNode::Clip& clip = m_clips[i];
    const std::int64_t clipFirst = toSamples(clip.start, rate);
    const std::int64_t clipEnd = toSamples(clip.stop, rate);
    const std::int64_t from = std::max(first, clipFirst);
    const std::int64_t to = std::min(plus(first, count), clipEnd);
    if (from >= to) continue;
    ClipReader* clipReader = reader(i);
    if (!clipReader) continue;
    const std::int64_t mediaFirst = toSamples(clip.mediaStart, rate) + (from - clipFirst);
    clipReader->sound(mediaFirst, static_cast<int>(to - from), rate, channels,
                      data + static_cast<ptrdiff_t>(from - first) * channels);
  }
}

HRESULT GroupStreamPin::FillBuffer(IMediaSample* pSample) {
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  {
    std::lock_guard guard(m_seekLock);
    start = m_start;
    stop = m_stop;
  }
  BYTE* data = nullptr;
  if (FAILED(pSample->GetPointer(&data))) return E_POINTER;
  REFERENCE_TIME sampleStart = 0;
  REFERENCE_TIME sampleStop = 0;
  if (m_format.video) {
    // Pictures sit on the frame grid of the timeline, from the first one at or after the
    // start up to the last one before the stop (counted so, no time past the stop is made).
    const std::int64_t firstFrame = m_format.firstFrameFrom(start);
    const std::int64_t endFrame = m_format.firstFrameFrom(stop);
    if (m_sent >= endFrame - firstFrame) return S_FALSE;
    const REFERENCE_TIME time = m_format.frameStart(firstFrame + m_sent);
    if (!m_readAhead->take(data)) fillPicture(data, time);
    pSample->SetActualDataLength(m_format.sampleBytes());
    sampleStart = time - start;
    sampleStop = m_format.frameStart(firstFrame + m_sent + 1) - start;
    ++m_sent;
  } else {
    const int rate = m_format.sampleRate;
    const std::int64_t first = toSamples(start, rate) + m_sent;
    const std::int64_t last = toSamples(stop, rate);
    if (first >= last) return S_FALSE;
    const int count = static_cast<int>(std::min<std::int64_t>(m_format.soundFrames(), last - first));
    fillSound(reinterpret_cast<std::int16_t*>(data), first, count);
    pSample->SetActualDataLength(count * m_format.channels * 2);
    sampleStart = fromSamples(first, rate) - start;
    sampleStop = fromSamples(first + count, rate) - start;
    m_sent += count;
  }
  pSample->SetTime(&sampleStart, &sampleStop);
  pSample->SetSyncPoint(TRUE);
  m_position = start + sampleStart;
  return S_OK;
}

STDMETHODIMP GroupStreamPin::GetCapabilities(DWORD* pCapabilities) {
  CheckPointer(pCapabilities, E_POINTER);
  *pCapabilities = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
                   AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;
  return S_OK;
}

STDMETHODIMP GroupStreamPin::GetDuration(LONGLONG* pDuration) {
  CheckPointer(pDuration, E_POINTER);
  std::lock_guard guard(m_seekLock);
  *pDuration = m_end;
  return S_OK;
}

STDMETHODIMP GroupStreamPin::GetStopPosition(LONGLONG* pStop) {
  CheckPointer(pStop, E_POINTER);
  std::lock_guard guard(m_seekLock);
  *pStop = m_stop;
  return S_OK;
}

STDMETHODIMP GroupStreamPin::GetCurrentPosition(LONGLONG* pCurrent) {
  CheckPointer(pCurrent, E_POINTER);
  *pCurrent = m_position;
  return S_OK;
}

STDMETHODIMP GroupStreamPin::SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) {
  const DWORD currentHow = dwCurrentFlags & AM_SEEKING_PositioningBitsMask;
  const DWORD stopHow = dwStopFlags & AM_SEEKING_PositioningBitsMask;
  if (currentHow != AM_SEEKING_NoPositioning && !pCurrent) return E_POINTER;
  if (stopHow != AM_SEEKING_NoPositioning && !pStop) return E_POINTER;
  CAutoLock lock(m_pFilter->pStateLock());
  const bool streaming = m_pFilter->IsActive() && IsConnected();
  // The stream thread is held while the position moves: flushing frees it from a
  // renderer that holds its last sample.
  if (streaming && currentHow != AM_SEEKING_NoPositioning) {
    DeliverBeginFlush();
    Stop();
    DeliverEndFlush();
  }
  {
    std::lock_guard guard(m_seekLock);
    if (currentHow == AM_SEEKING_AbsolutePositioning) m_start = std::clamp<LONGLONG>(*pCurrent, 0, m_end);
    if (currentHow == AM_SEEKING_RelativePositioning) m_start = std::clamp<LONGLONG>(plus(m_start, *pCurrent), 0, m_end);
    if (stopHow == AM_SEEKING_AbsolutePositioning) m_stop = std::clamp<LONGLONG>(*pStop, 0, m_end);
    if (stopHow == AM_SEEKING_RelativePositioning) m_stop = std::clamp<LONGLONG>(plus(m_stop, *pStop), 0, m_end);
    if (currentHow != AM_SEEKING_NoPositioning) m_position = m_start;
    if ((dwCurrentFlags & AM_SEEKING_ReturnTime) && pCurrent) *pCurrent = m_start;
    if ((dwStopFlags & AM_SEEKING_ReturnTime) && pStop) *pStop = m_stop;
  }
  if (streaming && currentHow != AM_SEEKING_NoPositioning) Pause();
  return S_OK;
}

STDMETHODIMP GroupStreamPin::SetRate(double dRate) { return dRate == 1.0 ? S_OK : E_NOTIMPL; }

STDMETHODIMP GroupStreamPin::GetRate(double* pdRate) {
  CheckPointer(pdRate, E_POINTER);
  *pdRate = 1.0;
  return S_OK;
}

}  // namespace plat
