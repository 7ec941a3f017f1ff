// What the live graphs' tests read off a built graph and its video window, shared by the
// capture and preview graph fixtures.
#pragma once

#include "graphs/CCaptureGraph.h"

#include <machine/Machine.h>
#include <machine/VideoSurface.h>

#include <memory>
#include <string>
#include <vector>

namespace test {

// Moves the clock frame by frame until `frames` more were shown on the surface (a bounded
// real wait for each); false when there is no surface or a frame did not come.
bool ShowFrames(plat::Machine& machine, const std::shared_ptr<plat::VideoSurface>& surface, int frames);
// The names of the filters in the graph's graph object, in the graph's order.
std::vector<std::wstring> GraphFilterNames(CCaptureGraph* graph);

}  // namespace test
