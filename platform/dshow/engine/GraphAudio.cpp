#include <dshow/engine/GraphAudio.h>

#include <dshow/engine/FilterGraph.h>

namespace plat {

GraphAudio::GraphAudio(FilterGraph& graph) : m_graph(graph), m_owner(graph.GetOwner()) {}

ComPtr<IBasicAudio> GraphAudio::renderer() {
  for (const ComPtr<IBaseFilter>& filter : m_graph.filters()) {
    ComPtr<IBasicAudio> audio;
    if (SUCCEEDED(filter->QueryInterface(IID_IBasicAudio, audio.putVoid()))) return audio;
  }
  return {};
}

STDMETHODIMP GraphAudio::put_Volume(long lVolume) {
  ComPtr<IBasicAudio> audio = renderer();
  return audio ? audio->put_Volume(lVolume) : E_NOTIMPL;
}

STDMETHODIMP GraphAudio::get_Volume(long* plVolume) {
  ComPtr<IBasicAudio> audio = renderer();
  return audio ? audio->get_Volume(plVolume) : E_NOTIMPL;
}

STDMETHODIMP GraphAudio::put_Balance(long lBalance) {
  ComPtr<IBasicAudio> audio = renderer();
  return audio ? audio->put_Balance(lBalance) : E_NOTIMPL;
}

STDMETHODIMP GraphAudio::get_Balance(long* plBalance) {
  ComPtr<IBasicAudio> audio = renderer();
  return audio ? audio->get_Balance(plBalance) : E_NOTIMPL;
}

}  // namespace plat
