// The filter graph manager (CLSID_FilterGraph): the filters of one graph under their
// names, their connections, the graph's state and clock, and the interfaces an
// application drives it with. Connecting through intermediate filters and rendering is
// IntelligentConnect's; events, run control, seeking and the video and audio controls
// are parts of the graph object of their own (GraphEvents, GraphControl, GraphSeeking,
// GraphVideo, GraphAudio).
//
// State changes reach the filters downstream first (renderers before their sources), so
// nothing is pushed into a filter that is not ready and a stop never leaves a thread
// blocked downstream. The graph holds each filter; a filter holds the graph only weakly.
// Streaming threads never take the graph's lock: they reach it only through
// IMediaEventSink, which goes to the event queue. Locks are taken graph first, then the
// filters a connection joins, upstream before downstream; a pin that asks for a
// reconnection while connecting has it carried out once that connection is made.
#pragma once

#include <com/ComPtr.h>
#include <dshow/baseclasses/CCritSec.h>
#include <dshow/baseclasses/CMediaType.h>
#include <dshow/baseclasses/CUnknown.h>
#include <dshow/engine/GraphAudio.h>
#include <dshow/engine/GraphControl.h>
#include <dshow/engine/GraphEvents.h>
#include <dshow/engine/GraphSeeking.h>
#include <dshow/engine/GraphVideo.h>

#include <optional>
#include <string>
#include <vector>

namespace plat {

class FilterGraph : public CUnknown, public IFilterGraph2, public IMediaEventSink, public IMediaFilter, public IAMGraphStreams {
 public:
  FilterGraph(LPUNKNOWN outer, HRESULT* phr);
  ~FilterGraph() override;

  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // IFilterGraph
  STDMETHODIMP AddFilter(IBaseFilter* pFilter, LPCWSTR pName) override;
  STDMETHODIMP RemoveFilter(IBaseFilter* pFilter) override;
  STDMETHODIMP EnumFilters(IEnumFilters** ppEnum) override;
  STDMETHODIMP FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter) override;
  STDMETHODIMP ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP Reconnect(IPin* ppin) override;
  STDMETHODIMP Disconnect(IPin* ppin) override;
  STDMETHODIMP SetDefaultSyncSource() override;
  // IGraphBuilder
  STDMETHODIMP Connect(IPin* ppinOut, IPin* ppinIn) override;
  STDMETHODIMP Render(IPin* ppinOut) override;
  STDMETHODIMP RenderFile(LPCWSTR lpcwstrFile, LPCWSTR lpcwstrPlayList) override;
  STDMETHODIMP AddSourceFilter(LPCWSTR lpcwstrFileName, LPCWSTR lpcwstrFilterName, IBaseFilter** ppFilter) override;
  STDMETHODIMP SetLogFile(DWORD_PTR hFile) override;
  STDMETHODIMP Abort() override;
  STDMETHODIMP ShouldOperationContinue() override;
  // IFilterGraph2
  STDMETHODIMP AddSourceFilterForMoniker(IMoniker* pMoniker, IBindCtx* pCtx, LPCWSTR lpcwstrFilterName,
                                         IBaseFilter** ppFilter) override;
  STDMETHODIMP ReconnectEx(IPin* ppin, const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP RenderEx(IPin* pPinOut, DWORD dwFlags, DWORD* pvContext) override;
  // IMediaEventSink
  STDMETHODIMP Notify(long EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) override;
  // IMediaFilter (IPersist)
  STDMETHODIMP GetClassID(CLSID* pClassID) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;
  STDMETHODIMP GetState(DWORD dwMilliSecsTimeout, FILTER_STATE* State) override;
  STDMETHODIMP SetSyncSource(IReferenceClock* pClock) override;
  STDMETHODIMP GetSyncSource(IReferenceClock** pClock) override;
  // IAMGraphStreams
  STDMETHODIMP FindUpstreamInterface(IPin* pPin, REFIID riid, void** ppvInterface, DWORD dwFlags) override;
  STDMETHODIMP SyncUsingStreamOffset(BOOL bUseStreamOffset) override;
  STDMETHODIMP SetMaxGraphLatency(REFERENCE_TIME rtMaxGraphLatency) override;

  // ---- for the graph's parts and the builders
  std::vector<ComPtr<IBaseFilter>> filters();
  std::vector<ComPtr<IBaseFilter>> renderers();
  bool contains(IBaseFilter* filter);
  FILTER_STATE state();
  // Run with the clock starting now (or resuming where a pause left the stream time).
  HRESULT runGraph();
  // Time since the run started, on the stream's time line; frozen while paused.
  REFERENCE_TIME streamTime();
  // After a seek: the stream time starts again from zero.
  void restartStreamTime();
  GraphEvents& events() { return m_events; }
  CCritSec& lock() { return m_lock; }
  LONG version() const { return m_version; }

 private:
  struct Entry {
    ComPtr<IBaseFilter> filter;
    std::wstring name;
  };

  std::vector<Entry>::iterator find(IBaseFilter* filter);
  bool nameTaken(const std::wstring& name) const;
  // The filters ordered so that each comes before every filter upstream of it.
  std::vector<ComPtr<IBaseFilter>> downstreamFirst();
  HRESULT changeState(FILTER_STATE target, REFERENCE_TIME tStart);
  // Every connection the graph makes; reconnections asked for while it is being made
  // follow once it is.
  HRESULT connectPins(IPin* out, IPin* in, const AM_MEDIA_TYPE* pmt);
  HRESULT reconnectNow(IPin* ppin, const AM_MEDIA_TYPE* pmt);
  void chooseClockIfNone();
  // Every filter with no downstream neighbour that reports completions, as event keys.
  std::set<LONG_PTR> completionKeys();

  CCritSec m_lock;
  std::vector<Entry> m_filters;
  LONG m_version = 0;
  FILTER_STATE m_state = State_Stopped;
  ComPtr<IReferenceClock> m_clock;
  bool m_clockChosen = false;  // SetSyncSource was called (even with null)
  REFERENCE_TIME m_tStart = 0;
  REFERENCE_TIME m_pausedStreamTime = 0;
  unsigned m_generatedNames = 0;
  struct PendingReconnect {
    ComPtr<IPin> pin;
    std::optional<CMediaType> type;
  };
  int m_connecting = 0;        // pin connections in progress, nested
  bool m_reconnecting = false;  // carrying out the pending reconnections
  std::vector<PendingReconnect> m_pendingReconnects;

  GraphEvents m_events;
  GraphControl m_control;
  GraphSeeking m_seeking;
  GraphVideo m_video;
  GraphAudio m_audio;
};

}  // namespace plat
