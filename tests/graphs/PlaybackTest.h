// Playback graph tests: a fresh machine with COM up, a real graph manager for what the
// scripted graphs pass on, and an owner window of 320 x 240 that records the graph
// events posted to it.
#pragma once

#include "ScriptedFileGraph.h"

#include <support/TestMachine.h>

#include "graphs/CPlaybackGraph.h"

#include <com/ComPtr.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace test {

// A playback object whose graph is the scripted one the test put in `next`; without one
// its graph cannot be made.
class ScriptedPlayback : public CPlaybackGraph {
 public:
  BOOL Create() override;
  plat::ComPtr<ScriptedFileGraph> next;
};

class PlaybackTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND window();
  // The built MPEG decoder modules copied into the program folder, where the playback
  // graph registers them from; false when they are not built.
  bool installDecoderModules();
  // The graph events posted to window() so far.
  static int postedEvents();

  plat::ComPtr<IGraphBuilder> engine;

 private:
  HWND m_window = nullptr;
};

}  // namespace test
