// The video capture device (the TV stick) found by friendly name. A device that also
// delivers its sound has an "AudioOut" pin; the capture graph then renders that sound.
#pragma once

#include "graphs/CFilterWrapper.h"

class CVideoDeviceFilter : public CFilterWrapper {
 public:
  // `deviceName`: the friendly name looked for; `graphName`: the filter's name in the graph.
  CVideoDeviceFilter(IGraphBuilder* graph, LPCSTR deviceName, LPCSTR graphName);
  ~CVideoDeviceFilter() override;

  // Finds the first device of the name and adds it to the graph; `index` is not used.
  virtual BOOL Open(int index);

  BOOL HasAudioPin() const { return m_bHasAudioPin; }
  // The "AudioOut" pin, not counted for the caller; null when the device has none.
  IPin* GetAudioPin() const { return m_pAudioPin; }

 private:
  char m_szDeviceName[256];
  WCHAR m_wszName[256];
  IPin* m_pAudioPin;
  BOOL m_bHasAudioPin;
};
