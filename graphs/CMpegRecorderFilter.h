// The MPEG-1/2 recorder of the Filter folder ("Filter\qnmpeg2enc.ax") at the end of the
// record graph.
#pragma once

#include "graphs/CFilterWrapper.h"

class CMpegRecorderFilter : public CFilterWrapper {
 public:
  explicit CMpegRecorderFilter(IGraphBuilder* graph);
  ~CMpegRecorderFilter() override;

  BOOL AddToGraph() override;
};
