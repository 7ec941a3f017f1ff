// The MPEG video decoder of the Filter folder ("Filter\QNMpegVD.ax") in the playback
// graph and the file frame grabber. It is added only through Create, which also sets
// the decoder's option (its meaning is the decoder's own: playback passes 1, the frame
// grabber 0).
#pragma once

#include "graphs/CFilterWrapper.h"

class CMpegVideoDecoderFilter : public CFilterWrapper {
 public:
  explicit CMpegVideoDecoderFilter(IGraphBuilder* graph);
  ~CMpegVideoDecoderFilter() override;

  BOOL Create(BOOL option);
  BOOL SetOption(BOOL option);
};
