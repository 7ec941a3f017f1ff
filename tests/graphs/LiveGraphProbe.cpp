#include "LiveGraphProbe.h"

#include "graphs/CGraphBase.h"

#include <chrono>
#include <thread>

namespace test {

bool ShowFrames(plat::Machine& machine, const std::shared_ptr<plat::VideoSurface>& surface, int frames) {
  if (!surface) return false;
  for (int i = 0; i < frames; ++i) {
    const auto before = surface->framesShown();
    machine.clock().advance(40);
    bool shown = false;
    for (int wait = 0; wait < 5000 && !shown; ++wait) {
      shown = surface->framesShown() > before;
      if (!shown) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!shown) return false;
  }
  return true;
}

std::vector<std::wstring> GraphFilterNames(CCaptureGraph* graph) {
  std::vector<std::wstring> list;
  IGraphBuilder* builder = graph && graph->GetGraphBase() ? graph->GetGraphBase()->GetGraph() : nullptr;
  IEnumFilters* walk = nullptr;
  if (!builder || FAILED(builder->EnumFilters(&walk))) return list;
  IBaseFilter* filter = nullptr;
  while (walk->Next(1, &filter, nullptr) == S_OK) {
    FILTER_INFO info{};
    filter->QueryFilterInfo(&info);
    if (info.pGraph) info.pGraph->Release();
    list.push_back(info.achName);
    filter->Release();
  }
  walk->Release();
  return list;
}

}  // namespace test
