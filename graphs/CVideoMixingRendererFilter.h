// The platform's mixing renderer (version 9) in the capture graph: a window of its own
// and one input stream.
#pragma once

#include "graphs/CFilterWrapper.h"

class CVideoMixingRendererFilter : public CFilterWrapper {
 public:
  explicit CVideoMixingRendererFilter(IGraphBuilder* graph);
  ~CVideoMixingRendererFilter() override;

  BOOL AddToGraph() override;
  // Replaces the renderer held by a fresh one.
  BOOL ReAdd();
};
