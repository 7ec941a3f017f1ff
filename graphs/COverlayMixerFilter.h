// The platform's overlay mixer in the capture graph's renderer chain, set to stretch
// the picture over its window rather than keep its aspect ratio.
#pragma once

#include "graphs/CFilterWrapper.h"

class COverlayMixerFilter : public CFilterWrapper {
 public:
  explicit COverlayMixerFilter(IGraphBuilder* graph);
  ~COverlayMixerFilter() override;

  BOOL AddToGraph() override;
};
