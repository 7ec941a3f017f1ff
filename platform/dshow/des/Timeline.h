// The timeline object (CLSID_AMTimeline): it makes empty nodes and keeps its groups in
// the order they were added, which is the order of the render engine's output pins.
#pragma once

#include <dshow/des/TimelineNode.h>

namespace plat {

class Timeline : public CUnknown, public IAMTimeline {
 public:
  Timeline(LPUNKNOWN outer, HRESULT* phr);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // Our timeline behind the interface, or null.
  static Timeline* from(IUnknown* object);
  std::vector<ComPtr<TimelineNode>> groups();

  STDMETHODIMP CreateEmptyNode(IAMTimelineObj** ppObj, TIMELINE_MAJOR_TYPE Type) override;
  STDMETHODIMP AddGroup(IAMTimelineObj* pGroup) override;
  STDMETHODIMP GetGroupCount(long* pCount) override;
  STDMETHODIMP GetGroup(IAMTimelineObj** ppGroup, long WhichGroup) override;
  STDMETHODIMP GetDuration(REFERENCE_TIME* pDuration) override;

 private:
  std::mutex m_lock;
  std::vector<ComPtr<TimelineNode>> m_groups;
};

}  // namespace plat
