// The capture graph on the real engine and the simulated TV stick: the settings object,
// the device control and the channel list a running program has, a video window, and a
// live graph standing in for the derived graphs (the base cannot build alone). The live
// graph opens the stick, sets the capture size, connects the stick's capture pin through
// the deinterlacer and the overlay to the renderer the chain chose, and records which of
// its operations the build called.
#pragma once

#include "LiveGraphTest.h"

#include "graphs/CCaptureGraph.h"

#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <machine/VideoSurface.h>
#include <robot/Robot.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace test {

class CTestLiveGraph : public CCaptureGraph {
 public:
  BOOL CreateDeviceFilters() override;
  BOOL PrepareDevice() override;
  BOOL SetCaptureFormat(int width, int height) override;
  BOOL ConnectGraph() override;
  BOOL SetSize(int width, int height) override;

  using CCaptureGraph::CreateCaptureBuilder;
  using CCaptureGraph::m_pAudioDevice;
  using CCaptureGraph::m_pAudioRenderer;
  using CCaptureGraph::m_pAviDecompressor;
  using CCaptureGraph::m_pCrossbar;
  using CCaptureGraph::m_pDefaultRenderer;
  using CCaptureGraph::m_pMixingRenderer;
  using CCaptureGraph::m_pOverlay;
  using CCaptureGraph::m_pOverlayMixer;
  using CCaptureGraph::m_pVideoDevice;
  using CCaptureGraph::m_pVideoRenderer;

  // "CreateDeviceFilters", "SetCaptureFormat 720x576" … in the order called.
  std::vector<std::string> calls;
  BOOL refuseConnect = FALSE;
  BOOL openAudio = FALSE;
  // Runs as the graph is connected: what changes while the build is under way.
  std::function<void()> onConnect;
};

class CaptureGraphTest : public LiveGraphTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The stick's control filter opened as the controller opens it.
  void openDeviceControl();
  // A fresh live graph holding a graph object for the video window.
  CTestLiveGraph& makeGraph();
  // Builds and runs on the input with every picture value at 50.
  BOOL build(int input);
  // Sets the Windows version of the machine.
  void setWindows(int platform, int major, int minor, bool wow64 = false, const char* product = nullptr);
  // The stick's capture side is made on first use, so a test may set its machine.ini first.
  plat::TvStickCapture& stick() { return machine().service<plat::TvStickCapture>(); }
  plat::TvStickControl& control() { return machine().service<plat::TvStickControl>(); }
  // What the stick's chip register 0xC16F was last set to; -1 when never.
  int standardRegister();
  // The surface of the renderer drawing into the video window; null when none.
  std::shared_ptr<plat::VideoSurface> surface();
  // Moves the clock frame by frame until `frames` more were shown (bounded real wait each).
  bool showFrames(int frames);
  std::vector<std::wstring> filterNames();
  std::vector<std::string> messageBoxTexts();
  // Tunes the stick to a US broadcast channel's carrier through the device control.
  void tune(float mhz);

  std::unique_ptr<CTestLiveGraph> graph;
  plat::Robot robot;
};

// Near in every channel, as a YUV round trip leaves it.
bool near(std::uint32_t pixel, int r, int g, int b);

}  // namespace test
