// Run control of the graph (IMediaControl).
#pragma once

#include <dshow/engine/GraphPart.h>

namespace plat {

class FilterGraph;

class GraphControl : public IMediaControl {
 public:
  explicit GraphControl(FilterGraph& graph);
  GraphControl(const GraphControl&) = delete;
  GraphControl& operator=(const GraphControl&) = delete;

  ORVANE_GRAPH_PART_IUNKNOWN
  ORVANE_NO_DISPATCH

  STDMETHODIMP Run() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Stop() override;
  // The state the graph is in or going to; VFW_S_STATE_INTERMEDIATE while a filter is
  // still on its way there after the time-out, VFW_S_CANT_CUE when a live source cannot
  // show a paused picture.
  STDMETHODIMP GetState(LONG msTimeout, OAFilterState* pfs) override;
  STDMETHODIMP RenderFile(BSTR strFilename) override;
  STDMETHODIMP AddSourceFilter(BSTR strFilename, IDispatch** ppUnk) override;
  STDMETHODIMP get_FilterCollection(IDispatch** ppUnk) override;
  STDMETHODIMP get_RegFilterCollection(IDispatch** ppUnk) override;
  STDMETHODIMP StopWhenReady() override;

 private:
  FilterGraph& m_graph;
  IUnknown* m_owner;
};

}  // namespace plat
