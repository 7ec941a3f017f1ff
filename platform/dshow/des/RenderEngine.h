// The render engine (CLSID_RenderEngine): turns a timeline into a filter graph. The
// front end is one group source per timeline group, in the timeline's group order; its
// output pins are the group outputs that a preview renders (RenderOutputPins) or that
// a save connects to a multiplexer or an encoder (GetGroupOutputPin). Connecting the
// front end again after the timeline changed hands the sources their new clips; when the
// groups themselves changed, the graph is emptied and rebuilt, and the outputs must be
// rendered again (S_WARN_OUTPUTRESET).
#pragma once

#include <com/ComPtr.h>
#include <dshow/baseclasses/CUnknown.h>
#include <dshow/des/GroupSource.h>
#include <dshow/qedit.h>

#include <mutex>
#include <vector>

namespace plat {

class RenderEngine : public CUnknown, public IRenderEngine {
 public:
  RenderEngine(LPUNKNOWN outer, HRESULT* phr);
  ~RenderEngine() override;
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  STDMETHODIMP SetTimelineObject(IAMTimeline* pTimeline) override;
  STDMETHODIMP GetTimelineObject(IAMTimeline** ppTimeline) override;
  STDMETHODIMP GetFilterGraph(IGraphBuilder** ppFG) override;
  STDMETHODIMP ConnectFrontEnd() override;
  STDMETHODIMP RenderOutputPins() override;
  STDMETHODIMP GetGroupOutputPin(long Group, IPin** ppRenderPin) override;
  STDMETHODIMP ScrapIt() override;

 private:
  struct Front {
    ComPtr<TimelineNode> group;
    GroupSource* source;  // held by `filter`
    ComPtr<IBaseFilter> filter;
  };

  HRESULT makeGraph();
  void emptyGraph();

  std::mutex m_lock;
  ComPtr<IAMTimeline> m_timeline;
  ComPtr<IGraphBuilder> m_graph;
  std::vector<Front> m_front;
};

}  // namespace plat
