#include <dshow/des/RenderEngine.h>

#include <com/objbase.h>
#include <dshow/des/Timeline.h>
#include <dshow/control.h>
#include <dshow/engine/Pins.h>
#include <dshow/uuids.h>

#include <new>
#include <string>

namespace plat {

RenderEngine::RenderEngine(LPUNKNOWN outer, HRESULT* phr) : CUnknown("Render Engine", outer, phr) {}

RenderEngine::~RenderEngine() { ScrapIt(); }

CUnknown* RenderEngine::CreateInstance(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow) RenderEngine(outer, phr);
}

STDMETHODIMP RenderEngine::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IRenderEngine) return GetInterface(static_cast<IRenderEngine*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP RenderEngine::SetTimelineObject(IAMTimeline* pTimeline) {
  CheckPointer(pTimeline, E_POINTER);
  if (!Timeline::from(pTimeline)) return E_INVALIDARG;
  std::lock_guard guard(m_lock);
  if (m_timeline.get() == pTimeline) return S_OK;
  m_timeline = ComPtr<IAMTimeline>(pTimeline);
  return S_OK;
}

STDMETHODIMP RenderEngine::GetTimelineObject(IAMTimeline** ppTimeline) {
  CheckPointer(ppTimeline, E_POINTER);
  std::lock_guard guard(m_lock);
  *ppTimeline = ComPtr<IAMTimeline>(m_timeline).detach();
  return *ppTimeline ? S_OK : S_FALSE;
}

STDMETHODIMP RenderEngine::GetFilterGraph(IGraphBuilder** ppFG) {
  CheckPointer(ppFG, E_POINTER);
  std::lock_guard guard(m_lock);
  *ppFG = ComPtr<IGraphBuilder>(m_graph).detach();
  return *ppFG ? S_OK : S_FALSE;
}

HRESULT RenderEngine::makeGraph() {
  if (m_graph) return S_OK;
  return CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, m_graph.putVoid());
}

void RenderEngine::emptyGraph() {
  m_front.clear();
  if (!m_graph) return;
  ComPtr<IMediaControl> control;
  if (SUCCEEDED(m_graph->QueryInterface(IID_IMediaControl, control.putVoid()))) control->Stop();
  ComPtr<IEnumFilters> walk;
  if (FAILED(m_graph->EnumFilters(walk.put()))) return;
  std::vector<ComPtr<IBaseFilter>> all;
  IBaseFilter* next = nullptr;
  while (walk->Next(1, &next, nullptr) == S_OK) all.push_back(ComPtr<IBaseFilter>::adopt(next));
  for (const auto& filter : all) m_graph->RemoveFilter(filter.get());
}

STDMETHODIMP RenderEngine::ConnectFrontEnd() {
  std::lock_guard guard(m_lock);
  Timeline* timeline = Timeline::from(m_timeline.get());
  if (!timeline) return E_UNEXPECTED;
  if (const HRESULT hr = makeGraph(); FAILED(hr)) return hr;
  const auto groups = timeline->groups();
  REFERENCE_TIME end = 0;
  m_timeline->GetDuration(&end);

  bool sameGroups = groups.size() == m_front.size();
  for (size_t i = 0; sameGroups && i < groups.size(); ++i) {
    const GroupFormat wanted = GroupFormat::of(groups[i]->majorType() == MEDIATYPE_Video, groups[i]->clips());
    const GroupFormat& have = m_front[i].source->pin()->format();
    sameGroups = m_front[i].group.get() == groups[i].get() && wanted.video == have.video && wanted.width == have.width &&
                 wanted.height == have.height && wanted.frameTime == have.frameTime &&
                 wanted.sampleRate == have.sampleRate && wanted.channels == have.channels;
  }
  if (sameGroups) {
    for (Front& front : m_front) {
      auto clips = front.group->clips();
      if (clips == front.source->pin()->clips()) continue;
      // New clips go to a stopped stream only.
      if (front.source->IsActive()) return VFW_E_WRONG_STATE;
      front.source->pin()->setClips(std::move(clips), end);
    }
    return S_OK;
  }

  emptyGraph();
  for (size_t i = 0; i < groups.size(); ++i) {
    const bool video = groups[i]->majorType() == MEDIATYPE_Video;
    auto clips = groups[i]->clips();
    HRESULT hr = S_OK;
    auto* source = new (std::nothrow) GroupSource(GroupFormat::of(video, clips), &hr);
    if (!source) return E_OUTOFMEMORY;
    ComPtr<IBaseFilter> filter(static_cast<IBaseFilter*>(source));
    if (FAILED(hr)) return hr;
    source->pin()->setClips(std::move(clips), end);
    const std::wstring name = (video ? L"Video Group " : L"Audio Group ") + std::to_wstring(i);
    hr = m_graph->AddFilter(filter.get(), name.c_str());
    if (FAILED(hr)) return hr;
    m_front.push_back({groups[i], source, filter});
  }
  return S_WARN_OUTPUTRESET;
}

STDMETHODIMP RenderEngine::RenderOutputPins() {
  std::lock_guard guard(m_lock);
  if (!m_graph) return E_UNEXPECTED;
  for (const Front& front : m_front) {
    IPin* pin = front.source->pin();
    if (Pins::peer(pin)) continue;
    if (const HRESULT hr = m_graph->Render(pin); FAILED(hr)) return hr;
  }
  return S_OK;
}

STDMETHODIMP RenderEngine::GetGroupOutputPin(long Group, IPin** ppRenderPin) {
  CheckPointer(ppRenderPin, E_POINTER);
  *ppRenderPin = nullptr;
  std::lock_guard guard(m_lock);
  if (Group < 0 || Group >= static_cast<long>(m_front.size())) return E_INVALIDARG;
  return GetInterface(static_cast<IPin*>(m_front[static_cast<size_t>(Group)].source->pin()),
                      reinterpret_cast<void**>(ppRenderPin));
}

STDMETHODIMP RenderEngine::ScrapIt() {
  std::lock_guard guard(m_lock);
  emptyGraph();
  m_graph.reset();
  return S_OK;
}

}  // namespace plat
