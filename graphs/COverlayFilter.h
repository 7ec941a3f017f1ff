// The text and picture overlay of the Filter folder ("Filter\QXM_OverlayFilter.ax") in
// the capture graph's video chain.
#pragma once

#include "graphs/CFilterWrapper.h"

class COverlayFilter : public CFilterWrapper {
 public:
  explicit COverlayFilter(IGraphBuilder* graph);
  ~COverlayFilter() override;

  BOOL AddToGraph() override;
};
