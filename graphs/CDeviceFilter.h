// An audio capture device (the sound card's "Audio Volume Control") found by friendly
// name. Opening it lists its input pins, the mixer lines a recording can come from, and
// sets its capture pin to 16-bit stereo PCM in 80 ms buffers.
#pragma once

#include "graphs/CFilterWrapper.h"

#include <string>
#include <vector>

class CDeviceFilter : public CFilterWrapper {
 public:
  // `deviceName`: the friendly name looked for; `graphName`: the filter's name in the graph.
  CDeviceFilter(IGraphBuilder* graph, LPCSTR deviceName, LPCSTR graphName);
  ~CDeviceFilter() override;

  // Finds the index-th device of the name (from 0) and adds it to the graph.
  virtual BOOL Open(int index);

  int GetPinCount() const { return static_cast<int>(m_pins.size()); }
  // Empty for an index outside the list.
  LPCSTR GetPinName(int index) const;
  // Records from the line, with automatic gain.
  void EnableLine(int index);

 protected:
  void SetAudioFormat(IPin* capture);

 private:
  struct PinEntry {
    std::string name;
    IPin* pin;  // the filter keeps its pins alive
  };

  void FillPinList();

  char m_szDeviceName[256];
  WCHAR m_wszName[256];
  std::vector<PinEntry> m_pins;
};
