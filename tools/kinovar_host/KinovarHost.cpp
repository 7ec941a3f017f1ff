// A minimal container for the TV control: a window titled "Kinovar Host" that hosts
// MovieCtl at (10, 10)-(330, 250), prints what the control's type information calls it and
// every event it fires, and runs the lines of a command file (see CControlHost.h), one for
// each message 0x8100 it gets, printing each result. The last line done, or WM_CLOSE,
// ends the program.
//
//   KinovarHost <command file>
#include "CControlHost.h"

#include <com/objbase.h>
#include <mfc/afxwin.h>
#include <movie_control/QXMovie.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT kNextCommand = 0x8100;
constexpr RECT kControlRect{10, 10, 330, 250};

void print(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

struct HostState {
  std::unique_ptr<CControlHost> host;
  std::vector<std::string> commands;
  std::size_t next = 0;
};

HostState g_state;

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kNextCommand:
      while (g_state.next < g_state.commands.size()) {
        const std::string line = g_state.commands[g_state.next++];
        if (line.empty() || line[0] == '#') continue;
        print(g_state.host->Execute(line));
        return 0;
      }
      print("end of commands");
      return 0;
    case WM_CLOSE:
      g_state.host->Close();
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

class CHostApp : public CWinApp {
 public:
  CHostApp() : CWinApp("Kinovar Host") {}

  BOOL InitInstance() override {
    if (!m_lpCmdLine || !*m_lpCmdLine) {
      print("usage: KinovarHost <command file>");
      return FALSE;
    }
    std::ifstream file(m_lpCmdLine);
    for (std::string line; std::getline(file, line);) g_state.commands.push_back(line);
    CoInitialize(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = hostProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = "KinovarHost";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "KinovarHost", "Kinovar Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 360, 300,
                                  nullptr, nullptr, nullptr, nullptr);
    g_state.host = std::make_unique<CControlHost>(window, print);
    const HRESULT hr = g_state.host->Create(CLSID_MovieCtl, kControlRect);
    char text[64];
    std::snprintf(text, sizeof text, "create -> 0x%08X", static_cast<unsigned>(hr));
    print(text);
    print("class " + g_state.host->ClassName() + ", events " + g_state.host->EventInterfaceName());
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    g_state.host.reset();
    CoUninitialize();
    return FALSE;
  }
};

CHostApp theApp;

}  // namespace
