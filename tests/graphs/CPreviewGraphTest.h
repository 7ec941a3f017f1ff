// The preview graph on the real engine and the simulated TV stick: the settings object,
// the device control and the channel list of a running program, a video window, the
// image grabber's module in the program folder, and a probe that shows which wrappers
// the graph holds.
#pragma once

#include "LiveGraphTest.h"

#include "graphs/CPreviewGraph.h"

#include <machine/TestPicture.h>
#include <machine/TvStickCapture.h>
#include <machine/VideoSurface.h>

#include <com/BuiltinClasses.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace test {

class CPreviewProbe : public CPreviewGraph {
 public:
  using CPreviewGraph::CreateCaptureBuilder;
  using CPreviewGraph::m_pAudioDevice;
  using CPreviewGraph::m_pAudioRenderer;
  using CPreviewGraph::m_pAviDecompressor;
  using CPreviewGraph::m_pDefaultRenderer;
  using CPreviewGraph::m_pDeinterlacer;
  using CPreviewGraph::m_pGrabber;
  using CPreviewGraph::m_pInvert;
  using CPreviewGraph::m_pMixingRenderer;
  using CPreviewGraph::m_pOverlay;
  using CPreviewGraph::m_pOverlayMixer;
  using CPreviewGraph::m_pVideoDevice;
  using CPreviewGraph::m_pVideoRenderer;

  // The wrappers of the renderer path the graph holds, by short name.
  std::vector<std::string> renderers() const;
};

class PreviewGraphTest : public LiveGraphTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Runs first in SetUp, while the machine's devices can still be configured.
  virtual void configureMachine() {}

  // Makes a platform class fail to be created for the rest of the test.
  void refuseClass(REFCLSID clsid);
  // Puts the built image grabber module into the program folder.
  void installGrabberModule();

  plat::TvStickCapture& stick() { return machine().service<plat::TvStickCapture>(); }
  // A new preview graph for the window, with the settings' line standard.
  CPreviewProbe& makeGraph();
  // Builds and runs on the input with every picture value at 50.
  BOOL build(int input);

  // The surface drawn into the video window; null when none.
  std::shared_ptr<plat::VideoSurface> surface();
  // Moves the clock frame by frame until `frames` more were shown.
  bool showFrames(int frames);
  // The share (0..1) of the surface's row `y` that is near `colour`.
  double rowShare(int y, plat::Rgb colour);
  std::vector<std::wstring> filterNames();
  std::vector<std::string> messageBoxTexts();
  // What the video window shows for a picture colour: the same colour, through YUV.
  static plat::Rgb shownColour(plat::Rgb picture);
  // The colour of an external source's picture at (x, y) of a width x height frame.
  static plat::Rgb externalColour(int x, int y, int width, int height);
  // Advances the clock until the grabber has a frame.
  bool waitForGrabbedFrame();
  // The format the stick's preview pin is set to.
  VIDEOINFOHEADER previewFormat(GUID* subtype = nullptr);

  std::unique_ptr<CPreviewProbe> graph;
  int station = 0;

 private:
  std::vector<std::pair<CLSID, plat::CreateInstanceFn>> m_refused;
};

bool PinConnected(IPin* pin);

// Near in every channel, as the YUV round trips leave it.
bool NearColour(std::uint32_t pixel, plat::Rgb colour, int tolerance = 6);

}  // namespace test
