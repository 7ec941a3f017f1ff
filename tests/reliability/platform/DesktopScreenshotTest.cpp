// Screenshots show the whole desktop: the windows of every program on the machine in one
// z-order (the one raised last in front, topmost ones over all), and the tray's icons,
// not only the windows of the program that takes the screenshot.
#include <machine/TrayArea.h>
#include <robot/Screenshot.h>
#include <support/TestMachine.h>
#include <win32/gdi.h>
#include <win32/user.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

extern char** environ;

namespace {

constexpr COLORREF kHostColour = RGB(200, 30, 30);
constexpr COLORREF kPeerColour = RGB(30, 30, 200);
bool g_peerDrawn = false;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 1) g_peerDrawn = true;
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    RECT client{};
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(kHostColour);
    FillRect(hdc, &client, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class DesktopScreenshotTest : public test::MachineTest {
 protected:
  DesktopScreenshotTest() {
    g_peerDrawn = false;
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.lpszClassName = "DesktopTestHost";
    RegisterClassA(&wc);
    host = CreateWindowExA(0, "DesktopTestHost", "Desktop Test Host", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200,
                           nullptr, nullptr, nullptr, nullptr);
    UpdateWindow(host);
  }
  ~DesktopScreenshotTest() override {
    if (peer > 0) {
      kill(peer, SIGKILL);
      waitpid(peer, nullptr, 0);
    }
    DestroyWindow(host);
  }

  // The other program shows its window at (200, 150)-(500, 350); only its start is waited
  // for in real time, with a generous limit.
  bool startPeer() {
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e)
      if (std::string(*e).rfind("ORVANE_MACHINE=", 0) != 0) environment.emplace_back(*e);
    environment.push_back("ORVANE_MACHINE=" + testMachine.root().string());
    std::vector<char*> envp;
    for (auto& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args{DESKTOP_PEER_PROGRAM, "Desktop Peer", "1E1EC8", "200", "150", "500", "350"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&peer, args[0].c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    MSG msg;
    while (!g_peerDrawn && std::chrono::steady_clock::now() < deadline) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return g_peerDrawn;
  }

  HWND host = nullptr;
  pid_t peer = 0;
};

TEST_F(DesktopScreenshotTest, EveryProgramsWindowsShowInOneZOrderWithTheTray) {
  EXPECT_EQ(plat::Screenshot::screenPixel(150, 120), kHostColour);
  EXPECT_EQ(plat::Screenshot::screenPixel(450, 320), GetSysColor(COLOR_DESKTOP)) << "no other program yet";
  ASSERT_TRUE(startPeer());

  // The other program's window, raised after this one's, lies in front of it.
  EXPECT_EQ(plat::Screenshot::screenPixel(150, 120), kHostColour);
  EXPECT_EQ(plat::Screenshot::screenPixel(450, 320), kPeerColour);
  EXPECT_EQ(plat::Screenshot::screenPixel(300, 200), kPeerColour);

  // Raising this program's window puts it in front.
  SetActiveWindow(nullptr);
  SetActiveWindow(host);
  EXPECT_EQ(plat::Screenshot::screenPixel(300, 200), kHostColour);
  EXPECT_EQ(plat::Screenshot::screenPixel(450, 320), kPeerColour);

  // A topmost window of the other program stays in front of this program's raised one.
  HWND peerWindow = FindWindowA("DesktopPeer", "Desktop Peer");
  ASSERT_NE(peerWindow, nullptr);
  SendMessageA(peerWindow, WM_USER + 2, 250, 180);
  EXPECT_EQ(plat::Screenshot::screenPixel(260, 190), RGB(0, 200, 0));
  // Shaped, as a taskbar notice is: beyond its region, at its corners, what lies beneath.
  EXPECT_EQ(plat::Screenshot::screenPixel(251, 181), kHostColour);
  EXPECT_EQ(plat::Screenshot::screenPixel(288, 208), kHostColour);

  // The tray at the bottom right corner shows the other program's icon (the error badge).
  ASSERT_EQ(machine().service<plat::TrayArea>().icons().size(), 1u);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const auto corner = plat::Screenshot::screenPixels(RECT{screenWidth - 30, screenHeight - 24, screenWidth, screenHeight});
  EXPECT_GT(std::count_if(corner.begin(), corner.end(),
                          [](COLORREF pixel) {
                            return GetRValue(pixel) > 150 && GetGValue(pixel) < 80 && GetBValue(pixel) < 80;
                          }),
            20);

  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "reliability";
  std::filesystem::create_directories(shots);
  EXPECT_TRUE(plat::Screenshot::saveScreen(shots / "desktop_two_programs.png"));

  PostMessageA(peerWindow, WM_CLOSE, 0, 0);
  int status = -1;
  waitpid(peer, &status, 0);
  peer = 0;
  EXPECT_EQ(plat::Screenshot::screenPixel(450, 320), GetSysColor(COLOR_DESKTOP)) << "a program that ended shows nothing";
}

}  // namespace
