// Minimising a window hides the windows it owns, and theirs, as Windows does: each is told
// with WM_SHOWWINDOW and SW_PARENTCLOSING; restoring it brings back those it hid (with
// SW_PARENTOPENING), not those the program hid itself, and not its children's state.
#include <support/TestMachine.h>
#include <win32/user.h>

#include <vector>

namespace {

std::vector<std::pair<HWND, LPARAM>> g_shown;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SHOWWINDOW) g_shown.emplace_back(hwnd, wParam ? lParam : -lParam);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class MinimizeOwnedTest : public test::MachineTest {
 protected:
  MinimizeOwnedTest() {
    g_shown.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "MinimizeOwnedTest";
    RegisterClassA(&wc);
    main = make("Main", nullptr);
    owned = make("TV", main);
    ownedByOwned = make("Bar", owned);
    hiddenByProgram = make("Hidden", main);
    ShowWindow(hiddenByProgram, SW_HIDE);
    other = make("Other", nullptr);
    g_shown.clear();
  }
  ~MinimizeOwnedTest() override {
    for (HWND hwnd : {ownedByOwned, owned, hiddenByProgram, main, other}) DestroyWindow(hwnd);
  }
  static HWND make(const char* title, HWND owner) {
    return CreateWindowExA(0, "MinimizeOwnedTest", title, WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, owner, nullptr,
                           nullptr, nullptr);
  }
  HWND main, owned, ownedByOwned, hiddenByProgram, other;
};

TEST_F(MinimizeOwnedTest, MinimisingHidesTheOwnedWindowsAndRestoringBringsThemBack) {
  ShowWindow(main, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(main));
  EXPECT_FALSE(IsWindowVisible(owned));
  EXPECT_FALSE(IsWindowVisible(ownedByOwned));
  EXPECT_FALSE(IsWindowVisible(hiddenByProgram));
  EXPECT_TRUE(IsWindowVisible(other)) << "another window's are not touched";
  EXPECT_EQ(g_shown, (std::vector<std::pair<HWND, LPARAM>>{{owned, -SW_PARENTCLOSING},
                                                          {ownedByOwned, -SW_PARENTCLOSING}}));
  g_shown.clear();

  ShowWindow(main, SW_RESTORE);
  EXPECT_FALSE(IsIconic(main));
  EXPECT_TRUE(IsWindowVisible(owned));
  EXPECT_TRUE(IsWindowVisible(ownedByOwned));
  EXPECT_FALSE(IsWindowVisible(hiddenByProgram)) << "the program hid it; it stays hidden";
  EXPECT_EQ(g_shown, (std::vector<std::pair<HWND, LPARAM>>{{owned, SW_PARENTOPENING},
                                                          {ownedByOwned, SW_PARENTOPENING}}));
}

TEST_F(MinimizeOwnedTest, AWindowTheProgramShowsOrHidesMeanwhileKeepsWhatTheProgramSaid) {
  ShowWindow(main, SW_MINIMIZE);
  ShowWindow(owned, SW_SHOW);  // the program wants it, minimised owner or not
  ShowWindow(main, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsWindowVisible(owned));
  EXPECT_TRUE(IsWindowVisible(ownedByOwned));

  ShowWindow(main, SW_MINIMIZE);
  ShowWindow(main, SW_MINIMIZE);  // already minimised: nothing more is hidden or shown
  ShowWindow(ownedByOwned, SW_HIDE);
  ShowWindow(main, SW_SHOWNORMAL);
  EXPECT_TRUE(IsWindowVisible(owned));
  EXPECT_FALSE(IsWindowVisible(ownedByOwned)) << "the program hid it while its owner was minimised";
}

}  // namespace
