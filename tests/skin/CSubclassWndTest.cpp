#include <support/TestMachine.h>

#include "skin/CSubclassWnd.h"

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kProbe = WM_USER + 7;

// What reached whom, in order.
std::vector<std::string>* g_calls = nullptr;

LRESULT CALLBACK RecordingWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kProbe && g_calls) g_calls->push_back("window:" + std::to_string(wParam));
  return DefWindowProcA(hWnd, msg, wParam, lParam);
}

// A hook that notes every probe and hands it on, either by calling the base WindowProc
// or through Default().
class RecordingHook : public CSubclassWnd {
 public:
  RecordingHook(std::string name, bool useDefault) : m_name(std::move(name)), m_useDefault(useDefault) {}

  std::function<void(UINT)> onMessage;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (onMessage) onMessage(msg);
    if (msg == kProbe && g_calls) g_calls->push_back(m_name + ":" + std::to_string(wParam));
    return m_useDefault ? Default() : CSubclassWnd::WindowProc(msg, wParam, lParam);
  }

 private:
  std::string m_name;
  bool m_useDefault;
};

class CSubclassWndTest : public test::MachineTest {
 protected:
  void SetUp() override {
    g_calls = &calls;
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordingWndProc;
    wc.lpszClassName = "SubclassTestWindow";
    RegisterClassA(&wc);
    hWnd = CreateWindowExA(0, "SubclassTestWindow", "hooked", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                           nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
  }
  void TearDown() override {
    if (IsWindow(hWnd)) DestroyWindow(hWnd);
    UnregisterClassA("SubclassTestWindow", nullptr);
    g_calls = nullptr;
  }
  LONG_PTR CurrentProc() const { return GetWindowLongPtrA(hWnd, GWLP_WNDPROC); }
  std::vector<std::string> Probe(WPARAM tag) {
    calls.clear();
    SendMessageA(hWnd, kProbe, tag, 0);
    return calls;
  }

  std::vector<std::string> calls;
  HWND hWnd = nullptr;
};

using Calls = std::vector<std::string>;

TEST_F(CSubclassWndTest, TheNewestHookSeesAMessageFirstAndTheWindowLast) {
  const LONG_PTR original = CurrentProc();
  RecordingHook older("older", false);
  RecordingHook newer("newer", true);
  ASSERT_TRUE(older.HookWindow(hWnd));
  ASSERT_TRUE(newer.HookWindow(hWnd));
  EXPECT_TRUE(older.IsHooked());
  EXPECT_NE(CurrentProc(), original);
  EXPECT_EQ(Probe(1), (Calls{"newer:1", "older:1", "window:1"}));

  // Taking off the older hook keeps the newer one working on the replaced procedure.
  older.HookWindow(static_cast<HWND>(nullptr));
  EXPECT_FALSE(older.IsHooked());
  EXPECT_NE(CurrentProc(), original);
  EXPECT_EQ(Probe(2), (Calls{"newer:2", "window:2"}));

  // The last one gives the window its own procedure back.
  newer.HookWindow(static_cast<HWND>(nullptr));
  EXPECT_EQ(CurrentProc(), original);
  EXPECT_EQ(Probe(3), (Calls{"window:3"}));
}

TEST_F(CSubclassWndTest, TakingOffTheNewestHookHandsTheWindowToTheOlder) {
  RecordingHook first("first", true);
  RecordingHook second("second", true);
  RecordingHook third("third", true);
  first.HookWindow(hWnd);
  second.HookWindow(hWnd);
  third.HookWindow(hWnd);
  second.HookWindow(static_cast<HWND>(nullptr));
  EXPECT_EQ(Probe(1), (Calls{"third:1", "first:1", "window:1"}));
  third.HookWindow(static_cast<HWND>(nullptr));
  EXPECT_EQ(Probe(2), (Calls{"first:2", "window:2"}));
}

// What the window's own procedure saw at WM_NCDESTROY.
struct NcDestroyWatch {
  const CSubclassWnd* hooks[2] = {};
  LONG_PTR proc = 0;
  bool anyHooked = true;
};
NcDestroyWatch* g_watch = nullptr;

LRESULT CALLBACK WatchingWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCDESTROY && g_watch) {
    g_watch->proc = GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    g_watch->anyHooked = g_watch->hooks[0]->IsHooked() || g_watch->hooks[1]->IsHooked();
  }
  return DefWindowProcA(hWnd, msg, wParam, lParam);
}

TEST_F(CSubclassWndTest, DestroyingTheWindowRemovesEveryHookBeforeItsOwnProcedureSeesNcDestroy) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WatchingWndProc;
  wc.lpszClassName = "SubclassWatchWindow";
  RegisterClassA(&wc);
  HWND hWatched = CreateWindowExA(0, "SubclassWatchWindow", "watched", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr,
                                  nullptr, nullptr, nullptr);
  RecordingHook older("older", true);
  RecordingHook newer("newer", true);
  older.HookWindow(hWatched);
  newer.HookWindow(hWatched);
  NcDestroyWatch watch;
  watch.hooks[0] = &older;
  watch.hooks[1] = &newer;
  g_watch = &watch;

  DestroyWindow(hWatched);
  g_watch = nullptr;
  EXPECT_FALSE(watch.anyHooked);
  EXPECT_EQ(watch.proc, reinterpret_cast<LONG_PTR>(&WatchingWndProc));
  EXPECT_FALSE(older.IsHooked());
  EXPECT_FALSE(newer.IsHooked());
  UnregisterClassA("SubclassWatchWindow", nullptr);
}

TEST_F(CSubclassWndTest, HookingTheSameWindowAgainNeverLinksAHookToItself) {
  RecordingHook hook("hook", true);
  ASSERT_TRUE(hook.HookWindow(hWnd));
  ASSERT_TRUE(hook.HookWindow(hWnd));
  EXPECT_EQ(Probe(1), (Calls{"hook:1", "window:1"}));
  hook.HookWindow(static_cast<HWND>(nullptr));
  EXPECT_EQ(Probe(2), (Calls{"window:2"}));
}

TEST_F(CSubclassWndTest, HookingAnotherWindowMovesTheHook) {
  HWND hOther = CreateWindowExA(0, "SubclassTestWindow", "other", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr,
                                nullptr, nullptr);
  const LONG_PTR original = CurrentProc();
  RecordingHook hook("hook", true);
  hook.HookWindow(hWnd);
  hook.HookWindow(hOther);
  EXPECT_EQ(CurrentProc(), original);
  EXPECT_EQ(Probe(1), (Calls{"window:1"}));
  calls.clear();
  SendMessageA(hOther, kProbe, 2, 0);
  EXPECT_EQ(calls, (Calls{"hook:2", "window:2"}));
  DestroyWindow(hOther);
  EXPECT_FALSE(hook.IsHooked());
}

TEST_F(CSubclassWndTest, ANonWindowIsRefused) {
  RecordingHook hook("hook", true);
  EXPECT_FALSE(hook.HookWindow(reinterpret_cast<HWND>(0x1234)));
  EXPECT_FALSE(hook.IsHooked());
  EXPECT_TRUE(hook.HookWindow(static_cast<HWND>(nullptr)));
}

TEST_F(CSubclassWndTest, TheSharedProcedureWithoutAHookFallsBackToTheDefault) {
  RecordingHook hook("hook", true);
  hook.HookWindow(hWnd);
  const auto shared = reinterpret_cast<WNDPROC>(CurrentProc());
  hook.HookWindow(static_cast<HWND>(nullptr));
  // A procedure that chained to the shared one before the hook left still calls it.
  calls.clear();
  EXPECT_EQ(CallWindowProcA(shared, hWnd, kProbe, 5, 0), 0);
  EXPECT_TRUE(calls.empty());
  SetWindowTextA(hWnd, "before");
  CallWindowProcA(shared, hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("after"));
  char text[16] = {};
  GetWindowTextA(hWnd, text, sizeof text);
  EXPECT_STREQ(text, "after");
}

TEST_F(CSubclassWndTest, DefaultPassesTheMessageNowBeingHandledAndTheStateIsRestored) {
  RecordingHook hook("hook", true);
  hook.HookWindow(hWnd);
  MSG seen{};
  hook.onMessage = [&](UINT msg) {
    if (msg == kProbe) seen = AfxGetThreadState()->m_lastSentMsg;
  };
  AfxGetThreadState()->m_lastSentMsg.message = WM_NULL;
  SendMessageA(hWnd, kProbe, 42, 99);
  EXPECT_EQ(seen.hwnd, hWnd);
  EXPECT_EQ(seen.message, kProbe);
  EXPECT_EQ(seen.wParam, 42u);
  EXPECT_EQ(seen.lParam, 99);
  EXPECT_EQ(AfxGetThreadState()->m_lastSentMsg.message, static_cast<UINT>(WM_NULL));
}

TEST_F(CSubclassWndTest, AHookLeavesItsWindowWhenDestroyed) {
  const LONG_PTR original = CurrentProc();
  {
    RecordingHook hook("hook", true);
    hook.HookWindow(hWnd);
  }
  EXPECT_EQ(CurrentProc(), original);
  EXPECT_EQ(Probe(1), (Calls{"window:1"}));
}

TEST(CSubclassWndRuntimeClassTest, NamesItsClass) {
  EXPECT_STREQ(RUNTIME_CLASS(CSubclassWnd)->m_lpszClassName, "CSubclassWnd");
}

}  // namespace
