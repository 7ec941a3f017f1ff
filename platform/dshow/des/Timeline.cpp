#include <dshow/des/Timeline.h>

#include <algorithm>
#include <new>

namespace plat {

namespace {

// {5C3A6E22-7B84-4D0F-9E12-3A4B5C6D7E80}: our own timeline answers it with itself.
DEFINE_GUID(IID_PlatTimeline, 0x5C3A6E22, 0x7B84, 0x4D0F, 0x9E, 0x12, 0x3A, 0x4B, 0x5C, 0x6D, 0x7E, 0x80);

}  // namespace

Timeline::Timeline(LPUNKNOWN outer, HRESULT* phr) : CUnknown("Timeline", outer, phr) {}

CUnknown* Timeline::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) Timeline(outer, phr); }

STDMETHODIMP Timeline::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IAMTimeline || riid == IID_PlatTimeline) return GetInterface(static_cast<IAMTimeline*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

Timeline* Timeline::from(IUnknown* object) {
  if (!object) return nullptr;
  IAMTimeline* timeline = nullptr;
  if (FAILED(object->QueryInterface(IID_PlatTimeline, reinterpret_cast<void**>(&timeline)))) return nullptr;
  timeline->Release();
  return static_cast<Timeline*>(timeline);
}

std::vector<ComPtr<TimelineNode>> Timeline::groups() {
  std::lock_guard guard(m_lock);
  return m_groups;
}

STDMETHODIMP Timeline::CreateEmptyNode(IAMTimelineObj** ppObj, TIMELINE_MAJOR_TYPE Type) {
  CheckPointer(ppObj, E_POINTER);
  *ppObj = nullptr;
  if (Type != TIMELINE_MAJOR_TYPE_GROUP && Type != TIMELINE_MAJOR_TYPE_TRACK && Type != TIMELINE_MAJOR_TYPE_SOURCE)
    return E_NOTIMPL;
  auto* node = new (std::nothrow) TimelineNode(Type);
  if (!node) return E_OUTOFMEMORY;
  return GetInterface(static_cast<IAMTimelineObj*>(node), reinterpret_cast<void**>(ppObj));
}

STDMETHODIMP Timeline::AddGroup(IAMTimelineObj* pGroup) {
  TimelineNode* group = TimelineNode::from(pGroup);
  if (!group || group->type() != TIMELINE_MAJOR_TYPE_GROUP || group->majorType() == GUID_NULL) return E_INVALIDARG;
  std::lock_guard guard(m_lock);
  if (std::any_of(m_groups.begin(), m_groups.end(), [&](const auto& g) { return g.get() == group; }))
    return E_INVALIDARG;
  m_groups.push_back(ComPtr<TimelineNode>(group));
  return S_OK;
}

STDMETHODIMP Timeline::GetGroupCount(long* pCount) {
  CheckPointer(pCount, E_POINTER);
  std::lock_guard guard(m_lock);
  *pCount = static_cast<long>(m_groups.size());
  return S_OK;
}

STDMETHODIMP Timeline::GetGroup(IAMTimelineObj** ppGroup, long WhichGroup) {
  CheckPointer(ppGroup, E_POINTER);
  *ppGroup = nullptr;
  std::lock_guard guard(m_lock);
  if (WhichGroup < 0 || WhichGroup >= static_cast<long>(m_groups.size())) return E_INVALIDARG;
  return GetInterface(static_cast<IAMTimelineObj*>(m_groups[static_cast<size_t>(WhichGroup)].get()),
                      reinterpret_cast<void**>(ppGroup));
}

STDMETHODIMP Timeline::GetDuration(REFERENCE_TIME* pDuration) {
  CheckPointer(pDuration, E_POINTER);
  REFERENCE_TIME last = 0;
  for (const auto& group : groups()) last = std::max(last, group->end());
  *pDuration = last;
  return S_OK;
}

}  // namespace plat
