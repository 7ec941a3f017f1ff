// Reading a filter's pins and connections through their interfaces, for the engine's
// walks over a graph (state order, rendering, capture builder searches).
#pragma once

#include <com/ComPtr.h>
#include <dshow/strmif.h>

#include <string>
#include <vector>

namespace plat {

class Pins {
 public:
  // Every pin in the filter's order (an enumeration out of sync starts over).
  static std::vector<ComPtr<IPin>> of(IBaseFilter* filter);
  static std::vector<ComPtr<IPin>> of(IBaseFilter* filter, PIN_DIRECTION dir);
  static PIN_DIRECTION direction(IPin* pin);
  static ComPtr<IBaseFilter> filterOf(IPin* pin);
  // The connected pin, or null.
  static ComPtr<IPin> peer(IPin* pin);
  // The filters connected to this one's outputs (downstream) or inputs (upstream).
  static std::vector<ComPtr<IBaseFilter>> neighbours(IBaseFilter* filter, PIN_DIRECTION side);
  // A renderer ends streams: it says so, or it has inputs and no outputs.
  static bool isRenderer(IBaseFilter* filter);
  // The media types a pin offers, as (major, sub) pairs.
  static std::vector<std::pair<GUID, GUID>> offeredTypes(IPin* pin);
};

}  // namespace plat
