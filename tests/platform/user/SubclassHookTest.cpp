// Subclassing through GWLP_WNDPROC with CallWindowProcA, and WH_CALLWNDPROC hooks.
#include "WindowTest.h"

#include <string>

namespace test {
namespace {

class SubclassHookTest : public UserTest {};

std::vector<std::string> g_trail;
WNDPROC g_firstPrevious = nullptr;
WNDPROC g_secondPrevious = nullptr;

LRESULT CALLBACK firstSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) g_trail.push_back("first");
  return CallWindowProcA(g_firstPrevious, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK secondSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) {
    g_trail.push_back("second");
    if (wParam == 1) return 99;  // swallowed before the older procedures
  }
  return CallWindowProcA(g_secondPrevious, hwnd, message, wParam, lParam);
}

TEST_F(SubclassHookTest, SubclassesChainNewestFirstDownToTheClassProcedure) {
  g_trail.clear();
  HWND hwnd = createRecorder("sub");
  g_firstPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(firstSubclass)));
  EXPECT_EQ(g_firstPrevious, &recordingProc);
  g_secondPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(secondSubclass)));
  EXPECT_EQ(g_secondPrevious, &firstSubclass);
  recorder().clear();
  SendMessageA(hwnd, WM_USER, 0, 0);
  EXPECT_EQ(g_trail, (std::vector<std::string>{"second", "first"}));
  EXPECT_EQ(recorder().of(hwnd, {WM_USER}).size(), 1u);

  g_trail.clear();
  recorder().clear();
  EXPECT_EQ(SendMessageA(hwnd, WM_USER, 1, 0), 99);
  EXPECT_EQ(g_trail, (std::vector<std::string>{"second"}));
  EXPECT_TRUE(recorder().of(hwnd, {WM_USER}).empty());

  // Unhooking restores the previous procedure; posted messages take the same path.
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_secondPrevious));
  g_trail.clear();
  PostMessageA(hwnd, WM_USER, 0, 0);
  pump();
  EXPECT_EQ(g_trail, (std::vector<std::string>{"first"}));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)), &firstSubclass);
}

std::vector<std::pair<UINT, std::string>> g_hookSaw;
HHOOK g_outer = nullptr;
HHOOK g_inner = nullptr;

LRESULT CALLBACK outerHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
  g_hookSaw.emplace_back(cwp->message, "outer");
  return CallNextHookEx(g_outer, code, wParam, lParam);
}

LRESULT CALLBACK innerHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
  g_hookSaw.emplace_back(cwp->message, "inner");
  return CallNextHookEx(g_inner, code, wParam, lParam);
}

TEST_F(SubclassHookTest, CallWndProcHooksSeeSentMessagesBeforeTheWindow) {
  g_hookSaw.clear();
  g_inner = SetWindowsHookExA(WH_CALLWNDPROC, innerHook, nullptr, GetCurrentThreadId());
  g_outer = SetWindowsHookExA(WH_CALLWNDPROC, outerHook, nullptr, 0);
  ASSERT_NE(g_inner, nullptr);
  HWND hwnd = createRecorder("hooked", WS_POPUP);
  // The hooks see creation messages too, the newest hook first.
  const auto create = std::find(g_hookSaw.begin(), g_hookSaw.end(), std::make_pair(UINT(WM_CREATE), std::string("outer")));
  ASSERT_NE(create, g_hookSaw.end());
  EXPECT_EQ(*(create + 1), std::make_pair(UINT(WM_CREATE), std::string("inner")));

  g_hookSaw.clear();
  recorder().clear();
  SendMessageA(hwnd, 0x1E2, 0, 0);
  EXPECT_EQ(g_hookSaw.size(), 2u);
  EXPECT_EQ(recorder().of(hwnd, {0x1E2}).size(), 1u);

  // Posted messages do not pass the hooks.
  g_hookSaw.clear();
  PostMessageA(hwnd, WM_USER + 7, 0, 0);
  pump();
  EXPECT_TRUE(std::none_of(g_hookSaw.begin(), g_hookSaw.end(), [](const auto& s) { return s.first == WM_USER + 7; }));

  EXPECT_TRUE(UnhookWindowsHookEx(g_outer));
  EXPECT_FALSE(UnhookWindowsHookEx(g_outer));
  g_hookSaw.clear();
  SendMessageA(hwnd, WM_USER, 0, 0);
  EXPECT_EQ(g_hookSaw, (std::vector<std::pair<UINT, std::string>>{{WM_USER, "inner"}}));
  UnhookWindowsHookEx(g_inner);
}

TEST_F(SubclassHookTest, HooksBelongToTheirThread) {
  g_hookSaw.clear();
  g_inner = SetWindowsHookExA(WH_CALLWNDPROC, innerHook, nullptr, 0);
  std::thread([] {
    HWND other = createRecorder("other", WS_POPUP);
    SendMessageA(other, WM_USER, 0, 0);
    DestroyWindow(other);
  }).join();
  EXPECT_TRUE(g_hookSaw.empty());
  EXPECT_EQ(SetWindowsHookExA(5 /* WH_CBT */, innerHook, nullptr, 0), nullptr);
  UnhookWindowsHookEx(g_inner);
}

TEST_F(SubclassHookTest, PropertiesAreKeptPerWindowWithoutCase) {
  HWND hwnd = createRecorder("props");
  auto* marker = reinterpret_cast<HANDLE>(0x1234);
  EXPECT_TRUE(SetPropA(hwnd, "CoolMenu_oldProc", marker));
  EXPECT_EQ(GetPropA(hwnd, "coolmenu_OLDPROC"), marker);
  EXPECT_EQ(GetPropA(createRecorder("other"), "CoolMenu_oldProc"), nullptr);
  EXPECT_EQ(RemovePropA(hwnd, "CoolMenu_oldProc"), marker);
  EXPECT_EQ(GetPropA(hwnd, "CoolMenu_oldProc"), nullptr);
}

TEST_F(SubclassHookTest, UserDataAndExtraBytesHoldWhatIsStored) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = DefWindowProcA;
  cls.cbWndExtra = 16;
  cls.lpszClassName = "Extra";
  RegisterClassA(&cls);
  HWND hwnd = CreateWindowExA(0, "Extra", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0x55);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), 0x55);
  SetWindowLongPtrA(hwnd, 8, 0x123456789);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, 8), 0x123456789);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, 12), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  EXPECT_EQ(GetWindowLongA(hwnd, GWLP_WNDPROC), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
}

}  // namespace
}  // namespace test
