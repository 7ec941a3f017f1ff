// The platform's AVI decompressor in the capture graph's renderer chain. A filter it
// still holds that the graph will not take back is replaced by a fresh one.
#pragma once

#include "graphs/CFilterWrapper.h"

class CAviDecompressorFilter : public CFilterWrapper {
 public:
  explicit CAviDecompressorFilter(IGraphBuilder* graph);
  ~CAviDecompressorFilter() override;

  BOOL AddToGraph() override;
};
