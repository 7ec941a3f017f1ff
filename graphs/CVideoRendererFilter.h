// The old video renderer: the capture graph's last choice for showing the picture.
#pragma once

#include "graphs/CFilterWrapper.h"

class CVideoRendererFilter : public CFilterWrapper {
 public:
  explicit CVideoRendererFilter(IGraphBuilder* graph);
  ~CVideoRendererFilter() override;

  BOOL AddToGraph() override;
};
