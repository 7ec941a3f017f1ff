// Graph tests with the Filter folder's modules registered as the program registers them,
// the simulated TV stick in the graph, and frames stepped on the machine clock.
#pragma once

#include "GraphsTest.h"

#include <cstdint>

namespace test {

class FilterFolderGraphTest : public GraphsTest {
 protected:
  void SetUp() override;

  // Registers "Filter\<module>"; false when the build did not put it in the program folder.
  static bool registerModule(const char* module);
  // The stick's capture filter under "Video Capture", tuned to a station; `channel` is its number.
  void addStick();
  // The stick's capture pin format, at 25 pictures a second; before it connects.
  void setCaptureFormat(const GUID& subtype, LONG width, LONG height);
  // Connects `output` to the first filter's first input, and each filter's first output
  // to the next one's first input.
  void chain(IPin* output, std::initializer_list<IBaseFilter*> filters);
  static IPin* firstPin(IBaseFilter* filter, PIN_DIRECTION direction);
  plat::ComPtr<IMediaControl> control();

  // Until the streaming threads have done all the present time brought.
  void settle();
  // Moves the clock on by `ms` and settles.
  void advance(std::uint64_t ms);

  int channel = 0;
};

}  // namespace test
