// What a graph holds, as the graph tests compare it.
#pragma once

#include <dshow/strmif.h>

#include <string>
#include <vector>

namespace test {

// The names of the filters in `graph`, in the graph's order; a failure of the test when
// the graph cannot list them.
std::vector<std::wstring> FilterNames(IFilterGraph* graph);

}  // namespace test
