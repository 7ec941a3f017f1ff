// The platform's Smart Tee, splitting a capture stream into capture and preview.
#pragma once

#include "graphs/CFilterWrapper.h"

class CSmartTeeFilter : public CFilterWrapper {
 public:
  explicit CSmartTeeFilter(IGraphBuilder* graph);
  ~CSmartTeeFilter() override;

  BOOL AddToGraph() override;
};
