#include "GraphTest.h"

#include <win32/user.h>

#include <atomic>
#include <functional>
#include <thread>

using dstest::PushSource;
using dstest::SinkFilter;
using dstest::videoType;
using plat::ComPtr;

namespace {

constexpr UINT kGraphEvent = 0x8001;

class GraphEventsTest : public dstest::GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    events = graphAs<IMediaEventEx>(IID_IMediaEventEx);
    sink = graphAs<IMediaEventSink>(IID_IMediaEventSink);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "GraphEventsWindow";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, "GraphEventsWindow", "events", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window);
    events.reset();
    sink.reset();
    GraphTest::TearDown();
  }
  int postedMessages() {
    int count = 0;
    MSG msg{};
    while (PeekMessageA(&msg, window, kGraphEvent, kGraphEvent, PM_REMOVE)) ++count;
    return count;
  }
  struct Event {
    long code;
    LONG_PTR p1, p2;
    bool operator==(const Event&) const = default;
  };
  // Waits for completion on a streaming thread; once that waits, settled, `end` is to end
  // its wait. The code the wait returned.
  long completionAfter(long msTimeout, HRESULT expected, const std::function<void()>& end) {
    plat::StreamActivity& streams = plat::StreamActivity::instance();
    long code = -1;
    std::atomic<bool> done{false};
    std::thread waiter = streams.startThread("completion waiter", [&] {
      EXPECT_EQ(events->WaitForCompletion(msTimeout, &code), expected);
      done = true;
    });
    EXPECT_TRUE(streams.settle(machine().clock()));
    EXPECT_FALSE(done) << "the wait ended before its end came";
    end();
    waiter.join();
    return code;
  }
  std::vector<Event> drain() {
    std::vector<Event> got;
    Event e{};
    while (events->GetEvent(&e.code, &e.p1, &e.p2, 0) == S_OK) {
      got.push_back(e);
      events->FreeEventParams(e.code, e.p1, e.p2);
    }
    return got;
  }

  ComPtr<IMediaEventEx> events;
  ComPtr<IMediaEventSink> sink;
  HWND window = nullptr;
};

}  // namespace

TEST_F(GraphEventsTest, EventsComeOutInOrderWithTheirParameters) {
  ASSERT_EQ(sink->Notify(EC_REPAINT, 0, 0), S_OK);
  ASSERT_EQ(sink->Notify(EC_VIDEO_SIZE_CHANGED, MAKELONG(320, 240), 0), S_OK);
  ASSERT_EQ(sink->Notify(EC_USER + 5, 11, 22), S_OK);
  EXPECT_EQ(drain(), (std::vector<Event>{{EC_REPAINT, 0, 0}, {EC_VIDEO_SIZE_CHANGED, MAKELONG(320, 240), 0},
                                         {EC_USER + 5, 11, 22}}));
  long code = -1;
  LONG_PTR p1 = -1, p2 = -1;
  EXPECT_EQ(events->GetEvent(&code, &p1, &p2, 0), E_ABORT);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(events->GetEvent(nullptr, &p1, &p2, 0), E_POINTER);
}

TEST_F(GraphEventsTest, TheWindowIsToldOfEachEventUnlessAskedNotTo) {
  ASSERT_EQ(events->SetNotifyWindow(reinterpret_cast<OAHWND>(window), kGraphEvent, 0), S_OK);
  sink->Notify(EC_USER, 1, 0);
  sink->Notify(EC_USER, 2, 0);
  EXPECT_EQ(postedMessages(), 2);

  EXPECT_EQ(events->SetNotifyFlags(2), E_INVALIDARG);
  ASSERT_EQ(events->SetNotifyFlags(AM_MEDIAEVENT_NONOTIFY), S_OK);
  long flags = 0;
  ASSERT_EQ(events->GetNotifyFlags(&flags), S_OK);
  EXPECT_EQ(flags, AM_MEDIAEVENT_NONOTIFY);
  sink->Notify(EC_USER, 3, 0);
  EXPECT_EQ(postedMessages(), 0);
  ASSERT_EQ(events->SetNotifyFlags(0), S_OK);

  // Events from another thread are posted too; a cleared window hears nothing.
  std::thread([&] { sink->Notify(EC_USER, 4, 0); }).join();
  EXPECT_EQ(postedMessages(), 1);
  ASSERT_EQ(events->SetNotifyWindow(0, 0, 0), S_OK);
  sink->Notify(EC_USER, 5, 0);
  EXPECT_EQ(postedMessages(), 0);
  // Every event was queued all the same.
  EXPECT_EQ(drain().size(), 5u);
}

TEST_F(GraphEventsTest, WaitingForCompletionEndsOnAnAbortOrTheTimeOut) {
  long code = -1;
  EXPECT_EQ(events->WaitForCompletion(0, &code), E_ABORT);
  EXPECT_EQ(code, 0);
  // A time-out counts on the machine's clock.
  EXPECT_EQ(completionAfter(100, E_ABORT, [&] { machine().clock().advance(100); }), 0);
  // Another thread's abort ends an endless wait.
  EXPECT_EQ(completionAfter(static_cast<long>(INFINITE), S_OK, [&] { sink->Notify(EC_ERRORABORT, E_FAIL, 0); }),
            EC_ERRORABORT);
  // The completion stays queued for GetEvent.
  EXPECT_EQ(drain(), (std::vector<Event>{{EC_ERRORABORT, E_FAIL, 0}}));
}

TEST_F(GraphEventsTest, ARenderersCompletionCountsOnlyWhileTheGraphPlays) {
  auto* source = add(new PushSource(videoType(MEDIASUBTYPE_YUY2), -1), L"Source");
  auto* renderer = add(new SinkFilter(), L"Renderer");
  ASSERT_EQ(graph->ConnectDirect(dstest::firstPin(source, PINDIR_OUTPUT), dstest::firstPin(renderer, PINDIR_INPUT),
                                 nullptr),
            S_OK);
  const auto key = reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(renderer));
  // Stopped: a stray completion is dropped.
  sink->Notify(EC_COMPLETE, S_OK, key);
  EXPECT_TRUE(drain().empty());

  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  // The graph chose its clock as it started.
  EXPECT_EQ(drain(), (std::vector<Event>{{EC_CLOCK_CHANGED, 0, 0}}));
  // A filter that is no renderer of this graph does not complete it.
  sink->Notify(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(source)));
  EXPECT_TRUE(drain().empty());
  sink->Notify(EC_COMPLETE, S_OK, key);
  EXPECT_EQ(drain(), (std::vector<Event>{{EC_COMPLETE, S_OK, 0}}));
  // Only once per run.
  sink->Notify(EC_COMPLETE, S_OK, key);
  EXPECT_TRUE(drain().empty());
  control->Stop();
  // Other events have no default handling to cancel.
  EXPECT_EQ(events->CancelDefaultHandling(EC_USER), S_FALSE);
}
