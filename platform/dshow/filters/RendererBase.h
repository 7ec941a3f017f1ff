// The base of the platform's renderers: one input pin; each sample is shown when the
// graph clock reaches its start time (at once when it is late or has no time, or when
// the graph runs without a clock). Paused, the first sample is shown as a still and
// the stream waits until the graph runs; GetState reports VFW_S_STATE_INTERMEDIATE
// until that still has come. A sample shown while running serves as the still of a pause
// that follows, so a pause keeps the picture of its position rather than showing the
// next one before its time. End of stream reaches the graph as EC_COMPLETE once the
// graph runs. Flushing and stopping end any wait at once, so they never deadlock with
// the streaming thread.
//
// Seeking passes upstream (a renderer's pass-through); the filter says it is a renderer
// through IAMFilterMiscFlags.
#pragma once

#include <com/ComPtr.h>
#include <dshow/baseclasses/CBaseFilter.h>
#include <dshow/baseclasses/CBaseInputPin.h>
#include <dshow/engine/ClockWait.h>

#include <atomic>
#include <memory>

namespace plat {

class RendererBase : public CBaseFilter, public IAMFilterMiscFlags {
 public:
  RendererBase(const char* name, LPUNKNOWN outer, REFCLSID clsid, HRESULT* phr, LPCWSTR pinName = L"Input");
  ~RendererBase() override;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;
  STDMETHODIMP GetState(DWORD dwMSecs, FILTER_STATE* State) override;
  STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

  // What the derived renderer takes and how it shows a sample (on the streaming thread).
  virtual HRESULT CheckMediaType(const CMediaType* pmt) = 0;
  virtual HRESULT render(IMediaSample* sample) = 0;
  virtual HRESULT SetMediaType(const CMediaType*) { return S_OK; }
  virtual void BreakConnect() {}

  CBaseInputPin* input();
  std::uint64_t samplesRendered() const { return m_rendered; }

 protected:
  CCritSec m_lock;

 private:
  class Pin;
  friend class Pin;

  HRESULT receive(IMediaSample* sample);
  void endOfStream();
  void beginFlush();
  void endFlush();

  std::unique_ptr<Pin> m_pin;
  ComPtr<IUnknown> m_seeking;
  ClockWait m_wait;
  std::atomic<bool> m_shown{false};  // a sample since the stream started or was flushed
  std::atomic<bool> m_endOfStream{false};
  std::atomic<bool> m_completionSent{false};
  std::atomic<std::uint64_t> m_rendered{0};
};

}  // namespace plat
