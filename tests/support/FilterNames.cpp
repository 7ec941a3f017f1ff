#include "FilterNames.h"

#include <gtest/gtest.h>

namespace test {

std::vector<std::wstring> FilterNames(IFilterGraph* graph) {
  std::vector<std::wstring> list;
  IEnumFilters* walk = nullptr;
  EXPECT_EQ(graph->EnumFilters(&walk), S_OK);
  if (!walk) return list;
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
