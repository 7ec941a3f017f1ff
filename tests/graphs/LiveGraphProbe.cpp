#include "LiveGraphProbe.h"

#include "graphs/CGraphBase.h"

#include <support/FilterNames.h>

namespace test {

std::vector<std::wstring> GraphFilterNames(CCaptureGraph* graph) {
  IGraphBuilder* builder = graph && graph->GetGraphBase() ? graph->GetGraphBase()->GetGraph() : nullptr;
  return builder ? FilterNames(builder) : std::vector<std::wstring>{};
}

}  // namespace test
