// The fan-out tee of the Filter folder ("Filter\Branchel.ax") that splits one stream of
// the record graph into a recorder branch and a picture or sound branch. The tee always
// keeps one unconnected output, so each output asked for after a connection is a new one.
// The module must be registered beforehand; this wrapper never registers it.
#pragma once

#include "graphs/CFilterWrapper.h"

class CFanoutTeeFilter : public CFilterWrapper {
 public:
  explicit CFanoutTeeFilter(IGraphBuilder* graph);
  ~CFanoutTeeFilter() override;

  // Adds the held tee again, or makes one; a failure leaves the wrapper without a filter.
  BOOL AddToGraph() override;

  // Not counted for the caller; the tee keeps it alive.
  IPin* GetInputPin();
  // The first unconnected output, counted for the caller; null without one.
  IPin* GetFreeOutputPin();
};
