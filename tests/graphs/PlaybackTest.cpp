#include "PlaybackTest.h"

#include <win32/user.h>

#include <filesystem>

namespace test {

namespace {

int g_posted = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == UM_GRAPH_EVENT) ++g_posted;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

BOOL ScriptedPlayback::Create() {
  if (GetGraph() || !next) return FALSE;
  return Attach(next.get());
}

void PlaybackTest::SetUp() {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, engine.putVoid()),
            S_OK);
  g_posted = 0;
}

void PlaybackTest::TearDown() {
  if (m_window) DestroyWindow(m_window);
  engine.reset();
  CoUninitialize();
}

HWND PlaybackTest::window() {
  if (m_window) return m_window;
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountingProc;
  wc.lpszClassName = "PlaybackTestWindow";
  RegisterClassA(&wc);
  m_window = CreateWindowExA(0, "PlaybackTestWindow", "player", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr, nullptr,
                             nullptr);
  return m_window;
}

bool PlaybackTest::installDecoderModules() {
  const auto built = TestMachine::builtProgramFolder() / "Filter";
  const auto target = testMachine.programFolder() / "Filter";
  std::error_code ec;
  std::filesystem::create_directories(target, ec);
  for (const char* name : {"QNMpegVD.ax", "QNMpegAD.ax"}) {
    if (!std::filesystem::is_regular_file(built / name, ec)) return false;
    std::filesystem::copy_file(built / name, target / name, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) return false;
  }
  return true;
}

int PlaybackTest::postedEvents() { return g_posted; }

}  // namespace test
