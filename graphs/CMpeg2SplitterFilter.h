// The platform's MPEG-2 splitter in the playback graph and the file frame grabber; its
// video output is the pin that accepts a video type.
#pragma once

#include "graphs/CFilterWrapper.h"

class CMpeg2SplitterFilter : public CFilterWrapper {
 public:
  explicit CMpeg2SplitterFilter(IGraphBuilder* graph);
  ~CMpeg2SplitterFilter() override;

  BOOL AddToGraph() override;
  // Looks for the video output again; not counted for the caller, null when none.
  IPin* GetVideoOutputPin();

 private:
  IPin* m_pVideoPin;
};
