// The still-picture writer of the Filter folder ("Filter\QNStillCap.ax") at the end of
// the file frame grabber: it writes the frame it receives to the file named here.
#pragma once

#include "graphs/CFilterWrapper.h"

class CStillCaptureFilter : public CFilterWrapper {
 public:
  explicit CStillCaptureFilter(IGraphBuilder* graph);
  ~CStillCaptureFilter() override;

  BOOL AddToGraph() override;
  BOOL SetFileName(LPCSTR path);
};
