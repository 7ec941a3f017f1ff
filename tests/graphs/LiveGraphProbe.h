// What the live graphs' tests read off a built graph and its video window, shared by the
// capture and preview graph fixtures.
#pragma once

#include "graphs/CCaptureGraph.h"

#include <support/FrameStepping.h>

#include <machine/Machine.h>
#include <machine/VideoSurface.h>

#include <memory>
#include <string>
#include <vector>

namespace test {

// The names of the filters in the graph's graph object, in the graph's order.
std::vector<std::wstring> GraphFilterNames(CCaptureGraph* graph);

}  // namespace test
