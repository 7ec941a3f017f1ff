// The graph base on the real engine: creation and the running object table entry, run
// state kept by the object, events posted to a window, the video window placed on its
// owner, and every operation refused on an empty object.
#include <support/TestMachine.h>

#include "graphs/CGraphBase.h"
#include "graphs/DeviceUtilities.h"
#include "graphs/FilterUtilities.h"

#include "EventOnlyGraph.h"
#include "ScriptedFileGraph.h"

#include <com/ComPtr.h>
#include <mfc/afxwin.h>
#include <robot/Robot.h>
#include <win32/thread.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using plat::ComPtr;

std::vector<std::wstring> RotNames() {
  std::vector<std::wstring> names;
  ComPtr<IRunningObjectTable> table;
  ComPtr<IEnumMoniker> walk;
  ComPtr<IBindCtx> context;
  if (FAILED(GetRunningObjectTable(0, table.put())) || FAILED(table->EnumRunning(walk.put())) ||
      FAILED(CreateBindCtx(0, context.put())))
    return names;
  IMoniker* moniker = nullptr;
  while (walk->Next(1, &moniker, nullptr) == S_OK) {
    ComPtr<IMoniker> held = ComPtr<IMoniker>::adopt(moniker);
    LPOLESTR name = nullptr;
    if (SUCCEEDED(held->GetDisplayName(context.get(), nullptr, &name))) {
      names.emplace_back(name);
      CoTaskMemFree(name);
    }
  }
  return names;
}

std::wstring RotNameOf(IGraphBuilder* graph) {
  wchar_t name[128];
  swprintf(name, 128, L"!FilterGraph %016llX pid %08x",
           static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(graph)),
           static_cast<unsigned>(GetCurrentProcessId()));
  return name;
}

bool Registered(IGraphBuilder* graph) {
  const std::wstring wanted = RotNameOf(graph);
  for (const std::wstring& name : RotNames()) {
    if (name == wanted) return true;
  }
  return false;
}

std::vector<UINT> g_messages;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == UM_GRAPH_EVENT) g_messages.push_back(message);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class GraphBaseTest : public test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    g_messages.clear();
  }
  void TearDown() override {
    if (window) DestroyWindow(window);
    CoUninitialize();
    MachineTest::TearDown();
  }

  HWND makeWindow(int width, int height) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "GraphBaseTestWindow";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, "GraphBaseTestWindow", "owner", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                             nullptr, nullptr);
    return window;
  }

  ComPtr<IBaseFilter> addRenderer(CGraphBase& base) {
    ComPtr<IBaseFilter> renderer;
    EXPECT_EQ(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               renderer.putVoid()),
              S_OK);
    EXPECT_EQ(base.GetGraph()->AddFilter(renderer.get(), L"Video Renderer"), S_OK);
    return renderer;
  }

  // The renderer takes window calls only once it shows the stick's preview.
  ComPtr<IBaseFilter> showPreview(CGraphBase& base) {
    ComPtr<IBaseFilter> renderer = addRenderer(base);
    ComPtr<IBaseFilter> device;
    EXPECT_TRUE(FindVideoCaptureDevice("USB TV Device", device.put()));
    EXPECT_EQ(base.GetGraph()->AddFilter(device.get(), L"Video Capture"), S_OK);
    ComPtr<IPin> preview;
    ComPtr<IPin> input;
    ComPtr<IEnumPins> walk;
    EXPECT_EQ(device->FindPin(L"Preview", preview.put()), S_OK);
    renderer->EnumPins(walk.put());
    walk->Next(1, input.put(), nullptr);
    EXPECT_EQ(base.GetGraph()->Connect(preview.get(), input.get()), S_OK);
    return renderer;
  }

  static ComPtr<IVideoWindow> videoWindow(CGraphBase& base) {
    ComPtr<IVideoWindow> video;
    base.GetGraph()->QueryInterface(IID_IVideoWindow, video.putVoid());
    return video;
  }

  HWND window = nullptr;
};

TEST_F(GraphBaseTest, CreateRegistersTheGraphOnceAndReleaseAllRevokesIt) {
  CGraphBase base;
  EXPECT_EQ(base.GetGraph(), nullptr);
  ASSERT_TRUE(base.Create());
  IGraphBuilder* graph = base.GetGraph();
  ASSERT_NE(graph, nullptr);
  EXPECT_NE(base.GetEventInterface(), nullptr);
  EXPECT_TRUE(Registered(graph));
  EXPECT_TRUE(base.IsStopped());

  EXPECT_FALSE(base.Create()) << "a second graph is refused";
  EXPECT_EQ(base.GetGraph(), graph) << "and the first stays";

  EXPECT_TRUE(base.QueryInterfaces()) << "asked again";
  graph->AddRef();
  base.ReleaseAll();
  EXPECT_EQ(base.GetGraph(), nullptr);
  EXPECT_EQ(base.GetEventInterface(), nullptr);
  EXPECT_FALSE(Registered(graph));
  EXPECT_EQ(graph->Release(), 0u) << "nothing of the object holds the graph any more";

  ASSERT_TRUE(base.Create()) << "an emptied object builds again";
}

TEST_F(GraphBaseTest, TwoGraphsAreRegisteredUnderTheirOwnNamesAndRevokedByTheirOwnCookies) {
  auto first = std::make_unique<CGraphBase>();
  CGraphBase second;
  ASSERT_TRUE(first->Create());
  ASSERT_TRUE(second.Create());
  ASSERT_NE(RotNameOf(first->GetGraph()), RotNameOf(second.GetGraph()));
  EXPECT_TRUE(Registered(first->GetGraph()));
  EXPECT_TRUE(Registered(second.GetGraph()));

  IGraphBuilder* firstGraph = first->GetGraph();
  first.reset();  // the destructor releases everything
  EXPECT_FALSE(Registered(firstGraph));
  EXPECT_TRUE(Registered(second.GetGraph()));
}

TEST_F(GraphBaseTest, AttachHoldsItsOwnReferenceAndNullLeavesTheObjectEmpty) {
  ComPtr<IGraphBuilder> graph;
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()),
            S_OK);
  CGraphBase base;
  ASSERT_TRUE(base.Create());
  IGraphBuilder* created = base.GetGraph();
  ASSERT_TRUE(base.Attach(graph.get()));
  EXPECT_EQ(base.GetGraph(), graph.get());
  EXPECT_TRUE(Registered(graph.get()));
  EXPECT_FALSE(Registered(created)) << "the graph held before was let go";

  EXPECT_TRUE(base.Attach(nullptr));
  EXPECT_EQ(base.GetGraph(), nullptr);
  EXPECT_FALSE(Registered(graph.get()));
  graph->AddRef();
  EXPECT_EQ(graph->Release(), 1u) << "only the test's reference is left";
}

TEST_F(GraphBaseTest, FiltersAreAddedFoundAndRemovedByNameOnTheGraph) {
  CGraphBase base;
  ASSERT_TRUE(base.Create());
  ComPtr<IBaseFilter> renderer = addRenderer(base);
  ComPtr<IBaseFilter> found;
  ASSERT_EQ(base.GetGraph()->FindFilterByName(L"Video Renderer", found.put()), S_OK);
  EXPECT_EQ(found.get(), renderer.get());
  found.reset();
  EXPECT_EQ(RemoveFilterByName(base.GetGraph(), "Video Renderer"), S_OK);
  EXPECT_EQ(base.GetGraph()->FindFilterByName(L"Video Renderer", found.put()), VFW_E_NOT_FOUND);
}

TEST_F(GraphBaseTest, RunStateIsTheObjectsOwnRecordAndRepeatedCallsAreNotForwarded) {
  CGraphBase base;
  ASSERT_TRUE(base.Create());
  ComPtr<IMediaControl> control;
  ASSERT_EQ(base.GetGraph()->QueryInterface(IID_IMediaControl, control.putVoid()), S_OK);
  OAFilterState state = State_Stopped;

  ASSERT_TRUE(base.Run());
  EXPECT_TRUE(base.IsRunning());
  ASSERT_EQ(control->GetState(10, &state), S_OK);
  EXPECT_EQ(state, State_Running);

  // Stopped behind the object's back: a second Run trusts the record and calls nothing.
  ASSERT_EQ(control->Stop(), S_OK);
  EXPECT_TRUE(base.Run());
  ASSERT_EQ(control->GetState(10, &state), S_OK);
  EXPECT_EQ(state, State_Stopped);

  ASSERT_TRUE(base.Pause());
  EXPECT_TRUE(base.IsPaused());
  ASSERT_EQ(control->GetState(10, &state), S_OK);
  EXPECT_EQ(state, State_Paused);
  ASSERT_TRUE(base.Stop());
  EXPECT_TRUE(base.IsStopped());

  ASSERT_EQ(control->Run(), S_OK);
  EXPECT_TRUE(base.Stop()) << "already stopped by its own record";
  ASSERT_EQ(control->GetState(10, &state), S_OK);
  EXPECT_EQ(state, State_Running);
  control->Stop();
}

TEST_F(GraphBaseTest, GraphEventsArePostedToTheNotifyWindow) {
  CGraphBase base;
  ASSERT_TRUE(base.Create());
  ASSERT_TRUE(base.SetNotifyWindow(makeWindow(100, 100)));
  ComPtr<IMediaEventSink> sink;
  ASSERT_EQ(base.GetGraph()->QueryInterface(IID_IMediaEventSink, sink.putVoid()), S_OK);
  ASSERT_EQ(sink->Notify(EC_USERABORT, 0, 0), S_OK);

  plat::Robot robot;
  robot.pumpUntilIdle();
  ASSERT_EQ(g_messages.size(), 1u);
  long code = 0;
  LONG_PTR first = 0;
  LONG_PTR second = 0;
  ASSERT_EQ(base.GetEventInterface()->GetEvent(&code, &first, &second, 0), S_OK);
  EXPECT_EQ(code, EC_USERABORT);
}

TEST_F(GraphBaseTest, TheVideoWindowIsPlacedOnItsOwnersClientArea) {
  CGraphBase base;
  ASSERT_TRUE(base.Create());
  HWND owner = makeWindow(320, 240);
  EXPECT_FALSE(base.SetOwnerWindow(owner)) << "no renderer takes the calls";
  EXPECT_TRUE(base.PlaceVideoWindow(owner, 1, 2, 3, 4)) << "true whatever the calls return";

  ComPtr<IBaseFilter> renderer = showPreview(base);
  ComPtr<IVideoWindow> video = videoWindow(base);
  ASSERT_TRUE(base.SetOwnerWindow(owner));
  OAHWND drawnOn = 0;
  long style = 0;
  long visible = OAFALSE;
  long left = -1, top = -1, width = 0, height = 0;
  video->get_Owner(&drawnOn);
  video->get_WindowStyle(&style);
  video->get_Visible(&visible);
  video->GetWindowPosition(&left, &top, &width, &height);
  EXPECT_EQ(drawnOn, reinterpret_cast<OAHWND>(owner));
  EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN), WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  EXPECT_EQ(visible, OATRUE);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 240);

  // A moved video keeps the visibility it had.
  ASSERT_TRUE(base.SetVideoPosition(10, 20, 160, 120));
  video->get_Visible(&visible);
  video->GetWindowPosition(&left, &top, &width, &height);
  EXPECT_EQ(visible, OATRUE);
  EXPECT_EQ(left, 10);
  EXPECT_EQ(width, 160);
  ASSERT_TRUE(base.ResizeToOwner());
  video->GetWindowPosition(&left, &top, &width, &height);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 240);

  ASSERT_TRUE(base.SetOwnerWindow(nullptr));
  video->get_Visible(&visible);
  EXPECT_EQ(visible, OAFALSE) << "no owner: hidden";

  base.ReleaseAll();
  video->get_Visible(&visible);
  video->get_Owner(&drawnOn);
  EXPECT_EQ(visible, OAFALSE);
  EXPECT_EQ(drawnOn, 0) << "released windows are taken off their owner";
}

TEST_F(GraphBaseTest, FullScreenAndParkingNeedARealWindow) {
  CGraphBase base;
  ASSERT_TRUE(base.Create());
  ComPtr<IBaseFilter> renderer = showPreview(base);
  EXPECT_FALSE(base.SetFullScreen(TRUE, reinterpret_cast<HWND>(0x4321)));
  EXPECT_FALSE(base.IsFullScreen());
  EXPECT_FALSE(base.ParkVideoWindow()) << "no main window in a test";
  HWND owner = makeWindow(320, 240);
  ASSERT_TRUE(base.SetFullScreen(TRUE, owner));
  EXPECT_TRUE(base.IsFullScreen());
  ASSERT_TRUE(base.SetFullScreen(FALSE, owner));
  EXPECT_FALSE(base.IsFullScreen());
}

TEST_F(GraphBaseTest, AParkedVideoHidesOnTheApplicationsMainWindow) {
  CWinApp app("Graph test");
  CGraphBase base;
  ASSERT_TRUE(base.Create());
  ComPtr<IBaseFilter> renderer = showPreview(base);
  ASSERT_TRUE(base.SetOwnerWindow(makeWindow(320, 240)));
  auto* frame = new CFrameWnd;  // deletes itself when destroyed
  ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW));
  app.m_pMainWnd = frame;

  ASSERT_TRUE(base.ParkVideoWindow());
  ComPtr<IVideoWindow> video = videoWindow(base);
  OAHWND owner = 0;
  long visible = OATRUE;
  long style = 0;
  long width = -1;
  video->get_Owner(&owner);
  video->get_Visible(&visible);
  video->get_WindowStyle(&style);
  video->get_Width(&width);
  EXPECT_EQ(owner, reinterpret_cast<OAHWND>(frame->m_hWnd));
  EXPECT_EQ(visible, OAFALSE);
  EXPECT_EQ(style & (WS_CHILD | WS_DISABLED), WS_CHILD | WS_DISABLED);
  EXPECT_EQ(width, 0);
  frame->DestroyWindow();
  EXPECT_FALSE(base.ParkVideoWindow()) << "the main window is gone";
}

TEST_F(GraphBaseTest, AnEmptyObjectRefusesEverything) {
  CGraphBase base;
  EXPECT_FALSE(base.QueryInterfaces());
  EXPECT_FALSE(base.SetNotifyWindow(nullptr));
  EXPECT_FALSE(base.RenderFile("C:\\missing.mpg"));
  EXPECT_FALSE(base.ConnectDirect(nullptr, nullptr, nullptr));
  EXPECT_FALSE(base.Run());
  EXPECT_FALSE(base.Pause());
  EXPECT_TRUE(base.IsStopped());
  EXPECT_FALSE(base.SetOwnerWindow(nullptr));
  EXPECT_FALSE(base.PlaceVideoWindow(nullptr, 0, 0, 1, 1));
  EXPECT_FALSE(base.MoveAndShow(0, 0, 1, 1));
  double seconds = -1;
  EXPECT_FALSE(base.GetDuration(&seconds));
  EXPECT_FALSE(base.SetCurrentPosition(1.0));
  EXPECT_FALSE(base.SyncUsingStreamOffset());
  EXPECT_FALSE(base.SetDefaultSyncSource());
}

TEST_F(GraphBaseTest, ClocksAndSeekingGoToTheGraph) {
  CGraphBase base;
  ASSERT_TRUE(base.Create());
  EXPECT_TRUE(base.SyncUsingStreamOffset());
  EXPECT_TRUE(base.SetDefaultSyncSource());
  EXPECT_TRUE(base.SetSyncSource(nullptr));
  ComPtr<IBaseFilter> renderer = addRenderer(base);
  EXPECT_FALSE(base.SetSyncSource(renderer.get())) << "a video renderer has no clock";

  double seconds = -1;
  ASSERT_TRUE(base.GetCurrentPosition(&seconds));
  EXPECT_EQ(seconds, 0.0);
  EXPECT_FALSE(base.RenderFile("C:\\missing.mpg"));
}

TEST_F(GraphBaseTest, ALiveGraphsPositionIsReadInSecondsAndCannotBeSought) {
  CGraphBase base;
  ASSERT_TRUE(base.Create());
  ComPtr<IBaseFilter> renderer = showPreview(base);
  ASSERT_TRUE(base.Run());
  plat::Robot robot;
  robot.advance(2500);
  double seconds = 0;
  ASSERT_TRUE(base.GetCurrentPosition(&seconds));
  EXPECT_NEAR(seconds, 2.5, 0.1);
  EXPECT_FALSE(base.SetCurrentPosition(1.0));
  EXPECT_FALSE(base.SetPositions(0.0, 1.0));
  ASSERT_TRUE(base.Stop());
}

TEST_F(GraphBaseTest, ATimeReadBackAsSecondsIsSoughtToTheUnitItCameFrom) {
  ComPtr<IGraphBuilder> engine;
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, engine.putVoid()),
            S_OK);
  auto graph = ComPtr<test::ScriptedFileGraph>::adopt(new test::ScriptedFileGraph(engine.get()));
  graph->duration = 600'000'000;
  CGraphBase base;
  ASSERT_TRUE(base.Attach(graph.get()));
  double seconds = 0;
  for (LONGLONG units = 249469000; units < 249470000; ++units) {
    graph->position = units;
    ASSERT_TRUE(base.GetCurrentPosition(&seconds));
    ASSERT_TRUE(base.SetCurrentPosition(seconds));
    ASSERT_EQ(graph->seeks.back().current, units);
  }
  ASSERT_TRUE(base.SetPositions(seconds, 60.0));
  EXPECT_EQ(graph->seeks.back().current, 249469999);
  ASSERT_TRUE(base.SetCurrentPosition(1.23456789));
  EXPECT_EQ(graph->seeks.back().current, 12345678) << "cut to whole units";
}

TEST_F(GraphBaseTest, APartialGraphIsHeldButReportedAndOnlyAPlainOkNotifies) {
  auto* graph = new test::EventOnlyGraph(S_FALSE);
  {
    CGraphBase base;
    EXPECT_FALSE(base.Attach(graph)) << "six of the seven interfaces are missing";
    EXPECT_EQ(base.GetGraph(), graph);
    EXPECT_TRUE(Registered(graph));
    EXPECT_FALSE(base.SetNotifyWindow(makeWindow(10, 10))) << "S_FALSE is not success here";
    EXPECT_FALSE(base.Run()) << "no control interface";
    EXPECT_FALSE(base.SetOwnerWindow(window));
    EXPECT_FALSE(base.GetCurrentPosition(nullptr));
  }
  EXPECT_EQ(graph->references(), 1u) << "every reference taken was given back";
  graph->Release();

  auto* plain = new test::EventOnlyGraph(S_OK);
  CGraphBase base;
  base.Attach(plain);
  EXPECT_TRUE(base.SetNotifyWindow(nullptr));
  plain->Release();
}

}  // namespace
