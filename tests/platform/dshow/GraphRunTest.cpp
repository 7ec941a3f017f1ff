#include "GraphTest.h"

#include <support/Settling.h>

#include <win32/user.h>

using dstest::ConvertTransform;
using dstest::firstPin;
using dstest::PushSource;
using dstest::SinkFilter;
using dstest::StateLog;
using dstest::videoType;
using plat::ComPtr;

namespace {

constexpr UINT kGraphEvent = 1064;

class GraphRunTest : public dstest::GraphTest {
 protected:
  void connect(IBaseFilter* up, IBaseFilter* down) {
    ASSERT_EQ(graph->ConnectDirect(firstPin(up, PINDIR_OUTPUT), firstPin(down, PINDIR_INPUT), nullptr), S_OK);
  }
  // Every event now queued, oldest first.
  std::vector<std::pair<long, LONG_PTR>> drain(IMediaEventEx* events) {
    std::vector<std::pair<long, LONG_PTR>> got;
    long code = 0;
    LONG_PTR p1 = 0;
    LONG_PTR p2 = 0;
    while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
      got.emplace_back(code, p2);
      events->FreeEventParams(code, p1, p2);
    }
    return got;
  }
};

}  // namespace

TEST_F(GraphRunTest, StateChangesReachTheFiltersDownstreamFirst) {
  // Added upstream first, so the order cannot come from the list by chance.
  auto* source = add(new PushSource(videoType(MEDIASUBTYPE_YUY2), -1), L"Source");
  auto* convert = add(new ConvertTransform(MEDIASUBTYPE_YUY2, MEDIASUBTYPE_RGB24), L"Convert");
  auto* sink = add(new SinkFilter(), L"Sink");
  connect(source, convert);
  connect(convert, sink);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  EXPECT_EQ(StateLog::take(), (std::vector<std::string>{"sink:Pause", "convert:Pause", "source:Pause", "sink:Run",
                                                        "convert:Run", "source:Run"}));
  OAFilterState state = -1;
  EXPECT_EQ(control->GetState(10, &state), S_OK);
  EXPECT_EQ(state, State_Running);
  ASSERT_TRUE(sink->waitForSamples(3));
  ASSERT_EQ(control->Stop(), S_OK);
  EXPECT_EQ(StateLog::take(), (std::vector<std::string>{"sink:Stop", "convert:Stop", "source:Stop"}));
  EXPECT_EQ(control->GetState(10, &state), S_OK);
  EXPECT_EQ(state, State_Stopped);
  // Filters can be connected again only when stopped.
  ASSERT_EQ(control->Pause(), S_OK);
  EXPECT_EQ(graph->ConnectDirect(firstPin(source, PINDIR_OUTPUT), firstPin(sink, PINDIR_INPUT), nullptr),
            VFW_E_NOT_STOPPED);
  control->Stop();
}

TEST_F(GraphRunTest, OneCompletionWhenEveryRendererHasFinishedAndTheWindowIsTold) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "GraphEventsTest";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "GraphEventsTest", "events", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);

  auto* shortSource = add(new PushSource(videoType(MEDIASUBTYPE_YUY2), 2), L"Short");
  auto* longSource = add(new PushSource(videoType(MEDIASUBTYPE_YUY2), 6), L"Long");
  auto* first = add(new SinkFilter(), L"First");
  auto* second = add(new SinkFilter(), L"Second");
  connect(shortSource, first);
  connect(longSource, second);
  ComPtr<IMediaEventEx> events = graphAs<IMediaEventEx>(IID_IMediaEventEx);
  ASSERT_EQ(events->SetNotifyWindow(reinterpret_cast<OAHWND>(window), kGraphEvent, 7), S_OK);
  long code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  EXPECT_EQ(events->GetEvent(&code, &p1, &p2, 0), E_ABORT);

  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  ASSERT_TRUE(first->waitForEndOfStream());
  ASSERT_TRUE(second->waitForEndOfStream());
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return completed(); }));
  const auto got = drain(events.get());
  EXPECT_EQ(std::count_if(got.begin(), got.end(), [](const auto& e) { return e.first == EC_COMPLETE; }), 1);

  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, window, kGraphEvent, kGraphEvent, PM_REMOVE));
  EXPECT_EQ(msg.lParam, 7);

  // Without default handling, every renderer's own completion comes through.
  control->Stop();
  ASSERT_EQ(events->CancelDefaultHandling(EC_COMPLETE), S_OK);
  ASSERT_EQ(control->Run(), S_OK);
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(),
      [&] { return second->endOfStreams() == 2 && first->endOfStreams() == 2; }));
  control->Stop();
  std::vector<LONG_PTR> finished;
  for (const auto& [eventCode, filter] : drain(events.get()))
    if (eventCode == EC_COMPLETE) finished.push_back(filter);
  ASSERT_EQ(finished.size(), 2u);
  EXPECT_NE(finished[0], finished[1]);
  DestroyWindow(window);
}

TEST_F(GraphRunTest, TheGraphClockIsTheMachineClockForEveryThread) {
  ComPtr<IMediaFilter> filter = graphAs<IMediaFilter>(IID_IMediaFilter);
  ASSERT_EQ(graph->SetDefaultSyncSource(), S_OK);
  ComPtr<IReferenceClock> clock;
  ASSERT_EQ(filter->GetSyncSource(clock.put()), S_OK);
  ASSERT_TRUE(clock);
  REFERENCE_TIME before = 0;
  clock->GetTime(&before);
  EXPECT_EQ(before, static_cast<REFERENCE_TIME>(machine().clock().tickMs()) * 10000);
  machine().clock().advance(40);
  REFERENCE_TIME after = 0;
  clock->GetTime(&after);
  EXPECT_EQ(after - before, 400000);
  // This thread's own Sleep on the manual clock does not move the graph's time.
  machine().clock().sleep(1000);
  clock->GetTime(&after);
  EXPECT_EQ(after - before, 400000);
}

TEST_F(GraphRunTest, PositionsFollowTheClockAndSeeksReachTheSource) {
  auto* source = add(new PushSource(videoType(MEDIASUBTYPE_YUY2), 50), L"Source");
  auto* sink = add(new SinkFilter(), L"Sink");
  connect(source, sink);
  ComPtr<IMediaSeeking> seeking = graphAs<IMediaSeeking>(IID_IMediaSeeking);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME), S_OK);
  LONGLONG duration = 0;
  ASSERT_EQ(seeking->GetDuration(&duration), S_OK);
  EXPECT_EQ(duration, 20'000'000);

  ASSERT_EQ(control->Run(), S_OK);
  LONGLONG position = -1;
  seeking->GetCurrentPosition(&position);
  EXPECT_EQ(position, 0);
  machine().clock().advance(1000);
  seeking->GetCurrentPosition(&position);
  EXPECT_EQ(position, 10'000'000);

  ASSERT_EQ(control->Pause(), S_OK);
  machine().clock().advance(300);
  seeking->GetCurrentPosition(&position);
  EXPECT_EQ(position, 10'000'000);

  LONGLONG target = 5'000'000;
  ASSERT_EQ(seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning), S_OK);
  EXPECT_EQ(source->seeks(), std::vector<LONGLONG>{5'000'000});
  seeking->GetCurrentPosition(&position);
  EXPECT_EQ(position, 5'000'000);

  ASSERT_EQ(control->Run(), S_OK);
  machine().clock().advance(200);
  ComPtr<IMediaPosition> seconds = graphAs<IMediaPosition>(IID_IMediaPosition);
  REFTIME now = 0;
  ASSERT_EQ(seconds->get_CurrentPosition(&now), S_OK);
  EXPECT_DOUBLE_EQ(now, 0.7);
  // Relative moves count from where the stream is; the stop position caps the clock.
  LONGLONG back = -2'000'000;
  ASSERT_EQ(seeking->SetPositions(&back, AM_SEEKING_RelativePositioning | AM_SEEKING_ReturnTime, nullptr,
                                  AM_SEEKING_NoPositioning),
            S_OK);
  EXPECT_EQ(back, 5'000'000);
  machine().clock().advance(60'000);
  seeking->GetCurrentPosition(&position);
  EXPECT_EQ(position, duration);
  control->Stop();
}

TEST_F(GraphRunTest, StoppingKeepsThePositionAndTheNextRunGoesOnFromIt) {
  auto* source = add(new PushSource(videoType(MEDIASUBTYPE_YUY2), 50), L"Source");
  auto* sink = add(new SinkFilter(), L"Sink");
  connect(source, sink);
  ComPtr<IMediaSeeking> seeking = graphAs<IMediaSeeking>(IID_IMediaSeeking);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  machine().clock().advance(1000);
  ASSERT_EQ(control->Stop(), S_OK);
  LONGLONG position = -1;
  seeking->GetCurrentPosition(&position);
  EXPECT_EQ(position, 10'000'000);
  machine().clock().advance(500);
  seeking->GetCurrentPosition(&position);
  EXPECT_EQ(position, 10'000'000);
  EXPECT_TRUE(source->seeks().empty());

  // The source is sent to the kept position as the graph leaves the stopped state.
  ASSERT_EQ(control->Run(), S_OK);
  EXPECT_EQ(source->seeks(), std::vector<LONGLONG>{10'000'000});
  machine().clock().advance(500);
  seeking->GetCurrentPosition(&position);
  EXPECT_EQ(position, 15'000'000);

  // A seek made while stopped wins, and is not repeated by the next run.
  ASSERT_EQ(control->Stop(), S_OK);
  LONGLONG start = 0;
  ASSERT_EQ(seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame, nullptr,
                                  AM_SEEKING_NoPositioning),
            S_OK);
  ASSERT_EQ(control->Pause(), S_OK);
  EXPECT_EQ(source->seeks(), (std::vector<LONGLONG>{10'000'000, 0}));
  seeking->GetCurrentPosition(&position);
  EXPECT_EQ(position, 0);
  control->Stop();
}
