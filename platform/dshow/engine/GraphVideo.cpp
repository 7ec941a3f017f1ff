#include <dshow/engine/GraphVideo.h>

#include <dshow/engine/FilterGraph.h>

namespace plat {

GraphVideo::GraphVideo(FilterGraph& graph) : m_graph(graph), m_owner(graph.GetOwner()) {}

template <class Itf>
ComPtr<Itf> GraphVideo::renderer(REFIID iid) {
  for (const ComPtr<IBaseFilter>& filter : m_graph.filters()) {
    ComPtr<Itf> found;
    if (SUCCEEDED(filter->QueryInterface(iid, found.putVoid()))) return found;
  }
  return {};
}

template ComPtr<IVideoWindow> GraphVideo::renderer<IVideoWindow>(REFIID);
template ComPtr<IBasicVideo> GraphVideo::renderer<IBasicVideo>(REFIID);

}  // namespace plat
