// A renderer for the fan-out tests: one input "In" that takes the listed subtypes (any
// when the list is empty) and records what reaches it: the very sample objects, their
// frame numbers, ends of stream, flushes, new segments and the allocator it was told to
// use. It can be made to block in Receive (until unblocked, flushed or stopped), to fail
// from a given frame on, to say its Receive cannot block (so the tee delivers to it on
// the streaming thread) and to refuse the allocator offered.
#pragma once

#include <dshow/baseclasses/streams.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace fanout {

class TestRenderer : public CBaseFilter {
 public:
  struct Received {
    IMediaSample* sample;  // compared only, never used after the run
    BYTE* data;
    long length;
    int frame;  // the sample's first byte
  };
  struct Segment {
    REFERENCE_TIME start;
    REFERENCE_TIME stop;
    double rate;
  };

  explicit TestRenderer(std::vector<GUID> subtypes = {});
  ~TestRenderer() override;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;
  STDMETHODIMP Stop() override;
  IPin* input();

  void setCanBlock(bool canBlock) { m_canBlock = canBlock; }
  void setBlocking(bool block);
  void failFrom(int frame, HRESULT hr);
  void refuseAllocator(HRESULT hr) { m_allocatorAnswer = hr; }

  std::vector<Received> samples() const;
  std::vector<int> frames() const;
  int endOfStreams() const;
  int beginFlushes() const;
  int endFlushes() const;
  std::vector<Segment> segments() const;
  IMemAllocator* allocator() const { return m_allocator; }
  BOOL allocatorReadOnly() const { return m_readOnly; }

  // Bounded waits for the streaming threads; false when the time runs out.
  bool waitForSamples(size_t count);
  bool waitForEndOfStream();
  bool waitUntilBlocked();

 private:
  class Pin;
  friend class Pin;

  HRESULT receive(IMediaSample* sample);
  template <class Pred>
  bool waitFor(Pred pred);

  CCritSec m_lock;
  std::unique_ptr<Pin> m_pin;
  std::vector<GUID> m_subtypes;
  bool m_canBlock = true;
  HRESULT m_allocatorAnswer = S_OK;
  IMemAllocator* m_allocator = nullptr;  // as notified, not counted
  BOOL m_readOnly = FALSE;

  mutable std::mutex m_dataLock;
  std::condition_variable m_changed;
  std::vector<Received> m_samples;
  std::vector<Segment> m_segments;
  int m_eos = 0;
  int m_beginFlushes = 0;
  int m_endFlushes = 0;
  int m_failFrom = -1;
  HRESULT m_failure = S_OK;
  bool m_block = false;
  bool m_blocked = false;
  bool m_released = false;  // a flush or stop ended any wait
};

}  // namespace fanout
