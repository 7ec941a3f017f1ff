// The sound renderer at the end of the capture graph's audio path.
#pragma once

#include "graphs/CFilterWrapper.h"

class CAudioRendererFilter : public CFilterWrapper {
 public:
  explicit CAudioRendererFilter(IGraphBuilder* graph);
  ~CAudioRendererFilter() override;

  BOOL AddToGraph() override;
};
