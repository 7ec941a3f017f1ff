// The picture inverter of the Filter folder ("Filter\qn_invert.ax") in the capture
// graph's video chain.
#pragma once

#include "graphs/CFilterWrapper.h"

class CVideoInvertFilter : public CFilterWrapper {
 public:
  explicit CVideoInvertFilter(IGraphBuilder* graph);
  ~CVideoInvertFilter() override;

  BOOL AddToGraph() override;
};
