// The outside MPEG-1/2 encoder filter as the save drives it: created by its class id,
// its private settings interfaces called by their positions in the interface table (the
// maker publishes positions, not declarations), its file sink, and its two input pins
// "InputVideo" and "InputAudio". A failed step leaves the later ones failing.
#pragma once

#include "EncoderSettings.h"

#include <dshow/dshow.h>

class CMpegEncoder {
 public:
  CMpegEncoder();
  ~CMpegEncoder();
  CMpegEncoder(const CMpegEncoder&) = delete;
  CMpegEncoder& operator=(const CMpegEncoder&) = delete;

  BOOL SetOutputFile(const char* name);
  BOOL ApplyPreset(int type, int kind);
  BOOL ApplySettings();
  // Adds the filter to `graph` and connects the given pins (either may be null).
  BOOL ConnectToGraph(IGraphBuilder* graph, IPin* videoPin, IPin* audioPin);

 private:
  IBaseFilter* m_filter = nullptr;
  IUnknown* m_videoSettings = nullptr;
  IUnknown* m_secondSettings = nullptr;
  IUnknown* m_streamSettings = nullptr;
  IFileSinkFilter* m_sink = nullptr;
  EncoderSettings m_settings{};
};
