// Creation and destruction: the messages and their order, failures, parents and owners.
#include "WindowTest.h"

#include <win32/gdi.h>

namespace test {
namespace {

using Sequence = std::vector<std::pair<HWND, UINT>>;

class WindowLifecycleTest : public UserTest {};

TEST_F(WindowLifecycleTest, CreationSendsTheStandardMessagesInOrder) {
  HWND hwnd = createRecorder("Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(hwnd, nullptr);
  const std::vector<UINT> order = recorder().of(hwnd, {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE,
                                                       WM_SIZE, WM_MOVE, WM_SHOWWINDOW});
  const std::vector<UINT> expected = {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE,
                                      WM_SIZE,          WM_MOVE,     WM_SHOWWINDOW};
  ASSERT_GE(order.size(), expected.size());
  EXPECT_EQ(std::vector<UINT>(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  char title[32];
  EXPECT_EQ(GetWindowTextA(hwnd, title, sizeof title), 4);
  EXPECT_STREQ(title, "Main");
}

TEST_F(WindowLifecycleTest, TheWindowIsHiddenWhileItHandlesCreate) {
  static bool visibleDuringCreate = true;
  registerClass("SeesCreate", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_CREATE) visibleDuringCreate = IsWindowVisible(hwnd);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  });
  HWND hwnd = CreateWindowExA(0, "SeesCreate", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(visibleDuringCreate);
  EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(WindowLifecycleTest, CreateReturningMinusOneFailsAndDestroysTheWindow) {
  static HWND created = nullptr;
  static std::vector<UINT> seen;
  seen.clear();
  registerClass("Refuses", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    seen.push_back(message);
    if (message == WM_CREATE) {
      created = hwnd;
      return -1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  });
  HWND hwnd = CreateWindowExA(0, "Refuses", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(hwnd, nullptr);
  ASSERT_NE(created, nullptr);
  EXPECT_FALSE(IsWindow(created));
  const auto destroy = std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_DESTROY));
  ASSERT_NE(destroy, seen.end());
  EXPECT_EQ(seen.back(), static_cast<UINT>(WM_NCDESTROY));
  EXPECT_EQ(FindWindowA("Refuses", nullptr), nullptr);
}

TEST_F(WindowLifecycleTest, NcCreateReturningFalseFailsWithOnlyNcDestroy) {
  static std::vector<UINT> seen;
  seen.clear();
  registerClass("NoNc", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    seen.push_back(message);
    if (message == WM_NCCREATE) return FALSE;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  });
  EXPECT_EQ(CreateWindowExA(0, "NoNc", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_NCCREATE, WM_NCDESTROY}));
}

TEST_F(WindowLifecycleTest, BadClassOrParentFailsWithTheWindowsError) {
  SetLastError(0);
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  EXPECT_EQ(createRecorder("child", WS_CHILD, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
}

TEST_F(WindowLifecycleTest, RegisteringAClassTwiceFailsTheSecondTime) {
  WNDCLASSEXA cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = DefWindowProcA;
  cls.lpszClassName = "Volume Msg Wnd Class";
  EXPECT_NE(RegisterClassExA(&cls), 0);
  EXPECT_EQ(RegisterClassExA(&cls), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  HWND hwnd = CreateWindowExA(0, "volume msg wnd class", "Volume Msg Wnd", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  char name[64];
  EXPECT_EQ(GetClassNameA(hwnd, name, sizeof name), 20);
  EXPECT_STREQ(name, "Volume Msg Wnd Class");
  EXPECT_FALSE(UnregisterClassA("Volume Msg Wnd Class", nullptr));
  DestroyWindow(hwnd);
  EXPECT_TRUE(UnregisterClassA("Volume Msg Wnd Class", nullptr));
}

TEST_F(WindowLifecycleTest, DestroySendsDestroyDownTheTreeAndNcDestroyUpIt) {
  HWND parent = createRecorder("parent", WS_POPUP);
  HWND a = createRecorder("a", WS_CHILD, parent, 1);
  HWND b = createRecorder("b", WS_CHILD, parent, 2);
  HWND a1 = createRecorder("a1", WS_CHILD, a, 3);
  recorder().clear();
  ASSERT_TRUE(DestroyWindow(parent));
  const Sequence expected = {{parent, WM_DESTROY}, {a, WM_DESTROY},     {a1, WM_DESTROY},    {b, WM_DESTROY},
                             {a1, WM_NCDESTROY},   {a, WM_NCDESTROY},   {b, WM_NCDESTROY},   {parent, WM_NCDESTROY}};
  EXPECT_EQ(recorder().sequence({WM_DESTROY, WM_NCDESTROY}), expected);
  for (HWND hwnd : {parent, a, b, a1}) EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowLifecycleTest, ChildrenStillExistWhileTheParentHandlesDestroy) {
  static HWND child = nullptr;
  static bool childAlive = false;
  registerClass("Parent", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_DESTROY) childAlive = IsWindow(child) && IsWindow(hwnd);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  });
  HWND parent = CreateWindowExA(0, "Parent", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  child = createRecorder("c", WS_CHILD, parent, 5);
  DestroyWindow(parent);
  EXPECT_TRUE(childAlive);
}

TEST_F(WindowLifecycleTest, OwnedWindowsGoFirst) {
  HWND owner = createRecorder("owner", WS_OVERLAPPEDWINDOW);
  HWND owned = createRecorder("owned", WS_POPUP, owner);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  EXPECT_EQ(GetParent(owned), owner);
  recorder().clear();
  DestroyWindow(owner);
  const Sequence expected = {{owned, WM_DESTROY}, {owned, WM_NCDESTROY}, {owner, WM_DESTROY}, {owner, WM_NCDESTROY}};
  EXPECT_EQ(recorder().sequence({WM_DESTROY, WM_NCDESTROY}), expected);
}

TEST_F(WindowLifecycleTest, CloseDestroysByDefault) {
  HWND hwnd = createRecorder("closing");
  SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(recorder().of(nullptr, {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
            (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
}

TEST_F(WindowLifecycleTest, MessagesPostedToADestroyedWindowAreDropped) {
  HWND hwnd = createRecorder("gone");
  PostMessageA(hwnd, WM_USER + 1, 0, 0);
  DestroyWindow(hwnd);
  EXPECT_FALSE(PostMessageA(hwnd, WM_USER + 2, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  pump();
  EXPECT_TRUE(recorder().of(nullptr, {WM_USER + 1, WM_USER + 2}).empty());
  EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 0);
}

TEST_F(WindowLifecycleTest, AnotherThreadCannotDestroyAWindow) {
  HWND hwnd = createRecorder("mine");
  BOOL destroyed = TRUE;
  DWORD error = 0;
  std::thread([&] {
    destroyed = DestroyWindow(hwnd);
    error = GetLastError();
  }).join();
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(WindowLifecycleTest, ChildrenStackInCreationOrderAndAreFoundById) {
  HWND dialog = createRecorder("dlg", WS_POPUP);
  HWND first = createRecorder("1", WS_CHILD, dialog, 10);
  HWND second = createRecorder("2", WS_CHILD, dialog, 20);
  EXPECT_EQ(GetWindow(dialog, GW_CHILD), first);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
  EXPECT_EQ(GetDlgItem(dialog, 20), second);
  EXPECT_EQ(GetDlgCtrlID(second), 20);
  EXPECT_EQ(GetDlgItem(dialog, 30), nullptr);
  EXPECT_TRUE(IsChild(dialog, second));
  EXPECT_EQ(GetAncestor(second, GA_ROOT), dialog);
}

// The process's GDI and USER objects, as Windows counts them against its limits: each made
// counts one more, each let go one less; stock objects do not count, a shared icon once.
TEST_F(WindowLifecycleTest, GuiResourcesCountWhatTheProcessHolds) {
  HICON shared = LoadIconA(nullptr, IDI_EXCLAMATION);
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  HWND parent = createRecorder("Counted", WS_OVERLAPPEDWINDOW);
  HWND child = createRecorder("Child", WS_CHILD, parent);
  HMENU menu = CreatePopupMenu();
  HICON icon = CopyIcon(shared);
  EXPECT_EQ(LoadIconA(nullptr, IDI_EXCLAMATION), shared);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HDC dc = CreateCompatibleDC(nullptr);
  GetStockObject(WHITE_BRUSH);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi + 2);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user + 4) << "two windows, a menu, an icon";
  DestroyWindow(parent);  // and its child
  DestroyMenu(menu);
  DestroyIcon(icon);
  DeleteObject(brush);
  DeleteDC(dc);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user);

  SetLastError(0);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), 2), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_EQ(GetGuiResources(reinterpret_cast<HANDLE>(0x1234), GR_GDIOBJECTS), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
}  // namespace test
