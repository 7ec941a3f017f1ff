// The graph's event queue (IMediaEventEx). Filters report through the graph's
// IMediaEventSink; the application reads with GetEvent, oldest first, and may have a
// window message posted for each event queued (SetNotifyWindow), from whatever thread
// the event came on.
//
// Default handling of EC_COMPLETE: the renderers' completions are collected and one
// EC_COMPLETE is queued when every renderer of the run has finished its stream.
// CancelDefaultHandling(EC_COMPLETE) passes each renderer's completion on instead.
#pragma once

#include <dshow/engine/ClockWait.h>
#include <dshow/engine/GraphPart.h>
#include <win32/types.h>

#include <deque>
#include <mutex>
#include <set>

namespace plat {

class GraphEvents : public IMediaEventEx {
 public:
  explicit GraphEvents(IUnknown* owner) : m_owner(owner) {}
  GraphEvents(const GraphEvents&) = delete;
  GraphEvents& operator=(const GraphEvents&) = delete;

  ORVANE_GRAPH_PART_IUNKNOWN
  ORVANE_NO_DISPATCH

  // IMediaEvent
  STDMETHODIMP GetEventHandle(OAEVENT* hEvent) override;
  STDMETHODIMP GetEvent(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, long msTimeout) override;
  STDMETHODIMP WaitForCompletion(long msTimeout, long* pEvCode) override;
  STDMETHODIMP CancelDefaultHandling(long lEvCode) override;
  STDMETHODIMP RestoreDefaultHandling(long lEvCode) override;
  STDMETHODIMP FreeEventParams(long lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) override;
  // IMediaEventEx
  STDMETHODIMP SetNotifyWindow(OAHWND hwnd, long lMsg, LONG_PTR lInstanceData) override;
  STDMETHODIMP SetNotifyFlags(long lNoNotifyFlags) override;
  STDMETHODIMP GetNotifyFlags(long* lplNoNotifyFlags) override;

  // A filter's event, with default handling applied.
  void notify(long code, LONG_PTR param1, LONG_PTR param2);
  // A new run of the graph starts: completions are counted afresh for these renderers.
  void startRun(std::set<LONG_PTR> renderers);
  // Stopped: completions arriving now are not counted.
  void stopRun();

 private:
  struct Event {
    long code;
    LONG_PTR param1;
    LONG_PTR param2;
  };
  void queue(const Event& event);

  IUnknown* m_owner;
  std::mutex m_lock;
  std::deque<Event> m_events;
  OAHWND m_window = 0;
  long m_message = 0;
  LONG_PTR m_instance = 0;
  long m_flags = 0;
  std::set<long> m_noDefault;
  std::set<LONG_PTR> m_renderers;  // still to complete in this run
  bool m_counting = false;
  ClockWait m_wait;
};

}  // namespace plat
