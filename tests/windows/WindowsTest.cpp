#include "windows/WindowsTest.h"

#include "platform/dshow/NumberedPicture.h"

#include "core/CDisplayMode.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinLabel.h"
#include "skin/SkinFonts.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <machine/EventLog.h>
#include <robot/Screenshot.h>
#include <machine/VideoSurfaces.h>
#include <win32/gdi/Surface.h>
#include <win32/user/Desktop.h>
#include <win32/user/appbar.h>

#include <cstdint>
#include <fstream>
#include <sstream>

namespace test {

namespace {

// Stands in for the main window while a test watches what it is asked.
class MainWindowSpy : public CFrameWnd {
 public:
  std::vector<WPARAM> commands;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SYSCOMMAND) {
      commands.push_back(wParam & 0xFFF0);
      return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
};

}  // namespace

WindowsTest::WindowsTest() {
  // The shared placement as a starting program has it.
  g_isMaximized = 1;
  g_sharedWindowRect = {0, 0, 0, 0};
  plat::AppBars::reset();
  installGrabberModule();
}

WindowsTest::~WindowsTest() { closeLauncher(); }

std::filesystem::path WindowsTest::programFile(const std::string& relative) {
  return ProgramFile(testMachine.programFolder(), relative);
}

void WindowsTest::writeIni(const std::string& relative, const std::string& text) {
  WriteIniFile(programFile(relative), text);
}

void WindowsTest::writeSkins() {
  WriteLauncherSkin(testMachine.programFolder());
  WriteTVSkin(testMachine.programFolder());
  WriteBarSkin(testMachine.programFolder());
}

void WindowsTest::useBuiltSkins() {
  const auto built = TestMachine::builtProgramFolder();
  const auto options = std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing;
  std::filesystem::copy(built / "Skin", testMachine.programFolder() / "Skin", options);
  std::filesystem::copy(built / "skins", testMachine.programFolder() / "skins", options);
}




CMainDlg& WindowsTest::openLauncher() {
  launcher = std::make_unique<CMainDlg>();
  app.m_pMainWnd = launcher.get();
  EXPECT_TRUE(launcher->Create(CMainDlg::IDD));
  robot.pumpUntilIdle();
  return *launcher;
}

CTVDlg& WindowsTest::openTV() {
  if (!launcher) openLauncher();
  SendMessageA(launcherWindow(), UM_OPEN_TV_WINDOW, 0, 0);
  robot.pumpUntilIdle();
  EXPECT_NE(launcher->GetTVDlg(), nullptr);
  return *launcher->GetTVDlg();
}

void WindowsTest::closeLauncher() {
  if (!launcher) return;
  if (launcher->GetSafeHwnd()) launcher->DestroyWindow();
  launcher.reset();
  app.m_pMainWnd = nullptr;
}

HWND WindowsTest::launcherWindow() const { return launcher ? launcher->GetSafeHwnd() : nullptr; }

void WindowsTest::remoteKey(int key, WPARAM flag) {
  SendMessageA(launcherWindow(), UM_REMOTE_KEY, flag, key);
  robot.pumpUntilIdle();
}

std::vector<std::string> WindowsTest::powerLog() {
  std::vector<std::string> out;
  for (const auto& entry : plat::EventLog::power(machine()).read()) out.push_back(entry.category + " " + entry.text);
  return out;
}

std::vector<std::string> WindowsTest::helpRequests() {
  std::vector<std::string> out;
  for (const auto& entry : plat::EventLog::events(machine()).read())
    if (entry.category == "HtmlHelp") out.push_back(entry.text);
  return out;
}

bool WindowsTest::untilAPictureShows() {
  for (int ms = 0; ms <= 10000; ms += 40) {
    for (const auto& surface : machine().service<plat::VideoSurfaces>().all())
      if (surface->framesShown() > 0) return true;
    robot.advance(40);
  }
  return false;
}

int WindowsTest::RoomForText(CSkinLabel& label) {
  CRect client;
  label.GetClientRect(&client);
  CClientDC dc(&label);
  const LOGFONTA logFont = MakeLabelFont(client.Height());
  CFont font;
  font.CreateFontIndirect(&logFont);
  CFont* old = dc.SelectObject(&font);
  const CSize size = dc.GetTextExtent(label.GetText());
  dc.SelectObject(old);
  return client.Width() - size.cx;
}

std::vector<WPARAM> WindowsTest::askedOfMainWindow(const std::function<void()>& act) {
  auto* spy = new MainWindowSpy;
  EXPECT_TRUE(spy->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW));
  app.m_pMainWnd = spy;
  act();
  robot.pumpUntilIdle();
  app.m_pMainWnd = launcher.get();
  const std::vector<WPARAM> commands = spy->commands;
  spy->DestroyWindow();
  return commands;
}

bool WindowsTest::showsAsDrawn(HWND hwnd) {
  const auto sample = [hwnd] {
    RECT client{};
    GetClientRect(hwnd, &client);
    const auto screen = plat::Desktop::compose();
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; y += 3)
      for (int x = 0; x < client.right; x += 3) {
        POINT point{x, y};
        ClientToScreen(hwnd, &point);
        const bool onScreen = point.x >= 0 && point.y >= 0 && point.x < screen->width() && point.y < screen->height();
        pixels.push_back(onScreen ? plat::colorRefFromPixel(screen->pixel(point.x, point.y)) : CLR_INVALID);
      }
    return pixels;
  };
  robot.pumpUntilIdle();
  const std::vector<COLORREF> shown = sample();
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return !shown.empty() && sample() == shown;
}

void WindowsTest::clickButton(CWnd& window, const char* name) {
  for (HWND child = GetWindow(window.GetSafeHwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    auto* button = dynamic_cast<CSkinButton*>(CWnd::FromHandlePermanent(child));
    if (!button || button->GetName() != name) continue;
    robot.click(child);
    robot.pumpUntilIdle();
    return;
  }
  ADD_FAILURE() << "no button " << name;
}

int WindowsTest::numberOnScreen(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return numberOnScreen(window, client);
}

int WindowsTest::numberOnScreen(HWND window, RECT client) {
  POINT origin{client.left, client.top};
  ClientToScreen(window, &origin);
  const int width = client.right - client.left, height = client.bottom - client.top;
  return dstest::NumberedPicture::read([&](double fx, double fy) {
    const COLORREF pixel = plat::Screenshot::screenPixel(origin.x + static_cast<int>(fx * width),
                                                        origin.y + static_cast<int>(fy * height));
    return dstest::NumberedPicture::Rgb{GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)};
  });
}

}  // namespace test
