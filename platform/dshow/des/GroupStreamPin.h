// The output pin of a group source: sends the group's stream from the seek position to
// the timeline's end, each picture or stretch of sound taken from the clip that covers
// its time (black or silence where none does), decoded from the clip's file. Seeking
// (IMediaSeeking) flushes downstream and starts the stream again at the new position.
#pragma once

#include <dshow/baseclasses/CSourceStream.h>
#include <dshow/baseclasses/MediaTimeSeeking.h>
#include <dshow/des/ClipReader.h>
#include <dshow/des/GroupFormat.h>
#include <dshow/des/PictureReadAhead.h>
#include <dshow/des/TimelineNode.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace plat {

class GroupStreamPin : public CSourceStream, public MediaTimeSeeking {
 public:
  GroupStreamPin(CSource* filter, HRESULT* phr, const GroupFormat& format);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  const GroupFormat& format() const { return m_format; }
  // The clips and the stream's end; only while the filter is stopped.
  void setClips(std::vector<TimelineNode::Clip> clips, REFERENCE_TIME end);
  const std::vector<TimelineNode::Clip>& clips() const { return m_clips; }

  HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) override;
  HRESULT OnThreadStartPlay() override;
  HRESULT OnThreadDestroy() override;

  // IMediaSeeking
  STDMETHODIMP GetCapabilities(DWORD* pCapabilities) override;
  STDMETHODIMP GetDuration(LONGLONG* pDuration) override;
  STDMETHODIMP GetStopPosition(LONGLONG* pStop) override;
  STDMETHODIMP GetCurrentPosition(LONGLONG* pCurrent) override;
  STDMETHODIMP SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) override;
  STDMETHODIMP SetRate(double dRate) override;
  STDMETHODIMP GetRate(double* pdRate) override;

 protected:
  HRESULT GetMediaType(CMediaType* pMediaType) override;
  HRESULT FillBuffer(IMediaSample* pSample) override;

 private:
  HRESULT fillPicture(BYTE* data, REFERENCE_TIME time);
  void fillSound(std::int16_t* data, std::int64_t first, int count);
  // The reader of clip `index`, opened when the stream reaches it.
  ClipReader* reader(size_t index);

  const GroupFormat m_format;
  std::vector<TimelineNode::Clip> m_clips;
  std::mutex m_seekLock;              // position and stop, between the application and the stream thread
  REFERENCE_TIME m_start = 0;         // the segment's start
  REFERENCE_TIME m_stop = 0;          // the stream's end (the timeline's, unless seeked shorter)
  REFERENCE_TIME m_end = 0;           // the timeline's end
  std::int64_t m_sent = 0;            // pictures or sound frames sent since the segment start
  std::atomic<REFERENCE_TIME> m_position{0};
  size_t m_readerClip = SIZE_MAX;
  std::unique_ptr<ClipReader> m_reader;  // the read-ahead's while it runs
  std::unique_ptr<PictureReadAhead> m_readAhead;  // video only
};

}  // namespace plat
