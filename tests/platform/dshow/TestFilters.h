// Small filters the graph tests connect: a push source of numbered frames, a sink that
// records what reaches it, a converting transform and an in-place transform. They are
// built on the base classes, so the tests exercise those too.
#pragma once

#include <com/ComPtr.h>
#include <dshow/baseclasses/streams.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace dstest {

using plat::ComPtr;

// Picture subtypes no platform filter takes or makes, so intelligent connect can only
// use the test's own filters for them.
// {41545354-0000-0010-8000-00AA00389B71} "TSTA" and "TSTB"
inline constexpr GUID kSubtypeA = {0x41545354, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline constexpr GUID kSubtypeB = {0x42545354, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// A video type of the given subtype and size (VIDEOINFOHEADER, 25 frames a second).
CMediaType videoType(const GUID& subtype, LONG width = 8, LONG height = 2);

// Where the test filters write "label:Stop", "label:Pause", "label:Run" as they change state.
class StateLog {
 public:
  static void add(const std::string& entry);
  static std::vector<std::string> take();
};

// Pushes `frames` samples of `type` (frame n: every byte n, times n*40 ms .. (n+1)*40 ms),
// then ends the stream. frames < 0 pushes until stopped.
class PushSource : public CSource {
 public:
  PushSource(const CMediaType& type, int frames, REFCLSID clsid = GUID_NULL);
  // Frames handed downstream so far.
  int delivered() const;
  // Deliveries tried, whatever their result.
  int attempts() const;
  // Positions set through the stream's IMediaSeeking.
  std::vector<LONGLONG> seeks() const;
  void setLabel(std::string label) { m_label = std::move(label); }
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;

 private:
  class Stream;
  Stream* m_stream;
  std::string m_label = "source";
};

struct ReceivedSample {
  int frame;  // the first byte
  long length;
  REFERENCE_TIME start;
  REFERENCE_TIME stop;
  bool timed;
};

// Takes one input of the listed subtypes (any subtype when the list is empty) and
// records every sample, end of stream and flush. Optionally blocks in Receive until
// released, to test flushing and stopping.
class SinkFilter : public CBaseFilter {
 public:
  explicit SinkFilter(std::vector<GUID> subtypes = {}, REFCLSID clsid = GUID_NULL, LPUNKNOWN outer = nullptr);
  ~SinkFilter() override;

  // Seeking passes upstream, as a renderer's does.
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;
  void setLabel(std::string label) { m_label = std::move(label); }
  // End of stream reaches the graph as EC_COMPLETE.
  void setReportsCompletion(bool report) { m_reportCompletion = report; }

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;

  std::vector<ReceivedSample> samples() const;
  int endOfStreams() const;
  int flushes() const;
  bool waitForSamples(size_t count);
  bool waitForEndOfStream();
  // While blocking, Receive waits until flushed, stopped or unblocked.
  void setBlocking(bool block);
  bool waitUntilBlocked();
  CBaseInputPin* input();

 private:
  class Pin;
  friend class Pin;
  CCritSec m_lock;
  Pin* m_pin;
  mutable std::mutex m_dataLock;
  std::condition_variable m_changed;
  std::vector<ReceivedSample> m_samples;
  int m_eos = 0;
  int m_flushes = 0;
  bool m_block = false;
  bool m_blocked = false;
  bool m_inactive = false;
  bool m_reportCompletion = true;
  std::string m_label = "sink";
  // Under m_dataLock: wakes the test's waits and a Receive held by setBlocking.
  void changed();
  ComPtr<IUnknown> m_passThru;
};

// Converts `from` into `to`, copying the bytes and adding one to each.
class ConvertTransform : public CTransformFilter {
 public:
  ConvertTransform(const GUID& from, const GUID& to, REFCLSID clsid = GUID_NULL, LPUNKNOWN outer = nullptr);
  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) override;
  HRESULT DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  HRESULT Transform(IMediaSample* pIn, IMediaSample* pOut) override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;
  STDMETHODIMP Stop() override;
  void setLabel(std::string label) { m_label = std::move(label); }

 private:
  std::string m_label = "convert";
  GUID m_from;
  GUID m_to;
};

// Adds ten to every byte of the samples passing through.
class AddTenInPlace : public CTransInPlaceFilter {
 public:
  AddTenInPlace();
  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT Transform(IMediaSample* pSample) override;
};

// The first pin of a direction.
IPin* firstPin(IBaseFilter* filter, PIN_DIRECTION dir);
// Breaks every connection of the filters' pins: connected filters hold each other.
void disconnectAll(std::initializer_list<IBaseFilter*> filters);

}  // namespace dstest
