// Runs a filter graph to the end of its stream once, as the benchmarks' rounds do.
#pragma once

#include "support/CommandLineTool.h"

#include <dshow/dshow.h>

#include <chrono>
#include <optional>

namespace bench {

// Runs the graph until its stream completes (or `limit` passes), then stops it and takes
// the completion off the event queue; the wall and processor time of the whole process
// from the run to the stop, or nothing when the stream did not end in time.
std::optional<Usage> RunGraphToEnd(IGraphBuilder* graph, std::chrono::seconds limit);

}  // namespace bench
