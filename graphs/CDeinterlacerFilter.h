// The deinterlacer of the Filter folder ("Filter\qndeinterlacer.ax") in the capture
// graph's video chain. The capture graph registers the module when the class cannot be
// created.
#pragma once

#include "graphs/CFilterWrapper.h"

class CDeinterlacerFilter : public CFilterWrapper {
 public:
  explicit CDeinterlacerFilter(IGraphBuilder* graph);
  ~CDeinterlacerFilter() override;

  BOOL AddToGraph() override;
};
