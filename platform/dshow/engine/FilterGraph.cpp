#include <dshow/engine/FilterGraph.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/engine/EnumFilters.h>
#include <dshow/engine/IntelligentConnect.h>
#include <dshow/engine/Pins.h>
#include <dshow/engine/SystemClock.h>
#include <dshow/evcode.h>
#include <machine/Log.h>

#include <algorithm>
#include <new>
#include <set>

namespace plat {

FilterGraph::FilterGraph(LPUNKNOWN outer, HRESULT* phr)
    : CUnknown("Filter graph", outer, phr),
      m_events(GetOwner()),
      m_control(*this),
      m_seeking(*this),
      m_video(*this),
      m_audio(*this) {}

FilterGraph::~FilterGraph() {
  Stop();
  // Filters leave in reverse order, each with its connections broken first.
  while (!m_filters.empty()) RemoveFilter(m_filters.back().filter.get());
}

CUnknown* FilterGraph::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) FilterGraph(outer, phr); }

STDMETHODIMP FilterGraph::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IFilterGraph) return GetInterface(static_cast<IFilterGraph*>(this), ppv);
  if (riid == IID_IGraphBuilder) return GetInterface(static_cast<IGraphBuilder*>(this), ppv);
  if (riid == IID_IFilterGraph2) return GetInterface(static_cast<IFilterGraph2*>(this), ppv);
  if (riid == IID_IMediaEventSink) return GetInterface(static_cast<IMediaEventSink*>(this), ppv);
  if (riid == IID_IMediaFilter) return GetInterface(static_cast<IMediaFilter*>(this), ppv);
  if (riid == IID_IPersist) return GetInterface(static_cast<IPersist*>(this), ppv);
  if (riid == IID_IAMGraphStreams) return GetInterface(static_cast<IAMGraphStreams*>(this), ppv);
  if (riid == IID_IMediaControl) return GetInterface(static_cast<IMediaControl*>(&m_control), ppv);
  if (riid == IID_IMediaEvent || riid == IID_IMediaEventEx) return GetInterface(static_cast<IMediaEventEx*>(&m_events), ppv);
  if (riid == IID_IMediaSeeking) return GetInterface(static_cast<IMediaSeeking*>(&m_seeking), ppv);
  if (riid == IID_IMediaPosition) return GetInterface(static_cast<IMediaPosition*>(&m_seeking), ppv);
  if (riid == IID_IVideoWindow) return GetInterface(static_cast<IVideoWindow*>(&m_video), ppv);
  if (riid == IID_IBasicVideo) return GetInterface(static_cast<IBasicVideo*>(&m_video), ppv);
  if (riid == IID_IBasicAudio) return GetInterface(static_cast<IBasicAudio*>(&m_audio), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

// ---- filters

std::vector<FilterGraph::Entry>::iterator FilterGraph::find(IBaseFilter* filter) {
  return std::find_if(m_filters.begin(), m_filters.end(), [&](const Entry& e) { return e.filter.get() == filter; });
}

bool FilterGraph::nameTaken(const std::wstring& name) const {
  return std::any_of(m_filters.begin(), m_filters.end(), [&](const Entry& e) { return e.name == name; });
}

STDMETHODIMP FilterGraph::AddFilter(IBaseFilter* pFilter, LPCWSTR pName) {
  CheckPointer(pFilter, E_POINTER);
  CAutoLock lock(&m_lock);
  if (find(pFilter) != m_filters.end()) return S_FALSE;  // already a member: nothing to do
  std::wstring name = pName && *pName ? pName : L"Filter";
  HRESULT result = S_OK;
  if (nameTaken(name)) {
    // Names stay unique: a taken name gets a number, as the real graph does.
    const std::wstring base = name;
    do {
      wchar_t suffix[16];
      swprintf(suffix, 16, L" %04u", ++m_generatedNames);
      name = base + suffix;
    } while (nameTaken(name));
    result = VFW_S_DUPLICATE_NAME;
  }
  const HRESULT hr = pFilter->JoinFilterGraph(static_cast<IFilterGraph*>(this), name.c_str());
  if (FAILED(hr)) return hr;
  if (m_clock) pFilter->SetSyncSource(m_clock.get());
  m_filters.push_back({ComPtr<IBaseFilter>(pFilter), name});
  ++m_version;
  PLAT_LOG("dshow", "AddFilter %ls", name.c_str());
  return result;
}

STDMETHODIMP FilterGraph::RemoveFilter(IBaseFilter* pFilter) {
  CheckPointer(pFilter, E_POINTER);
  CAutoLock lock(&m_lock);
  auto it = find(pFilter);
  if (it == m_filters.end()) return VFW_E_NOT_FOUND;
  ComPtr<IBaseFilter> filter = it->filter;
  if (m_state != State_Stopped) filter->Stop();
  for (const ComPtr<IPin>& pin : Pins::of(filter.get())) {
    if (ComPtr<IPin> other = Pins::peer(pin.get())) {
      other->Disconnect();
      pin->Disconnect();
    }
  }
  filter->SetSyncSource(nullptr);
  filter->JoinFilterGraph(nullptr, nullptr);
  m_filters.erase(find(pFilter));
  ++m_version;
  return S_OK;
}

STDMETHODIMP FilterGraph::EnumFilters(IEnumFilters** ppEnum) {
  CheckPointer(ppEnum, E_POINTER);
  auto* walk = new (std::nothrow) plat::EnumFilters(*this);
  *ppEnum = walk;
  if (!walk) return E_OUTOFMEMORY;
  walk->AddRef();
  return S_OK;
}

STDMETHODIMP FilterGraph::FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter) {
  CheckPointer(pName, E_POINTER);
  CheckPointer(ppFilter, E_POINTER);
  CAutoLock lock(&m_lock);
  *ppFilter = nullptr;
  for (const Entry& entry : m_filters) {
    if (entry.name == pName) {
      *ppFilter = entry.filter.get();
      (*ppFilter)->AddRef();
      return S_OK;
    }
  }
  return VFW_E_NOT_FOUND;
}

std::vector<ComPtr<IBaseFilter>> FilterGraph::filters() {
  CAutoLock lock(&m_lock);
  std::vector<ComPtr<IBaseFilter>> list;
  list.reserve(m_filters.size());
  for (const Entry& entry : m_filters) list.push_back(entry.filter);
  return list;
}

std::vector<ComPtr<IBaseFilter>> FilterGraph::renderers() {
  std::vector<ComPtr<IBaseFilter>> list;
  for (ComPtr<IBaseFilter>& filter : filters())
    if (Pins::isRenderer(filter.get())) list.push_back(std::move(filter));
  return list;
}

bool FilterGraph::contains(IBaseFilter* filter) {
  CAutoLock lock(&m_lock);
  return find(filter) != m_filters.end();
}

// ---- connections

STDMETHODIMP FilterGraph::ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) {
  CheckPointer(ppinOut, E_POINTER);
  CheckPointer(ppinIn, E_POINTER);
  CAutoLock lock(&m_lock);
  ComPtr<IBaseFilter> up = Pins::filterOf(ppinOut);
  ComPtr<IBaseFilter> down = Pins::filterOf(ppinIn);
  if (!up || !down || !contains(up.get()) || !contains(down.get())) return VFW_E_NOT_IN_GRAPH;
  if (Pins::direction(ppinOut) != PINDIR_OUTPUT || Pins::direction(ppinIn) != PINDIR_INPUT) return VFW_E_INVALID_DIRECTION;
  if (m_state != State_Stopped) return VFW_E_NOT_STOPPED;
  return connectPins(ppinOut, ppinIn, pmt);
}

STDMETHODIMP FilterGraph::Reconnect(IPin* ppin) { return ReconnectEx(ppin, nullptr); }

STDMETHODIMP FilterGraph::ReconnectEx(IPin* ppin, const AM_MEDIA_TYPE* pmt) {
  CheckPointer(ppin, E_POINTER);
  CAutoLock lock(&m_lock);
  if (!Pins::peer(ppin)) return VFW_E_NOT_CONNECTED;
  // Asked by a pin in the middle of a connection, which holds the locks of the filters it
  // joins: reconnecting now would lock a filter upstream of them after them, the reverse of
  // every connection's order. The request waits until that connection is made.
  if (m_connecting > 0 || m_reconnecting) {
    m_pendingReconnects.push_back({ComPtr<IPin>(ppin), pmt ? std::optional<CMediaType>(CMediaType(*pmt)) : std::nullopt});
    return S_OK;
  }
  return reconnectNow(ppin, pmt);
}

HRESULT FilterGraph::reconnectNow(IPin* ppin, const AM_MEDIA_TYPE* pmt) {
  ComPtr<IPin> other = Pins::peer(ppin);
  if (!other) return VFW_E_NOT_CONNECTED;
  IPin* out = Pins::direction(ppin) == PINDIR_OUTPUT ? ppin : other.get();
  IPin* in = out == ppin ? other.get() : ppin;
  ComPtr<IPin> keepOut(out), keepIn(in);
  out->Disconnect();
  in->Disconnect();
  return connectPins(out, in, pmt);
}

HRESULT FilterGraph::connectPins(IPin* out, IPin* in, const AM_MEDIA_TYPE* pmt) {
  ++m_connecting;
  const HRESULT hr = out->Connect(in, pmt);
  --m_connecting;
  if (m_connecting > 0 || m_reconnecting) return hr;
  // The outermost connection is made and no pin holds a lock: carry out the reconnections
  // asked for meanwhile, and those they ask for in turn. A pair of pins that kept asking
  // each other would loop; they get a generous number of rounds.
  constexpr int kMostReconnects = 64;
  m_reconnecting = true;
  HRESULT hrLater = S_OK;
  for (int round = 0; round < kMostReconnects && !m_pendingReconnects.empty() && SUCCEEDED(hrLater); ++round) {
    const PendingReconnect next = std::move(m_pendingReconnects.front());
    m_pendingReconnects.erase(m_pendingReconnects.begin());
    hrLater = reconnectNow(next.pin.get(), next.type ? &*next.type : nullptr);
  }
  m_pendingReconnects.clear();
  m_reconnecting = false;
  if (FAILED(hr) || SUCCEEDED(hrLater)) return hr;
  // The connection stands or falls with the reconnection it needed, as if made at once.
  out->Disconnect();
  in->Disconnect();
  return hrLater;
}

STDMETHODIMP FilterGraph::Disconnect(IPin* ppin) {
  CheckPointer(ppin, E_POINTER);
  return ppin->Disconnect();
}

STDMETHODIMP FilterGraph::Connect(IPin* ppinOut, IPin* ppinIn) {
  CAutoLock lock(&m_lock);
  return IntelligentConnect(*this).connect(ppinOut, ppinIn);
}

STDMETHODIMP FilterGraph::Render(IPin* ppinOut) {
  CAutoLock lock(&m_lock);
  return IntelligentConnect(*this).render(ppinOut, false);
}

STDMETHODIMP FilterGraph::RenderFile(LPCWSTR lpcwstrFile, LPCWSTR) {
  CheckPointer(lpcwstrFile, E_POINTER);
  CAutoLock lock(&m_lock);
  return IntelligentConnect(*this).renderFile(lpcwstrFile);
}

STDMETHODIMP FilterGraph::AddSourceFilter(LPCWSTR lpcwstrFileName, LPCWSTR lpcwstrFilterName, IBaseFilter** ppFilter) {
  CAutoLock lock(&m_lock);
  return IntelligentConnect(*this).addSourceFilter(lpcwstrFileName, lpcwstrFilterName, ppFilter);
}

STDMETHODIMP FilterGraph::SetLogFile(DWORD_PTR) { return S_OK; }

STDMETHODIMP FilterGraph::Abort() { return S_OK; }

STDMETHODIMP FilterGraph::ShouldOperationContinue() { return S_OK; }

STDMETHODIMP FilterGraph::AddSourceFilterForMoniker(IMoniker* pMoniker, IBindCtx* pCtx, LPCWSTR lpcwstrFilterName,
                                                    IBaseFilter** ppFilter) {
  CheckPointer(pMoniker, E_POINTER);
  CheckPointer(ppFilter, E_POINTER);
  ComPtr<IBaseFilter> filter;
  HRESULT hr = pMoniker->BindToObject(pCtx, nullptr, IID_IBaseFilter, filter.putVoid());
  if (FAILED(hr)) return hr;
  hr = AddFilter(filter.get(), lpcwstrFilterName);
  if (FAILED(hr)) return hr;
  *ppFilter = filter.detach();
  return S_OK;
}

STDMETHODIMP FilterGraph::RenderEx(IPin* pPinOut, DWORD dwFlags, DWORD*) {
  CAutoLock lock(&m_lock);
  return IntelligentConnect(*this).render(pPinOut, (dwFlags & AM_RENDEREX_RENDERTOEXISTINGRENDERERS) != 0);
}

// ---- events

STDMETHODIMP FilterGraph::Notify(long EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) {
  m_events.notify(EventCode, EventParam1, EventParam2);
  return S_OK;
}

// ---- state and clock

STDMETHODIMP FilterGraph::GetClassID(CLSID* pClassID) {
  CheckPointer(pClassID, E_POINTER);
  *pClassID = CLSID_FilterGraph;
  return S_OK;
}

std::vector<ComPtr<IBaseFilter>> FilterGraph::downstreamFirst() {
  std::vector<ComPtr<IBaseFilter>> order;
  std::set<IBaseFilter*> visited;
  auto visit = [&](auto&& self, const ComPtr<IBaseFilter>& filter) -> void {
    if (!visited.insert(filter.get()).second) return;
    for (const ComPtr<IBaseFilter>& next : Pins::neighbours(filter.get(), PINDIR_OUTPUT))
      if (contains(next.get())) self(self, next);
    order.push_back(filter);
  };
  for (const ComPtr<IBaseFilter>& filter : filters()) visit(visit, filter);
  return order;
}

std::set<LONG_PTR> FilterGraph::completionKeys() {
  std::set<LONG_PTR> keys;
  for (const ComPtr<IBaseFilter>& filter : renderers()) {
    // Only renderers fed by something send a completion.
    bool fed = false;
    for (const ComPtr<IPin>& pin : Pins::of(filter.get(), PINDIR_INPUT)) fed = fed || Pins::peer(pin.get());
    if (fed) keys.insert(reinterpret_cast<LONG_PTR>(filter.get()));
  }
  return keys;
}

void FilterGraph::chooseClockIfNone() {
  if (!m_clockChosen) SetDefaultSyncSource();
}

HRESULT FilterGraph::changeState(FILTER_STATE target, REFERENCE_TIME tStart) {
  HRESULT result = S_OK;
  for (const ComPtr<IBaseFilter>& filter : downstreamFirst()) {
    HRESULT hr = S_OK;
    if (target == State_Stopped) hr = filter->Stop();
    else if (target == State_Paused) hr = filter->Pause();
    else hr = filter->Run(tStart);
    if (FAILED(hr)) {
      PLAT_LOG("dshow", "state change to %d refused: 0x%08X", static_cast<int>(target), static_cast<unsigned>(hr));
      if (target != State_Stopped) return hr;
      result = hr;
    }
  }
  return result;
}

STDMETHODIMP FilterGraph::Stop() {
  CAutoLock lock(&m_lock);
  if (m_state != State_Stopped) m_seeking.graphStopping();
  const HRESULT hr = changeState(State_Stopped, 0);
  m_state = State_Stopped;
  m_pausedStreamTime = 0;
  m_events.stopRun();
  return hr;
}

STDMETHODIMP FilterGraph::Pause() {
  CAutoLock lock(&m_lock);
  if (m_state == State_Paused) return S_OK;
  chooseClockIfNone();
  if (m_state == State_Running) m_pausedStreamTime = streamTime();
  const FILTER_STATE from = m_state;
  if (from == State_Stopped) {
    m_seeking.graphStarting();
    m_events.startRun(completionKeys());
  }
  const HRESULT hr = changeState(State_Paused, 0);
  if (FAILED(hr)) {
    Stop();
    return hr;
  }
  m_state = State_Paused;
  return S_OK;
}

STDMETHODIMP FilterGraph::Run(REFERENCE_TIME tStart) {
  CAutoLock lock(&m_lock);
  if (m_state == State_Running) return S_OK;
  if (m_state == State_Stopped) {
    const HRESULT hr = Pause();
    if (FAILED(hr)) return hr;
  }
  m_tStart = tStart;
  const HRESULT hr = changeState(State_Running, tStart);
  if (FAILED(hr)) {
    Stop();
    return hr;
  }
  m_state = State_Running;
  return S_OK;
}

HRESULT FilterGraph::runGraph() {
  CAutoLock lock(&m_lock);
  if (m_state == State_Running) return S_OK;
  if (m_state == State_Stopped) {
    const HRESULT hr = Pause();
    if (FAILED(hr)) return hr;
  }
  // Stream time goes on from where the pause left it.
  REFERENCE_TIME now = 0;
  if (m_clock) m_clock->GetTime(&now);
  return Run(m_clock ? now - m_pausedStreamTime : 0);
}

STDMETHODIMP FilterGraph::GetState(DWORD dwMilliSecsTimeout, FILTER_STATE* State) {
  CheckPointer(State, E_POINTER);
  std::vector<ComPtr<IBaseFilter>> members;
  {
    CAutoLock lock(&m_lock);
    *State = m_state;
    members = downstreamFirst();
  }
  // Asked outside the lock: a renderer may wait for its first sample. A live source that
  // cannot cue while paused settles the answer first, since no sample will reach a renderer.
  FILTER_STATE filterState = State_Stopped;
  for (const ComPtr<IBaseFilter>& filter : members) {
    const HRESULT hr = filter->GetState(0, &filterState);
    if (FAILED(hr)) return hr;
    if (hr == VFW_S_CANT_CUE) return hr;
  }
  HRESULT result = S_OK;
  for (const ComPtr<IBaseFilter>& filter : members) {
    const HRESULT hr = filter->GetState(dwMilliSecsTimeout, &filterState);
    if (FAILED(hr)) return hr;
    if (hr == VFW_S_STATE_INTERMEDIATE) result = hr;
  }
  return result;
}

FILTER_STATE FilterGraph::state() {
  CAutoLock lock(&m_lock);
  return m_state;
}

REFERENCE_TIME FilterGraph::streamTime() {
  CAutoLock lock(&m_lock);
  if (m_state == State_Stopped) return 0;
  if (m_state == State_Paused || !m_clock) return m_pausedStreamTime;
  REFERENCE_TIME now = 0;
  m_clock->GetTime(&now);
  return std::max<REFERENCE_TIME>(now - m_tStart, 0);
}

void FilterGraph::restartStreamTime() {
  CAutoLock lock(&m_lock);
  m_pausedStreamTime = 0;
  if (m_state != State_Stopped) m_events.startRun(completionKeys());
}

STDMETHODIMP FilterGraph::SetSyncSource(IReferenceClock* pClock) {
  CAutoLock lock(&m_lock);
  if (m_state == State_Running) return VFW_E_NOT_STOPPED;
  m_clock = ComPtr<IReferenceClock>(pClock);
  m_clockChosen = true;
  for (const Entry& entry : m_filters) entry.filter->SetSyncSource(pClock);
  m_events.notify(EC_CLOCK_CHANGED, 0, 0);
  return S_OK;
}

STDMETHODIMP FilterGraph::GetSyncSource(IReferenceClock** pClock) {
  CheckPointer(pClock, E_POINTER);
  CAutoLock lock(&m_lock);
  *pClock = m_clock.get();
  if (*pClock) (*pClock)->AddRef();
  return S_OK;
}

STDMETHODIMP FilterGraph::SetDefaultSyncSource() {
  CAutoLock lock(&m_lock);
  // A filter with a clock of its own (an audio renderer) is preferred, as on Windows.
  for (const Entry& entry : m_filters) {
    ComPtr<IReferenceClock> clock;
    if (SUCCEEDED(entry.filter->QueryInterface(IID_IReferenceClock, clock.putVoid()))) return SetSyncSource(clock.get());
  }
  HRESULT hr = S_OK;
  CUnknown* created = SystemClock::CreateInstance(nullptr, &hr);
  if (!created) return E_OUTOFMEMORY;
  ComPtr<IReferenceClock> clock;
  created->NonDelegatingQueryInterface(IID_IReferenceClock, clock.putVoid());
  return SetSyncSource(clock.get());
}

// ---- IAMGraphStreams

STDMETHODIMP FilterGraph::FindUpstreamInterface(IPin* pPin, REFIID riid, void** ppvInterface, DWORD) {
  CheckPointer(pPin, E_POINTER);
  CheckPointer(ppvInterface, E_POINTER);
  *ppvInterface = nullptr;
  ComPtr<IPin> upstream = Pins::direction(pPin) == PINDIR_INPUT ? Pins::peer(pPin) : ComPtr<IPin>(pPin);
  if (!upstream) return E_NOINTERFACE;
  if (SUCCEEDED(upstream->QueryInterface(riid, ppvInterface))) return S_OK;
  ComPtr<IBaseFilter> filter = Pins::filterOf(upstream.get());
  if (filter && SUCCEEDED(filter->QueryInterface(riid, ppvInterface))) return S_OK;
  for (const ComPtr<IPin>& in : Pins::of(filter.get(), PINDIR_INPUT))
    if (SUCCEEDED(FindUpstreamInterface(in.get(), riid, ppvInterface, 0))) return S_OK;
  return E_NOINTERFACE;
}

STDMETHODIMP FilterGraph::SyncUsingStreamOffset(BOOL) { return S_OK; }

STDMETHODIMP FilterGraph::SetMaxGraphLatency(REFERENCE_TIME) { return S_OK; }

}  // namespace plat
