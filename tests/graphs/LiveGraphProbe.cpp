#include "LiveGraphProbe.h"

#include "graphs/CGraphBase.h"

namespace test {

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
