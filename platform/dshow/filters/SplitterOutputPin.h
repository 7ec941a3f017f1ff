// One elementary stream of the parser: its media type (QueryAccept also takes a partial
// type that it matches), samples sent on a queue thread of its own so one stream held
// by its renderer never stops the others, and IMediaSeeking, which moves the whole
// parser (seeks through any of its pins move every stream together). While active it
// hears from its allocator each time a buffer comes back and tells the parser.
//
// Its samples carry the parser's packets themselves (PacketAllocator) where the input
// takes them as they are; an input that asks for aligned or prefixed buffers, or refuses
// the allocator, gets buffers of its own allocator with each packet copied in.
#pragma once

#include <dshow/baseclasses/CBaseOutputPin.h>
#include <dshow/baseclasses/COutputQueue.h>
#include <dshow/baseclasses/MediaTimeSeeking.h>
#include <dshow/filters/Demuxer.h>

#include <memory>

namespace plat {

class MediaSplitter;

class SplitterOutputPin : public CBaseOutputPin, public MediaTimeSeeking, public IMemAllocatorNotifyCallbackTemp {
 public:
  SplitterOutputPin(MediaSplitter* splitter, CCritSec* lock, LPCWSTR name, const CMediaType& type, int stream);
  ~SplitterOutputPin() override;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int stream() const { return m_stream; }
  bool isVideo() const;

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) override;
  HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  // For the parser's thread.
  // Puts the packet, which fits, in a sample of this pin's allocator: its bytes go with
  // the sample when the allocator is the pin's own, or are copied.
  void fill(IMediaSample* sample, Demuxer::Packet& packet);
  HRESULT send(IMediaSample* sample);  // takes the caller's reference
  void sendEndOfStream();
  void sendNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);
  // Frees a parser thread waiting for a buffer (a stop or a seek is coming).
  void releaseBuffers();
  // Throws away what is queued and flushes downstream, then takes buffers again.
  void flush();

  // IMediaSeeking
  STDMETHODIMP GetCapabilities(DWORD* pCapabilities) override;
  STDMETHODIMP GetDuration(LONGLONG* pDuration) override;
  STDMETHODIMP GetStopPosition(LONGLONG* pStop) override;
  STDMETHODIMP GetCurrentPosition(LONGLONG* pCurrent) override;
  STDMETHODIMP SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) override;
  STDMETHODIMP GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) override;  // both under one lock
  STDMETHODIMP SetRate(double dRate) override;
  STDMETHODIMP GetRate(double* pdRate) override;

  // IMemAllocatorNotifyCallbackTemp
  STDMETHODIMP NotifyRelease() override;

 private:
  // Sets (or with null clears) the allocator's callback, where the allocator has one.
  void watchReturns(IMemAllocatorNotifyCallbackTemp* notify);

  MediaSplitter* m_splitter;
  CMediaType m_type;
  int m_stream;
  bool m_lends = false;  // the samples are PacketSamples
  std::unique_ptr<COutputQueue> m_queue;
};

}  // namespace plat
