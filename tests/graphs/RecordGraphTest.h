// The record graph on the real engine: the simulated TV stick tuned to a station, the
// settings object a running program has, a video window, the fan-out module registered
// as the installer leaves it (the recorder is not: the graph registers it), and the
// recording driven frame by frame on the machine clock.
#pragma once

#include "LiveGraphTest.h"

#include "graphs/CRecordGraph.h"

#include <machine/TestPicture.h>
#include <machine/VideoSurface.h>
#include <robot/Robot.h>

#include <filesystem>
#include <memory>
#include <string>

namespace test {

class RecordGraphTest : public LiveGraphTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The Windows version of the machine: platform id, major and minor.
  void setWindows(int platform, int major, int minor, bool wow64 = false);
  // A record graph for the video window, recording into C:\Videos\ in the format.
  CRecordGraph& makeGraph(int format, int quality, const char* folder = "C:\\Videos\\");
  // Builds and runs on the tuner with every picture value at 50.
  BOOL build();
  // Moves the clock a frame at a time until `frames` more were encoded.
  bool recordFrames(int frames);
  std::shared_ptr<plat::VideoSurface> surface();
  std::filesystem::path onC(const char* path);
  IGraphBuilder* filterGraph() const;
  // The filter of the graph under `name`, not counted; null when none.
  IBaseFilter* filterNamed(const wchar_t* name) const;

  std::unique_ptr<CRecordGraph> graph;
  plat::Robot robot;
  int channel = 0;
};

// The pixel is the colour, within a YUV round trip.
bool Near(std::uint32_t pixel, plat::Rgb colour);

}  // namespace test
