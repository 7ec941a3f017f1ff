// The graph's IBasicAudio: volume and balance of the first filter offering it (the
// audio renderer); E_NOTIMPL without one.
#pragma once

#include <com/ComPtr.h>
#include <dshow/engine/GraphPart.h>

namespace plat {

class FilterGraph;

class GraphAudio : public IBasicAudio {
 public:
  explicit GraphAudio(FilterGraph& graph);
  GraphAudio(const GraphAudio&) = delete;
  GraphAudio& operator=(const GraphAudio&) = delete;

  ORVANE_GRAPH_PART_IUNKNOWN
  ORVANE_NO_DISPATCH

  STDMETHODIMP put_Volume(long lVolume) override;
  STDMETHODIMP get_Volume(long* plVolume) override;
  STDMETHODIMP put_Balance(long lBalance) override;
  STDMETHODIMP get_Balance(long* plBalance) override;

 private:
  ComPtr<IBasicAudio> renderer();

  FilterGraph& m_graph;
  IUnknown* m_owner;
};

}  // namespace plat
