// The playback graph's own logic over a scripted file graph: start, pause and resume,
// close, another file, the answers that fail a start, ten-second steps at both ends of
// the file, percent seeking and progress, and an empty object refusing everything.
#include "PlaybackTest.h"

namespace {

using test::ScriptedFileGraph;

constexpr LONGLONG kSecond = 10000000;

class PlaybackGraphTest : public test::PlaybackTest {
 protected:
  // A playback object whose next graph is a scripted one-minute file.
  std::unique_ptr<test::ScriptedPlayback> playback(LONGLONG seconds = 60) {
    auto made = std::make_unique<test::ScriptedPlayback>();
    made->next = scripted(seconds);
    return made;
  }
  plat::ComPtr<ScriptedFileGraph> scripted(LONGLONG seconds) {
    auto graph = plat::ComPtr<ScriptedFileGraph>::adopt(new ScriptedFileGraph(engine.get()));
    graph->duration = seconds * kSecond;
    return graph;
  }
  // Plays the scripted file and hands back its graph.
  ScriptedFileGraph* play(test::ScriptedPlayback& object) {
    ScriptedFileGraph* graph = object.next.get();
    EXPECT_EQ(object.OpenAndPlay(window(), "C:\\Videos\\first.mpg"), 0);
    return graph;
  }
};

TEST_F(PlaybackGraphTest, AStartRendersTheFileRunsItAtNormalRateAndReadsItsLength) {
  auto object = playback();
  EXPECT_TRUE(object->IsClosed());
  ScriptedFileGraph* graph = play(*object);
  ASSERT_EQ(graph->rendered.size(), 1u);
  EXPECT_EQ(graph->rendered[0], L"C:\\Videos\\first.mpg");
  EXPECT_TRUE(graph->mediaTimeSet);
  EXPECT_EQ(graph->rates, std::vector<double>{1.0});
  EXPECT_EQ(graph->runs, 1);
  EXPECT_TRUE(object->IsPlaying());
  graph->position = 30 * kSecond;
  EXPECT_EQ(object->GetPositionPercent(), 50) << "half of the minute read at the start";
}

TEST_F(PlaybackGraphTest, EachFailingStepOfAStartHasItsCode) {
  EXPECT_EQ(playback()->OpenAndPlay(nullptr, "C:\\a.mpg"), -7);
  auto noPath = playback();
  EXPECT_EQ(noPath->OpenAndPlay(window(), nullptr), -7);
  EXPECT_EQ(noPath->GetGraph(), nullptr) << "nothing made for bad arguments";

  auto unrenderable = playback();
  unrenderable->next->renderAnswer = VFW_E_UNSUPPORTED_STREAM;
  EXPECT_EQ(unrenderable->OpenAndPlay(window(), "C:\\a.mpg"), -4);
  EXPECT_EQ(unrenderable->next->runs, 0);
  EXPECT_TRUE(unrenderable->IsClosed());
  EXPECT_EQ(unrenderable->OpenAndPlay(window(), "C:\\a.mpg"), -9) << "the graph is made once per object";

  auto noRate = playback();
  noRate->next->rateAnswer = E_NOTIMPL;
  EXPECT_EQ(noRate->OpenAndPlay(window(), "C:\\a.mpg"), -1);
  EXPECT_EQ(noRate->next->runs, 0);
  EXPECT_TRUE(noRate->IsClosed());

  auto noRun = playback();
  noRun->next->runAnswer = E_FAIL;
  EXPECT_EQ(noRun->OpenAndPlay(window(), "C:\\a.mpg"), -2);
  EXPECT_TRUE(noRun->IsClosed());

  test::ScriptedPlayback noGraph;  // its graph cannot be made
  EXPECT_EQ(noGraph.OpenAndPlay(window(), "C:\\a.mpg"), -9);
}

TEST_F(PlaybackGraphTest, APausedFileResumesWithoutReopeningWhateverPathIsGiven) {
  auto object = playback();
  ScriptedFileGraph* graph = play(*object);
  ASSERT_TRUE(object->Pause());
  EXPECT_TRUE(object->IsPaused());
  EXPECT_EQ(graph->state, State_Paused);
  EXPECT_FALSE(object->Pause()) << "already paused";
  EXPECT_TRUE(object->IsPaused());
  EXPECT_EQ(graph->pauses, 1);

  EXPECT_EQ(object->OpenAndPlay(window(), "C:\\Videos\\other.mpg"), 0);
  EXPECT_TRUE(object->IsPlaying());
  EXPECT_EQ(graph->rendered.size(), 1u) << "the other path is not opened";
  EXPECT_EQ(graph->runs, 2);
  EXPECT_EQ(graph->rates, (std::vector<double>{1.0, 1.0}));

  // A graph that paused by itself is not asked again.
  graph->state = State_Paused;
  ASSERT_TRUE(object->Pause());
  EXPECT_EQ(graph->pauses, 1);
}

TEST_F(PlaybackGraphTest, AResumeThatFailsKeepsTheFilePaused) {
  auto object = playback();
  ScriptedFileGraph* graph = play(*object);
  ASSERT_TRUE(object->Pause());
  graph->runAnswer = E_FAIL;
  EXPECT_EQ(object->OpenAndPlay(window(), "C:\\a.mpg"), -2);
  EXPECT_TRUE(object->IsPaused());
  graph->rateAnswer = E_FAIL;
  EXPECT_EQ(object->OpenAndPlay(window(), "C:\\a.mpg"), -1);
}

TEST_F(PlaybackGraphTest, CloseStopsAtTheStartForgetsTheLengthAndKeepsTheGraph) {
  auto object = playback();
  ScriptedFileGraph* graph = play(*object);
  graph->position = 42 * kSecond;
  ASSERT_TRUE(object->Close());
  EXPECT_TRUE(object->IsClosed());
  EXPECT_EQ(graph->stops, 1);
  ASSERT_FALSE(graph->seeks.empty());
  EXPECT_EQ(graph->seeks.back().current, 0) << "rewound";
  EXPECT_EQ(object->GetGraph(), graph);
  graph->position = 30 * kSecond;
  EXPECT_EQ(object->GetPositionPercent(), 0) << "no length after Close";
  EXPECT_FALSE(object->Close()) << "already closed";
  EXPECT_FALSE(object->Forward());
  EXPECT_EQ(object->OpenAndPlay(window(), "C:\\a.mpg"), -9) << "a closed object is not reused";
}

TEST_F(PlaybackGraphTest, CloseFailsAndChangesNothingWhenTheGraphWillNotStop) {
  auto object = playback();
  ScriptedFileGraph* graph = play(*object);
  graph->stopAnswer = E_FAIL;
  EXPECT_FALSE(object->Close());
  EXPECT_TRUE(object->IsPlaying());
  graph->stopAnswer = S_OK;
  graph->state = State_Stopped;  // stopped by itself: not asked again, not rewound
  const size_t seeks = graph->seeks.size();
  EXPECT_TRUE(object->Close());
  EXPECT_EQ(graph->stops, 1);
  EXPECT_EQ(graph->seeks.size(), seeks);
}

TEST_F(PlaybackGraphTest, AnotherFileWhilePlayingLetsTheOldGraphGo) {
  auto object = playback();
  plat::ComPtr<ScriptedFileGraph> first = object->next;
  play(*object);
  object->next = scripted(30);
  ScriptedFileGraph* second = object->next.get();
  EXPECT_EQ(object->OpenAndPlay(window(), "C:\\Videos\\second.avi"), 0);
  EXPECT_EQ(first->stops, 1);
  EXPECT_EQ(first->references(), 1u) << "only the test holds the first graph";
  EXPECT_EQ(object->GetGraph(), second);
  ASSERT_EQ(second->rendered.size(), 1u);
  EXPECT_EQ(second->rendered[0], L"C:\\Videos\\second.avi");
  EXPECT_TRUE(object->IsPlaying());
}

TEST_F(PlaybackGraphTest, TenSecondStepsStopAtTheEndsOfTheFile) {
  auto object = playback(60);
  ScriptedFileGraph* graph = play(*object);
  auto stepTo = [&](LONGLONG from, BOOL (CPlaybackGraph::*step)()) {
    graph->position = from;
    EXPECT_TRUE(((*object).*step)());
    return graph->seeks.back();
  };
  const ScriptedFileGraph::Seek end = stepTo(56 * kSecond, &CPlaybackGraph::Forward);
  EXPECT_EQ(end.current, 60 * kSecond) << "four seconds before the end: the end exactly";
  EXPECT_EQ(end.currentFlags, 5u);
  EXPECT_FALSE(end.withStop);
  EXPECT_EQ(end.stopFlags, 0u);
  EXPECT_EQ(stepTo(30 * kSecond, &CPlaybackGraph::Forward).current, 40 * kSecond);
  EXPECT_EQ(stepTo(4 * kSecond, &CPlaybackGraph::Backward).current, 0) << "four seconds in: the start";
  EXPECT_EQ(stepTo(30 * kSecond, &CPlaybackGraph::Backward).current, 20 * kSecond);
  EXPECT_EQ(stepTo(60 * kSecond, &CPlaybackGraph::Forward).current, 60 * kSecond);
  EXPECT_TRUE(object->IsPlaying());
}

TEST_F(PlaybackGraphTest, StepsNeedAPlayingFileAtNormalRateAndAKnownPosition) {
  auto object = playback(60);
  ScriptedFileGraph* graph = play(*object);
  graph->position = 20 * kSecond;
  const size_t seeks = graph->seeks.size();
  graph->rateAnswer = E_FAIL;
  EXPECT_FALSE(object->Forward());
  graph->rateAnswer = S_OK;
  graph->positionAnswer = E_FAIL;
  EXPECT_FALSE(object->Backward());
  graph->positionAnswer = S_OK;
  ASSERT_TRUE(object->Pause());
  EXPECT_FALSE(object->Forward());
  EXPECT_FALSE(object->Backward());
  EXPECT_EQ(graph->seeks.size(), seeks);
}

TEST_F(PlaybackGraphTest, AStepForwardInAFileOfUnknownLengthDoesNotRewind) {
  auto object = playback(0);
  ScriptedFileGraph* graph = play(*object);
  graph->position = 5 * kSecond;
  ASSERT_TRUE(object->Forward());
  EXPECT_EQ(graph->seeks.back().current, 15 * kSecond);
}

TEST_F(PlaybackGraphTest, PercentSeeksAndProgressStayWithinTheFile) {
  auto object = playback(60);
  EXPECT_EQ(object->GetPositionPercent(), 0) << "before any file";
  ScriptedFileGraph* graph = play(*object);
  ASSERT_TRUE(object->SeekPercent(25));
  EXPECT_EQ(graph->seeks.back().current, 15 * kSecond);
  EXPECT_EQ(graph->seeks.back().currentFlags, 5u);
  ASSERT_TRUE(object->SeekPercent(100));
  EXPECT_EQ(graph->seeks.back().current, 60 * kSecond);

  graph->position = 59 * kSecond + kSecond * 99 / 100;
  EXPECT_EQ(object->GetPositionPercent(), 99) << "truncated";
  graph->position = 120 * kSecond;
  EXPECT_EQ(object->GetPositionPercent(), 100);
  graph->positionAnswer = E_FAIL;
  EXPECT_EQ(object->GetPositionPercent(), 0);

  double seconds = 0;
  graph->positionAnswer = S_OK;
  graph->position = 12345678;
  ASSERT_TRUE(object->GetCurrentPosition(&seconds));
  EXPECT_DOUBLE_EQ(seconds, 1.2345678);
  ASSERT_TRUE(object->GetDuration(&seconds));
  EXPECT_DOUBLE_EQ(seconds, 60.0);
  ASSERT_TRUE(object->SetCurrentPosition(1.23456789));
  EXPECT_EQ(graph->seeks.back().current, 12345678) << "truncated to 100 ns";
  // A time read back as seconds and set again lands on the unit it came from.
  for (LONGLONG units = 249469000; units < 249470000; ++units) {
    graph->position = units;
    ASSERT_TRUE(object->GetCurrentPosition(&seconds));
    ASSERT_TRUE(object->SetCurrentPosition(seconds));
    ASSERT_EQ(graph->seeks.back().current, units);
  }
}

TEST_F(PlaybackGraphTest, AProgressFarPastATinyLengthIsStillAHundred) {
  auto object = playback(0);
  object->next->duration = 1;  // 100 ns
  ScriptedFileGraph* graph = play(*object);
  graph->position = 1000000 * kSecond;
  EXPECT_EQ(object->GetPositionPercent(), 100);
}

TEST_F(PlaybackGraphTest, AnEmptyObjectRefusesEverything) {
  CPlaybackGraph object;
  EXPECT_TRUE(object.IsClosed());
  EXPECT_FALSE(object.QueryInterfaces());
  EXPECT_FALSE(object.Pause());
  EXPECT_FALSE(object.Close());
  EXPECT_FALSE(object.CloseAndRelease());
  EXPECT_FALSE(object.Run());
  EXPECT_FALSE(object.Stop());
  EXPECT_FALSE(object.Forward());
  EXPECT_FALSE(object.Backward());
  EXPECT_FALSE(object.SeekPercent(50));
  EXPECT_EQ(object.GetPositionPercent(), 0);
  double seconds = -1;
  EXPECT_FALSE(object.GetCurrentPosition(&seconds));
  EXPECT_FALSE(object.GetDuration(&seconds));
  EXPECT_EQ(seconds, -1);
  EXPECT_FALSE(object.SetCurrentPosition(1.0));
  EXPECT_FALSE(object.SetRate(1.0));
  EXPECT_FALSE(object.SetVideoWindow(window()));
  EXPECT_FALSE(object.PlaceVideoWindow(0, 0, 10, 10));
  object.SetFullScreen(OATRUE);
  EXPECT_FALSE(object.SetNotifyWindow(window()));
  EXPECT_EQ(object.GetEventInterface(), nullptr);
  EXPECT_FALSE(object.IsComplete());
  object.ReleaseAll();
  EXPECT_TRUE(object.Attach(nullptr));
}

}  // namespace
